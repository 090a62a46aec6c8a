#pragma once
// What the writers share: the depth rules, palette images and the atomic file write.

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QString>

#include "imaging/codec/status.h"

#include <new>

namespace pelorin::codec::detail {

// The depths a palette or true-colour writer accepts: 0 (VGA), 1, 4, 8 and 24.
bool isWriterDepth(int depth);

// The image reduced to a palette depth (0, 1, 4 or 8) as one palette index per byte,
// with the number of bits per pixel the file will hold (depth 0 gives 4).
struct IndexedImage
{
    QImage image; // Format_Indexed8; its colour table is the palette to write
    int bits = 0;
};
IndexedImage indexedImage(const QImage &image, int depth);

// Packs one row of palette indices (one per byte) at 1, 2, 4 or 8 bits per pixel, most
// significant bits first, into out; the rest of out is cleared.
void packRow(const uchar *indices, int width, int bits, uchar *out, qsizetype outBytes);

// Writes bytes to path through a temporary file beside it that replaces path only when
// it is complete, so a failed write never leaves a half-written file in place of a
// previous one. A path that names a device or pipe is written in place.
int writeFileAtomically(const QString &path, QByteArrayView bytes);

// The frame the in-memory writers share: checks the image and the depth, lets encode
// fill the file's bytes, and writes them atomically. Running out of memory is a status,
// not an exception.
template<class Encode>
int encodeAndWrite(const QImage &image, const QString &path, int depth, Encode encode)
{
    if (image.isNull())
        return kNoImage;
    if (!isWriterDepth(depth))
        return kUnsupportedDepth;
    try {
        QByteArray bytes;
        const int status = encode(bytes);
        return status > 0 ? writeFileAtomically(path, bytes) : status;
    } catch (const std::bad_alloc &) {
        return kOutOfMemory;
    }
}

// Dots per inch from the image's resolution, rounded; 0 when the image has none.
int dotsPerInchX(const QImage &image);
int dotsPerInchY(const QImage &image);

} // namespace pelorin::codec::detail
