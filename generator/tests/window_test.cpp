#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "controls.h"
#include "numbrook/check_digit.h"
#include "scripted_services.h"
#include "startup.h"
#include "window_definition.h"

using namespace numbrook;
using namespace numbrook::gui;
using namespace numbrook::gui::testing;

namespace {

QString name(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QByteArray nameBytes(std::string_view utf8) {
    return QByteArray(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string_view fromBytes(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QColor rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void controlPlacement_data();
    void controlPlacement();
    void coloursAndFonts();
    void typedCharacters_data();
    void typedCharacters();
    void pastedTextIsNotFiltered();
    void spinnerArrows_data();
    void spinnerArrows();
    void radioButtonsGroupByContainer();
    void escapeClosesAndEnterDoesNothing();
    void checkDisplayWhileTyping();
    void rejectedCharacters_data();
    void rejectedCharacters();
    void switchingModeKeepsCheckDisplay();
    void modeButtonsSetTheInputFilter();
    void secondRunIsRefusedWhileOneRuns();
    void closeWaitsForTheRunningHandler();
    void progressDialogLivesOnlyDuringTheRun();
    void qtFileDialogSettings();
    void qtMessageBoxHasNoOwnerAndBlocksTheProgram();
    void startUpFailure();
    void normalStartAndEnd();
};

void WindowTest::startUpState() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.window);
    MainWindow& w = *s.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Numbrook"));
    QCOMPARE(w.engine().applicationTitle(), QStringLiteral("Vantrel"));
    QCOMPARE(w.size(), QSize(421, 314));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!w.windowIcon().isNull());
    QCOMPARE(w.palette().color(QPalette::Window), rgb(236, 236, 236));

    // Centred by the 427 x 343 outer size.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(w.pos(), QPoint(screen.x() + (screen.width() - 427) / 2,
                             screen.y() + (screen.height() - 343) / 2));

    QVERIFY(s.get<QRadioButton>(control::kImeiRadio)->isChecked());
    QVERIFY(!s.get<QRadioButton>(control::kMeidRadio)->isChecked());
    QVERIFY(s.get<QRadioButton>(control::kIncreaseRadio)->isChecked());
    QVERIFY(!s.get<QRadioButton>(control::kDecreaseRadio)->isChecked());
    QVERIFY(!s.get<QCheckBox>(control::kShuffleCheck)->isChecked());
    for (auto box :
         {control::kStepBox, control::kCopiesBox, control::kColumnsBox, control::kCountBox}) {
        QCOMPARE(s.get<QLineEdit>(box)->text(), QStringLiteral("1"));
        QCOMPARE(s.get<QLineEdit>(box)->maxLength(), 32767);  // Qt's "no limit"
    }
    auto* start = s.get<EditBox>(control::kStartBox);
    QVERIFY(start->text().isEmpty());
    QCOMPARE(start->maxLength(), 14);
    QCOMPARE(start->inputMode(), InputMode::Integer);
    QVERIFY(start->upperCase());
    auto* display = s.get<QLineEdit>(control::kCheckBox);
    QVERIFY(display->text().isEmpty());
    QCOMPARE(display->maxLength(), 1);
    QVERIFY(!display->isEnabled());
    QCOMPARE(display->focusPolicy(), Qt::NoFocus);

    QCOMPARE(w.fileDialog().objectName(), name(control::kFileDialog));
    QCOMPARE(w.fileDialog().kind(), DialogKind::Save);
    QVERIFY(w.fileDialog().fileName().isEmpty());

    QVERIFY(s.show());
    QCOMPARE(QApplication::focusWidget(), start);
    QVERIFY(s.messages->shown.empty());
    QVERIFY(s.files->displays.empty());
}

