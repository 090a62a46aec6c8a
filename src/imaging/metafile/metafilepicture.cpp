#include "imaging/metafile/metafilepicture.h"

#include "imaging/metafile/emfplayer.h"
#include "imaging/metafile/metafileheader.h"
#include "imaging/metafile/wmfplayer.h"
#include "platform/error.h"

#include <QFile>
#include <QImage>
#include <QPainter>

namespace pelorin {

std::unique_ptr<MetafilePicture> MetafilePicture::fromData(QByteArray data)
{
    const auto header = metafile::readMetafileHeader(data);
    if (!header)
        throw Error(QStringLiteral("Not a valid metafile"));
    std::unique_ptr<MetafilePicture> picture(new MetafilePicture);
    picture->mData = std::move(data);
    picture->mEnhanced = header->enhanced;
    picture->mSize = header->size;
    picture->mFrame = header->frame;
    picture->mWmfHeaderSize = header->wmfHeaderSize;
    picture->mWmfObjects = header->wmfObjects;
    picture->mDevicePixelsPerMm = header->devicePixelsPerMm;
    return picture;
}

void MetafilePicture::draw(QPainter &painter, const QRect &target) const
{
    if (target.isEmpty())
        return;
    metafile::MetafileHeader header;
    header.enhanced = mEnhanced;
    header.size = mSize;
    header.frame = mFrame;
    header.wmfHeaderSize = mWmfHeaderSize;
    header.wmfObjects = mWmfObjects;
    header.devicePixelsPerMm = mDevicePixelsPerMm;
    painter.save();
    if (mEnhanced)
        metafile::playEmf(painter, QRectF(target), mData, header);
    else
        metafile::playWmf(painter, QRectF(target), mData, header);
    painter.restore();
}

QImage MetafilePicture::render(QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter, image.rect());
    return image;
}

std::unique_ptr<SystemPicture> loadMetafile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open %1").arg(path));
    try {
        return MetafilePicture::fromData(file.readAll());
    } catch (const Error &) {
        throw Error(QStringLiteral("%1 is not a valid metafile").arg(path));
    }
}

} // namespace pelorin
