#pragma once
// The orientation tag that JPEG (Exif) and TIFF files share.

#include <QImage>

namespace pelorin {

// The stored picture turned as the tag (1 to 8) says it is to be shown: 2 mirrors,
// 3 turns half way, 4 flips, 6 and 8 turn a quarter clockwise and anticlockwise, 5 and 7
// flip or mirror and then turn clockwise. Other values leave it as stored.
QImage oriented(const QImage &image, int orientation);

} // namespace pelorin
