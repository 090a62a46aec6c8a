// Colour reduction: the fixed VGA and black-and-white palettes and adaptive palettes of
// 16 or 256 colours (median cut), with optional Floyd-Steinberg error diffusion in
// serpentine order. An image that already has no more colours than the palette holds
// keeps its colours exactly.
#include "imaging/codec/codec.h"
#include "imaging/codec/mediancut.h"
#include "imaging/codec/palettes.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <vector>

namespace pelorin::codec {

namespace {

// Nearest palette entry by a weighted squared RGB distance (green counts most), cached
// per 18-bit colour cell.
class NearestColour
{
public:
    explicit NearestColour(const QList<QRgb> &palette) : mPalette(palette), mCache(1 << 18, -1) {}

    int operator()(int r, int g, int b)
    {
        const int key = ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
        short &cached = mCache[size_t(key)];
        if (cached < 0)
            cached = short(search(((r >> 2) << 2) | 2, ((g >> 2) << 2) | 2, ((b >> 2) << 2) | 2));
        return cached;
    }

private:
    int search(int r, int g, int b) const
    {
        int best = 0;
        int bestDistance = INT_MAX;
        for (int i = 0; i < mPalette.size(); ++i) {
            const int dr = qRed(mPalette[i]) - r, dg = qGreen(mPalette[i]) - g, db = qBlue(mPalette[i]) - b;
            const int distance = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        return best;
    }

    QList<QRgb> mPalette;
    std::vector<short> mCache;
};

int clampByte(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Maps every pixel to the palette, diffusing the error when dither is set.
QImage mapToPalette(const QImage &rgb, const QList<QRgb> &palette, bool dither)
{
    QImage out(rgb.size(), QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    out.setColorTable(palette);
    NearestColour nearest(palette);
    const int w = rgb.width();
    // Errors in sixteenths, three channels, with one cell of margin on each side.
    std::vector<int> current(size_t(w + 2) * 3, 0), next(size_t(w + 2) * 3, 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *dst = out.scanLine(y);
        if (!dither) {
            for (int x = 0; x < w; ++x)
                dst[x] = uchar(nearest(qRed(in[x]), qGreen(in[x]), qBlue(in[x])));
            continue;
        }
        const bool forward = (y % 2) == 0;
        const int step = forward ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            const int x = forward ? i : w - 1 - i;
            int *e = &current[size_t(x + 1) * 3];
            const int r = clampByte(qRed(in[x]) + ((e[0] + 8) >> 4));
            const int g = clampByte(qGreen(in[x]) + ((e[1] + 8) >> 4));
            const int b = clampByte(qBlue(in[x]) + ((e[2] + 8) >> 4));
            const int index = nearest(r, g, b);
            dst[x] = uchar(index);
            const int err[3] = {r - qRed(palette[index]), g - qGreen(palette[index]), b - qBlue(palette[index])};
            int *ahead = &current[size_t(x + 1 + step) * 3];
            int *below = &next[size_t(x + 1) * 3];
            int *belowAhead = &next[size_t(x + 1 + step) * 3];
            int *belowBehind = &next[size_t(x + 1 - step) * 3];
            for (int c = 0; c < 3; ++c) {
                ahead[c] += err[c] * 7;
                belowBehind[c] += err[c] * 3;
                below[c] += err[c] * 5;
                belowAhead[c] += err[c];
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
    }
    return out;
}

QImage toBlackWhite(const QImage &rgb, bool dither)
{
    QImage out(rgb.size(), QImage::Format_Mono);
    if (out.isNull())
        return out;
    out.setColorTable(blackWhitePalette());
    out.fill(0);
    const int w = rgb.width();
    std::vector<int> current(size_t(w + 2), 0), next(size_t(w + 2), 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *dst = out.scanLine(y);
        const bool forward = !dither || (y % 2) == 0;
        const int step = forward ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            const int x = forward ? i : w - 1 - i;
            int grey = (qRed(in[x]) * 77 + qGreen(in[x]) * 150 + qBlue(in[x]) * 29 + 128) >> 8;
            if (dither)
                grey = clampByte(grey + ((current[size_t(x + 1)] + 8) >> 4));
            const bool white = grey >= 128;
            if (white)
                dst[x >> 3] |= uchar(0x80 >> (x & 7));
            if (dither) {
                const int err = grey - (white ? 255 : 0);
                current[size_t(x + 1 + step)] += err * 7;
                next[size_t(x + 1 - step)] += err * 3;
                next[size_t(x + 1)] += err * 5;
                next[size_t(x + 1 + step)] += err;
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
    }
    return out;
}

// The image's colours exactly, when there are at most limit of them; else a null image.
QImage mapExactly(const QImage &rgb, int limit)
{
    QHash<QRgb, int> seen;
    QList<QRgb> colours;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = in[x] | 0xff000000u;
            if (seen.contains(c))
                continue;
            if (colours.size() == limit)
                return {};
            seen.insert(c, int(colours.size()));
            colours.append(c);
        }
    }
    QImage out(rgb.size(), QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    out.setColorTable(colours);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            dst[x] = uchar(seen.value(in[x] | 0xff000000u));
    }
    return out;
}

QImage toAdaptivePalette(const QImage &rgb, int colours, bool dither)
{
    if (QImage exact = mapExactly(rgb, colours); !exact.isNull())
        return exact;
    return mapToPalette(rgb, medianCutPalette(rgb, colours), dither);
}

} // namespace

QImage reduceColours(const QImage &image, int depth, bool dither)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return {};
    QImage out;
    switch (depth) {
    case 0: out = mapToPalette(rgb, vgaPalette(), dither); break;
    case 1: out = toBlackWhite(rgb, dither); break;
    case 4: out = toAdaptivePalette(rgb, 16, dither); break;
    case 8: out = toAdaptivePalette(rgb, 256, dither); break;
    default: return rgb;
    }
    if (!out.isNull()) {
        out.setDotsPerMeterX(image.dotsPerMeterX());
        out.setDotsPerMeterY(image.dotsPerMeterY());
    }
    return out;
}

} // namespace pelorin::codec
