#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "scripted_services.h"

using namespace numbrook;
using namespace numbrook::gui;
using namespace numbrook::gui::testing;

namespace {

struct GenerationSettings {
    bool meid = false;
    QString start;
    QString count = QStringLiteral("1");
    QString step = QStringLiteral("1");
    bool down = false;
    QString copies = QStringLiteral("1");
    QString columns = QStringLiteral("1");
    bool shuffle = false;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing file>");
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs numbrook-cli; returns its exit code, or -100 when it cannot be run.
int runCli(const QStringList& arguments, QString* failure) {
    const QString cli = qEnvironmentVariable("NUMBROOK_CLI");
    if (cli.isEmpty()) {
        *failure = QStringLiteral("NUMBROOK_CLI is not set");
        return -100;
    }
    QProcess process;
    process.start(cli, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        *failure = QStringLiteral("numbrook-cli did not run: ") + process.errorString();
        return -100;
    }
    if (process.exitCode() != 0) {
        *failure = QString::fromLocal8Bit(process.readAllStandardError());
    }
    return process.exitCode();
}

QString testData(const QString& name) {
    return qEnvironmentVariable("NUMBROOK_TEST_DATA") + u'/' + name;
}

QList<QByteArray> sortedLines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

Q_DECLARE_METATYPE(GenerationSettings)

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void generation_data();
    void generation();
    void shuffledGenerationHoldsTheSameNumbers();
    void longShuffledRunShowsAProgressBar();
    void cancelledGenerationWritesNothing();
    void completion_data();
    void completion();
    void completionInPlace();
    void dialogRemembersTheLastConfirmedPath();

private:
    // Sets the window's controls the way a user would: clicks and typing.
    void enter(ScriptedWindow& s, const GenerationSettings& settings);
    QStringList cliArguments(const ScriptedWindow& s) const;

    std::unique_ptr<QTemporaryDir> folder_;
};

void EndToEndTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
}

void EndToEndTest::enter(ScriptedWindow& s, const GenerationSettings& settings) {
    QTest::mouseClick(
        s.get<QRadioButton>(settings.meid ? control::kMeidRadio : control::kImeiRadio),
        Qt::LeftButton);
    QTest::mouseClick(
        s.get<QRadioButton>(settings.down ? control::kDecreaseRadio : control::kIncreaseRadio),
        Qt::LeftButton);
    if (settings.shuffle)
        QTest::mouseClick(s.get<QCheckBox>(control::kShuffleCheck), Qt::LeftButton);
    const std::pair<std::string_view, QString> boxes[] = {
        {control::kStartBox, settings.start},     {control::kCountBox, settings.count},
        {control::kStepBox, settings.step},       {control::kCopiesBox, settings.copies},
        {control::kColumnsBox, settings.columns},
    };
    for (const auto& [box, text] : boxes) {
        auto* edit = s.get<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->text().toUpper(), text.toUpper());
    }
}

QStringList EndToEndTest::cliArguments(const ScriptedWindow& s) const {
    // The driver gets exactly what the window's boxes hold after typing.
    QStringList arguments{
        QStringLiteral("--start=") + s.get<QLineEdit>(control::kStartBox)->text(),
        QStringLiteral("--count=") + s.get<QLineEdit>(control::kCountBox)->text(),
        QStringLiteral("--step=") + s.get<QLineEdit>(control::kStepBox)->text(),
        QStringLiteral("--copies=") + s.get<QLineEdit>(control::kCopiesBox)->text(),
        QStringLiteral("--columns=") + s.get<QLineEdit>(control::kColumnsBox)->text(),
    };
    if (s.get<QRadioButton>(control::kDecreaseRadio)->isChecked())
        arguments << QStringLiteral("--down");
    if (s.get<QRadioButton>(control::kMeidRadio)->isChecked())
        arguments << QStringLiteral("--meid");
    return arguments;
}