void WindowTest::controlPlacement_data() {
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("inModeFrame");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("alignment");

    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    const int centre = Qt::AlignHCenter | Qt::AlignVCenter;
    struct Row {
        std::string_view name;
        QRect geometry;
        bool inFrame;
        QString caption;
        int alignment;
    };
    const Row rows[] = {
        {"图片框1", {8, 8, 404, 72}, false, {}, 0},
        {kModeFrameName, {128, 80, 200, 32}, false, {}, 0},
        {control::kImeiRadio, {8, 8, 54, 20}, true, QStringLiteral("IMEI"), 0},
        {control::kMeidRadio, {80, 8, 54, 20}, true, QStringLiteral("MEID"), 0},
        {"标签4", {16, 115, 120, 24}, false, QStringLiteral("流水起始数据(14位)："), right},
        {control::kStartBox, {136, 115, 168, 24}, false, {}, left},
        {control::kCheckBox, {312, 116, 30, 24}, false, {}, centre},
        {"标签1", {349, 116, 48, 24}, false, QStringLiteral("(校验码)"), right},
        {"标签2", {16, 145, 120, 24}, false, QStringLiteral("增减数量："), right},
        {control::kStepBox, {136, 145, 60, 20}, false, QStringLiteral("1"), centre},
        {control::kIncreaseRadio, {221, 145, 56, 24}, false, QStringLiteral("递增"), 0},
        {control::kDecreaseRadio, {272, 145, 56, 24}, false, QStringLiteral("递减"), 0},
        {control::kShuffleCheck, {325, 144, 80, 24}, false, QStringLiteral("打乱顺序"), 0},
        {"标签3", {16, 169, 120, 24}, false, QStringLiteral("单条复制："), right},
        {control::kCopiesBox, {136, 171, 60, 20}, false, QStringLiteral("1"), centre},
        {"标签6", {16, 196, 120, 24}, false, QStringLiteral("分成几列："), right},
        {control::kColumnsBox, {136, 198, 60, 20}, false, QStringLiteral("1"), centre},
        {"标签5", {72, 234, 72, 24}, false, QStringLiteral("生成数量："), left},
        {control::kCountBox, {136, 235, 60, 20}, false, QStringLiteral("1"), centre},
        {control::kGenerateButton,
         {220, 233, 123, 24},
         false,
         QStringLiteral("生成输出TXT文件"),
         0},
        {control::kCompleteButton,
         {220, 262, 123, 24},
         false,
         QStringLiteral("TXT文件批量计算"),
         0},
    };
    for (const Row& row : rows) {
        QTest::newRow(nameBytes(row.name).constData())
            << nameBytes(row.name) << row.geometry << row.inFrame << row.caption << row.alignment;
    }
}

void WindowTest::controlPlacement() {
    QFETCH(QByteArray, control);
    QFETCH(QRect, geometry);
    QFETCH(bool, inModeFrame);
    QFETCH(QString, caption);
    QFETCH(int, alignment);

    ScriptedWindow s = ScriptedWindow::create();
    QWidget* widget = s.window->control(fromBytes(control));
    QVERIFY(widget);
    QCOMPARE(widget->objectName(), QString::fromUtf8(control));
    QCOMPARE(widget->geometry(), geometry);
    QWidget* expectedParent =
        inModeFrame ? s.window->control(kModeFrameName) : static_cast<QWidget*>(s.window.get());
    QCOMPARE(widget->parentWidget(), expectedParent);
    // Every control lies inside the client area the window keeps.
    QVERIFY(QRect(QPoint(0, 0), s.window->size()).contains(widget->geometry()));

    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), caption);
    } else if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->alignment().toInt(), alignment);
        QVERIFY(!label->wordWrap());
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(edit->text(), caption);
        QCOMPARE(edit->alignment().toInt(), alignment);
    }

    if (auto* push = qobject_cast<QPushButton*>(widget)) {
        QVERIFY(!push->icon().isNull());
        QCOMPARE(push->iconSize(), QSize(16, 16));
        QVERIFY(!push->autoDefault());
    }
    if (UpDownControl* spinner = s.window->spinnerOf(fromBytes(control))) {
        QCOMPARE(spinner->geometry(),
                 QRect(geometry.right() + 1, geometry.top(), 18, geometry.height()));
        QCOMPARE(spinner->buddy(), widget);
    }
}

