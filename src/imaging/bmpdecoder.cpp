#include "imaging/bmpdecoder.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace pelorin::bmp {

namespace {

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6 };

// Little-endian fields of the data; reads beyond the end give 0 (callers check sizes).
class Bytes
{
public:
    explicit Bytes(QByteArrayView data) : mData(data) {}
    qsizetype size() const { return mData.size(); }
    quint8 u8(qint64 at) const { return at >= 0 && at < mData.size() ? quint8(mData[at]) : 0; }
    quint16 u16(qint64 at) const { return quint16(u8(at) | u8(at + 1) << 8); }
    quint32 u32(qint64 at) const { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; }
    qint32 i32(qint64 at) const { return qint32(u32(at)); }
    const uchar *at(qint64 offset) const { return reinterpret_cast<const uchar *>(mData.data()) + offset; }
    QByteArrayView view() const { return mData; }

private:
    QByteArrayView mData;
};

struct Channel
{
    quint32 mask = 0;
    int shift = 0;
    quint64 max = 0;

    explicit Channel(quint32 m = 0) : mask(m)
    {
        if (mask) {
            shift = std::countr_zero(mask);
            max = (quint64(1) << std::popcount(mask)) - 1;
        }
    }
    // The channel scaled to 0..255, rounding to nearest.
    int value(quint32 pixel) const
    {
        if (!mask)
            return 0;
        const quint64 v = std::min<quint64>((pixel & mask) >> shift, max);
        return int((v * 255 + max / 2) / max);
    }
};

struct Header
{
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bpp = 0;
    quint32 compression = Rgb;
    quint32 colorsUsed = 0;
    quint32 masks[4] = {};
    bool os2 = false;
    int paletteEntry = 4;
    qint64 paletteAt = 0; // offset of the palette in the data
    qint64 paletteEnd = 0;
};

