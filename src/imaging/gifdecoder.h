#pragma once
// Our GIF reader over giflib: the first image of the file, as a palette bitmap of the
// logical screen's size (areas the image leaves uncovered are transparent).

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pelorin::gif {

enum class Status { Ok, NotGif, NoImage, TooLarge, Truncated };

struct Result
{
    QImage image;
    Status status = Status::Ok;
};

Result readGif(QByteArrayView data);
QString statusText(Status status);

} // namespace pelorin::gif
