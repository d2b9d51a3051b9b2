#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "appearance.h"
#include "fake_form.h"
#include "form1.h"
#include "form3.h"
#include "help_text.h"
#include "test_support.h"

using namespace Qt::StringLiterals;

namespace tallisk {
namespace {

using testing_support::ScriptedUser;

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// One shown main window per test, answered by the scripted stand-in.
class FormTest : public testing::Test {
protected:
    void SetUp() override {
        form1 = std::make_unique<Form1>(user);
        form1->show();
        form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    }
    void TearDown() override { form1.reset(); }

    template <typename T = QWidget>
    T* control(const char* name) const {
        auto* found = form1->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QString focusName() const {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    Form3* openHelp() {
        QTest::mouseClick(control<QPushButton>("Help"), Qt::LeftButton);
        return form1->helpWindow();
    }

    ScriptedUser user;
    std::unique_ptr<Form1> form1;
};

// ---------------------------------------------------------------------------------------------
TEST_F(FormTest, MainWindowIsFixedCentredAndCaptioned) {
    EXPECT_EQ(form1->objectName(), u"form1"_s);
    EXPECT_EQ(form1->windowTitle(), u"Tallisk"_s);
    EXPECT_EQ(form1->size(), QSize(387, 196));
    EXPECT_EQ(form1->minimumSize(), form1->maximumSize());
    const Qt::WindowFlags flags = form1->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form1->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_FALSE(form1->windowIcon().isNull());
    EXPECT_EQ(programPixmap().size(), QSize(32, 32));

    const QRect available = form1->screen()->availableGeometry();
    EXPECT_LE((form1->geometry().center() - available.center()).manhattanLength(), 3);
}

// ---------------------------------------------------------------------------------------------
struct PlacementCase {
    const char* name;
    const char* container;
    QRect geometry;
};

class Placement : public FormTest, public testing::WithParamInterface<PlacementCase> {};

TEST_P(Placement, SitsWhereTheTwipsSay) {
    QWidget* widget = control(GetParam().name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(GetParam().container));
    EXPECT_EQ(widget->geometry(), GetParam().geometry);
}

INSTANTIATE_TEST_SUITE_P(
    Form1, Placement,
    testing::Values(PlacementCase{"Text8", "form1", QRect(328, 112, 33, 27)},
                    PlacementCase{"Frame1", "form1", QRect(8, 8, 369, 180)},
                    PlacementCase{"Help", "Frame1", QRect(8, 144, 25, 25)},
                    PlacementCase{"Command7", "Frame1", QRect(8, 24, 49, 25)},
                    PlacementCase{"Command5", "Frame1", QRect(312, 24, 49, 25)},
                    PlacementCase{"Command3", "Frame1", QRect(288, 144, 73, 25)},
                    PlacementCase{"Text5", "Frame1", QRect(200, 104, 89, 25)},
                    PlacementCase{"Text4", "Frame1", QRect(104, 104, 89, 25)},
                    PlacementCase{"Text3", "Frame1", QRect(8, 104, 89, 25)},
                    PlacementCase{"Text1", "Frame1", QRect(64, 24, 113, 25)},
                    PlacementCase{"Text2", "Frame1", QRect(184, 24, 121, 25)},
                    PlacementCase{"Label2", "Frame1", QRect(320, 88, 33, 17)},
                    PlacementCase{"Label5", "Frame1", QRect(200, 88, 57, 17)},
                    PlacementCase{"Label4", "Frame1", QRect(112, 88, 57, 17)},
                    PlacementCase{"Label3", "Frame1", QRect(16, 88, 57, 17)}),
    caseName<PlacementCase>);

TEST_F(FormTest, LineCrossesTheFrameBetweenTheBands) {
    auto* line = control<LineControl>("Line1");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->parentWidget()->objectName(), u"Frame1"_s);
    EXPECT_EQ(line->from(), QPoint(-8, 72));
    EXPECT_EQ(line->to(), QPoint(368, 72));
    EXPECT_EQ(line->colour(), systemColour(SystemColour::GrayText));
    EXPECT_EQ(line->focusPolicy(), Qt::NoFocus);
}

TEST_F(FormTest, ColumnsBoxLiesInFrontOfTheFrame) {
    QLineEdit* text8 = box("Text8");
    QWidget* hit = form1->childAt(text8->geometry().center());
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == text8 || text8->isAncestorOf(hit)) << hit->objectName().toStdString();
}

// ---------------------------------------------------------------------------------------------
struct CaptionCase {
    const char* name;
    const char16_t* caption;
};

class Caption : public FormTest, public testing::WithParamInterface<CaptionCase> {};

TEST_P(Caption, KeepsItsInnerSpaces) {
    QWidget* widget = control(GetParam().name);
    ASSERT_NE(widget, nullptr);
    QString shown;
    if (auto* button = qobject_cast<QPushButton*>(widget)) shown = button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) shown = label->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) shown = group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown = edit->text();
    EXPECT_EQ(shown, QString::fromUtf16(GetParam().caption));
}

