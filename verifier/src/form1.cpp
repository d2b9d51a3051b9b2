#include "form1.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <ranges>

#include "appearance.h"
#include "form3.h"

namespace tallisk {

namespace {

constexpr Qt::WindowFlags kFixedWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                              Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                              Qt::MSWindowsFixedSizeDialogHint;

const QColor kFrameGrey(64, 64, 64);

QLineEdit* makeTextBox(const char* name, QRect geometry, const QFont& font, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1StringView(name));
    box->setGeometry(geometry);
    box->setFont(font);
    return box;
}

QPushButton* makeButton(const char* name, const QString& caption, QRect geometry, const QFont& font,
                        QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1StringView(name));
    button->setGeometry(geometry);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(const char* name, const QString& caption, QRect geometry,
                  const QColor& textColour, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1StringView(name));
    label->setGeometry(geometry);
    label->setFont(windowsFont(kSongTi, 9, 400));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    setRoleColour(*label, QPalette::Window, kFrameGrey);
    setRoleColour(*label, QPalette::WindowText, textColour);
    return label;
}

// Controls listed first lie in front of the ones listed after them.
void stackEarlierInFront(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls | std::views::reverse) control->raise();
}

}  // namespace

Form1::Form1(UserChannel& user, QWidget* parent)
    : QWidget(parent, kFixedWindowFlags), handlers_(*this, user) {
    setObjectName(QStringLiteral("form1"));
    setWindowTitle(QStringLiteral("Tallisk"));
    setWindowIcon(QIcon(programPixmap()));
    setFixedSize(twips(5805), twips(2940));
    setFont(windowsFont(kSongTi, 9, 700));
    setAutoFillBackground(true);
    setRoleColour(*this, QPalette::Window, Qt::black);
    const QFont formFont = font();

    text8_ =
        makeTextBox("Text8", twipsRect(4920, 1680, 495, 405), windowsFont(kSongTi, 12, 700), this);
    text8_->setText(QStringLiteral("1"));
    text8_->setMaxLength(3);
    setRoleColour(*text8_, QPalette::Base, systemColour(SystemColour::InfoBackground));

    auto* frame1 = new FrameBox(QStringLiteral(u"校验位生成"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twipsRect(120, 120, 5535, 2700));
    frame1->setFont(windowsFont(kHeiTi, 9, 400, true));
    setRoleColour(*frame1, QPalette::Window, kFrameGrey);
    setRoleColour(*frame1, QPalette::WindowText, systemColour(SystemColour::HighlightText));

    auto* help = makeButton("Help", QString(), twipsRect(120, 2160, 375, 375), formFont, frame1);
    help->setIcon(QIcon(QStringLiteral(":/tallisk/help.png")));
    help->setIconSize(QSize(12, 17));
    help->setAccessibleName(QStringLiteral("Help"));
    auto* command7 = makeButton("Command7", QStringLiteral(u"粘 贴"), twipsRect(120, 360, 735, 375),
                                formFont, frame1);
    auto* command5 = makeButton("Command5", QStringLiteral(u"复 制"),
                                twipsRect(4680, 360, 735, 375), formFont, frame1);
    command3_ = makeButton("Command3", QStringLiteral(u"批量生成"),
                           twipsRect(4320, 2160, 1095, 375), formFont, frame1);

    const QFont serialFont = windowsFont(kSongTi, 12, 400);
    text5_ = makeTextBox("Text5", twipsRect(3000, 1560, 1335, 375), serialFont, frame1);
    text4_ = makeTextBox("Text4", twipsRect(1560, 1560, 1335, 375), serialFont, frame1);
    text3_ = makeTextBox("Text3", twipsRect(120, 1560, 1335, 375), serialFont, frame1);
    const QFont imeiFont = windowsFont(kSongTi, 10.5, 400);
    text1_ = makeTextBox("Text1", twipsRect(960, 360, 1695, 375), imeiFont, frame1);
    text2_ = makeTextBox("Text2", twipsRect(2760, 360, 1815, 375), imeiFont, frame1);

    const QColor highlightText = systemColour(SystemColour::HighlightText);
    auto* label2 = makeLabel("Label2", QStringLiteral(u"列 数"), twipsRect(4800, 1320, 495, 255),
                             highlightText, frame1);
    auto* line1 =
        new LineControl(QPoint(twips(-120), twips(1080)), QPoint(twips(5520), twips(1080)),
                        systemColour(SystemColour::GrayText), frame1);
    line1->setObjectName(QStringLiteral("Line1"));
    auto* label5 = makeLabel("Label5", QStringLiteral(u"终 止 号"), twipsRect(3000, 1320, 855, 255),
                             highlightText, frame1);
    auto* label4 = makeLabel("Label4", QStringLiteral(u"起 始 号"), twipsRect(1680, 1320, 855, 255),
                             highlightText, frame1);
    auto* label3 = makeLabel("Label3", QStringLiteral("TAC + FAC"), twipsRect(240, 1320, 855, 255),
                             systemColour(SystemColour::CaptionText), frame1);

    stackEarlierInFront({text8_, frame1});
    stackEarlierInFront({help, command7, command5, command3_, text5_, text4_, text3_, text1_,
                         text2_, label2, line1, label5, label4, label3});

    QWidget* const tabOrder[] = {text1_,    text3_,   text4_,   text5_, text2_,
                                 command3_, command5, command7, text8_, help};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    const std::pair<QLineEdit*, Box> watchedBoxes[] = {
        {text1_, Box::Text1}, {text3_, Box::Text3}, {text4_, Box::Text4}, {text5_, Box::Text5}};
    for (const auto& [edit, box] : watchedBoxes) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, box = box] { handlers_.boxChanged(box); });
    }
    connect(command7, &QPushButton::clicked, this, [this] { handlers_.command7Clicked(); });
    connect(command5, &QPushButton::clicked, this, [this] { handlers_.command5Clicked(); });
    connect(command3_, &QPushButton::clicked, this, [this] { handlers_.command3Clicked(); });
    connect(help, &QPushButton::clicked, this, &Form1::showHelp);

    text1_->setFocus();
    centreOnScreen(*this);
}

Form1::~Form1() = default;

Form3* Form1::helpWindow() const {
    return form3_;
}

void Form1::closeEvent(QCloseEvent* event) {
    // The help window goes with the main window, so that closing this one ends the program.
    if (form3_) form3_->close();
    QWidget::closeEvent(event);
}

QLineEdit* Form1::lineEdit(Box box) const {
    switch (box) {
        case Box::Text1:
            return text1_;
        case Box::Text2:
            return text2_;
        case Box::Text3:
            return text3_;
        case Box::Text4:
            return text4_;
        case Box::Text5:
            return text5_;
        case Box::Text8:
            return text8_;
    }
    return nullptr;
}

QString Form1::boxText(Box box) const {
    return lineEdit(box)->text();
}

void Form1::setBoxText(Box box, const QString& text) {
    QLineEdit* edit = lineEdit(box);
    // Like typing, only a real change counts as one.
    if (edit->text() != text) edit->setText(text);
}

void Form1::moveFocus(FocusTarget target) {
    QWidget* next = nullptr;
    switch (target) {
        case FocusTarget::Text4:
            next = text4_;
            break;
        case FocusTarget::Text5:
            next = text5_;
            break;
        case FocusTarget::Command3:
            next = command3_;
            break;
    }
    next->setFocus(Qt::OtherFocusReason);
}

void Form1::showHelp() {
    if (!form3_) form3_ = new Form3(this);
    form3_->show();
    form3_->raise();
    form3_->activateWindow();
}

}  // namespace tallisk
