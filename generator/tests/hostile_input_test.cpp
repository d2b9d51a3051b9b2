// Hostile input through the window: every edit box typed into and pasted into
// with texts no operator should enter, then both actions run. The window must
// survive every one, show what the engine reports, and never lose a file.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

#include "scripted_services.h"

using namespace numbrook;
using namespace numbrook::gui;
using namespace numbrook::gui::testing;

namespace {

const std::string_view kBoxes[] = {control::kStartBox, control::kCountBox, control::kStepBox,
                                   control::kCopiesBox, control::kColumnsBox};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Replaces a box's content the way a user pastes: select all, paste.
void paste(QLineEdit* edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    edit->setFocus();
    edit->selectAll();
    edit->paste();
}

// Types character by character, as a keyboard (or an input method) would
// deliver them; QTest::keyClicks knows only ASCII keys.
void type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

// Runs `action` as if the disk held only `bytes` more: writes beyond it fail
// with "File too large" instead of filling this machine's disk.
template <typename Action>
void withFileSizeLimit(rlim_t bytes, Action action) {
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = std::min(bytes, previous.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limited);
    action();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void everyBoxSurvivesHostileText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("meid");
        const std::pair<const char*, QString> texts[] = {
            {"full-width digits", QStringLiteral("１２３４５")},
            {"Chinese", QStringLiteral("生成数量十四位")},
            {"control characters", QStringLiteral("1\t2\r3\n4") + QChar(0) + QChar(0x1b) + QChar(0x7f)},
            {"ten thousand characters", QString(10000, u'9')},
            {"ten thousand mixed", QString(5000, u'中') + QString(5000, u'7')},
            {"minus", QStringLiteral("-")},
            {"above int", QStringLiteral("2147483648")},
            {"below int", QStringLiteral("-2147483649")},
            {"surrogate pair", QStringLiteral("12\U0001F600")},
        };
        for (const auto& [name, text] : texts) {
            QTest::newRow((std::string(name) + ", IMEI").c_str()) << text << false;
            QTest::newRow((std::string(name) + ", MEID").c_str()) << text << true;
        }
    }

    void everyBoxSurvivesHostileText() {
        QFETCH(QString, text);
        QFETCH(bool, meid);
        for (const std::string_view box : kBoxes) {
            for (const bool pasted : {false, true}) {
                ScriptedWindow s = ScriptedWindow::create();
                QVERIFY(s.window);
                QVERIFY(s.show());
                if (meid) QTest::mouseClick(s.get<QRadioButton>(control::kMeidRadio), Qt::LeftButton);
                auto* edit = s.get<QLineEdit>(box);
                if (pasted) {
                    paste(edit, text);
                } else {
                    // Long texts arrive by pasting; typing a few hundred keys
                    // already shows what the filter does with them.
                    type(edit, text.left(200));
                }
                // A hostile count may ask for billions of numbers: the run then
                // ends at the file-size limit with an error.
                if (box != control::kCountBox) {
                    paste(s.get<QLineEdit>(control::kCountBox), QStringLiteral("3"));
                }
                const QString out = folder_->filePath(QStringLiteral("out.txt"));
                s.files->answers = {out};
                withFileSizeLimit(1 << 20, [&] {
                    QTest::mouseClick(s.get<QPushButton>(control::kGenerateButton), Qt::LeftButton);
                });
                QVERIFY2(!s.messages->shown.empty(), "the generation ends with a message");
                QVERIFY(!s.window->isRunningHandler());
            }
        }
    }

    // A count the spinners never reach: with the shuffle it is refused before
    // anything is written; without, it streams until the disk is full (here a
    // file-size limit), and the earlier file survives either way.
    void hugeCountIsRefusedOrStoppedByAFullDisk() {
        const QString out = folder_->filePath(QStringLiteral("list.txt"));
        QVERIFY(writeAll(out, "earlier list\r\n"));
        for (const bool shuffle : {true, false}) {
            ScriptedWindow s = ScriptedWindow::create();
            QVERIFY(s.window);
            QVERIFY(s.show());
            paste(s.get<QLineEdit>(control::kStartBox), QStringLiteral("35693803000000"));
            paste(s.get<QLineEdit>(control::kCountBox), QStringLiteral("2147483647"));
            paste(s.get<QLineEdit>(control::kCopiesBox), QStringLiteral("2147483647"));
            if (shuffle) QTest::mouseClick(s.get<QCheckBox>(control::kShuffleCheck), Qt::LeftButton);

            s.files->answers = {out};
            withFileSizeLimit(4 << 20, [&] {
                QTest::mouseClick(s.get<QPushButton>(control::kGenerateButton), Qt::LeftButton);
            });

            QCOMPARE(s.messages->shown.size(), std::size_t{1});
            QCOMPARE(s.messages->shown[0].icon, MessageIcon::Exclamation);
            if (!shuffle) QVERIFY(s.messages->shown[0].text.contains(QStringLiteral("list.txt")));
            QCOMPARE(readAll(out), QByteArray("earlier list\r\n"));
            QCOMPARE(QDir(folder_->path()).entryList(QDir::Files), QStringList{QStringLiteral("list.txt")});
        }
    }

    void completionOfHostileFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("NUL bytes") << QByteArray("4901542032\0" "3751\r\n\0\0\r\n", 19);
        QTest::newRow("lone CR and LF") << QByteArray("490154\r2032\n3751\r\r\n\n");
        QTest::newRow("lone lead bytes") << QByteArray("\xB0\r\n4901542032375\xA3\r\n\xFF");
        QTest::newRow("a megabyte line") << QByteArray(1 << 20, '7') + QByteArray("\r\n");
    }

    void completionOfHostileFiles() {
        QFETCH(QByteArray, content);
        for (const bool meid : {false, true}) {
            const QString in = folder_->filePath(QStringLiteral("in.txt"));
            const QString out = folder_->filePath(QStringLiteral("out.txt"));
            QVERIFY(writeAll(in, content));
            ScriptedWindow s = ScriptedWindow::create();
            QVERIFY(s.window);
            QVERIFY(s.show());
            if (meid) QTest::mouseClick(s.get<QRadioButton>(control::kMeidRadio), Qt::LeftButton);
            s.files->answers = {in, out};
            QTest::mouseClick(s.get<QPushButton>(control::kCompleteButton), Qt::LeftButton);
            QCOMPARE(s.messages->shown.size(), std::size_t{1});
            QCOMPARE(s.messages->shown[0].text, QStringLiteral("处理完毕！"));
            QVERIFY(readAll(out).endsWith("\r\n"));
            QCOMPARE(readAll(in), content);
        }
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
