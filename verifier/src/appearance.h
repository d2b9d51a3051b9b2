#pragma once

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QPoint>
#include <QRect>
#include <QStringView>
#include <QWidget>

// The classic-Windows look of the verifier's windows on top of Qt: twips, font faces, system
// colours, an etched group box and a line control.
namespace tallisk {

inline constexpr int kTwipsPerPixel = 15;
constexpr int twips(int value) {
    return (value + (value >= 0 ? 7 : -7)) / kTwipsPerPixel;
}
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// Windows system colours used by the forms, and the palette role that plays each part here:
// info background -> ToolTipBase, highlight text -> HighlightedText, caption text (text on a
// strong title bar) -> BrightText, grey text -> disabled Text, 3-D shadow and highlight of the
// etched frame -> Dark and Light.
enum class SystemColour {
    InfoBackground,
    HighlightText,
    CaptionText,
    GrayText,
    Shadow3D,
    Highlight3D
};
QColor systemColour(SystemColour colour);

// Maps the two Chinese faces to installed fonts where the system lacks them. Call once after the
// application object exists.
void installFontSubstitutes();

inline constexpr QStringView kSongTi = u"宋体";
inline constexpr QStringView kHeiTi = u"黑体";
// Sizes are in points at 96 dpi and become pixel sizes, so text keeps its proportion to the
// fixed twip geometry on every screen.
QFont windowsFont(QStringView face, double points, int weight, bool italic = false);

QPixmap programPixmap();
void centreOnScreen(QWidget& window);

// Sets a role colour on a widget without touching the other roles it inherits.
void setRoleColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour);

// A group box drawn as an etched frame whose caption interrupts the top edge, in the box's
// WindowText colour on its Window colour.
class FrameBox final : public QGroupBox {
    Q_OBJECT
public:
    explicit FrameBox(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A one-pixel line between two points of its parent; takes no focus and no mouse input.
class LineControl final : public QWidget {
    Q_OBJECT
public:
    LineControl(QPoint from, QPoint to, const QColor& colour, QWidget* parent);

    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint from_;
    QPoint to_;
    QColor colour_;
};

}  // namespace tallisk
