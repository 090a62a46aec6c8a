// Draws the icons of ours (light bulb, list and icon view styles, program icon) as PNG
// files into the directory given on the command line. The committed PNGs were made
// with it; rerun it (target pelorin_drawicons) after changing a drawing.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A light bulb on a 48 by 48 grid: glass with a glow, a filament and a screw base.
void drawBulb(QPainter &p)
{
    QRadialGradient glow(24, 18, 16);
    glow.setColorAt(0, QColor(255, 252, 200));
    glow.setColorAt(0.6, QColor(255, 226, 80));
    glow.setColorAt(1, QColor(240, 180, 20));
    QPainterPath glass;
    glass.moveTo(17, 32);
    glass.cubicTo(17, 26, 8, 24, 8, 16);
    glass.cubicTo(8, 7, 15, 2, 24, 2);
    glass.cubicTo(33, 2, 40, 7, 40, 16);
    glass.cubicTo(40, 24, 31, 26, 31, 32);
    glass.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 0), 1.5));
    p.setBrush(glow);
    p.drawPath(glass);
    p.setPen(QPen(QColor(170, 90, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath filament;
    filament.moveTo(20, 31);
    filament.lineTo(20, 20);
    filament.lineTo(22, 16);
    filament.lineTo(24, 20);
    filament.lineTo(26, 16);
    filament.lineTo(28, 20);
    filament.lineTo(28, 31);
    p.drawPath(filament);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QRectF(13, 8, 6, 9));
    QLinearGradient metal(16, 0, 32, 0);
    metal.setColorAt(0, QColor(110, 110, 115));
    metal.setColorAt(0.5, QColor(220, 220, 225));
    metal.setColorAt(1, QColor(100, 100, 105));
    p.setPen(QPen(QColor(70, 70, 75), 1));
    p.setBrush(metal);
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(16.5, 32.5 + i * 4, 15, 4), 1.5, 1.5);
    p.setBrush(QColor(60, 60, 65));
    p.drawRoundedRect(QRectF(20, 44, 8, 3), 1.5, 1.5);
}

// Report style: small pictures, each followed by a line of text.
void drawListStyle(QPainter &p)
{
    for (int row = 0; row < 4; ++row) {
        const qreal y = 5 + row * 10.5;
        p.setPen(QPen(QColor(40, 80, 140), 1));
        p.setBrush(QColor(110, 160, 220));
        p.drawRect(QRectF(4.5, y, 8, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 50, 50));
        p.drawRect(QRectF(16, y + 2.5, row % 2 ? 22 : 28, 3));
    }
}

// Icon style: a grid of large pictures.
void drawIconStyle(QPainter &p)
{
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            const QRectF cell(4.5 + col * 21, 4.5 + row * 21, 18, 18);
            p.setPen(QPen(QColor(40, 80, 140), 1));
            p.setBrush(QColor(110, 160, 220));
            p.drawRect(cell);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 130, 60));
            QPainterPath hill;
            hill.moveTo(cell.left() + 1, cell.bottom());
            hill.lineTo(cell.left() + 7, cell.top() + 8);
            hill.lineTo(cell.right(), cell.bottom());
            p.drawPath(hill);
        }
    }
}

// The program icon: a framed photograph (sky, sun, hills) under a lens, on a 256 grid.
void drawProgramIcon(QPainter &p)
{
    p.setPen(QPen(QColor(60, 45, 30), 6));
    QLinearGradient frame(0, 20, 0, 230);
    frame.setColorAt(0, QColor(200, 150, 90));
    frame.setColorAt(1, QColor(140, 95, 50));
    p.setBrush(frame);
    p.drawRoundedRect(QRectF(14, 30, 228, 196), 14, 14);
    const QRectF photo(38, 54, 180, 148);
    QLinearGradient sky(0, photo.top(), 0, photo.bottom());
    sky.setColorAt(0, QColor(70, 140, 230));
    sky.setColorAt(1, QColor(200, 230, 255));
    p.setPen(QPen(QColor(60, 45, 30), 3));
    p.setBrush(sky);
    p.drawRect(photo);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QPointF(170, 92), 20, 20);
    QPainterPath far;
    far.moveTo(photo.left(), photo.bottom());
    far.lineTo(photo.left(), 150);
    far.lineTo(100, 100);
    far.lineTo(150, 160);
    far.lineTo(photo.right(), 130);
    far.lineTo(photo.right(), photo.bottom());
    p.setBrush(QColor(90, 120, 90));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(photo.left(), photo.bottom());
    near.cubicTo(90, 160, 160, 170, photo.right(), 175);
    near.lineTo(photo.right(), photo.bottom());
    p.setBrush(QColor(60, 150, 60));
    p.drawPath(near);
}

bool write(const QString &dir, const char *name, int size, const std::function<void(QPainter &)> &draw, qreal scale)
{
    QImage image = canvas(size);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p);
    }
    const QString path = dir + QLatin1Char('/') + QLatin1String(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = write(dir, "bulb.png", 48, drawBulb, 1);
    ok = write(dir, "liststyle.png", 48, drawListStyle, 1) && ok;
    ok = write(dir, "iconstyle.png", 48, drawIconStyle, 1) && ok;
    ok = write(dir, "pelorin.png", 256, drawProgramIcon, 1) && ok;
    ok = write(dir, "pelorin-48.png", 48, drawProgramIcon, 48.0 / 256) && ok;
    return ok ? 0 : 1;
}
