// Hostile texts pasted and typed into every box of the real main window, then the batch button:
// nothing crashes or hangs, the boxes keep their limits, and imei.csv is whole or absent.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "fake_form.h"
#include "form1.h"
#include "handlers.h"
#include "imei_text.h"

using namespace Qt::StringLiterals;

namespace tallisk {
namespace {

using testing_support::ScriptedUser;

struct Hostile {
    const char* name;
    QString text;
};

const Hostile kHostile[] = {
    {"FullWidthDigits", u"３５６９３８０３"_s},
    {"Chinese", u"三五六九三八〇三"_s},
    {"ControlCharacters", u"\x01\x02\t\x1b[31m\x7f"_s},
    {"TenThousandCharacters", QString(10000, u'9')},
    {"Minus", u"-"_s},
    {"AboveInt32", u"2147483648"_s},
    {"BelowInt32", u"-2147483649"_s},
};

class FormHostileTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(directory_.isValid());
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(directory_.path()));
        form1_ = std::make_unique<Form1>(user_);
        form1_->show();
        form1_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1_.get()));
    }
    void TearDown() override {
        form1_.reset();
        QDir::setCurrent(previous_);
    }
    QLineEdit* box(const char* name) const {
        return form1_->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QStringList entries() const {
        return QDir(directory_.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    ScriptedUser user_;
    std::unique_ptr<Form1> form1_;

private:
    QTemporaryDir directory_;
    QString previous_;
};

TEST_P(FormHostileTest, PastedAndTypedTextsKeepTheLimits) {
    QLineEdit* target = box(GetParam());
    ASSERT_NE(target, nullptr);
    QTest::keyClicks(box("Text3"), u"35693803"_s);
    QTest::keyClicks(box("Text4"), u"1"_s);
    QTest::keyClicks(box("Text5"), u"3"_s);
    auto* batch = form1_->findChild<QPushButton*>(u"Command3"_s);
    ASSERT_NE(batch, nullptr);

    for (const Hostile& hostile : kHostile) {
        SCOPED_TRACE(hostile.name);
        target->selectAll();
        target->setFocus();
        QGuiApplication::clipboard()->setText(hostile.text);
        QTest::keySequence(target, QKeySequence::Paste);
        // Chinese arrives through the input method, as a committed string.
        QInputMethodEvent typed;
        typed.setCommitString(u"号－"_s);
        QCoreApplication::sendEvent(target, &typed);
        QTest::mouseClick(batch, Qt::LeftButton);

        EXPECT_LE(box("Text8")->text().size(), 3);
        EXPECT_LE(characterCount(trimSpaces(box("Text3")->text())), 8);
        EXPECT_LE(characterCount(trimSpaces(box("Text4")->text())), 6);
        EXPECT_LE(characterCount(trimSpaces(box("Text5")->text())), 6);
        // The result box is editable like the others; only the program's own result is checked.
        if (target != box("Text2")) {
            const QString full = box("Text2")->text();
            EXPECT_TRUE(full.isEmpty() || full == completeImei(box("Text1")->text()))
                << full.toStdString();
        }
        EXPECT_TRUE(entries().isEmpty() || entries() == QStringList{u"imei.csv"_s});
        for (const QString& message : user_.messages) {
            EXPECT_TRUE(message == tacFacMessage() || message == endBelowStartMessage() ||
                        message.startsWith(u"校验位生成完毕 ！数量:"_s))
                << message.toStdString();
        }
        user_.messages.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(Boxes, FormHostileTest,
                         testing::Values("Text1", "Text2", "Text3", "Text4", "Text5", "Text8"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

}  // namespace
}  // namespace tallisk
