#pragma once
// Fixed palettes of the codec library.

#include <QList>
#include <QRgb>

namespace pelorin::codec {

// The standard 16-colour VGA palette of the system (black, the dark and light primaries,
// two greys, white), in its usual order.
QList<QRgb> vgaPalette();
// Black and white, black first.
QList<QRgb> blackWhitePalette();
// The 16 colours of the EGA adapter, used by PCX files that carry no palette of their own.
QList<QRgb> egaPalette();

} // namespace pelorin::codec
