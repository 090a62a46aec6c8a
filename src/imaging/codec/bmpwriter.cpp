// Our BMP writer: the classic 14-byte file header and 40-byte information header,
// uncompressed, bottom-up, at 1, 4 (also depth 0, the VGA palette), 8 or 24 bits.
#include "imaging/codec/codec.h"
#include "imaging/codec/writersupport.h"

#include <QtEndian>

#include <new>

namespace pelorin::codec {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void put16(uchar *p, int v)
{
    qToLittleEndian<quint16>(quint16(v), p);
}

void put32(uchar *p, quint32 v)
{
    qToLittleEndian<quint32>(v, p);
}

int encode(const QImage &source, int depth, QByteArray &out)
{
    detail::IndexedImage indexed;
    QImage rgb;
    int bits = 24;
    if (depth == 24) {
        rgb = source.convertToFormat(QImage::Format_RGB888);
        if (rgb.isNull())
            return kOutOfMemory;
    } else {
        indexed = detail::indexedImage(source, depth);
        if (indexed.image.isNull())
            return kOutOfMemory;
        bits = indexed.bits;
    }
    const QImage &image = depth == 24 ? rgb : indexed.image;
    const QList<QRgb> palette = depth == 24 ? QList<QRgb>() : image.colorTable();
    const qint64 rowBytes = (qint64(image.width()) * bits + 31) / 32 * 4;
    const qint64 offset = kFileHeaderSize + kInfoHeaderSize + 4 * qint64(palette.size());
    const qint64 fileSize = offset + rowBytes * image.height();
    if (fileSize > qint64(0x7fffffff))
        return kImageTooLarge;
    out = QByteArray(qsizetype(fileSize), '\0');
    auto *d = reinterpret_cast<uchar *>(out.data());

    d[0] = 'B';
    d[1] = 'M';
    put32(d + 2, quint32(fileSize));
    put32(d + 10, quint32(offset));
    uchar *info = d + kFileHeaderSize;
    put32(info, kInfoHeaderSize);
    put32(info + 4, quint32(image.width()));
    put32(info + 8, quint32(image.height()));
    put16(info + 12, 1);
    put16(info + 14, bits);
    put32(info + 16, 0); // no compression
    put32(info + 20, quint32(rowBytes * image.height()));
    put32(info + 24, quint32(qMax(0, source.dotsPerMeterX())));
    put32(info + 28, quint32(qMax(0, source.dotsPerMeterY())));
    put32(info + 32, quint32(palette.size()));
    put32(info + 36, 0);
    uchar *entry = info + kInfoHeaderSize;
    for (QRgb c : palette) {
        entry[0] = uchar(qBlue(c));
        entry[1] = uchar(qGreen(c));
        entry[2] = uchar(qRed(c));
        entry[3] = 0;
        entry += 4;
    }
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = d + offset + rowBytes * (image.height() - 1 - y);
        const uchar *in = image.constScanLine(y);
        if (bits == 24) {
            for (int x = 0; x < image.width(); ++x) {
                row[3 * x] = in[3 * x + 2];
                row[3 * x + 1] = in[3 * x + 1];
                row[3 * x + 2] = in[3 * x];
            }
        } else {
            detail::packRow(in, image.width(), bits, row, rowBytes);
        }
    }
    return kOk;
}

} // namespace

int writeBmp(const QImage &image, const QString &path, int depth)
{
    return detail::encodeAndWrite(image, path, depth, [&](QByteArray &bytes) { return encode(image, depth, bytes); });
}

} // namespace pelorin::codec