void WindowTest::coloursAndFonts() {
    ScriptedWindow s = ScriptedWindow::create();
    for (auto radio : {control::kImeiRadio, control::kMeidRadio}) {
        auto* button = s.get<QRadioButton>(radio);
        QCOMPARE(button->palette().color(QPalette::WindowText), rgb(0, 128, 128));
        QCOMPARE(button->font().family(), QStringLiteral("宋体"));
        QCOMPARE(button->font().pixelSize(), 12);
        QCOMPARE(button->font().weight(), QFont::Normal);
        // The Windows face resolves to an installed CJK font.
        QVERIFY2(QFontInfo(button->font()).family().contains(QStringLiteral("UMing")),
                 qPrintable(QFontInfo(button->font()).family()));
    }
    QCOMPARE(s.get<QRadioButton>(control::kIncreaseRadio)->palette().color(QPalette::WindowText),
             rgb(0, 0, 0));
    QCOMPARE(s.get<QLineEdit>(control::kStartBox)->palette().color(QPalette::Base),
             rgb(255, 255, 255));
    QCOMPARE(s.get<QLineEdit>(control::kCountBox)->palette().color(QPalette::Base),
             rgb(128, 224, 0));
    QCOMPARE(
        s.get<QLineEdit>(control::kCheckBox)->palette().color(QPalette::Disabled, QPalette::Base),
        rgb(236, 236, 236));
    QCOMPARE(s.get<QLabel>("标签4")->palette().color(QPalette::Window), rgb(236, 236, 236));
}

void WindowTest::typedCharacters_data() {
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<bool>("meid");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    const QByteArray start = nameBytes(control::kStartBox);
    const QByteArray count = nameBytes(control::kCountBox);
    const QByteArray step = nameBytes(control::kStepBox);
    QTest::newRow("IMEI keeps digits and minus")
        << start << false << QStringLiteral("12-3") << QStringLiteral("12-3");
    QTest::newRow("IMEI discards letters, dots, spaces")
        << start << false << QStringLiteral("1a2B.3 z") << QStringLiteral("123");
    QTest::newRow("MEID converts lower-case letters")
        << start << true << QStringLiteral("12af") << QStringLiteral("12AF");
    QTest::newRow("MEID accepts any character")
        << start << true << QStringLiteral("g-z! x") << QStringLiteral("G-Z! X");
    QTest::newRow("fifteenth character refused")
        << start << false << QStringLiteral("123456789012345") << QStringLiteral("12345678901234");
    QTest::newRow("numeric box filters")
        << count << false << QStringLiteral("x5y-0") << QStringLiteral("5-0");
    QTest::newRow("numeric box has no upper-case conversion")
        << count << true << QStringLiteral("a1") << QStringLiteral("1");
    QTest::newRow("spinner limits do not constrain typing")
        << step << false << QStringLiteral("5000000") << QStringLiteral("5000000");
}

void WindowTest::typedCharacters() {
    QFETCH(QByteArray, box);
    QFETCH(bool, meid);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    if (meid) QTest::mouseClick(s.get<QRadioButton>(control::kMeidRadio), Qt::LeftButton);
    auto* edit = s.get<QLineEdit>(fromBytes(box));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);

    // Backspace is a control key and passes the integer filter.
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), shown.chopped(1));
}

void WindowTest::pastedTextIsNotFiltered() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* start = s.get<QLineEdit>(control::kStartBox);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("12ab cd"));
    if (clipboard->text() != QStringLiteral("12ab cd")) QSKIP("no clipboard on this platform");

    // IMEI mode: letters and spaces pasted with Ctrl+V stay, in lower case.
    start->setFocus();
    QTest::keySequence(start, QKeySequence::Paste);
    QCOMPARE(start->text(), QStringLiteral("12ab cd"));
    QCOMPARE(s.messages->shown.size(), std::size_t{1});

    // Pasting honours the length limit.
    start->clear();
    clipboard->setText(QStringLiteral("12345678901234567890"));
    QTest::keySequence(start, QKeySequence::Paste);
    QCOMPARE(start->text(), QStringLiteral("12345678901234"));

    // Text inserted by a program is not filtered either.
    start->clear();
    start->insert(QStringLiteral("x-y"));
    QCOMPARE(start->text(), QStringLiteral("x-y"));
}

