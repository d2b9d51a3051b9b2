#include "appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>

namespace tallisk {

QColor systemColour(SystemColour colour) {
    const QPalette palette = QApplication::palette();
    switch (colour) {
        case SystemColour::InfoBackground:
            return palette.color(QPalette::Active, QPalette::ToolTipBase);
        case SystemColour::HighlightText:
            return palette.color(QPalette::Active, QPalette::HighlightedText);
        case SystemColour::CaptionText:
            return palette.color(QPalette::Active, QPalette::BrightText);
        case SystemColour::GrayText:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case SystemColour::Shadow3D:
            return palette.color(QPalette::Active, QPalette::Dark);
        case SystemColour::Highlight3D:
            return palette.color(QPalette::Active, QPalette::Light);
    }
    return {};
}

void installFontSubstitutes() {
    const QStringList families = QFontDatabase::families();
    if (!families.contains(kSongTi)) {
        QFont::insertSubstitutions(kSongTi.toString(),
                                   {QStringLiteral("AR PL UMing CN"), QStringLiteral("SimSun")});
    }
    if (!families.contains(kHeiTi)) {
        QFont::insertSubstitutions(
            kHeiTi.toString(), {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("SimHei")});
    }
}

QFont windowsFont(QStringView face, double points, int weight, bool italic) {
    QFont font(face.toString());
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setWeight(QFont::Weight(weight));
    font.setItalic(italic);
    return font;
}

QPixmap programPixmap() {
    return QPixmap(QStringLiteral(":/tallisk/tallisk.png"));
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    window.move(available.center() - QPoint(window.width() / 2, window.height() / 2));
}

void setRoleColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

FrameBox::FrameBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    setAutoFillBackground(true);
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int edgeTop = metrics.height() / 2;

    // Etched edge: a shadow rectangle with a highlight rectangle one pixel inside and below.
    const QRect outer = rect().adjusted(0, edgeTop, -2, -2);
    painter.setPen(systemColour(SystemColour::Shadow3D));
    painter.drawRect(outer);
    painter.setPen(systemColour(SystemColour::Highlight3D));
    painter.drawRect(outer.translated(1, 1));

    const QString caption = title();
    if (caption.isEmpty()) return;
    const QRect captionRect(6, 0, metrics.horizontalAdvance(caption) + 4, metrics.height());
    painter.fillRect(captionRect, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionRect, Qt::AlignCenter, caption);
}

LineControl::LineControl(QPoint from, QPoint to, const QColor& colour, QWidget* parent)
    : QWidget(parent), from_(from), to_(to), colour_(colour) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(QRect(from, to).normalized());
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(colour_);
    painter.drawLine(from_ - pos(), to_ - pos());
}

}  // namespace tallisk
