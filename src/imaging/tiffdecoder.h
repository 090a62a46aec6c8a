#pragma once
// Our TIFF reader over libtiff: the first page in colour with alpha, through libtiff's
// RGBA interface (every compression, strips and tiles, any photometric it knows), with
// the Orientation tag applied. Grey samples that interface refuses (wide integers,
// floating point) are read by tiffsamples.h.

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pelorin::tiff {

enum class Status { Ok, NotTiff, Unsupported, TooLarge, Damaged };

struct Result
{
    QImage image;
    Status status = Status::Ok;
};

Result readTiff(QByteArrayView data);
QString statusText(Status status);

} // namespace pelorin::tiff