void WindowTest::spinnerArrows_data() {
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("after");

    const QByteArray step = nameBytes(control::kStepBox);
    const QByteArray copies = nameBytes(control::kCopiesBox);
    const QByteArray columns = nameBytes(control::kColumnsBox);
    const QByteArray count = nameBytes(control::kCountBox);
    QTest::newRow("up from 1000 wraps to 1")
        << step << QStringLiteral("1000") << true << QStringLiteral("1");
    QTest::newRow("down from 1 wraps to 1000")
        << step << QStringLiteral("1") << false << QStringLiteral("1000");
    QTest::newRow("up inside the range")
        << copies << QStringLiteral("5") << true << QStringLiteral("6");
    QTest::newRow("down inside the range")
        << columns << QStringLiteral("5") << false << QStringLiteral("4");
    QTest::newRow("typed 0, down")
        << step << QStringLiteral("0") << false << QStringLiteral("1000");
    QTest::newRow("typed 0, up") << step << QStringLiteral("0") << true << QStringLiteral("1");
    QTest::newRow("no digits, up")
        << copies << QStringLiteral("abc") << true << QStringLiteral("1");
    QTest::newRow("no digits, down")
        << copies << QStringLiteral("abc") << false << QStringLiteral("1000");
    QTest::newRow("leading number only")
        << step << QStringLiteral("12-3") << true << QStringLiteral("13");
    QTest::newRow("negative, up") << step << QStringLiteral("-7") << true << QStringLiteral("1");
    QTest::newRow("above the range, up")
        << step << QStringLiteral("5000") << true << QStringLiteral("1");
    QTest::newRow("above the range, down")
        << step << QStringLiteral("5000") << false << QStringLiteral("1000");
    QTest::newRow("32-bit maximum, up")
        << step << QStringLiteral("2147483647") << true << QStringLiteral("1");
    QTest::newRow("count up from 10000")
        << count << QStringLiteral("10000") << true << QStringLiteral("1");
    QTest::newRow("count down from 1")
        << count << QStringLiteral("1") << false << QStringLiteral("10000");
    QTest::newRow("count up from 1000")
        << count << QStringLiteral("1000") << true << QStringLiteral("1001");
}

void WindowTest::spinnerArrows() {
    QFETCH(QByteArray, box);
    QFETCH(QString, before);
    QFETCH(bool, up);
    QFETCH(QString, after);

    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* edit = s.get<QLineEdit>(fromBytes(box));
    edit->setText(before);
    s.get<QPushButton>(control::kGenerateButton)->setFocus();
    UpDownControl* spinner = s.window->spinnerOf(fromBytes(box));
    QVERIFY(spinner);
    QTest::mouseClick(up ? spinner->upButton() : spinner->downButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), after);
    QCOMPARE(edit->selectedText(), after);
    QCOMPARE(QApplication::focusWidget(), edit);
}

void WindowTest::radioButtonsGroupByContainer() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* imei = s.get<QRadioButton>(control::kImeiRadio);
    auto* meid = s.get<QRadioButton>(control::kMeidRadio);
    auto* increase = s.get<QRadioButton>(control::kIncreaseRadio);
    auto* decrease = s.get<QRadioButton>(control::kDecreaseRadio);

    QTest::mouseClick(meid, Qt::LeftButton);
    QVERIFY(meid->isChecked());
    QVERIFY(!imei->isChecked());
    QVERIFY(increase->isChecked());

    QTest::mouseClick(decrease, Qt::LeftButton);
    QVERIFY(decrease->isChecked());
    QVERIFY(!increase->isChecked());
    QVERIFY(meid->isChecked());

    QTest::mouseClick(imei, Qt::LeftButton);
    QVERIFY(imei->isChecked());
    QVERIFY(!meid->isChecked());
    QVERIFY(decrease->isChecked());
}

void WindowTest::escapeClosesAndEnterDoesNothing() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* generate = s.get<QPushButton>(control::kGenerateButton);
    generate->setFocus();
    QTest::keyClick(generate, Qt::Key_Return);
    QTest::keyClick(generate, Qt::Key_Enter);
    QVERIFY(s.files->displays.empty());
    QCOMPARE(QApplication::focusWidget(), generate);
    QVERIFY(s.window->isVisible());

    auto* start = s.get<QLineEdit>(control::kStartBox);
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), start);

    QTest::keyClick(start, Qt::Key_Escape);
    QVERIFY(!s.window->isVisible());
    QVERIFY(s.messages->shown.empty());
}

void WindowTest::checkDisplayWhileTyping() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* start = s.get<QLineEdit>(control::kStartBox);
    auto* display = s.get<QLineEdit>(control::kCheckBox);

    QTest::keyClicks(start, QStringLiteral("4901542032375"));
    QCOMPARE(display->text(), QString());
    QTest::keyClicks(start, QStringLiteral("1"));
    QCOMPARE(display->text(), QStringLiteral("8"));
    QTest::keyClick(start, Qt::Key_Backspace);
    QCOMPARE(display->text(), QString());
    start->selectAll();
    QTest::keyClick(start, Qt::Key_Delete);
    QCOMPARE(start->text(), QString());
    QCOMPARE(display->text(), QString());

    QTest::mouseClick(s.get<QRadioButton>(control::kMeidRadio), Qt::LeftButton);
    QTest::keyClicks(start, QStringLiteral("af0123450abcde"));
    QCOMPARE(start->text(), QStringLiteral("AF0123450ABCDE"));
    QCOMPARE(display->text(), QStringLiteral("C"));
    QVERIFY(s.messages->shown.empty());
}