void EndToEndTest::generation_data() {
    QTest::addColumn<GenerationSettings>("settings");
    QTest::addColumn<bool>("completes");  // false: the run stops early with its own message

    auto row = [](const char* name, GenerationSettings settings, bool completes = true) {
        QTest::newRow(name) << settings << completes;
    };
    GenerationSettings s;
    s.start = QStringLiteral("35209900176148");
    row("IMEI, one value", s);

    s.start = QStringLiteral("49015420323751");
    s.count = QStringLiteral("5");
    s.columns = QStringLiteral("3");
    row("IMEI, five in rows of three", s);

    s.columns = QStringLiteral("1");
    s.copies = QStringLiteral("3");
    row("three copies, count 5", s);

    s = {};
    s.start = QStringLiteral("00000000000100");
    s.count = QStringLiteral("5");
    s.down = true;
    s.columns = QStringLiteral("2");
    row("decreasing through a borrow", s);

    s = {};
    s.start = QStringLiteral("12345678901234");
    s.count = QStringLiteral("4");
    s.step = QStringLiteral("0");
    s.columns = QStringLiteral("4");
    row("step 0, a full row", s);

    s.count = QStringLiteral("0");
    row("count 0 empties the file", s);

    s.count = QStringLiteral("-3");
    row("negative count", s);

    s = {};
    s.start = QStringLiteral("123");
    s.count = QStringLiteral("3");
    s.columns = QStringLiteral("2");
    row("short start body", s);

    s = {};
    s.start = QStringLiteral("49015420323751");
    s.count = QStringLiteral("12000");
    s.step = QStringLiteral("5000");
    s.columns = QStringLiteral("7");
    row("beyond the spinner limits", s);

    s = {};
    s.meid = true;
    s.start = QStringLiteral("af0123450abcde");
    s.count = QStringLiteral("20");
    s.step = QStringLiteral("7");
    s.copies = QStringLiteral("2");
    s.columns = QStringLiteral("4");
    row("MEID, typed in lower case", s);

    s = {};
    s.meid = true;
    s.start = QStringLiteral("A0000000000010");
    s.count = QStringLiteral("40");
    s.down = true;
    s.columns = QStringLiteral("5");
    row("MEID decreasing", s);

    s = {};
    s.start = QStringLiteral("00000000000002");
    s.count = QStringLiteral("5");
    s.down = true;
    row("decreasing below zero", s, false);
}

void EndToEndTest::generation() {
    QFETCH(GenerationSettings, settings);
    QFETCH(bool, completes);

    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    enter(s, settings);
    if (QTest::currentTestFailed()) return;

    // An existing file is replaced (the real dialog asks first).
    const QString windowFile = folder_->filePath(QStringLiteral("window.txt"));
    QVERIFY(writeAll(windowFile, "old content that must go\r\n"));
    s.messages->shown.clear();
    s.files->answers = {windowFile};
    QTest::mouseClick(s.get<QPushButton>(control::kGenerateButton), Qt::LeftButton);

    QCOMPARE(s.files->displays.size(), std::size_t{1});
    QCOMPARE(s.files->displays[0].kind, DialogKind::Save);
    QCOMPARE(s.files->displays[0].proposedFileName, QString());
    QCOMPARE(s.messages->shown.size(), std::size_t{1});
    QCOMPARE(s.messages->shown[0].title, QStringLiteral("Vantrel"));
    if (completes) {
        QCOMPARE(s.messages->shown[0].text, QStringLiteral("数据生成完毕！"));
        QCOMPARE(s.messages->shown[0].icon, MessageIcon::Information);
    }

    const QString cliFile = folder_->filePath(QStringLiteral("cli.txt"));
    QString failure;
    const int code = runCli(
        QStringList{QStringLiteral("generate"), QStringLiteral("--out"), cliFile} + cliArguments(s),
        &failure);
    QVERIFY2(code == 0, qPrintable(failure));
    QCOMPARE(readAll(windowFile), readAll(cliFile));
}

void EndToEndTest::shuffledGenerationHoldsTheSameNumbers() {
    GenerationSettings settings;
    settings.start = QStringLiteral("35209900176148");
    settings.count = QStringLiteral("40");
    settings.shuffle = true;
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    enter(s, settings);
    if (QTest::currentTestFailed()) return;
    QVERIFY(s.get<QCheckBox>(control::kShuffleCheck)->isChecked());

    const QString windowFile = folder_->filePath(QStringLiteral("window.txt"));
    s.files->answers = {windowFile};
    QTest::mouseClick(s.get<QPushButton>(control::kGenerateButton), Qt::LeftButton);
    QCOMPARE(s.messages->shown.size(), std::size_t{1});
    QCOMPARE(s.messages->shown[0].text, QStringLiteral("数据生成完毕！"));

    // The shuffle draws from the clock, so compare with the unshuffled list
    // as a set of lines.
    const QString cliFile = folder_->filePath(QStringLiteral("cli.txt"));
    QString failure;
    QVERIFY2(runCli(QStringList{QStringLiteral("generate"), QStringLiteral("--out"), cliFile} +
                        cliArguments(s),
                    &failure) == 0,
             qPrintable(failure));
    const QByteArray unshuffled = readAll(cliFile);
    QCOMPARE(unshuffled.count('\n'), 40);
    QCOMPARE(sortedLines(readAll(windowFile)), sortedLines(unshuffled));
}

