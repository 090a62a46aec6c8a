// Median cut: the histogram of the image at 5 bits per channel is split, box by box,
// at the median of the longest side of the box that holds the most pixels times its
// length; each box gives the mean colour of its pixels.
#include "imaging/codec/mediancut.h"

#include <algorithm>
#include <array>
#include <vector>

namespace pelorin::codec {

namespace {

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

} // namespace

QList<QRgb> medianCutPalette(const QImage &rgb, int colours)
{
    return MedianCut(rgb).palette(colours);
}

} // namespace pelorin::codec
