#pragma once
// Pixel comparison of a decoded image with a reference rendering.

#include <QImage>
#include <QString>

namespace pelorin::test {

// Empty when the images agree: every pixel's channels within tolerance, or, with
// meanTolerance > 0, the mean absolute channel difference within it (lossy decoders
// round differently). Fully transparent pixels agree whatever their colour.
QString compareImages(const QImage &actual, const QImage &expected, int tolerance, double meanTolerance = 0);

} // namespace pelorin::test