// The largest list the spinners reach, shuffled: the window must keep
// handling events and show a moving bar in a modal dialog instead of
// freezing until the file is written.
void EndToEndTest::longShuffledRunShowsAProgressBar() {
    GenerationSettings settings;
    settings.start = QStringLiteral("35693803000000");
    settings.count = QStringLiteral("10000");
    settings.copies = QStringLiteral("1000");
    settings.shuffle = true;
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    enter(s, settings);
    if (QTest::currentTestFailed()) return;

    int ticks = 0;
    bool shownModal = false;
    QSet<int> values;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        ++ticks;
        auto* progress = s.window->findChild<QProgressDialog*>();
        if (!progress || !progress->isVisible()) return;
        shownModal = shownModal || QApplication::activeModalWidget() == progress;
        values.insert(progress->value());
    });
    watcher.start(20);

    const QString windowFile = folder_->filePath(QStringLiteral("window.txt"));
    s.files->answers = {windowFile};
    QElapsedTimer run;
    run.start();
    QTest::mouseClick(s.get<QPushButton>(control::kGenerateButton), Qt::LeftButton);
    const qint64 runMs = run.elapsed();
    watcher.stop();

    QCOMPARE(s.messages->shown.size(), std::size_t{1});
    QCOMPARE(s.messages->shown[0].text, QStringLiteral("数据生成完毕！"));
    // All ten million items are shuffled; the count says how many are written.
    QCOMPARE(QFileInfo(windowFile).size(), qint64{10'000} * 17);
    QVERIFY(s.window->findChild<QProgressDialog*>() == nullptr);
    if (runMs < 2000) QSKIP("the run was too quick for the progress dialog to show");
    QVERIFY2(ticks > 10,
             qPrintable(QStringLiteral("%1 timer ticks in %2 ms").arg(ticks).arg(runMs)));
    QVERIFY(shownModal);
    QVERIFY2(values.size() > 2, qPrintable(QStringLiteral("%1 bar positions").arg(values.size())));
}

void EndToEndTest::cancelledGenerationWritesNothing() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    QTest::keyClicks(s.get<QLineEdit>(control::kStartBox), QStringLiteral("35209900176148"));
    const QString check = s.get<QLineEdit>(control::kCheckBox)->text();
    s.files->answers = {std::nullopt};
    QTest::mouseClick(s.get<QPushButton>(control::kGenerateButton), Qt::LeftButton);
    QCOMPARE(s.files->displays.size(), std::size_t{1});
    QVERIFY(s.messages->shown.empty());
    QVERIFY(QDir(folder_->path()).isEmpty());
    QCOMPARE(s.get<QLineEdit>(control::kStartBox)->text(), QStringLiteral("35209900176148"));
    QCOMPARE(s.get<QLineEdit>(control::kCheckBox)->text(), check);
    QVERIFY(s.window->fileDialog().fileName().isEmpty());
}

void EndToEndTest::completion_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("meid");
    QTest::newRow("IMEI bodies") << QStringLiteral("imei_bodies.txt") << false;
    QTest::newRow("MEID bodies") << QStringLiteral("meid_bodies.txt") << true;
    QTest::newRow("IMEI bodies in MEID mode") << QStringLiteral("imei_bodies.txt") << true;
    QTest::newRow("empty file") << QStringLiteral("empty.txt") << false;
}

