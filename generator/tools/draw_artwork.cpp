// Draws the generator's artwork: the banner, the two button icons and the
// program icon. Run once with the resources folder as argument; the PNG files
// it writes are kept in the source tree and embedded as Qt resources.
//
//   QT_QPA_PLATFORM=offscreen numbrook-artwork generator/resources

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kTeal(0, 128, 128);
const QColor kDeepTeal(0, 84, 92);
const QColor kLime(128, 224, 0);
const QColor kFace(236, 236, 236);

QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// 406 x 72. The picture box shows the middle 402 x 70, so the outermost two
// columns and the top and bottom rows carry only the plain background.
QImage drawBanner() {
    QImage image(406, 72, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 406, 72);
    sky.setColorAt(0.0, kDeepTeal);
    sky.setColorAt(1.0, kTeal);
    p.fillRect(image.rect(), sky);

    // A row of bars of varying width, like a printed serial label.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    int x = 262;
    const int widths[] = {2, 1, 3, 1, 1, 2, 3, 1, 2, 1, 1, 3, 2, 1, 2, 1, 3, 1, 1, 2,
                          1, 3, 2, 1, 1, 2, 1, 3, 1, 2, 2, 1, 3, 1, 1, 2, 1, 2, 3, 1};
    for (int i = 0; x < 398; ++i) {
        const int w = widths[i % std::size(widths)];
        if (i % 2 == 0) p.drawRect(x, 10, w, 40);
        x += w + 1 + (i % 3 == 0 ? 1 : 0);
    }

    // Three stacked "cards" of numbers fanning out, the batch being written.
    for (int i = 2; i >= 0; --i) {
        const QRectF card(20 + i * 6, 12 + i * 5, 44, 34);
        p.setBrush(i == 0 ? QColor(255, 255, 255) : QColor(220, 236, 236));
        p.setPen(QPen(kDeepTeal, 1));
        p.drawRoundedRect(card, 3, 3);
    }
    p.setPen(QPen(kTeal, 2, Qt::SolidLine, Qt::RoundCap));
    for (int row = 0; row < 3; ++row) {
        const int y = 20 + row * 8;
        p.drawLine(QPointF(26, y), QPointF(row == 2 ? 44 : 56, y));
    }
    p.setBrush(kLime);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(56, 38), 5, 5);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(26);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(88, 8, 220, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Numbrook"));

    QFont subtitle(QStringLiteral("WenQuanYi Micro Hei"));
    subtitle.setPixelSize(13);
    p.setFont(subtitle);
    p.setPen(QColor(220, 245, 240));
    p.drawText(QRect(90, 40, 170, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("IMEI / MEID 批量生成"));

    QFont digits(QStringLiteral("DejaVu Sans Mono"));
    digits.setPixelSize(10);
    p.setFont(digits);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRect(262, 52, 136, 14), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("35 209900 176148 1"));

    // The plain margin the picture box leaves out.
    p.setPen(Qt::NoPen);
    p.setBrush(kDeepTeal);
    p.drawRect(0, 0, 2, 72);
    p.drawRect(404, 0, 2, 72);
    return image;
}

void drawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(9.5, 0.5);
    page.lineTo(12.5, 3.5);
    page.lineTo(12.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setPen(QPen(QColor(150, 170, 170), 1));
    for (int y = 5; y <= 9; y += 2) p.drawLine(QPointF(4.5, y + 0.5), QPointF(10.5, y + 0.5));
}

// A page with a green arrow pointing into it: write a new list.
QImage drawGenerateIcon() {
    QImage image = transparentImage(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawPage(p);
    QPainterPath arrow;
    arrow.moveTo(9, 9);
    arrow.lineTo(16, 12.5);
    arrow.lineTo(9, 16);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 150, 40));
    p.drawRect(QRectF(5, 11, 5, 3));
    p.drawPath(arrow);
    return image;
}

// A page with a teal check mark: complete every line of a file.
QImage drawCompleteIcon() {
    QImage image = transparentImage(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawPage(p);
    p.setPen(QPen(kTeal, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(6, 11);
    tick.lineTo(9, 14);
    tick.lineTo(15, 7);
    p.drawPath(tick);
    return image;
}

// A rounded tile with a stack of number lines and a check dot.
QImage drawProgramIcon() {
    QImage image = transparentImage(64, 64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient tile(0, 0, 64, 64);
    tile.setColorAt(0.0, kTeal);
    tile.setColorAt(1.0, kDeepTeal);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 12, 40, 40), 4, 4);
    p.setPen(QPen(kTeal, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 22), QPointF(45, 22));
    p.drawLine(QPointF(19, 32), QPointF(45, 32));
    p.drawLine(QPointF(19, 42), QPointF(33, 42));
    p.setPen(Qt::NoPen);
    p.setBrush(kLime);
    p.drawEllipse(QPointF(42, 42), 6, 6);
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: numbrook-artwork OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const struct {
        const char* name;
        QImage image;
    } files[] = {
        {"banner.png", drawBanner()},
        {"generate.png", drawGenerateIcon()},
        {"complete.png", drawCompleteIcon()},
        {"numbrook.png", drawProgramIcon()},
    };
    for (const auto& file : files) {
        const QString path = out.filePath(QString::fromLatin1(file.name));
        if (!file.image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