void WindowTest::rejectedCharacters_data() {
    QTest::addColumn<bool>("meid");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    const QString imei = QStringLiteral("请输入0123456789之内的数！");
    const QString meid = QStringLiteral("请输入0123456789ABCDEF之内的字符！");
    QTest::newRow("IMEI minus") << false << QStringLiteral("490154203237") << QStringLiteral("-")
                                << imei;
    QTest::newRow("MEID G") << true << QStringLiteral("AF0123450AB") << QStringLiteral("g") << meid;
    QTest::newRow("MEID space") << true << QStringLiteral("12") << QStringLiteral(" ") << meid;
}

void WindowTest::rejectedCharacters() {
    QFETCH(bool, meid);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, message);

    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    if (meid) QTest::mouseClick(s.get<QRadioButton>(control::kMeidRadio), Qt::LeftButton);
    auto* start = s.get<QLineEdit>(control::kStartBox);
    auto* display = s.get<QLineEdit>(control::kCheckBox);
    start->setText(before);
    display->setText(QStringLiteral("7"));  // what an earlier check left
    s.messages->shown.clear();

    QTest::keyClicks(start, typed);
    QCOMPARE(start->text(), before + typed.toUpper());
    QCOMPARE(display->text(), QStringLiteral("7"));
    QCOMPARE(s.messages->shown.size(), std::size_t{1});
    QCOMPARE(s.messages->shown[0].text, message);
    QCOMPARE(s.messages->shown[0].title, QStringLiteral("Vantrel"));
    QCOMPARE(s.messages->shown[0].icon, MessageIcon::Exclamation);

    // Every further change while the character stays shows the message again.
    QTest::keyClicks(start, QStringLiteral("1"));
    QCOMPARE(s.messages->shown.size(), std::size_t{2});
    QCOMPARE(display->text(), QStringLiteral("7"));
}

void WindowTest::switchingModeKeepsCheckDisplay() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* start = s.get<QLineEdit>(control::kStartBox);
    auto* display = s.get<QLineEdit>(control::kCheckBox);
    QTest::keyClicks(start, QStringLiteral("49015420323751"));
    QCOMPARE(display->text(), QStringLiteral("8"));

    QTest::mouseClick(s.get<QRadioButton>(control::kMeidRadio), Qt::LeftButton);
    QCOMPARE(start->text(), QStringLiteral("49015420323751"));
    QCOMPARE(display->text(), QStringLiteral("8"));

    // The next edit recomputes in the new mode.
    QTest::keyClick(start, Qt::Key_Backspace);
    QTest::keyClicks(start, QStringLiteral("1"));
    const std::string meidCheck = ComputeCheckDigit("49015420323751", Mode::Meid);
    QCOMPARE(display->text(), QString::fromStdString(meidCheck));

    // Back to IMEI: the display again keeps its value until the next edit.
    QTest::mouseClick(s.get<QRadioButton>(control::kImeiRadio), Qt::LeftButton);
    QCOMPARE(display->text(), QString::fromStdString(meidCheck));
    QVERIFY(s.messages->shown.empty());
}

void WindowTest::modeButtonsSetTheInputFilter() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* start = s.get<EditBox>(control::kStartBox);
    auto* imei = s.get<QRadioButton>(control::kImeiRadio);
    auto* meid = s.get<QRadioButton>(control::kMeidRadio);

    QTest::mouseClick(meid, Qt::LeftButton);
    QCOMPARE(start->inputMode(), InputMode::AnyCharacter);
    QTest::keyClicks(start, QStringLiteral("12a"));
    QCOMPARE(start->text(), QStringLiteral("12A"));

    QTest::mouseClick(imei, Qt::LeftButton);
    QCOMPARE(start->inputMode(), InputMode::Integer);
    QCOMPARE(start->text(), QStringLiteral("12A"));
    const std::size_t messagesBefore = s.messages->shown.size();
    QTest::keyClicks(start, QStringLiteral("b"));
    QCOMPARE(start->text(), QStringLiteral("12A"));
    QCOMPARE(s.messages->shown.size(), messagesBefore);

    // A click on the button already selected runs its handler again.
    start->setInputMode(InputMode::AnyCharacter);
    QTest::mouseClick(imei, Qt::LeftButton);
    QCOMPARE(start->inputMode(), InputMode::Integer);
}

