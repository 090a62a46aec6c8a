// Our PCX reader: 1, 2 and 4 bits in one plane, 1 bit in two to four planes (EGA),
// 8 bits with the 256-colour palette trailer, and 8 bits in three or four planes (true
// colour, the fourth plane alpha). Every size and offset is checked against the data;
// a truncated file yields the lines decoded so far and the status "file truncated".
#include "imaging/codec/codec.h"
#include "imaging/codec/palettes.h"
#include "imaging/codec/pcxformat.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace pelorin::codec {

namespace {

using namespace pcx;

// Images above this size in memory are refused rather than allocated.
constexpr qint64 kMaxImageBytes = qint64(256) * 1024 * 1024;

int word(const uchar *p)
{
    return p[0] | (p[1] << 8);
}

struct Header
{
    int version = 0;
    int encoding = 0;
    int bitsPerPixel = 0;
    int planes = 0;
    int bytesPerLine = 0;
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
    const uchar *palette = nullptr;
};

int parseHeader(const uchar *d, Header &h)
{
    if (d[kOffManufacturer] != kManufacturer)
        return kNotPcx;
    h.version = d[kOffVersion];
    h.encoding = d[kOffEncoding];
    h.bitsPerPixel = d[kOffBitsPerPixel];
    h.planes = d[kOffPlanes];
    h.bytesPerLine = word(d + kOffBytesPerLine);
    h.dpiX = word(d + kOffHorizontalDpi);
    h.dpiY = word(d + kOffVerticalDpi);
    h.palette = d + kOffPalette;
    const int xMin = word(d + kOffXMin), yMin = word(d + kOffYMin);
    const int xMax = word(d + kOffXMax), yMax = word(d + kOffYMax);
    if (h.encoding > kEncodingRle || xMax < xMin || yMax < yMin || h.planes == 0)
        return kBadHeader;
    h.width = xMax - xMin + 1;
    h.height = yMax - yMin + 1;

    const int bpp = h.bitsPerPixel;
    const bool indexed = (bpp == 1 || bpp == 2 || bpp == 4) && bpp * h.planes <= 4;
    const bool eightBit = bpp == 8 && (h.planes == 1 || h.planes == 3 || h.planes == 4);
    if (!indexed && !eightBit)
        return kUnsupportedDepth;
    if (h.bytesPerLine < (qint64(h.width) * bpp + 7) / 8)
        return kBadHeader;
    if (qint64(h.width) * h.height * 4 > kMaxImageBytes)
        return kImageTooLarge;
    return kOk;
}

// The run-length (or plain) byte stream of the image data. Runs may cross lines.
class Stream
{
public:
    Stream(const uchar *begin, const uchar *end, bool rle) : mPos(begin), mEnd(end), mRle(rle) {}

    // Fills buf with n bytes; returns false when the data ends first, leaving the bytes
    // that were there at the front of buf.
    bool read(uchar *buf, qsizetype n)
    {
        qsizetype i = 0;
        while (i < n) {
            if (mRun > 0) {
                const qsizetype take = std::min<qsizetype>(mRun, n - i);
                std::memset(buf + i, mValue, size_t(take));
                i += take;
                mRun -= int(take);
                continue;
            }
            if (mPos >= mEnd)
                return false;
            const uchar b = *mPos++;
            if (mRle && (b & kRunFlag) == kRunFlag) {
                if (mPos >= mEnd)
                    return false;
                mRun = b & kMaxRun;
                mValue = *mPos++;
            } else {
                buf[i++] = b;
            }
        }
        return true;
    }

private:
    const uchar *mPos;
    const uchar *mEnd;
    bool mRle;
    int mRun = 0;
    uchar mValue = 0;
};

int sample(const uchar *row, int x, int bpp)
{
    switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 2: return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    case 4: return (row[x >> 1] >> (4 - 4 * (x & 1))) & 15;
    default: return row[x];
    }
}

