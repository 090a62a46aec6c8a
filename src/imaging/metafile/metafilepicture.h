#pragma once
// A Windows metafile (WMF, placeable or plain) or enhanced metafile (EMF) held in
// memory and played by our own player onto any QPainter. Loading checks the header;
// playing skips records it does not know and every record whose sizes or offsets do
// not fit the file, so a damaged file draws what it can and never reads out of bounds.

#include "imaging/systempicture.h"

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <memory>

class QImage;

namespace pelorin {

class MetafilePicture final : public SystemPicture
{
public:
    // Checks the header; raises pelorin::Error when data holds no valid metafile.
    static std::unique_ptr<MetafilePicture> fromData(QByteArray data);

    Kind kind() const override { return Kind::Metafile; }
    // Size in screen pixels (96 per inch): the placeable bounds over their units per
    // inch for a WMF, the frame rectangle for an EMF.
    int width() const override { return mSize.width(); }
    int height() const override { return mSize.height(); }
    // Plays the records so that the picture's frame fills target, stretched on each axis.
    void draw(QPainter &painter, const QRect &target) const override;

    // The file's bytes as loaded and whether they are an enhanced metafile.
    const QByteArray &data() const { return mData; }
    bool isEnhanced() const { return mEnhanced; }

    // The picture played into a white image of the given size.
    QImage render(QSize size) const;

private:
    MetafilePicture() = default;

    QByteArray mData;
    bool mEnhanced = false;
    QSize mSize;
    // The picture's frame in the coordinates its records map to: logical units for a
    // WMF, reference device pixels for an EMF.
    QRectF mFrame;
    int mWmfHeaderSize = 0; // bytes before the first WMF record (placeable + standard header)
    int mWmfObjects = 0;    // size of the WMF object table
    QSizeF mDevicePixelsPerMm; // EMF reference device resolution
};

} // namespace pelorin