void WindowTest::secondRunIsRefusedWhileOneRuns() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    auto* complete = s.get<QPushButton>(control::kCompleteButton);
    auto* generate = s.get<QPushButton>(control::kGenerateButton);
    bool sawRunning = false;
    s.files->whileShown = [&] {
        if (s.files->displays.size() != 1) return;
        sawRunning = s.window->isRunningHandler();
        complete->click();
        generate->click();
    };
    s.files->answers = {std::nullopt};
    generate->click();
    QVERIFY(sawRunning);
    QCOMPARE(s.files->displays.size(), std::size_t{1});
    QVERIFY(!s.window->isRunningHandler());

    // Once the run is over the buttons work again.
    s.files->whileShown = nullptr;
    s.files->answers = {std::nullopt};
    complete->click();
    QCOMPARE(s.files->displays.size(), std::size_t{2});
    QCOMPARE(s.files->displays[1].kind, DialogKind::Open);
    QVERIFY(s.messages->shown.empty());
}

void WindowTest::closeWaitsForTheRunningHandler() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    bool visibleAfterClose = false;
    s.files->whileShown = [&] {
        s.window->close();
        visibleAfterClose = s.window->isVisible();
    };
    s.files->answers = {std::nullopt};
    s.get<QPushButton>(control::kGenerateButton)->click();
    QVERIFY(visibleAfterClose);
    QVERIFY(!s.window->isVisible());
}

void WindowTest::progressDialogLivesOnlyDuringTheRun() {
    ScriptedWindow s = ScriptedWindow::create();
    QVERIFY(s.show());
    QProgressDialog* progress = nullptr;
    s.files->whileShown = [&] {
        s.window->reportProgress(10, 1000);
        progress = s.window->findChild<QProgressDialog*>();
    };
    s.files->answers = {std::nullopt};
    s.get<QPushButton>(control::kGenerateButton)->click();
    QVERIFY(progress != nullptr);
    QVERIFY(s.window->findChild<QProgressDialog*>() == nullptr);

    // A finished run closes it at once.
    s.window->reportProgress(1, 4);
    progress = s.window->findChild<QProgressDialog*>();
    QVERIFY(progress);
    QVERIFY(progress->windowModality() != Qt::NonModal);
    QCOMPARE(progress->minimumDuration(), 1000);
    s.window->reportProgress(4, 4);
    QVERIFY(s.window->findChild<QProgressDialog*>() == nullptr);
}

