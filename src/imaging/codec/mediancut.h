#pragma once
// The adaptive palette of colour reduction.

#include <QImage>
#include <QList>
#include <QRgb>

namespace pelorin::codec {

// At most colours entries (fewer when the image has fewer distinct 15-bit colours) for
// an image in Format_RGB32.
QList<QRgb> medianCutPalette(const QImage &rgb, int colours);

} // namespace pelorin::codec
