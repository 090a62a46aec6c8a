#include "imaging/metafile/dib.h"

#include "imaging/metafile/bytereader.h"

#include <bit>

namespace pelorin::metafile {

namespace {

constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;
constexpr int kMaxSide = 65535;

struct DibHeader
{
    int headerSize = 0;
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    quint32 masks[4] = {0, 0, 0, 0};
    bool core = false;
};

int shiftOf(quint32 mask) { return mask ? std::countr_zero(mask) : 0; }
int bitsOf(quint32 mask) { return mask ? std::popcount(mask >> shiftOf(mask)) : 0; }

int channel(quint32 pixel, quint32 mask)
{
    if (!mask)
        return 0;
    const quint32 v = (pixel & mask) >> shiftOf(mask);
    const int bits = bitsOf(mask);
    if (bits >= 8)
        return int(v >> (bits - 8));
    const quint32 max = (1u << bits) - 1;
    return int(v * 255 / max);
}

// Reads the header at info; returns the header size or 0.
bool readHeader(const ByteReader &in, DibHeader &h)
{
    h.headerSize = int(in.u32(0));
    if (h.headerSize == 12) {
        h.core = true;
        h.width = in.u16(4);
        h.height = in.u16(6);
        h.bitCount = in.u16(10);
    } else if (h.headerSize >= 40 && h.headerSize <= 1024) {
        h.width = in.i32(4);
        h.height = in.i32(8);
        h.bitCount = in.u16(14);
        h.compression = in.u32(16);
        h.colorsUsed = in.u32(32);
        if (h.headerSize >= 52) {
            for (int i = 0; i < 3; ++i)
                h.masks[i] = in.u32(40 + 4 * i);
        }
        if (h.headerSize >= 56)
            h.masks[3] = in.u32(52);
    } else {
        return false;
    }
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    return h.width > 0 && h.height > 0 && h.width <= kMaxSide && h.height <= kMaxSide
        && h.width * h.height <= kMaxPixels;
}

QList<QRgb> colorTable(const ByteReader &in, const DibHeader &h, int usage, const QList<QRgb> &palette, qint64 &end)
{
    QList<QRgb> colors;
    qint64 at = h.headerSize;
    if ((h.compression == 3 || h.compression == 6) && h.headerSize == 40) {
        // The bit-field masks follow a plain info header.
        const int n = h.compression == 6 ? 4 : 3;
        at += 4 * n;
    }
    qint64 count = 0;
    if (h.bitCount <= 8)
        count = h.colorsUsed && h.colorsUsed < (1u << h.bitCount) ? h.colorsUsed : (1 << h.bitCount);
    else if (!h.core)
        count = std::min<qint64>(h.colorsUsed, 256);
    for (qint64 i = 0; i < count; ++i) {
        if (h.bitCount > 8) {
            at += 4;
            continue;
        }
        if (usage == 1) {
            const int index = in.fits(at, 2) ? in.u16(at) : 0;
            colors << (index < palette.size() ? palette[index] : qRgb(0, 0, 0));
            at += 2;
        } else if (h.core) {
            colors << (in.fits(at, 3) ? qRgb(in.u8(at + 2), in.u8(at + 1), in.u8(at)) : qRgb(0, 0, 0));
            at += 3;
        } else {
            colors << (in.fits(at, 4) ? qRgb(in.u8(at + 2), in.u8(at + 1), in.u8(at)) : qRgb(0, 0, 0));
            at += 4;
        }
    }
    end = at;
    return colors;
}

QImage decodeRle(const ByteReader &bits, const DibHeader &h, const QList<QRgb> &colors)
{
    const bool four = h.compression == 2;
    QImage image(int(h.width), int(h.height), QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    auto color = [&](int index) { return index < colors.size() ? colors[index] | 0xFF000000u : 0xFF000000u; };
    qint64 x = 0, y = 0, at = 0;
    auto put = [&](int index) {
        if (x < h.width && y < h.height)
            reinterpret_cast<QRgb *>(image.scanLine(int(h.height - 1 - y)))[x] = color(index);
        ++x;
    };
    while (at + 1 < bits.size() && y < h.height) {
        const int count = bits.u8(at), value = bits.u8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < h.width; ++i)
                put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (at + 1 >= bits.size())
                break;
            x += bits.u8(at);
            y += bits.u8(at + 1);
            at += 2;
        } else { // absolute run
            const int bytes = four ? (value + 1) / 2 : value;
            if (!bits.fits(at, bytes))
                break;
            for (int i = 0; i < value; ++i) {
                const int byte = bits.u8(at + (four ? i / 2 : i));
                put(four ? (i % 2 ? byte & 0xF : byte >> 4) : byte);
            }
            at += (bytes + 1) & ~1;
        }
    }
    return image;
}

} // namespace