void WindowTest::qtFileDialogSettings() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString existing = folder.filePath(QStringLiteral("in.txt"));
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1\r\n");
    }
    const QString fresh = folder.filePath(QStringLiteral("out.txt"));

    QWidget owner;
    QtFilePrompt prompt(&owner);
    QFileDialog* seen = nullptr;
    QString failure;
    // Whatever happens, no modal window outlives the test step.
    QTimer safetyNet;
    safetyNet.setInterval(10000);
    connect(&safetyNet, &QTimer::timeout, [&] {
        failure = QStringLiteral("a dialog stayed open");
        while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    auto answer = [&](std::function<void(QFileDialog*)> act) {
        safetyNet.start();
        QTimer::singleShot(0, [&, act] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                failure = QStringLiteral("no file dialog shown");
                return;
            }
            if (seen && seen != dialog) failure = QStringLiteral("a second dialog object");
            seen = dialog;
            if (dialog->nameFilters() != QStringList{QStringLiteral("文本文件(*.txt)")}) {
                failure = QStringLiteral("filter: ") + dialog->nameFilters().join(u'|');
            }
            if (dialog->selectedNameFilter() != QStringLiteral("文本文件(*.txt)")) {
                failure = QStringLiteral("filter not preselected");
            }
            if (dialog->defaultSuffix() != QStringLiteral("txt"))
                failure = QStringLiteral("suffix");
            act(dialog);
        });
    };
    // What the user types into the dialog's file name box.
    auto typeName = [](QFileDialog* dialog, const QString& fileName) {
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            edit->setText(fileName);
        }
    };

    answer([&](QFileDialog* dialog) {
        if (dialog->acceptMode() != QFileDialog::AcceptOpen ||
            dialog->fileMode() != QFileDialog::ExistingFile) {
            failure = QStringLiteral("open settings");
        }
        typeName(dialog, QStringLiteral("in.txt"));
        static_cast<QDialog*>(dialog)->accept();
    });
    std::optional<QString> chosen = prompt.ask(DialogKind::Open, folder.filePath(QString()));
    safetyNet.stop();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(chosen, std::optional<QString>(existing));

    answer([&](QFileDialog* dialog) {
        if (dialog->acceptMode() != QFileDialog::AcceptSave ||
            dialog->fileMode() != QFileDialog::AnyFile) {
            failure = QStringLiteral("save settings");
        }
        if (dialog->selectedFiles() != QStringList{existing}) {
            failure = QStringLiteral("proposed: ") + dialog->selectedFiles().join(u'|');
        }
        dialog->reject();
    });
    chosen = prompt.ask(DialogKind::Save, existing);
    safetyNet.stop();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(!chosen);

    // Confirming the proposed existing file asks before replacing it; after
    // "No" the user types a new name without an extension.
    bool askedToReplace = false;
    answer([&](QFileDialog* dialog) {
        QTimer::singleShot(0, [&, dialog] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            askedToReplace = box != nullptr;
            if (box) box->done(QMessageBox::No);
            typeName(dialog, QStringLiteral("out"));
            static_cast<QDialog*>(dialog)->accept();
        });
        static_cast<QDialog*>(dialog)->accept();
    });
    chosen = prompt.ask(DialogKind::Save, existing);
    safetyNet.stop();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(askedToReplace);
    QCOMPARE(chosen, std::optional<QString>(fresh));
}

void WindowTest::qtMessageBoxHasNoOwnerAndBlocksTheProgram() {
    QtMessagePresenter presenter;
    QString failure = QStringLiteral("no message box shown");
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        failure.clear();
        if (box->parentWidget() != nullptr) failure += QStringLiteral("has an owner; ");
        if (box->windowModality() != Qt::ApplicationModal) failure += QStringLiteral("modality; ");
        if (box->windowTitle() != QStringLiteral("Vantrel")) failure += QStringLiteral("title; ");
        if (box->text() != QStringLiteral("数据生成完毕！")) failure += QStringLiteral("text; ");
        if (box->icon() != QMessageBox::Information) failure += QStringLiteral("icon; ");
        if (box->standardButtons() != QMessageBox::Ok) failure += QStringLiteral("buttons; ");
        box->accept();
    });
    presenter.show(QStringLiteral("数据生成完毕！"), QStringLiteral("Vantrel"),
                   MessageIcon::Information);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void WindowTest::startUpFailure() {
    RecordingMessages messages;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    const int code = runNumbrook(
        *app, [] { return std::unique_ptr<MainWindow>(); }, messages);
    QCOMPARE(code, -1);
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown[0].text,
             QStringLiteral("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"));
    QCOMPARE(messages.shown[0].title, QStringLiteral("错误"));
    QCOMPARE(messages.shown[0].icon, MessageIcon::Error);
}

void WindowTest::normalStartAndEnd() {
    RecordingMessages messages;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QPointer<MainWindow> shown;
    bool wasVisible = false;
    QString title;
    const int code = runNumbrook(
        *app,
        [&] {
            auto window = MainWindow::create(
                {std::make_unique<ScriptedFilePrompt>(), std::make_unique<RecordingMessages>()});
            shown = window.get();
            QTimer::singleShot(0, [&] {
                wasVisible = shown && shown->isVisible();
                if (shown) {
                    title = shown->engine().applicationTitle();
                    if (QTest::qWaitForWindowActive(shown.data())) {
                        QTest::keyClick(shown.data(), Qt::Key_Escape);
                    }
                    if (shown) shown->close();
                }
            });
            return window;
        },
        messages);
    QCOMPARE(code, 0);
    QVERIFY(wasVisible);
    QCOMPARE(title, QStringLiteral("Vantrel"));
    QVERIFY(messages.shown.empty());
    QVERIFY(!shown);  // the window is gone once the program ends
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