INSTANTIATE_TEST_SUITE_P(
    Form1, Caption,
    testing::Values(CaptionCase{"Frame1", u"校验位生成"}, CaptionCase{"Command7", u"粘 贴"},
                    CaptionCase{"Command5", u"复 制"}, CaptionCase{"Command3", u"批量生成"},
                    CaptionCase{"Help", u""}, CaptionCase{"Label2", u"列 数"},
                    CaptionCase{"Label5", u"终 止 号"}, CaptionCase{"Label4", u"起 始 号"},
                    CaptionCase{"Label3", u"TAC + FAC"}, CaptionCase{"Text8", u"1"},
                    CaptionCase{"Text1", u""}, CaptionCase{"Text2", u""}, CaptionCase{"Text3", u""},
                    CaptionCase{"Text4", u""}, CaptionCase{"Text5", u""}),
    caseName<CaptionCase>);

TEST_F(FormTest, OnlyTheColumnsBoxHasALengthLimit) {
    EXPECT_EQ(box("Text8")->maxLength(), 3);
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5"}) {
        EXPECT_EQ(box(name)->maxLength(), QLineEdit().maxLength()) << name;
        EXPECT_FALSE(box(name)->isReadOnly()) << name;
    }
}

// ---------------------------------------------------------------------------------------------
struct FontCase {
    const char* name;
    const char16_t* face;
    int pixelSize;
    int weight;
    bool italic;
};

class Fonts : public FormTest, public testing::WithParamInterface<FontCase> {};

TEST_P(Fonts, UseTheGivenFaceSizeAndWeight) {
    QWidget* widget = control(GetParam().name);
    ASSERT_NE(widget, nullptr);
    const QFont font = widget->font();
    EXPECT_EQ(font.family(), QString::fromUtf16(GetParam().face));
    EXPECT_EQ(font.pixelSize(), GetParam().pixelSize);
    EXPECT_EQ(font.weight(), GetParam().weight);
    EXPECT_EQ(font.italic(), GetParam().italic);
}

// 9 pt = 12 px, 10.5 pt = 14 px, 12 pt = 16 px at 96 dpi.
INSTANTIATE_TEST_SUITE_P(
    Form1, Fonts,
    testing::Values(
        FontCase{"Text8", u"宋体", 16, 700, false}, FontCase{"Frame1", u"黑体", 12, 400, true},
        FontCase{"Command7", u"宋体", 12, 700, false},
        FontCase{"Command5", u"宋体", 12, 700, false},
        FontCase{"Command3", u"宋体", 12, 700, false}, FontCase{"Text5", u"宋体", 16, 400, false},
        FontCase{"Text4", u"宋体", 16, 400, false}, FontCase{"Text3", u"宋体", 16, 400, false},
        FontCase{"Text1", u"宋体", 14, 400, false}, FontCase{"Text2", u"宋体", 14, 400, false},
        FontCase{"Label2", u"宋体", 12, 400, false}, FontCase{"Label3", u"宋体", 12, 400, false},
        FontCase{"Label4", u"宋体", 12, 400, false}, FontCase{"Label5", u"宋体", 12, 400, false}),
    caseName<FontCase>);

