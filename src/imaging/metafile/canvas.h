#pragma once
// The drawing side shared by the WMF and EMF players: the device context with its
// object table and save stack, the mapping from logical units through the picture's
// frame to the target rectangle, and GDI's drawing operations carried out on a
// QPainter. Geometry is mapped to the painter's coordinates before it is drawn, so
// pens, hatches and text keep their device look whatever the mapping does.

#include "imaging/metafile/dcstate.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QRegion>
#include <QSize>

#include <optional>
#include <vector>

namespace pelorin::metafile {

// Painter coordinates beyond this are tamed before drawing.
inline constexpr double kFarCoordinate = 1e6;

enum class ArcKind { Arc, ArcTo, Chord, Pie };
enum class ClipMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

class Canvas
{
public:
    // frame: the records' rectangle that fills target. naturalSize: the picture's size
    // in screen pixels, which sets the width of one-pixel pens and default text.
    Canvas(QPainter &painter, const QRectF &target, const QRectF &frame, QSize naturalSize, bool enhanced,
           QSizeF devicePixelsPerMm);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    DcState &dc() { return mDc; }
    // Call after changing the mapping fields of dc().
    void mappingChanged() { mMappingDirty = true; }
    const QTransform &toTarget();
    // EMF region data is in reference device pixels.
    const QTransform &deviceToTarget() const { return mFrameToTarget; }

    // Objects. EMF places them at the index its records give (stock objects carry the
    // high bit); WMF at the lowest free slot.
    void setObjectTableSize(int size);
    void createObject(quint32 index, GdiObject object);
    void createObjectAtFreeSlot(GdiObject object);
    void selectObject(quint32 index);
    void deleteObject(quint32 index);
    const GdiObject *object(quint32 index) const;

    void saveDc();
    void restoreDc(int which);

    // Colours as the records give them (COLORREF, palette indices resolved).
    QColor colorRef(quint32 ref) const;

    // Drawing, in logical units.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF &points, bool fromCurrent);
    void polyBezier(const QPolygonF &points, bool fromCurrent);
    void polyDraw(const QPolygonF &points, const QByteArray &types);
    void polygons(const QList<QPolygonF> &polys);
    void polylines(const QList<QPolygonF> &polys);
    void rectangle(const QRectF &rect);
    void roundRect(const QRectF &rect, QSizeF corner);
    void ellipse(const QRectF &rect);
    void arc(ArcKind kind, const QRectF &rect, QPointF start, QPointF end);
    void angleArc(QPointF center, double radius, double startDeg, double sweepDeg);
    void setPixel(QPointF p, const QColor &color);
    // Text at a reference point; dx are the advances of each character in logical
    // units (empty: the font's own); rect is the ExtTextOut rectangle.
    void text(QPointF ref, QString text, const QList<qreal> &dx, quint32 options,
              std::optional<QRectF> rect);
    // Bitmap operations: src is in the bitmap's pixels, top row first. A null image
    // runs the raster operation with the brush alone.
    void bitBlt(const QImage &image, const QRectF &dest, const QRectF &src, quint32 rop, bool useAlpha = false);
    // A bitmap placed by a transform from its pixels to logical units.
    void drawImageTransformed(const QImage &image, const QTransform &imageToLogical);
    // Regions: the path is in the painter's coordinates.
    void fillRegion(const QPainterPath &region, const LogBrush &brush);
    void frameRegion(const QPainterPath &region, const LogBrush &brush, QSizeF strokeTarget);
    void invertRegion(const QPainterPath &region);
    void gradientRect(const QRectF &rect, const QColor &from, const QColor &to, bool vertical);
    void gradientTriangle(const QPolygonF &triangle, const QColor (&colors)[3]);

    // Clipping.
    void intersectClipRect(const QRectF &rect);
    void excludeClipRect(const QRectF &rect);
    void offsetClip(QPointF logicalDelta);
    void selectClip(std::optional<QPainterPath> targetPath, ClipMode mode);

    // Path bracket.
    void beginPath();
    void endPath();
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void flattenPath();
    void widenPath();
    void selectClipPath(ClipMode mode);

    double cosmeticScale() const { return mCosmetic; }
    QPainterPath mapToTarget(const QPainterPath &logical);
    QPointF mapToTarget(QPointF logical) { return toTarget().map(logical); }
    // A size in reference device pixels as logical units; negative where an axis of
    // the mapping is flipped.
    QSizeF deviceSizeToLogical(QSizeF size);

private:
    QPen qpen();
    QBrush qbrush(const LogBrush &brush) const;
    QFont qfont(double &stretch, double &targetHeight);
    void draw(QPainterPath logical, bool fill, bool stroke);
    void drawTarget(QPainterPath path, bool fill, bool stroke, const LogBrush &brush);
    void addToPath(const QPainterPath &target, bool closed);
    void continueFigureAt(QPointF targetPoint);
    bool beginRop(); // false: nothing to draw
    void endRop();
    void applyClip();
    void combineClip(const QRegion &region, ClipMode mode);
    // The rectangle drawing is clipped to before it reaches the painter: the target and
    // a margin no pen can bridge.
    QRectF window() const;
    // path as it is, or clipped to window() when it reaches far beyond it.
    QPainterPath tame(const QPainterPath &path, bool closed) const;
    // The pixels of the painter's device that path's fill covers.
    QRegion regionOf(const QPainterPath &targetPath) const;
    std::optional<QTransform> textTransform(QPointF ref, double stretch, double &angleDeg);
    void updateMapping();

    QPainter &mPainter;
    QRectF mTarget;
    QRectF mFrame;
    bool mEnhanced;
    QSizeF mPxPerMm;
    double mCosmetic = 1;
    QSizeF mNaturalScale{1, 1}; // target pixels per pixel of the picture at its own size
    QTransform mFrameToTarget;
    QTransform mToTarget;
    bool mMappingDirty = true;
    std::optional<QRegion> mCallerClip;

    DcState mDc;
    std::vector<DcState> mSaved;
    std::vector<GdiObject> mObjects;

    bool mPathOpen = false;
    bool mFigureOpen = false;
    QPainterPath mPath; // target coordinates
    QPainterPath mFinishedPath;
};

} // namespace pelorin::metafile
