#pragma once
// The codec library under the image component: our PCX reader, the six raster writers
// with every option exact, and colour reduction. Every entry returns a status that is
// greater than 0 on success; a failure status has a text of its own (statusText).
// Paths are absolute or relative to the working directory; nothing here touches it.

#include <QByteArrayView>
#include <QImage>
#include <QString>

#include "imaging/codec/status.h"

namespace pelorin::codec {

struct ReadResult
{
    QImage image; // whatever the reader produced, possibly null
    int status = 0;
};

// PCX at 1, 2, 4, 8 and 24 bits, planar and packed.
ReadResult readPcx(const QString &path);
ReadResult readPcxData(QByteArrayView data);

// Colour depth as the component passes it: 0 the standard 16-colour VGA palette,
// 1 black and white, 4 an adaptive 16-colour palette, 8 an adaptive 256-colour
// palette, 24 true colour. Reduction dithers with Floyd-Steinberg when dither is set.
QImage reduceColours(const QImage &image, int depth, bool dither = true);

// The writers take the depths above and replace path only once the whole file is
// written: a failure leaves any previous file as it was and no temporary file behind.
int writeBmp(const QImage &image, const QString &path, int depth);
int writePng(const QImage &image, const QString &path, int depth, bool interlaced);
// depth 1 writes greyscale, anything else 24-bit colour.
int writeJpeg(const QImage &image, const QString &path, int depth, int quality, int smoothing);
// depth is capped at 8 by the caller (a deeper request is written at 8 bits).
int writeGif(const QImage &image, const QString &path, int depth);
// compression: the TIFF compression code (1 none, 2 CCITT, 5 LZW, 32773 PackBits).
// CCITT holds black and white only, so under it every depth is written as 1 bit.
int writeTiff(const QImage &image, const QString &path, int depth, int compression);
int writePcx(const QImage &image, const QString &path, int depth);

// The text for a failure status ("not a PCX file", "file truncated", ...).
QString statusText(int status);

} // namespace pelorin::codec
