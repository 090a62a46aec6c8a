#include "imaging/tiffsamples.h"

#include "imaging/bmpdecoder.h"

#include <QFloat16>
#include <QtNumeric>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace pelorin::tiff {

namespace {

struct Format
{
    int bits = 0;
    int kind = SAMPLEFORMAT_UINT;
    bool whiteIsZero = false;
};

Format formatOf(TIFF *file)
{
    Format format;
    uint16_t bits = 0;
    uint16_t kind = SAMPLEFORMAT_UINT;
    uint16_t photometric = 0;
    TIFFGetFieldDefaulted(file, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(file, TIFFTAG_SAMPLEFORMAT, &kind);
    TIFFGetField(file, TIFFTAG_PHOTOMETRIC, &photometric);
    format.bits = bits;
    format.kind = kind;
    format.whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
    return format;
}

// Unpacks one row of samples. libtiff has already put 16, 24, 32 and 64-bit samples in
// the machine's byte order; other widths are a bit stream, most significant bit first.
class RowReader
{
public:
    RowReader(const uchar *row, const Format &format) : mRow(row), mFormat(format) {}

    double next()
    {
        switch (mFormat.kind) {
        case SAMPLEFORMAT_IEEEFP:
            return nextFloat();
        case SAMPLEFORMAT_INT: {
            const quint64 raw = nextBits();
            const quint64 sign = quint64(1) << (mFormat.bits - 1);
            return double(qint64(raw ^ sign) - qint64(sign)); // sign-extended
        }
        default:
            return double(nextBits());
        }
    }

private:
    double nextFloat()
    {
        const uchar *p = mRow + mBit / 8;
        mBit += mFormat.bits;
        if (mFormat.bits == 16) {
            qfloat16 half;
            std::memcpy(&half, p, 2);
            return double(float(half));
        }
        if (mFormat.bits == 32) {
            float single;
            std::memcpy(&single, p, 4);
            return single;
        }
        double value;
        std::memcpy(&value, p, 8);
        return value;
    }

    quint64 nextBits()
    {
        const int bits = mFormat.bits;
        if (bits % 8 == 0) {
            const uchar *p = mRow + mBit / 8;
            mBit += bits;
            quint64 value = 0;
            for (int i = 0; i < bits / 8; ++i) {
                const int shift = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 8 * i : bits - 8 - 8 * i;
                value |= quint64(p[i]) << shift;
            }
            return value;
        }
        quint64 value = 0;
        for (int i = 0; i < bits; ++i, ++mBit)
            value = value << 1 | ((mRow[mBit / 8] >> (7 - mBit % 8)) & 1);
        return value;
    }

    const uchar *mRow;
    const Format &mFormat;
    qint64 mBit = 0;
};

// The blocks (strips or tiles) of the page and where each lies in the picture.
struct Blocks
{
    bool tiled = false;
    quint32 blockWidth = 0;  // samples a block row holds
    quint32 blockHeight = 0; // rows a block holds
    quint32 across = 1;      // blocks side by side
    quint32 count = 0;
    qint64 rowBytes = 0;
    qint64 bytes = 0;
};

bool blocksOf(TIFF *file, quint32 width, quint32 height, Blocks &blocks)
{
    blocks.tiled = TIFFIsTiled(file);
    if (blocks.tiled) {
        TIFFGetField(file, TIFFTAG_TILEWIDTH, &blocks.blockWidth);
        TIFFGetField(file, TIFFTAG_TILELENGTH, &blocks.blockHeight);
        if (blocks.blockWidth == 0 || blocks.blockHeight == 0)
            return false;
        blocks.across = quint32((quint64(width) + blocks.blockWidth - 1) / blocks.blockWidth);
        blocks.count = TIFFNumberOfTiles(file);
        blocks.rowBytes = qint64(TIFFTileRowSize64(file));
        blocks.bytes = qint64(TIFFTileSize64(file));
    } else {
        uint32_t rowsPerStrip = 0;
        TIFFGetFieldDefaulted(file, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
        blocks.blockWidth = width;
        blocks.blockHeight = std::clamp<quint32>(rowsPerStrip, 1, height);
        blocks.count = TIFFNumberOfStrips(file);
        blocks.rowBytes = qint64(TIFFScanlineSize64(file));
        blocks.bytes = qint64(TIFFVStripSize64(file, blocks.blockHeight));
    }
    // A block may overhang the picture, but not by more than a modest buffer's worth.
    const qint64 limit = std::min(bmp::kMaxPixels * 8, std::max(qint64(width) * height * 8, qint64(1) << 26));
    const int bits = formatOf(file).bits;
    return blocks.count > 0 && blocks.rowBytes >= (qint64(blocks.blockWidth) * bits + 7) / 8 &&
           blocks.bytes >= qint64(blocks.blockHeight) * blocks.rowBytes && blocks.bytes <= limit;
}

// Calls visit(x, y, value) for every sample the page's readable blocks hold; false when
// some block could not be read (in full or in part).
template <typename Visit>
bool visitSamples(TIFF *file, quint32 width, quint32 height, const Blocks &blocks, const Format &format, Visit visit)
{
    bool complete = true;
    std::vector<uchar> buffer(size_t(blocks.bytes));
    const quint64 down = (quint64(height) + blocks.blockHeight - 1) / blocks.blockHeight;
    const quint64 needed = down * blocks.across;
    for (quint64 block = 0; block < needed; ++block) {
        if (block >= blocks.count) {
            complete = false;
            break;
        }
        const tmsize_t read = blocks.tiled ? TIFFReadEncodedTile(file, uint32_t(block), buffer.data(), blocks.bytes)
                                           : TIFFReadEncodedStrip(file, uint32_t(block), buffer.data(), blocks.bytes);
        const quint32 left = quint32(block % blocks.across) * blocks.blockWidth;
        const quint32 top = quint32(block / blocks.across) * blocks.blockHeight;
        const quint32 rows = std::min(blocks.blockHeight, height - top);
        const quint32 columns = std::min(blocks.blockWidth, width - left);
        // Rows a short read holds in full are kept.
        const quint32 whole = read < 0 ? 0 : quint32(std::min<qint64>(read / blocks.rowBytes, rows));
        if (whole < rows)
            complete = false;
        for (quint32 r = 0; r < whole; ++r) {
            RowReader reader(buffer.data() + qint64(r) * blocks.rowBytes, format);
            for (quint32 c = 0; c < columns; ++c)
                visit(left + c, top + r, reader.next());
        }
    }
    return complete;
}

// The value shown as black and the value shown as white when the data has no spread.
std::pair<double, double> typeRange(const Format &format)
{
    if (format.kind == SAMPLEFORMAT_IEEEFP)
        return {0.0, 1.0};
    if (format.kind == SAMPLEFORMAT_INT)
        return {-std::ldexp(1.0, format.bits - 1), std::ldexp(1.0, format.bits - 1) - 1};
    return {0.0, std::ldexp(1.0, format.bits) - 1};
}

} // namespace

bool hasGreySamples(TIFF *file)
{
    uint16_t samples = 1;
    uint16_t photometric = 0xffff;
    TIFFGetFieldDefaulted(file, TIFFTAG_SAMPLESPERPIXEL, &samples);
    if (samples != 1 || !TIFFGetField(file, TIFFTAG_PHOTOMETRIC, &photometric) ||
        (photometric != PHOTOMETRIC_MINISBLACK && photometric != PHOTOMETRIC_MINISWHITE))
        return false;
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(file, TIFFTAG_COMPRESSION, &compression);
    if (!TIFFIsCODECConfigured(compression))
        return false;
    const Format format = formatOf(file);
    switch (format.kind) {
    case SAMPLEFORMAT_UINT:
    case SAMPLEFORMAT_INT:
        return format.bits > 8 && format.bits <= 32;
    case SAMPLEFORMAT_IEEEFP:
        return format.bits == 16 || format.bits == 32 || format.bits == 64;
    }
    return false;
}

QImage readGreySamples(TIFF *file, quint32 width, quint32 height, bool &complete)
{
    complete = false;
    Blocks blocks;
    if (!blocksOf(file, width, height, blocks))
        return {};
    QImage image(int(width), int(height), QImage::Format_Grayscale8);
    if (image.isNull())
        return {};
    image.fill(0);
    const Format format = formatOf(file);

    // First the range the finite values span, then each value placed on it.
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    visitSamples(file, width, height, blocks, format, [&](quint32, quint32, double value) {
        if (qIsFinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    });
    if (low == high)
        std::tie(low, high) = typeRange(format);
    // Halves keep the span finite whatever the values.
    const double span = high / 2 - low / 2;
    complete = visitSamples(file, width, height, blocks, format, [&](quint32 x, quint32 y, double value) {
        double level = 0;
        if (qIsInf(value))
            level = value > 0 ? 255 : 0;
        else if (qIsFinite(value) && span > 0)
            level = std::clamp((value / 2 - low / 2) / span * 255, 0.0, 255.0);
        const int grey = int(std::lround(level));
        image.scanLine(int(y))[x] = uchar(format.whiteIsZero && !qIsNaN(value) ? 255 - grey : grey);
    });
    return image;
}

} // namespace pelorin::tiff
