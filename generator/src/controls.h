#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QWidget>

#include "numbrook/window_ops.h"

class QToolButton;

namespace numbrook::gui {

// A single-line edit box with the two typing behaviours of the window: an
// optional integer filter and an optional upper-case conversion. Both act on
// characters as they are typed only; pasted or programmatically set text is
// taken as it is.
class EditBox final : public QLineEdit {
    Q_OBJECT
public:
    explicit EditBox(QWidget* parent = nullptr);

    InputMode inputMode() const { return inputMode_; }
    void setInputMode(InputMode mode) { inputMode_ = mode; }
    bool upperCase() const { return upperCase_; }
    void setUpperCase(bool on) { upperCase_ = on; }

    // What typing `typed` enters: characters the filter discards are
    // dropped, lower-case ASCII letters are converted when asked to.
    QString typedText(const QString& typed) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    InputMode inputMode_ = InputMode::AnyCharacter;
    bool upperCase_ = false;
};

// The up-down arrows attached to the right of a numeric edit box. Each click
// reads the box's leading number, steps it by one with wrap-around at the
// limits, writes it back selected and focuses the box. The limits apply to
// the arrows only; whatever the user types stays as typed.
class UpDownControl final : public QWidget {
    Q_OBJECT
public:
    UpDownControl(QLineEdit* buddy, int lower, int upper, QWidget* parent);

    QLineEdit* buddy() const { return buddy_; }
    int lower() const { return lower_; }
    int upper() const { return upper_; }

    void stepUp();
    void stepDown();

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void writeValue(long long value);

    QLineEdit* buddy_;
    int lower_;
    int upper_;
    QToolButton* up_;
    QToolButton* down_;
};

// A rectangle outline drawn with a 1-pixel black line and no fill; it also
// serves as the container of the widgets placed in it.
class ShapeFrame final : public QWidget {
    Q_OBJECT
public:
    explicit ShapeFrame(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace numbrook::gui