QList<QRgb> headerPalette(const Header &h, int colours)
{
    QList<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette.append(qRgb(h.palette[3 * i], h.palette[3 * i + 1], h.palette[3 * i + 2]));
    // A header palette that cannot tell the colours apart is a blank one: black and white
    // for one bit, the EGA colours for more.
    if (colours == 2 && palette[0] == palette[1])
        return blackWhitePalette();
    if (std::all_of(h.palette, h.palette + 48, [](uchar c) { return c == 0; }))
        return egaPalette().mid(0, colours);
    return palette;
}

QList<QRgb> trailerPalette(const uchar *p)
{
    QList<QRgb> palette;
    palette.reserve(256);
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]));
    return palette;
}

QList<QRgb> greyPalette()
{
    QList<QRgb> palette;
    palette.reserve(256);
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    return palette;
}

ReadResult decode(const uchar *data, qsizetype size)
{
    ReadResult result;
    if (size < qsizetype(kHeaderSize)) {
        result.status = size > 0 && data[0] == kManufacturer ? kTruncated : kNotPcx;
        return result;
    }
    Header h;
    result.status = parseHeader(data, h);
    if (result.status <= 0)
        return result;

    const uchar *dataEnd = data + size;
    const bool trueColour = h.bitsPerPixel == 8 && h.planes > 1;
    const int bits = h.bitsPerPixel * h.planes;
    QList<QRgb> palette;
    if (bits == 8) {
        // The 256-colour palette follows the image data, introduced by its marker byte.
        const qsizetype trailer = qsizetype(kPaletteTrailerSize);
        if (size >= qsizetype(kHeaderSize) + trailer && data[size - trailer] == kPaletteMarker) {
            palette = trailerPalette(data + size - trailer + 1);
            dataEnd = data + size - trailer;
        } else {
            palette = greyPalette();
        }
    } else if (!trueColour) {
        palette = headerPalette(h, 1 << bits);
    }

    const QImage::Format format = trueColour ? (h.planes == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32)
                                             : QImage::Format_Indexed8;
    QImage image(h.width, h.height, format);
    if (image.isNull()) {
        result.status = kOutOfMemory;
        return result;
    }
    if (trueColour) {
        image.fill(h.planes == 4 ? Qt::transparent : Qt::black);
    } else {
        image.setColorTable(palette);
        image.fill(0);
    }
    if (h.dpiX > 0 && h.dpiY > 0) {
        image.setDotsPerMeterX(qRound(h.dpiX / 0.0254));
        image.setDotsPerMeterY(qRound(h.dpiY / 0.0254));
    }

    const qsizetype bpl = h.bytesPerLine;
    std::vector<uchar> line(size_t(bpl * h.planes));
    Stream stream(data + kHeaderSize, dataEnd, h.encoding == kEncodingRle);
    for (int y = 0; y < h.height && result.status > 0; ++y) {
        std::fill(line.begin(), line.end(), uchar(0));
        if (!stream.read(line.data(), qsizetype(line.size())))
            result.status = kTruncated; // this line keeps what was there
        if (trueColour) {
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            const uchar *r = line.data(), *g = r + bpl, *b = g + bpl;
            const uchar *a = h.planes == 4 ? b + bpl : nullptr;
            for (int x = 0; x < h.width; ++x)
                out[x] = qRgba(r[x], g[x], b[x], a ? a[x] : 255);
        } else {
            uchar *out = image.scanLine(y);
            for (int x = 0; x < h.width; ++x) {
                int index = 0;
                for (int p = 0; p < h.planes; ++p)
                    index |= sample(line.data() + p * bpl, x, h.bitsPerPixel) << (p * h.bitsPerPixel);
                out[x] = uchar(index);
            }
        }
    }
    result.image = image;
    return result;
}

} // namespace

ReadResult readPcxData(QByteArrayView data)
{
    try {
        return decode(reinterpret_cast<const uchar *>(data.data()), data.size());
    } catch (const std::bad_alloc &) {
        return {QImage(), kOutOfMemory};
    }
}

ReadResult readPcx(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {QImage(), kFileNotFound};
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return {QImage(), kCannotRead};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {QImage(), kCannotRead};
    return readPcxData(bytes);
}

} // namespace pelorin::codec
