#include "imaging/metafile/metafileheader.h"

#include "imaging/metafile/bytereader.h"
#include "imaging/metafile/wmfplayer.h"

#include <QtMath>

#include <algorithm>

#include <cmath>

namespace pelorin::metafile {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr int kPlaceableSize = 22;
constexpr int kWmfHeaderSize = 18;
constexpr int kMaxSide = 32767; // no picture claims more screen pixels than this

QSize screenSize(double width, double height)
{
    auto side = [](double v) { return std::isfinite(v) ? qBound(1, qRound(std::min(std::abs(v), double(kMaxSide))), kMaxSide) : 1; };
    return {side(width), side(height)};
}

bool validWmfHeader(const ByteReader &in, int at)
{
    if (!in.fits(at, kWmfHeaderSize))
        return false;
    const quint16 type = in.u16(at);
    const quint16 headerWords = in.u16(at + 2);
    const quint16 version = in.u16(at + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

std::optional<MetafileHeader> readWmf(const ByteReader &in)
{
    MetafileHeader header;
    const bool placeable = in.fits(0, 4) && in.u32(0) == kPlaceableKey;
    const int at = placeable ? kPlaceableSize : 0;
    if (!validWmfHeader(in, at))
        return std::nullopt;
    header.wmfHeaderSize = at + kWmfHeaderSize;
    header.wmfObjects = in.u16(at + 10);
    if (placeable) {
        const QRectF box = QRectF(QPointF(in.i16(6), in.i16(8)), QPointF(in.i16(10), in.i16(12))).normalized();
        const int unitsPerInch = in.u16(14) ? in.u16(14) : 1440;
        if (box.isEmpty())
            return std::nullopt;
        header.frame = box;
        header.size = screenSize(box.width() * kScreenDpi / unitsPerInch, box.height() * kScreenDpi / unitsPerInch);
        return header;
    }
    // A plain WMF says nothing about its size: its window (or the extent of what it
    // draws) is the picture. Windows set in twips or finer units are the rule for
    // anisotropic files, so a window too large for a screen is taken at 1440 per inch.
    const QRectF window = wmfPictureWindow(in.slice(0, in.size()), header.wmfHeaderSize);
    if (window.isEmpty())
        return std::nullopt;
    header.frame = window;
    double scale = 1.0;
    if (std::max(window.width(), window.height()) > 2000)
        scale = kScreenDpi / 1440.0;
    header.size = screenSize(window.width() * scale, window.height() * scale);
    return header;
}

std::optional<MetafileHeader> readEmf(const ByteReader &in)
{
    constexpr int kMinHeader = 88;
    if (!in.fits(0, kMinHeader) || in.u32(0) != 1 || in.u32(40) != kEmfSignature)
        return std::nullopt;
    const quint32 headerSize = in.u32(4);
    if (headerSize < kMinHeader || headerSize % 4 || !in.fits(0, headerSize))
        return std::nullopt;
    MetafileHeader header;
    header.enhanced = true;
    auto rectAt = [&](int off) {
        return QRectF(QPointF(in.i32(off), in.i32(off + 4)), QPointF(in.i32(off + 8), in.i32(off + 12)));
    };
    const QRectF bounds = rectAt(8).normalized();
    const QRectF frame = rectAt(24).normalized(); // hundredths of a millimetre
    const double devW = in.i32(72), devH = in.i32(76);
    double mmW = in.i32(80), mmH = in.i32(84);
    // The optional header extensions end where the description or the pixel format
    // begins, when those lie inside the header record.
    qint64 extent = headerSize;
    if (in.u32(60) && in.u32(64) >= quint32(kMinHeader))
        extent = std::min<qint64>(extent, in.u32(64));
    if (extent >= 100 && in.u32(88) && in.u32(92) >= quint32(kMinHeader))
        extent = std::min<qint64>(extent, in.u32(92));
    if (extent >= 108 && in.i32(100) > 0 && in.i32(104) > 0) {
        mmW = in.i32(100) / 1000.0;
        mmH = in.i32(104) / 1000.0;
    }
    if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0)
        header.devicePixelsPerMm = QSizeF(devW / mmW, devH / mmH);
    else
        header.devicePixelsPerMm = QSizeF(kScreenDpi / 25.4, kScreenDpi / 25.4);

    const double px = header.devicePixelsPerMm.width() / 100.0;
    const double py = header.devicePixelsPerMm.height() / 100.0;
    const QRectF framePixels(frame.left() * px, frame.top() * py, frame.width() * px, frame.height() * py);
    if (frame.width() > 0 && frame.height() > 0) {
        header.frame = framePixels;
        header.size = screenSize(frame.width() * kScreenDpi / 2540.0, frame.height() * kScreenDpi / 2540.0);
        // Some writers draw with y pointing up while their frame assumes it points
        // down: what is drawn then lies in the frame mirrored about y = 0, and the
        // picture is played upside up by mirroring the frame.
        const QRectF mirrored(framePixels.left(), -framePixels.bottom(), framePixels.width(), framePixels.height());
        auto area = [](const QRectF &r) { return r.isEmpty() ? 0.0 : r.width() * r.height(); };
        if (area(bounds) > 0 && area(bounds & framePixels) < 0.25 * area(bounds)
            && area(bounds & mirrored) > 0.75 * area(bounds))
            header.frame = QRectF(framePixels.left(), -framePixels.top(), framePixels.width(), -framePixels.height());
    } else if (bounds.width() > 0 && bounds.height() > 0) {
        // No frame: the bounds (in device pixels) are the picture.
        header.frame = bounds;
        header.size = screenSize(bounds.width() / px * kScreenDpi / 2540.0,
                                 bounds.height() / py * kScreenDpi / 2540.0);
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(header.frame.width()) || !std::isfinite(header.frame.height())
        || header.frame.normalized().isEmpty())
        return std::nullopt;
    return header;
}

} // namespace

std::optional<MetafileHeader> readMetafileHeader(QByteArrayView data)
{
    const ByteReader in(data);
    try {
        if (in.fits(0, 4) && in.u32(0) == 1)
            return readEmf(in);
        return readWmf(in);
    } catch (const RecordOutOfBounds &) {
        return std::nullopt;
    }
}

} // namespace pelorin::metafile
