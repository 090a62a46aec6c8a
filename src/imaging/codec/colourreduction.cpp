// Colour reduction: the fixed VGA and black-and-white palettes and adaptive palettes of
// 16 or 256 colours (median cut over a 15-bit histogram), with optional Floyd-Steinberg
// error diffusion in serpentine order. An image that already has no more colours than
// the palette holds keeps its colours exactly.
#include "imaging/codec/codec.h"
#include "imaging/codec/palettes.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace pelorin::codec {

namespace {

// Nearest palette entry by squared RGB distance, cached per 18-bit colour cell.
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

// Median cut over a histogram of 5 bits per channel.
class MedianCut
{
public:
    explicit MedianCut(const QImage &rgb) : mCount(kCells, 0), mSum(kCells)
    {
        for (int y = 0; y < rgb.height(); ++y) {
            const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                const int r = qRed(in[x]), g = qGreen(in[x]), b = qBlue(in[x]);
                const size_t cell = size_t(cellOf(r >> 3, g >> 3, b >> 3));
                ++mCount[cell];
                mSum[cell][0] += unsigned(r);
                mSum[cell][1] += unsigned(g);
                mSum[cell][2] += unsigned(b);
            }
        }
    }

    QList<QRgb> palette(int colours)
    {
        std::vector<Box> boxes;
        Box all{{0, 0, 0}, {31, 31, 31}, 0};
        shrink(all);
        if (all.count == 0)
            return {qRgb(0, 0, 0)};
        boxes.push_back(all);
        while (int(boxes.size()) < colours) {
            int chosen = -1;
            quint64 bestScore = 0;
            for (size_t i = 0; i < boxes.size(); ++i) {
                const int side = boxes[i].longestSide();
                const quint64 score = boxes[i].count * quint64(boxes[i].hi[side] - boxes[i].lo[side]);
                if (score > bestScore) {
                    bestScore = score;
                    chosen = int(i);
                }
            }
            if (chosen < 0)
                break; // every box is a single cell
            Box second;
            split(boxes[size_t(chosen)], second);
            boxes.push_back(second);
        }
        QList<QRgb> result;
        for (const Box &box : boxes)
            result.append(mean(box));
        return result;
    }

private:
    static constexpr int kCells = 1 << 15;

    struct Box
    {
        std::array<int, 3> lo;
        std::array<int, 3> hi;
        quint64 count;
        int longestSide() const
        {
            int side = 0;
            for (int c = 1; c < 3; ++c)
                if (hi[c] - lo[c] > hi[side] - lo[side])
                    side = c;
            return side;
        }
    };

    static int cellOf(int r, int g, int b) { return (r << 10) | (g << 5) | b; }

    template<typename F>
    void forEachCell(const Box &box, F f) const
    {
        for (int r = box.lo[0]; r <= box.hi[0]; ++r)
            for (int g = box.lo[1]; g <= box.hi[1]; ++g)
                for (int b = box.lo[2]; b <= box.hi[2]; ++b)
                    f(std::array<int, 3>{r, g, b}, size_t(cellOf(r, g, b)));
    }

    // Shrinks the box to the cells that hold pixels and counts them.
    void shrink(Box &box) const
    {
        std::array<int, 3> lo{31, 31, 31}, hi{0, 0, 0};
        quint64 count = 0;
        forEachCell(box, [&](const std::array<int, 3> &p, size_t cell) {
            if (mCount[cell] == 0)
                return;
            count += mCount[cell];
            for (int c = 0; c < 3; ++c) {
                lo[c] = std::min(lo[c], p[c]);
                hi[c] = std::max(hi[c], p[c]);
            }
        });
        box.count = count;
        if (count > 0) {
            box.lo = lo;
            box.hi = hi;
        }
    }

    // Splits box at the median of its longest side; box keeps the lower half.
    void split(Box &box, Box &upper) const
    {
        const int side = box.longestSide();
        std::vector<quint64> slice(32, 0);
        forEachCell(box, [&](const std::array<int, 3> &p, size_t cell) { slice[size_t(p[side])] += mCount[cell]; });
        quint64 running = 0;
        int cut = box.lo[side];
        for (int v = box.lo[side]; v < box.hi[side]; ++v) {
            running += slice[size_t(v)];
            cut = v;
            if (running * 2 >= box.count)
                break;
        }
        upper = box;
        box.hi[side] = cut;
        upper.lo[side] = cut + 1;
        shrink(box);
        shrink(upper);
    }

    QRgb mean(const Box &box) const
    {
        quint64 sum[3] = {0, 0, 0};
        forEachCell(box, [&](const std::array<int, 3> &, size_t cell) {
            for (int c = 0; c < 3; ++c)
                sum[c] += mSum[cell][c];
        });
        const quint64 n = std::max<quint64>(box.count, 1);
        return qRgb(int((sum[0] + n / 2) / n), int((sum[1] + n / 2) / n), int((sum[2] + n / 2) / n));
    }

    std::vector<quint32> mCount;
    std::vector<std::array<quint64, 3>> mSum;
};

QImage toAdaptivePalette(const QImage &rgb, int colours, bool dither)
{
    if (QImage exact = mapExactly(rgb, colours); !exact.isNull())
        return exact;
    return mapToPalette(rgb, MedianCut(rgb).palette(colours), dither);
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
