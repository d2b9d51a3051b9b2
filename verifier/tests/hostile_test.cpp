// Hostile texts in every box of the main window, through the handlers: whatever a box holds,
// the box rules keep the batch boxes short, the single-number band shows a full IMEI or nothing,
// and the batch button either writes a whole, correct imei.csv or writes nothing and says why.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>

#include "fake_form.h"
#include "handlers.h"
#include "imei_text.h"
#include "test_support.h"

using namespace Qt::StringLiterals;

namespace tallisk {
namespace {

using testing_support::FakeForm;
using testing_support::ScriptedUser;

struct HostileText {
    const char* name;
    QString text;
};

const HostileText kHostileTexts[] = {
    {"FullWidthDigits", u"３５６９３８０３"_s},
    {"FullWidthMinus", u"－１"_s},
    {"Chinese", u"三五六九三八〇三"_s},
    {"ControlCharacters", u"\x01\x02\t\x1b[31m\x7f\r\n"_s},
    {"TenThousandDigits", QString(10000, u'7')},
    {"TenThousandChinese", QString(10000, u'号')},
    {"SurrogatePairs", QString(3000, u'x').replace(u'x', u"\U0001F600"_s)},
    {"Minus", u"-"_s},
    {"AboveInt32", u"2147483648"_s},
    {"BelowInt32", u"-2147483649"_s},
};

struct BoxCase {
    const char* name;
    Box box;
};

// The Luhn digit of 14 ASCII digits, written out independently of the code under test.
template <typename Text>
int luhn(const Text& body) {
    int sum = 0;
    for (qsizetype i = 0; i < 14; ++i) {
        const int digit = int(body[i]) - '0';
        const int added = i % 2 ? 2 * digit : digit;
        sum += added > 9 ? added - 9 : added;
    }
    return (10 - sum % 10) % 10;
}

bool allDigits(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void PrintTo(const HostileText& h, std::ostream* os) {
    *os << h.name;
}
void PrintTo(const BoxCase& b, std::ostream* os) {
    *os << b.name;
}

class HostileBoxTest : public testing::TestWithParam<std::tuple<BoxCase, HostileText>> {
protected:
    void SetUp() override {
        ASSERT_TRUE(directory_.isValid());
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(directory_.path()));
        form.attach(handlers);
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    QStringList entries() const {
        return QDir(directory_.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    QByteArray csv() const {
        QFile file(QDir(directory_.path()).filePath(u"imei.csv"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    FakeForm form;
    ScriptedUser user;
    Handlers handlers{form, user};

private:
    QTemporaryDir directory_;
    QString previous_;
};

TEST_P(HostileBoxTest, BoxesStayShortAndTheFileIsWholeOrAbsent) {
    const auto& [boxCase, hostile] = GetParam();
    form.setBoxText(Box::Text3, u"35693803"_s);
    form.setBoxText(Box::Text4, u"1"_s);
    form.setBoxText(Box::Text5, u"3"_s);
    form.setBoxText(Box::Text1, u"49015420323751"_s);

    form.setBoxText(boxCase.box, hostile.text);
    handlers.command3Clicked();

    // The box rules hold whatever was put in.
    EXPECT_LE(characterCount(trimSpaces(form.boxText(Box::Text3))), 8);
    EXPECT_LE(characterCount(trimSpaces(form.boxText(Box::Text4))), 6);
    EXPECT_LE(characterCount(trimSpaces(form.boxText(Box::Text5))), 6);
    const QByteArray full = form.boxText(Box::Text2).toUtf8();
    if (!full.isEmpty()) {
        ASSERT_TRUE(full.size() == 15 && full[0] != '0' && allDigits(full)) << full.data();
        EXPECT_EQ(full.back() - '0', luhn(full));
    }

    // Every message is one the handlers know.
    qint64 announced = -1;
    for (const QString& message : user.messages) {
        const QString done = u"校验位生成完毕 ！数量: "_s;
        if (message.startsWith(done)) {
            announced = message.mid(done.size()).toLongLong();
        } else {
            EXPECT_TRUE(message == tacFacMessage() || message == endBelowStartMessage())
                << message.toStdString();
        }
    }

    if (announced < 0) {
        EXPECT_TRUE(entries().isEmpty()) << entries().join(u' ').toStdString();
        return;
    }
    EXPECT_EQ(entries(), QStringList{u"imei.csv"_s});
    // A whole file: consecutive serials under one TAC + FAC, each with its check digit, every
    // line ended with CR LF.
    const QByteArray bytes = csv();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    qint64 count = 0;
    int previousSerial = -1;
    QByteArray tacFac;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.isEmpty()) continue;
        ASSERT_TRUE(line.endsWith('\r'));
        for (const QByteArray& entry : line.chopped(1).split(',')) {
            if (entry.isEmpty()) continue;
            ASSERT_TRUE(entry.size() == 15 && allDigits(entry)) << entry.data();
            ASSERT_EQ(entry.back() - '0', luhn(entry)) << entry.data();
            if (tacFac.isEmpty()) tacFac = entry.first(8);
            ASSERT_EQ(entry.first(8), tacFac);
            const int serial = entry.mid(8, 6).toInt();
            if (previousSerial >= 0) {
                ASSERT_EQ(serial, previousSerial + 1);
            }
            previousSerial = serial;
            ++count;
        }
    }
    EXPECT_EQ(count, announced);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, HostileBoxTest,
    testing::Combine(testing::Values(BoxCase{"Text1", Box::Text1}, BoxCase{"Text3", Box::Text3},
                                     BoxCase{"Text4", Box::Text4}, BoxCase{"Text5", Box::Text5},
                                     BoxCase{"Text8", Box::Text8}),
                     testing::ValuesIn(kHostileTexts)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// Pasting hostile texts into the single-number band never completes anything but a body.
TEST(HostilePaste, OnlyFullBodiesAreCompleted) {
    FakeForm form;
    ScriptedUser user;
    Handlers handlers{form, user};
    form.attach(handlers);
    for (const HostileText& hostile : kHostileTexts) {
        user.clipboard = hostile.text;
        handlers.command7Clicked();
        EXPECT_EQ(form.boxText(Box::Text1), hostile.text) << hostile.name;
        EXPECT_EQ(form.boxText(Box::Text2), QString()) << hostile.name;
        handlers.command5Clicked();
        EXPECT_EQ(user.clipboard, QString()) << hostile.name;
    }
}

}  // namespace
}  // namespace tallisk
