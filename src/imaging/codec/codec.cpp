// Placeholder until the codec library lands: every entry fails with status 0.
#include "imaging/codec/codec.h"

namespace pelorin::codec {

ReadResult readPcx(const QString &) { return {}; }
ReadResult readPcxData(QByteArrayView) { return {}; }
QImage reduceColours(const QImage &image, int, bool) { return image; }
int writeBmp(const QImage &, const QString &, int) { return 0; }
int writePng(const QImage &, const QString &, int, bool) { return 0; }
int writeJpeg(const QImage &, const QString &, int, int, int) { return 0; }
int writeGif(const QImage &, const QString &, int) { return 0; }
int writeTiff(const QImage &, const QString &, int, int) { return 0; }
int writePcx(const QImage &, const QString &, int) { return 0; }
QString statusText(int) { return QStringLiteral("codec not available"); }

} // namespace pelorin::codec