void EndToEndTest::completion() {
    QFETCH(QString, fixture);
    QFETCH(bool, meid);

    const QString input = folder_->filePath(fixture);
    QVERIFY(QFile::copy(testData(fixture), input));
    const QByteArray original = readAll(input);

    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    if (meid) QTest::mouseClick(s.get<QRadioButton>(control::kMeidRadio), Qt::LeftButton);
    const QString windowFile = folder_->filePath(QStringLiteral("window.txt"));
    s.files->answers = {input, windowFile};
    QTest::mouseClick(s.get<QPushButton>(control::kCompleteButton), Qt::LeftButton);

    QCOMPARE(s.files->displays.size(), std::size_t{2});
    QCOMPARE(s.files->displays[0].kind, DialogKind::Open);
    QCOMPARE(s.files->displays[0].proposedFileName, QString());
    QCOMPARE(s.files->displays[1].kind, DialogKind::Save);
    QCOMPARE(s.files->displays[1].proposedFileName, input);
    QCOMPARE(s.messages->shown.size(), std::size_t{1});
    QCOMPARE(s.messages->shown[0].text, QStringLiteral("处理完毕！"));
    QCOMPARE(s.messages->shown[0].title, QStringLiteral("Corvenna"));
    QCOMPARE(s.messages->shown[0].icon, MessageIcon::Information);
    QCOMPARE(readAll(input), original);

    const QByteArray completed = readAll(windowFile);
    if (fixture == QStringLiteral("imei_bodies.txt") && !meid) {
        QVERIFY(completed.startsWith("490154203237518\r\n352099001761481\r\n\r\n123\r\n"));
    }
    if (fixture == QStringLiteral("empty.txt")) QCOMPARE(completed, QByteArray("\r\n"));

    const QString cliFile = folder_->filePath(QStringLiteral("cli.txt"));
    QStringList arguments{QStringLiteral("complete"), QStringLiteral("--in"), input,
                          QStringLiteral("--out"), cliFile};
    if (meid) arguments << QStringLiteral("--meid");
    QString failure;
    QVERIFY2(runCli(arguments, &failure) == 0, qPrintable(failure));
    QCOMPARE(completed, readAll(cliFile));
}

void EndToEndTest::completionInPlace() {
    const QString input = folder_->filePath(QStringLiteral("bodies.txt"));
    QVERIFY(QFile::copy(testData(QStringLiteral("imei_bodies.txt")), input));
    const QString cliFile = folder_->filePath(QStringLiteral("cli.txt"));
    QString failure;
    QVERIFY2(runCli({QStringLiteral("complete"), QStringLiteral("--in"), input,
                     QStringLiteral("--out"), cliFile},
                    &failure) == 0,
             qPrintable(failure));

    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    s.files->answers = {input, input};
    QTest::mouseClick(s.get<QPushButton>(control::kCompleteButton), Qt::LeftButton);
    QCOMPARE(s.messages->shown.size(), std::size_t{1});
    QCOMPARE(readAll(input), readAll(cliFile));
}

void EndToEndTest::dialogRemembersTheLastConfirmedPath() {
    const QString input = folder_->filePath(QStringLiteral("bodies.txt"));
    QVERIFY(QFile::copy(testData(QStringLiteral("imei_bodies.txt")), input));
    const QString output = folder_->filePath(QStringLiteral("list.txt"));

    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    // Completion: the input is confirmed, the save dialog cancelled.
    s.files->answers = {input, std::nullopt};
    QTest::mouseClick(s.get<QPushButton>(control::kCompleteButton), Qt::LeftButton);
    QVERIFY(s.messages->shown.empty());
    QCOMPARE(QDir(folder_->path()).entryList(QDir::Files),
             QStringList{QStringLiteral("bodies.txt")});

    // Generation proposes the input path, the last one confirmed.
    s.files->answers = {output};
    QTest::mouseClick(s.get<QPushButton>(control::kGenerateButton), Qt::LeftButton);
    QCOMPARE(s.files->displays.size(), std::size_t{3});
    QCOMPARE(s.files->displays[2].kind, DialogKind::Save);
    QCOMPARE(s.files->displays[2].proposedFileName, input);
    QVERIFY(QFile::exists(output));

    // And the next completion proposes the generated file.
    s.files->answers = {std::nullopt};
    QTest::mouseClick(s.get<QPushButton>(control::kCompleteButton), Qt::LeftButton);
    QCOMPARE(s.files->displays.size(), std::size_t{4});
    QCOMPARE(s.files->displays[3].kind, DialogKind::Open);
    QCOMPARE(s.files->displays[3].proposedFileName, output);
    QCOMPARE(s.window->fileDialog().kind(), DialogKind::Open);
    QCOMPARE(s.files->unanswered, 0);
}

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
