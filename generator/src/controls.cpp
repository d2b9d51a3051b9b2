#include "controls.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStringEncoder>
#include <QToolButton>
#include <algorithm>

#include "numbrook/integer_text.h"

namespace numbrook::gui {

namespace {

bool isAcceptedByIntegerFilter(QChar c) {
    return c.unicode() < 32 || c == u'-' || (c >= u'0' && c <= u'9');
}

}  // namespace

EditBox::EditBox(QWidget* parent) : QLineEdit(parent) {}

QString EditBox::typedText(const QString& typed) const {
    QString entered;
    entered.reserve(typed.size());
    for (QChar c : typed) {
        if (inputMode_ == InputMode::Integer && !isAcceptedByIntegerFilter(c)) continue;
        if (upperCase_ && c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
        entered.append(c);
    }
    return entered;
}

void EditBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    // Keys that bring no character, or only a control character (Backspace,
    // Ctrl+V and the like), go to the edit box unchanged.
    const bool bringsCharacters =
        !typed.isEmpty() &&
        std::any_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() >= 32; });
    if (!bringsCharacters || (event->modifiers() & Qt::ControlModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString entered = typedText(typed);
    if (entered == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (entered.isEmpty()) {
        event->accept();
        return;
    }
    QKeyEvent converted(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                        event->nativeVirtualKey(), event->nativeModifiers(), entered,
                        event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QLineEdit::keyPressEvent(&converted);
    event->setAccepted(converted.isAccepted());
}

void EditBox::inputMethodEvent(QInputMethodEvent* event) {
    // Characters composed with an input method are typed characters too.
    const QString entered = typedText(event->commitString());
    if (entered == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent converted(event->preeditString(), event->attributes());
    converted.setCommitString(entered, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&converted);
}

UpDownControl::UpDownControl(QLineEdit* buddy, int lower, int upper, QWidget* parent)
    : QWidget(parent),
      buddy_(buddy),
      lower_(lower),
      upper_(upper),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    setFocusPolicy(Qt::NoFocus);
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrow->setAutoRaise(false);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, &UpDownControl::stepUp);
    connect(down_, &QToolButton::clicked, this, &UpDownControl::stepDown);
}

void UpDownControl::resizeEvent(QResizeEvent* /*event*/) {
    const int upperHalf = height() / 2;
    up_->setGeometry(0, 0, width(), upperHalf);
    down_->setGeometry(0, upperHalf, width(), height() - upperHalf);
}

void UpDownControl::stepUp() {
    const QByteArray text = QStringEncoder("GB18030")(buddy_->text());
    // 64-bit so that a box holding the largest 32-bit value cannot overflow.
    const long long value = static_cast<long long>(ReadEditInteger(text.toStdString())) + 1;
    writeValue(value < lower_ || value > upper_ ? lower_ : value);
}

void UpDownControl::stepDown() {
    const QByteArray text = QStringEncoder("GB18030")(buddy_->text());
    const long long value = static_cast<long long>(ReadEditInteger(text.toStdString())) - 1;
    writeValue(value < lower_ || value > upper_ ? upper_ : value);
}

void UpDownControl::writeValue(long long value) {
    buddy_->setText(QString::number(value));
    buddy_->selectAll();
    buddy_->setFocus(Qt::OtherFocusReason);
}

ShapeFrame::ShapeFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void ShapeFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

}  // namespace numbrook::gui
