#pragma once
// Our PNG reader over libpng's simplified interface: palette files as palette bitmaps,
// grey files as grey, everything else as 8-bit colour with alpha, gamma applied.

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pelorin::png {

enum class Status { Ok, NotPng, TooLarge, Damaged };

struct Result
{
    QImage image;
    Status status = Status::Ok;
};

Result readPng(QByteArrayView data);
QString statusText(Status status);

} // namespace pelorin::png
