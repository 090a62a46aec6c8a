#include "imaging/picture.h"

#include <QPainter>

namespace pelorin {

Picture::Kind Picture::kind() const
{
    if (mGraphic)
        return mGraphic->kind() == SystemPicture::Kind::Icon ? Kind::Icon : Kind::Metafile;
    return mBitmap.isNull() ? Kind::Empty : Kind::Bitmap;
}

int Picture::width() const
{
    return mGraphic ? mGraphic->width() : mBitmap.width();
}

int Picture::height() const
{
    return mGraphic ? mGraphic->height() : mBitmap.height();
}

void Picture::clear()
{
    mBitmap = QImage();
    mGraphic.reset();
}

void Picture::setBitmap(QImage image)
{
    mGraphic.reset();
    mBitmap = std::move(image);
}

void Picture::loadFromFile(const QString &path)
{
    std::shared_ptr<const SystemPicture> loaded = loadSystemPicture(path);
    mBitmap = QImage();
    mGraphic = std::move(loaded);
}

void Picture::drawStretched(QPainter &painter, const QRect &target) const
{
    if (mGraphic) {
        mGraphic->draw(painter, target);
        return;
    }
    if (mBitmap.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, mBitmap);
    painter.restore();
}

QImage Picture::toImage() const
{
    if (!mGraphic)
        return mBitmap;
    if (width() <= 0 || height() <= 0)
        return {};
    QImage image(width(), height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    mGraphic->draw(painter, image.rect());
    return image;
}

} // namespace pelorin