Status parseHeader(const Bytes &d, qint64 infoAt, bool icon, Header &h)
{
    if (d.size() < infoAt + 4)
        return Status::NotBmp;
    const quint32 size = d.u32(infoAt);
    const bool windows = size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
    const bool core = size == 12;
    h.os2 = size >= 16 && size <= 64 && !windows;
    if (!windows && !core && !h.os2)
        return Status::BadHeader;
    if (d.size() < infoAt + size)
        return Status::Truncated;
    int planes = 0;
    if (core) {
        h.width = d.u16(infoAt + 4);
        h.height = d.u16(infoAt + 6);
        planes = d.u16(infoAt + 8);
        h.bpp = d.u16(infoAt + 10);
        h.paletteEntry = 3;
    } else {
        // Fields beyond a short OS/2 header read as 0.
        auto field = [&](qint64 offset) { return offset + 4 <= size ? d.u32(infoAt + offset) : 0u; };
        h.width = d.i32(infoAt + 4);
        h.height = d.i32(infoAt + 8);
        planes = d.u16(infoAt + 12);
        h.bpp = d.u16(infoAt + 14);
        h.compression = field(16);
        h.colorsUsed = field(32);
        if (size >= 52)
            for (int i = 0; i < 3; ++i)
                h.masks[i] = d.u32(infoAt + 40 + 4 * i);
        if (size >= 56)
            h.masks[3] = d.u32(infoAt + 52);
    }
    if (planes != 1 || h.width <= 0 || h.height == 0)
        return Status::BadHeader;
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (icon) {
        h.height /= 2;
        if (h.height == 0)
            return Status::BadHeader;
    }
    if (h.bpp != 1 && h.bpp != 2 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
        return Status::UnsupportedDepth;

    qint64 extraMasks = 0;
    if (h.os2) {
        if (h.compression == 3)
            return Status::UnsupportedCompression; // OS/2 Huffman 1D
        if (h.compression == 4) {
            if (h.bpp != 24)
                return Status::BadHeader;
        } else if (h.compression != Rgb && h.compression != Rle8 && h.compression != Rle4) {
            return Status::UnsupportedCompression;
        }
    } else {
        switch (h.compression) {
        case Rgb:
            break;
        case Rle8:
            if (h.bpp != 8)
                return Status::BadHeader;
            break;
        case Rle4:
            if (h.bpp != 4)
                return Status::BadHeader;
            break;
        case BitFields:
        case AlphaBitFields:
            if (h.bpp != 16 && h.bpp != 32)
                return Status::BadHeader;
            if (size == 40) {
                extraMasks = h.compression == BitFields ? 12 : 16;
                for (int i = 0; i < extraMasks / 4; ++i)
                    h.masks[i] = d.u32(infoAt + 40 + 4 * i);
            }
            if (h.compression == BitFields && size < 56)
                h.masks[3] = 0;
            break;
        case Jpeg:
        case Png:
            break;
        default:
            return Status::UnsupportedCompression;
        }
    }
    const bool compressed = h.compression == Rle8 || h.compression == Rle4 || (h.os2 && h.compression == 4);
    if (compressed && h.topDown)
        return Status::BadHeader;
    if (h.width * h.height > kMaxPixels)
        return Status::TooLarge;

    qint64 count = 0;
    if (core)
        count = qint64(1) << std::min(h.bpp, 8);
    else if (h.colorsUsed)
        count = h.colorsUsed;
    else if (h.bpp <= 8)
        count = qint64(1) << h.bpp;
    h.paletteAt = infoAt + size + extraMasks;
    h.paletteEnd = h.paletteAt + count * h.paletteEntry;
    return Status::Ok;
}

QList<QRgb> readPalette(const Bytes &d, const Header &h, qint64 pixelAt)
{
    QList<QRgb> table;
    if (h.bpp > 8)
        return table;
    const int tableSize = 1 << h.bpp;
    qint64 end = std::min<qint64>(h.paletteEnd, d.size());
    if (pixelAt > h.paletteAt)
        end = std::min(end, pixelAt); // a palette cut short by the pixel data's offset
    const qint64 entries = std::clamp<qint64>((end - h.paletteAt) / h.paletteEntry, 0, tableSize);
    table.reserve(tableSize);
    for (qint64 i = 0; i < entries; ++i) {
        const qint64 at = h.paletteAt + i * h.paletteEntry;
        table.append(qRgb(d.u8(at + 2), d.u8(at + 1), d.u8(at)));
    }
    // Indices beyond the palette show black.
    while (table.size() < tableSize)
        table.append(qRgb(0, 0, 0));
    return table;
}

class Canvas
{
public:
    Canvas(QImage &image, const Header &h) : mImage(image), mHeader(h) {}
    // Row y counted in file order.
    uchar *row(qint64 y) const
    {
        const qint64 imageRow = mHeader.topDown ? y : mHeader.height - 1 - y;
        return mImage.scanLine(int(imageRow));
    }

private:
    QImage &mImage;
    const Header &mHeader;
};

Status decodeUncompressed(const Bytes &d, const Header &h, qint64 pixelAt, QImage &image)
{
    const qint64 stride = (h.width * h.bpp + 31) / 32 * 4;
    const qint64 available = std::max<qint64>(d.size() - pixelAt, 0);
    const qint64 rows = std::min(h.height, available / stride);
    Canvas canvas(image, h);
    const bool masked = h.bpp == 16 || h.bpp == 32;
    quint32 masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (masked && h.compression == Rgb) {
        if (h.bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000;
            masks[1] = 0xFF00;
            masks[2] = 0xFF;
        }
        masks[3] = 0;
    }
    const Channel r(masks[0]), g(masks[1]), b(masks[2]), a(masks[3]);
    for (qint64 y = 0; y < rows; ++y) {
        const uchar *src = d.at(pixelAt + y * stride);
        uchar *dst = canvas.row(y);
        QRgb *out = reinterpret_cast<QRgb *>(dst);
        switch (h.bpp) {
        case 1:
        case 2:
        case 4: {
            const int perByte = 8 / h.bpp;
            const int mask = (1 << h.bpp) - 1;
            for (qint64 x = 0; x < h.width; ++x) {
                const int shift = 8 - h.bpp * int(x % perByte + 1);
                dst[x] = uchar((src[x / perByte] >> shift) & mask);
            }
            break;
        }
        case 8:
            std::copy(src, src + h.width, dst);
            break;
        case 24:
            for (qint64 x = 0; x < h.width; ++x)
                out[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        case 16:
        case 32:
            for (qint64 x = 0; x < h.width; ++x) {
                const quint32 px = h.bpp == 16 ? quint32(src[2 * x] | src[2 * x + 1] << 8)
                                               : quint32(src[4 * x]) | quint32(src[4 * x + 1]) << 8
                                                     | quint32(src[4 * x + 2]) << 16 | quint32(src[4 * x + 3]) << 24;
                out[x] = qRgba(r.value(px), g.value(px), b.value(px), masks[3] ? a.value(px) : 255);
            }
            break;
        }
    }
    return rows < h.height ? Status::Truncated : Status::Ok;
}

// RLE8, RLE4 and the OS/2 RLE24: runs and escapes (end of line, end of bitmap, delta,
// absolute runs padded to 16 bits).
Status decodeRle(const Bytes &d, const Header &h, qint64 pixelAt, QImage &image)
{
    const int kind = h.os2 && h.compression == 4 ? 24 : h.compression == Rle8 ? 8 : 4;
    Canvas canvas(image, h);
    qint64 p = pixelAt;
    qint64 x = 0;
    qint64 y = 0;
    bool damaged = false;
    auto put = [&](quint32 value) {
        if (x >= h.width || y >= h.height) {
            damaged = true;
            ++x;
            return;
        }
        if (kind == 24)
            reinterpret_cast<QRgb *>(canvas.row(y))[x] = value;
        else
            canvas.row(y)[x] = uchar(value);
        ++x;
    };
    auto colourAt = [&](qint64 at) { return qRgb(d.u8(at + 2), d.u8(at + 1), d.u8(at)); };
    // Every step consumes data, so the loop ends with the data at the latest.
    while (true) {
        if (p + 2 > d.size())
            return Status::Truncated;
        const int count = d.u8(p);
        if (count > 0) {
            if (kind == 24) {
                if (p + 4 > d.size())
                    return Status::Truncated;
                const QRgb colour = colourAt(p + 1);
                p += 4;
                for (int i = 0; i < count && x <= h.width; ++i)
                    put(colour);
            } else {
                const int value = d.u8(p + 1);
                p += 2;
                for (int i = 0; i < count && x <= h.width; ++i)
                    put(kind == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
            }
            continue;
        }
        const int escape = d.u8(p + 1);
        p += 2;
        if (escape == 0) {
            x = 0;
            ++y;
        } else if (escape == 1) {
            return damaged ? Status::Damaged : Status::Ok;
        } else if (escape == 2) {
            if (p + 2 > d.size())
                return Status::Truncated;
            x += d.u8(p);
            y += d.u8(p + 1);
            p += 2;
        } else {
            const qint64 bytes = kind == 24 ? qint64(escape) * 3 : kind == 8 ? escape : (escape + 1) / 2;
            const qint64 have = std::min<qint64>(bytes, d.size() - p);
            for (int i = 0; i < escape; ++i) {
                if (kind == 24) {
                    if ((i + 1) * 3 > have)
                        break;
                    put(colourAt(p + 3 * i));
                } else if (kind == 8) {
                    if (i >= have)
                        break;
                    put(d.u8(p + i));
                } else {
                    if (i / 2 >= have)
                        break;
                    const int value = d.u8(p + i / 2);
                    put(i % 2 == 0 ? value >> 4 : value & 0x0F);
                }
            }
            if (have < bytes)
                return Status::Truncated;
            p += bytes + (bytes & 1);
        }
    }
}

void applyIconMask(const Bytes &d, const Header &h, qint64 pixelAt, QImage &image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    Canvas canvas(image, h);
    const qint64 colourStride = (h.width * h.bpp + 31) / 32 * 4;
    if (h.bpp == 32) {
        // A 32-bit icon carries its transparency in the alpha bytes when any is set.
        const qint64 rows = std::min(h.height, std::max<qint64>(d.size() - pixelAt, 0) / colourStride);
        auto alpha = [&](qint64 x, qint64 y) { return d.u8(pixelAt + y * colourStride + 4 * x + 3); };
        bool anyAlpha = false;
        for (qint64 y = 0; y < rows && !anyAlpha; ++y)
            for (qint64 x = 0; x < h.width && !anyAlpha; ++x)
                anyAlpha = alpha(x, y) != 0;
        if (anyAlpha) {
            for (qint64 y = 0; y < rows; ++y) {
                QRgb *out = reinterpret_cast<QRgb *>(canvas.row(y));
                for (qint64 x = 0; x < h.width; ++x)
                    out[x] = qRgba(qRed(out[x]), qGreen(out[x]), qBlue(out[x]), alpha(x, y));
            }
            return;
        }
    }
    const qint64 maskAt = pixelAt + colourStride * h.height;
    const qint64 stride = (h.width + 31) / 32 * 4;
    const qint64 rows = std::min(h.height, std::max<qint64>(d.size() - maskAt, 0) / stride);
    for (qint64 y = 0; y < rows; ++y) {
        QRgb *out = reinterpret_cast<QRgb *>(canvas.row(y));
        const uchar *bits = d.at(maskAt + y * stride);
        for (qint64 x = 0; x < h.width; ++x)
            if (bits[x / 8] & (0x80 >> (x % 8)))
                out[x] = qRgba(0, 0, 0, 0);
    }
}

Result decode(const Bytes &d, qint64 infoAt, std::optional<qint64> pixelOffset, bool icon)
{
    Header h;
    const Status headerStatus = parseHeader(d, infoAt, icon, h);
    if (headerStatus != Status::Ok)
        return {{}, headerStatus};

    qint64 pixelAt = h.paletteEnd;
    // Trust the file's own offset unless it points outside the file or into the header.
    if (pixelOffset && *pixelOffset >= infoAt && *pixelOffset < d.size())
        pixelAt = *pixelOffset;

    if (!h.os2 && (h.compression == Jpeg || h.compression == Png)) {
        if (pixelAt >= d.size())
            return {{}, Status::Truncated};
        const QImage embedded = QImage::fromData(d.view().sliced(pixelAt), h.compression == Jpeg ? "JPEG" : "PNG");
        return {embedded, embedded.isNull() ? Status::Damaged : Status::Ok};
    }

    const bool rle = h.compression == Rle8 || h.compression == Rle4 || (h.os2 && h.compression == 4);
    const qint64 stride = (h.width * h.bpp + 31) / 32 * 4;
    if (!rle && d.size() - pixelAt < stride)
        return {{}, Status::Truncated}; // not one row: nothing worth a picture
    const bool hasAlpha = (h.bpp == 16 || h.bpp == 32) && h.compression != Rgb && h.masks[3] != 0;
    const QImage::Format format = h.bpp <= 8 ? QImage::Format_Indexed8
                                  : hasAlpha ? QImage::Format_ARGB32
                                             : QImage::Format_RGB32;
    QImage image(int(h.width), int(h.height), format);
    if (image.isNull())
        return {{}, Status::TooLarge};
    if (format == QImage::Format_Indexed8) {
        image.setColorTable(readPalette(d, h, pixelAt));
        image.fill(0);
    } else {
        image.fill(format == QImage::Format_ARGB32 ? qRgba(0, 0, 0, 0) : qRgb(0, 0, 0));
    }
    const Status status = rle ? decodeRle(d, h, pixelAt, image) : decodeUncompressed(d, h, pixelAt, image);
    if (icon && !rle)
        applyIconMask(d, h, pixelAt, image);
    return {image, status};
}

} // namespace

Result readFile(QByteArrayView data)
{
    const Bytes d(data);
    if (d.size() >= 2 && data[0] == 'B' && data[1] == 'A') {
        // An OS/2 bitmap array: the first bitmap's file header follows the array header,
        // with offsets counted from the start of the file.
        if (d.size() < 14 + 14 || data[14] != 'B' || data[15] != 'M')
            return {{}, Status::NotBmp};
        return decode(d, 28, qint64(d.u32(24)), false);
    }
    if (d.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (d.size() < 14 + 4)
            return {{}, Status::Truncated};
        return decode(d, 14, qint64(d.u32(10)), false);
    }
    // A packed DIB starts with its info header.
    const quint32 size = d.u32(0);
    if (d.size() >= 4 && (size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124))
        return decode(d, 0, std::nullopt, false);
    return {{}, Status::NotBmp};
}

Result readIconDib(QByteArrayView dib)
{
    return decode(Bytes(dib), 0, std::nullopt, true);
}

QString statusText(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::NotBmp:
        return QStringLiteral("not a BMP file");
    case Status::BadHeader:
        return QStringLiteral("invalid bitmap header");
    case Status::UnsupportedDepth:
        return QStringLiteral("unsupported number of bits per pixel");
    case Status::UnsupportedCompression:
        return QStringLiteral("unsupported compression");
    case Status::TooLarge:
        return QStringLiteral("image too large");
    case Status::Truncated:
        return QStringLiteral("file truncated");
    case Status::Damaged:
        return QStringLiteral("damaged compressed data");
    }
    return {};
}

} // namespace pelorin::bmp