// ---------------------------------------------------------------------------------------------
TEST_F(FormTest, ColoursFollowTheSystemRoles) {
    const QColor grey(64, 64, 64);
    auto* frame = control("Frame1");
    EXPECT_EQ(frame->palette().color(QPalette::Window), grey);
    EXPECT_EQ(frame->palette().color(QPalette::WindowText),
              systemColour(SystemColour::HighlightText));
    EXPECT_TRUE(frame->autoFillBackground());
    for (const char* name : {"Label2", "Label4", "Label5"}) {
        EXPECT_EQ(control(name)->palette().color(QPalette::Window), grey) << name;
        EXPECT_EQ(control(name)->palette().color(QPalette::WindowText),
                  systemColour(SystemColour::HighlightText))
            << name;
    }
    EXPECT_EQ(control("Label3")->palette().color(QPalette::WindowText),
              systemColour(SystemColour::CaptionText));
    EXPECT_EQ(box("Text8")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(box("Text1")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Base));
}

TEST_F(FormTest, TabVisitsTheControlsInTheirTabIndexOrder) {
    EXPECT_EQ(focusName(), u"Text1"_s);
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusName();
    }
    EXPECT_EQ(visited,
              (QStringList{u"Text3"_s, u"Text4"_s, u"Text5"_s, u"Text2"_s, u"Command3"_s,
                           u"Command5"_s, u"Command7"_s, u"Text8"_s, u"Help"_s, u"Text1"_s}));
}

TEST_F(FormTest, PicturesHaveTheirSizes) {
    auto* help = control<QPushButton>("Help");
    EXPECT_EQ(help->iconSize(), QSize(12, 17));
    EXPECT_EQ(help->icon().availableSizes().value(0), QSize(12, 17));
    Form3* form3 = openHelp();
    ASSERT_NE(form3, nullptr);
    auto* image = form3->findChild<QLabel*>(u"Image1"_s);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(74, 15));
}

// ---------------------------------------------------------------------------------------------
TEST_F(FormTest, TypedBodyIsCompletedAndClearedAgain) {
    QTest::keyClicks(box("Text1"), u"49015420323751"_s);
    EXPECT_EQ(box("Text2")->text(), u"490154203237518"_s);
    QTest::keyClick(box("Text1"), Qt::Key_Backspace);
    EXPECT_EQ(box("Text2")->text(), QString());
}

TEST_F(FormTest, PastingNineDigitsIntoTacFacKeepsEightAndMovesOn) {
    box("Text3")->setFocus();
    QGuiApplication::clipboard()->setText(u"123456789"_s);
    QTest::keySequence(box("Text3"), QKeySequence::Paste);
    EXPECT_EQ(box("Text3")->text(), u"12345678"_s);
    EXPECT_EQ(focusName(), u"Text4"_s);
}

TEST_F(FormTest, FullSerialsMoveTheFocusOn) {
    box("Text4")->setFocus();
    QTest::keyClicks(box("Text4"), u"000001"_s);
    EXPECT_EQ(focusName(), u"Text5"_s);
    QTest::keyClicks(box("Text5"), u"000003"_s);
    EXPECT_EQ(focusName(), u"Command3"_s);
}

TEST_F(FormTest, PasteAndCopyButtonsUseTheClipboard) {
    user.clipboard = u"49015420323751"_s;
    QTest::mouseClick(control<QPushButton>("Command7"), Qt::LeftButton);
    EXPECT_EQ(box("Text1")->text(), u"49015420323751"_s);
    EXPECT_EQ(box("Text2")->text(), u"490154203237518"_s);

    user.clipboard.clear();
    QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton);
    EXPECT_EQ(user.clipboard, u"490154203237518"_s);
    EXPECT_EQ(user.clipboardWrites, 1);
}

