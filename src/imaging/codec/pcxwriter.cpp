// Our PCX writer (version 3.0 files, run-length encoded): 1 bit in one plane, 4 bits
// (depth 0 and 4) in four planes with the palette in the header, 8 bits with the
// 256-colour palette trailer, and 24 bits as three planes. Runs never cross a plane row.
#include "imaging/codec/codec.h"
#include "imaging/codec/pcxformat.h"
#include "imaging/codec/writersupport.h"

#include <QtEndian>

#include <new>
#include <vector>

namespace pelorin::codec {

namespace {

using namespace pcx;

void put16(QByteArray &h, std::size_t at, int v)
{
    qToLittleEndian<quint16>(quint16(v), h.data() + at);
}

void appendRle(QByteArray &out, const uchar *row, int n)
{
    int i = 0;
    while (i < n) {
        const uchar value = row[i];
        int run = 1;
        while (i + run < n && run < kMaxRun && row[i + run] == value)
            ++run;
        if (run > 1 || (value & kRunFlag) == kRunFlag)
            out.append(char(kRunFlag | run));
        out.append(char(value));
        i += run;
    }
}

int encode(const QImage &source, int depth, QByteArray &out)
{
    if (source.width() > 65536 || source.height() > 65536)
        return kImageTooLarge;
    QImage image;
    int bitsPerPixel = 8, planes = 3;
    if (depth == 24) {
        image = source.convertToFormat(QImage::Format_RGB888);
    } else {
        const detail::IndexedImage indexed = detail::indexedImage(source, depth);
        image = indexed.image;
        bitsPerPixel = indexed.bits == 8 ? 8 : 1;
        planes = indexed.bits == 4 ? 4 : 1;
    }
    if (image.isNull())
        return kOutOfMemory;
    const int w = image.width();
    int bytesPerLine = bitsPerPixel == 8 ? w : (w + 7) / 8;
    bytesPerLine += bytesPerLine % 2; // lines hold an even number of bytes
    if (bytesPerLine > 0xFFFF)
        return kImageTooLarge;

    QByteArray header(qsizetype(kHeaderSize), '\0');
    header[kOffManufacturer] = char(kManufacturer);
    header[kOffVersion] = char(kVersion30);
    header[kOffEncoding] = char(kEncodingRle);
    header[kOffBitsPerPixel] = char(bitsPerPixel);
    put16(header, kOffXMax, w - 1);
    put16(header, kOffYMax, image.height() - 1);
    put16(header, kOffHorizontalDpi, detail::dotsPerInchX(source));
    put16(header, kOffVerticalDpi, detail::dotsPerInchY(source));
    const QList<QRgb> palette = image.colorTable();
    if (palette.size() <= 16) {
        for (int i = 0; i < palette.size(); ++i) {
            header[qsizetype(kOffPalette) + 3 * i] = char(qRed(palette[i]));
            header[qsizetype(kOffPalette) + 3 * i + 1] = char(qGreen(palette[i]));
            header[qsizetype(kOffPalette) + 3 * i + 2] = char(qBlue(palette[i]));
        }
    }
    header[kOffPlanes] = char(planes);
    put16(header, kOffBytesPerLine, bytesPerLine);
    put16(header, kOffPaletteInfo, 1); // colour
    out = header;
    out.reserve(qsizetype(kHeaderSize) + qsizetype(image.height()) * planes * bytesPerLine / 2);

    std::vector<uchar> row(size_t(bytesPerLine) * size_t(planes), 0);
    for (int y = 0; y < image.height(); ++y) {
        const uchar *in = image.constScanLine(y);
        std::fill(row.begin(), row.end(), uchar(0));
        if (depth == 24) {
            for (int x = 0; x < w; ++x)
                for (int p = 0; p < 3; ++p)
                    row[size_t(p * bytesPerLine + x)] = in[3 * x + p];
        } else if (bitsPerPixel == 8) {
            std::copy(in, in + w, row.begin());
        } else {
            for (int x = 0; x < w; ++x)
                for (int p = 0; p < planes; ++p)
                    if (in[x] & (1 << p))
                        row[size_t(p * bytesPerLine + x / 8)] |= uchar(0x80 >> (x % 8));
        }
        for (int p = 0; p < planes; ++p)
            appendRle(out, row.data() + p * bytesPerLine, bytesPerLine);
    }
    if (bitsPerPixel == 8 && planes == 1) {
        QByteArray trailer(qsizetype(kPaletteTrailerSize), '\0');
        trailer[0] = char(kPaletteMarker);
        for (int i = 0; i < palette.size(); ++i) {
            trailer[1 + 3 * i] = char(qRed(palette[i]));
            trailer[2 + 3 * i] = char(qGreen(palette[i]));
            trailer[3 + 3 * i] = char(qBlue(palette[i]));
        }
        out += trailer;
    }
    return kOk;
}

} // namespace

int writePcx(const QImage &image, const QString &path, int depth)
{
    return detail::encodeAndWrite(image, path, depth, [&](QByteArray &bytes) { return encode(image, depth, bytes); });
}

} // namespace pelorin::codec