QImage decodeDib(QByteArrayView infoBytes, QByteArrayView bitsBytes, int usage, const QList<QRgb> &palette,
                 bool useAlpha)
{
    const ByteReader info(infoBytes);
    const ByteReader bits(bitsBytes);
    try {
        DibHeader h;
        if (!readHeader(info, h))
            return {};
        if (h.compression == 4 || h.compression == 5) // embedded JPEG or PNG
            return QImage::fromData(bitsBytes);
        qint64 tableEnd = 0;
        const QList<QRgb> colors = colorTable(info, h, usage, palette, tableEnd);
        if (h.compression == 1 || h.compression == 2)
            return decodeRle(bits, h, colors);
        if (h.compression != 0 && h.compression != 3 && h.compression != 6)
            return {};
        if (h.compression != 0 && h.headerSize == 40) {
            for (int i = 0; i < (h.compression == 6 ? 4 : 3); ++i)
                h.masks[i] = info.u32(40 + 4 * i);
        }
        const int bpp = h.bitCount;
        if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
            return {};
        const qint64 stride = ((h.width * bpp + 31) / 32) * 4;
        // Short data gives as many whole rows as there are, in storage order.
        if (bits.size() < stride)
            return {};
        const qint64 rows = std::min<qint64>(h.height, bits.size() / stride);
        quint32 rMask = 0x7C00, gMask = 0x03E0, bMask = 0x001F, aMask = 0;
        if (bpp == 32) {
            rMask = 0xFF0000;
            gMask = 0xFF00;
            bMask = 0xFF;
            aMask = useAlpha ? 0xFF000000 : 0;
        }
        if (h.compression == 3 || h.compression == 6) {
            rMask = h.masks[0];
            gMask = h.masks[1];
            bMask = h.masks[2];
            aMask = (h.compression == 6 || useAlpha) ? h.masks[3] : 0;
        }
        QImage image(int(h.width), int(h.height), aMask ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (image.isNull())
            return {};
        image.fill(Qt::transparent);
        const uchar *data = reinterpret_cast<const uchar *>(bitsBytes.data());
        auto color = [&](int index) { return index < colors.size() ? colors[index] | 0xFF000000u : 0xFF000000u; };
        for (qint64 row = 0; row < rows; ++row) {
            const uchar *src = data + row * stride;
            const int y = int(h.topDown ? row : h.height - 1 - row);
            QRgb *dst = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (qint64 x = 0; x < h.width; ++x) {
                switch (bpp) {
                case 1: dst[x] = color((src[x >> 3] >> (7 - (x & 7))) & 1); break;
                case 2: dst[x] = color((src[x >> 2] >> (6 - 2 * (x & 3))) & 3); break;
                case 4: dst[x] = color((src[x >> 1] >> (x & 1 ? 0 : 4)) & 0xF); break;
                case 8: dst[x] = color(src[x]); break;
                case 24: dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
                case 16:
                case 32: {
                    const quint32 p = bpp == 16 ? quint32(src[2 * x] | (src[2 * x + 1] << 8))
                                                : quint32(src[4 * x]) | (quint32(src[4 * x + 1]) << 8)
                            | (quint32(src[4 * x + 2]) << 16) | (quint32(src[4 * x + 3]) << 24);
                    const int a = aMask ? channel(p, aMask) : 255;
                    dst[x] = qRgba(channel(p, rMask), channel(p, gMask), channel(p, bMask), a);
                    break;
                }
                default: break;
                }
            }
        }
        if (aMask) {
            // Pixels stored premultiplied (as alpha blending expects them) are kept as
            // they are; an all-transparent bitmap is one whose fourth byte is unused.
            bool anyAlpha = false;
            for (int y = 0; y < image.height() && !anyAlpha; ++y) {
                const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(line[x])) {
                        anyAlpha = true;
                        break;
                    }
            }
            if (!anyAlpha)
                return image.convertToFormat(QImage::Format_RGB32);
            if (useAlpha)
                image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        }
        return image;
    } catch (const RecordOutOfBounds &) {
        return {};
    }
}

QImage decodePackedDib(QByteArrayView packed, int usage, const QList<QRgb> &palette)
{
    const ByteReader in(packed);
    try {
        DibHeader h;
        if (!readHeader(in, h))
            return {};
        qint64 end = 0;
        colorTable(in, h, usage, palette, end);
        if (end > packed.size())
            return {};
        return decodeDib(packed.first(end), packed.sliced(end), usage, palette);
    } catch (const RecordOutOfBounds &) {
        return {};
    }
}

QImage decodeBitmap16(QByteArrayView data, int bitsOffset)
{
    // type i16, width i16, height i16, widthBytes i16, planes u8, bitsPixel u8, bits.
    const ByteReader in(data);
    try {
        const int width = in.i16(2), height = in.i16(4), widthBytes = in.i16(6);
        const int planes = in.u8(8), bpp = in.u8(9);
        if (width <= 0 || height <= 0 || planes != 1 || widthBytes <= 0 || (bpp != 1 && bpp != 8 && bpp != 24))
            return {};
        if (qint64(width) * bpp > qint64(widthBytes) * 8)
            return {};
        const qint64 start = bitsOffset;
        in.require(start, qint64(widthBytes) * height);
        QImage image(width, height, QImage::Format_RGB32);
        if (image.isNull())
            return {};
        for (int y = 0; y < height; ++y) {
            QRgb *dst = reinterpret_cast<QRgb *>(image.scanLine(y));
            const qint64 row = start + qint64(y) * widthBytes;
            for (int x = 0; x < width; ++x) {
                if (bpp == 1) {
                    dst[x] = (in.u8(row + x / 8) >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                } else if (bpp == 8) {
                    const int v = in.u8(row + x);
                    dst[x] = qRgb(v, v, v);
                } else {
                    dst[x] = qRgb(in.u8(row + 3 * x + 2), in.u8(row + 3 * x + 1), in.u8(row + 3 * x));
                }
            }
        }
        return image;
    } catch (const RecordOutOfBounds &) {
        return {};
    }
}

} // namespace pelorin::metafile