TEST_F(FormTest, BatchButtonWritesImeiCsvIntoTheCurrentFolder) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(directory.path()));

    QTest::keyClicks(box("Text3"), u"35693803"_s);
    QTest::keyClicks(box("Text4"), u"1"_s);
    QTest::keyClicks(box("Text5"), u"3"_s);
    box("Text8")->setText(u"2"_s);
    QTest::mouseClick(control<QPushButton>("Command3"), Qt::LeftButton);

    QFile csv(QDir(directory.path()).filePath(u"imei.csv"_s));
    const bool opened = csv.open(QIODevice::ReadOnly);
    const QByteArray written = csv.readAll();
    QFile expected(QStringLiteral(TALLISK_TEST_DATA "/two_columns_1_to_3.csv"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    QDir::setCurrent(previous);

    ASSERT_TRUE(opened);
    EXPECT_EQ(written, expected.readAll());
    EXPECT_EQ(box("Text4")->text(), u"000001"_s);
    EXPECT_EQ(box("Text5")->text(), u"000003"_s);
    EXPECT_EQ(focusName(), u"Command3"_s);
    EXPECT_EQ(user.messages, QStringList{u"校验位生成完毕 ！数量: 3"_s});
}

// ---------------------------------------------------------------------------------------------
TEST(HelpText, Has1008CharactersAndFiveNumberedParagraphs) {
    EXPECT_EQ(helpText().size(), 1008);
    EXPECT_EQ(helpTextForDisplay().size(), 1008);
    const QStringList paragraphs = helpParagraphs();
    ASSERT_EQ(paragraphs.size(), 5);
    EXPECT_TRUE(paragraphs.at(3).contains(u"名为    “imei.csv”"_s));

    const QStringList lines = helpTextForDisplay().split(u'\n');
    ASSERT_EQ(lines.size(), 6);  // the text ends with a line break
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(lines.at(i).startsWith(QString::number(i + 1) + u"、"_s)) << i;
        EXPECT_EQ(lines.at(i).trimmed(), paragraphs.at(i)) << i;
    }
    EXPECT_EQ(helpText(), paragraphs.at(0) + QString(103, u' ') + paragraphs.at(1) +
                              QString(95, u' ') + paragraphs.at(2) + QString(76, u' ') +
                              paragraphs.at(3) + QString(82, u' ') + paragraphs.at(4) +
                              QString(175, u' '));
}

TEST_F(FormTest, HelpWindowIsModelessFixedAndReused) {
    Form3* form3 = openHelp();
    ASSERT_NE(form3, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form3));
    EXPECT_EQ(form3->objectName(), u"Form3"_s);
    EXPECT_EQ(form3->windowTitle(), u"Help"_s);
    EXPECT_EQ(form3->size(), QSize(364, 330));
    EXPECT_EQ(form3->minimumSize(), form3->maximumSize());
    EXPECT_FALSE(form3->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(form1->isEnabled());
    EXPECT_FALSE(form3->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(form3->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form3->palette().color(QPalette::Window), QColor(Qt::black));

    auto* label = form3->findChild<QLabel*>(u"Label1"_s);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), QRect(8, 8, 345, 313));
    EXPECT_EQ(label->text(), helpTextForDisplay());
    EXPECT_TRUE(label->wordWrap());
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(192, 192, 192));
    auto* image = form3->findChild<QLabel*>(u"Image1"_s);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->geometry(), QRect(264, 280, 74, 15));
    EXPECT_EQ(form3->childAt(image->geometry().center()), image) << "the signature lies on top";

    EXPECT_EQ(openHelp(), form3);
}

TEST_F(FormTest, ClosingTheMainWindowClosesHelp) {
    QPointer<Form3> form3 = openHelp();
    ASSERT_TRUE(form3);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form3.data()));
    form1->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form3.isNull() || !form3->isVisible());
    EXPECT_FALSE(form1->isVisible());
}

TEST_F(FormTest, HelpWindowClosedByTheUserIsCreatedAgain) {
    QPointer<Form3> first = openHelp();
    ASSERT_TRUE(first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    Form3* second = openHelp();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
}

}  // namespace
}  // namespace tallisk

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tallisk::installFontSubstitutes();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
