// Writers not yet landed on this branch: each fails with kEncoderError until replaced.
#include "imaging/codec/codec.h"

namespace pelorin::codec {

int writeBmp(const QImage &, const QString &, int) { return kEncoderError; }
int writePng(const QImage &, const QString &, int, bool) { return kEncoderError; }
int writeJpeg(const QImage &, const QString &, int, int, int) { return kEncoderError; }
int writeGif(const QImage &, const QString &, int) { return kEncoderError; }
int writeTiff(const QImage &, const QString &, int, int) { return kEncoderError; }
int writePcx(const QImage &, const QString &, int) { return kEncoderError; }

} // namespace pelorin::codec
