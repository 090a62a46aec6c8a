#pragma once
// What the EMF player's files share: record types, checked readers of record fields
// and the player itself.

#include "imaging/metafile/bytereader.h"
#include "imaging/metafile/canvas.h"
#include "imaging/metafile/dib.h"

#include <QPolygonF>
#include <QRectF>

namespace pelorin::metafile {

enum EmfRecord : quint32 {
    kHeader = 1, kPolyBezier = 2, kPolygon = 3, kPolyline = 4, kPolyBezierTo = 5, kPolylineTo = 6,
    kPolyPolyline = 7, kPolyPolygon = 8, kSetWindowExtEx = 9, kSetWindowOrgEx = 10, kSetViewportExtEx = 11,
    kSetViewportOrgEx = 12, kSetBrushOrgEx = 13, kEof = 14, kSetPixelV = 15, kSetMapMode = 17, kSetBkMode = 18,
    kSetPolyFillMode = 19, kSetRop2 = 20, kSetStretchBltMode = 21, kSetTextAlign = 22, kSetTextColor = 24, kSetBkColor = 25,
    kOffsetClipRgn = 26, kMoveToEx = 27, kExcludeClipRect = 29, kIntersectClipRect = 30,
    kScaleViewportExtEx = 31, kScaleWindowExtEx = 32, kSaveDc = 33, kRestoreDc = 34, kSetWorldTransform = 35,
    kModifyWorldTransform = 36, kSelectObject = 37, kCreatePen = 38, kCreateBrushIndirect = 39,
    kDeleteObject = 40, kAngleArc = 41, kEllipse = 42, kRectangle = 43, kRoundRect = 44, kArc = 45, kChord = 46,
    kPie = 47, kSelectPalette = 48, kCreatePalette = 49, kLineTo = 54, kArcTo = 55, kPolyDraw = 56,
    kSetArcDirection = 57, kSetMiterLimit = 58, kBeginPath = 59, kEndPath = 60, kCloseFigure = 61, kFillPath = 62,
    kStrokeAndFillPath = 63, kStrokePath = 64, kFlattenPath = 65, kWidenPath = 66, kSelectClipPath = 67,
    kAbortPath = 68, kFillRgn = 71, kFrameRgn = 72, kInvertRgn = 73, kPaintRgn = 74, kExtSelectClipRgn = 75,
    kBitBlt = 76, kStretchBlt = 77, kMaskBlt = 78, kPlgBlt = 79, kSetDiBitsToDevice = 80, kStretchDiBits = 81,
    kExtCreateFontIndirectW = 82, kExtTextOutA = 83, kExtTextOutW = 84, kPolyBezier16 = 85, kPolygon16 = 86,
    kPolyline16 = 87, kPolyBezierTo16 = 88, kPolylineTo16 = 89, kPolyPolyline16 = 90, kPolyPolygon16 = 91,
    kPolyDraw16 = 92, kCreateMonoBrush = 93, kCreateDibPatternBrushPt = 94, kExtCreatePen = 95,
    kPolyTextOutA = 96, kPolyTextOutW = 97, kSmallTextOut = 108, kAlphaBlend = 114, kTransparentBlt = 116,
    kGradientFill = 118, kSetTextJustification = 120,
};

inline QPointF pointAt(const ByteReader &in, qint64 at) { return QPointF(in.i32(at), in.i32(at + 4)); }
inline QRectF rectAt(const ByteReader &in, qint64 at)
{
    return QRectF(QPointF(in.i32(at), in.i32(at + 4)), QPointF(in.i32(at + 8), in.i32(at + 12)));
}
// count points of 32-bit (or, small, 16-bit) coordinates at at.
QPolygonF pointsAt(const ByteReader &in, qint64 at, qint64 count, bool small);
// RGNDATA: header (size, type, count, size, bounds) then rectangles.
QPainterPath regionAt(const ByteReader &in, qint64 at, qint64 size);

// Carries out one record at a time on the canvas; a record whose fields do not fit
// it raises RecordOutOfBounds.
class EmfPlayer
{
public:
    explicit EmfPlayer(Canvas &canvas) : mCanvas(canvas) {}
    void play(quint32 type, const ByteReader &in);

private:
    // Clipping regions are in device pixels, the regions that are painted in logical units.
    QPainterPath deviceRegion(const ByteReader &in, qint64 at, qint64 size)
    {
        return mCanvas.deviceToTarget().map(regionAt(in, at, size));
    }
    QPainterPath logicalRegion(const ByteReader &in, qint64 at, qint64 size)
    {
        return mCanvas.mapToTarget(regionAt(in, at, size));
    }
    QImage masked(QImage image, const ByteReader &in, qint64 at, QPoint srcOrigin);
    const LogBrush *brush(quint32 index) const
    {
        const GdiObject *obj = mCanvas.object(index);
        return obj ? std::get_if<LogBrush>(obj) : nullptr;
    }
    QImage bitmap(const ByteReader &in, qint64 offBmi, qint64 cbBmi, qint64 offBits, qint64 cbBits, int usage,
                  bool alpha = false)
    {
        if (!in.fits(offBmi, cbBmi) || !in.fits(offBits, cbBits) || cbBmi == 0)
            return {};
        return decodeDib(in.slice(offBmi, cbBmi), in.slice(offBits, cbBits), usage, mCanvas.dc().palette.colors, alpha);
    }
    void polyPoly(const ByteReader &in, bool small, bool polygon);
    void text(const ByteReader &in, qint64 emrText, bool wide, int graphicsMode);
    void blt(quint32 type, const ByteReader &in);
    LogPen extPen(const ByteReader &in);

    Canvas &mCanvas;
};

} // namespace pelorin::metafile
