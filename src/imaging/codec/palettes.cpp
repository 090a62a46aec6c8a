// Fixed palettes of the codec library.
#include "imaging/codec/palettes.h"

namespace pelorin::codec {

QList<QRgb> vgaPalette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QList<QRgb> blackWhitePalette()
{
    return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
}

QList<QRgb> egaPalette()
{
    return {qRgb(0, 0, 0),    qRgb(0, 0, 170),    qRgb(0, 170, 0),    qRgb(0, 170, 170),
            qRgb(170, 0, 0),  qRgb(170, 0, 170),  qRgb(170, 85, 0),   qRgb(170, 170, 170),
            qRgb(85, 85, 85), qRgb(85, 85, 255),  qRgb(85, 255, 85),  qRgb(85, 255, 255),
            qRgb(255, 85, 85), qRgb(255, 85, 255), qRgb(255, 255, 85), qRgb(255, 255, 255)};
}

} // namespace pelorin::codec
