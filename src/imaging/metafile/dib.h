#pragma once
// Device-independent bitmaps as metafiles carry them: a BITMAPINFO (core, info or
// V4/V5 header plus colour table) and the pixel bits, uncompressed, RLE, bit fields,
// or embedded JPEG/PNG. Every read is checked; anything that does not fit gives a
// null image.

#include <QByteArrayView>
#include <QImage>
#include <QList>

namespace pelorin::metafile {

// usage: 0 colour table of RGB values, 1 of indices into palette (DIB_PAL_COLORS).
// useAlpha keeps the fourth byte of 32-bit pixels as alpha.
QImage decodeDib(QByteArrayView info, QByteArrayView bits, int usage, const QList<QRgb> &palette,
                 bool useAlpha = false);

// A packed DIB (header, colours and bits in one block), as WMF records hold them.
QImage decodePackedDib(QByteArrayView packed, int usage, const QList<QRgb> &palette);

// A WMF Bitmap16 (device-dependent bitmap header); its bits start at bitsOffset.
QImage decodeBitmap16(QByteArrayView data, int bitsOffset);

} // namespace pelorin::metafile
