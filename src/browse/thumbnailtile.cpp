#include "browse/thumbnailtile.h"

#include <QFont>
#include <QPainter>

namespace pelorin {

QImage blankTile(QSize size)
{
    QImage tile(size, QImage::Format_RGB32);
    tile.fill(Qt::white);
    return tile;
}

QImage stretchedTile(const QImage &picture, QSize size)
{
    if (picture.isNull() || size.isEmpty())
        return blankTile(size);
    QImage stretched = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!stretched.hasAlphaChannel())
        return stretched.convertToFormat(QImage::Format_RGB32);
    // Transparent parts of the picture let the white tile show through.
    QImage tile = blankTile(size);
    QPainter painter(&tile);
    painter.drawImage(0, 0, stretched);
    return tile;
}

void markError(QImage &tile)
{
    QPainter painter(&tile);
    // A fresh drawing surface writes with a plain bitmap font: no antialiasing.
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    painter.drawText(QRect(QPoint(0, 0), tile.size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     QStringLiteral("Error"));
}

QImage errorTile(QSize size)
{
    QImage tile = blankTile(size);
    markError(tile);
    return tile;
}

} // namespace pelorin
