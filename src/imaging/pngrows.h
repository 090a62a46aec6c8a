#pragma once
// The quick way through the most common PNG files: 8-bit grey, grey with alpha, colour
// or colour with alpha, not interlaced, with no transparency chunk and no gamma other
// than the display's. Their image data is inflated in one piece (libdeflate) and the rows
// unfiltered here, straight into the picture, in the same pixels libpng's simplified
// interface gives for them.

#include <QByteArrayView>
#include <QImage>

namespace pelorin::png {

// Decodes `data` (a whole PNG file whose header libpng has accepted) into `image`, which
// has the file's size and the format the reader chose for it (Grayscale8 for grey files,
// RGB32 or ARGB32 for the others). Returns false, with `image` in any state, for a file
// outside the quick case or one with any flaw at all: the caller then reads it the
// thorough way, so damaged files are reported exactly as before.
bool readPlainRows(QByteArrayView data, QImage &image);

} // namespace pelorin::png
