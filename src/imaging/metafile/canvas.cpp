#include "imaging/metafile/canvas.h"

#include <QPaintEngine>
#include <QtMath>

#include <cmath>

namespace pelorin::metafile {

namespace {

constexpr int kMaxObjects = 65536;
constexpr int kMaxSaveDepth = 4096;
constexpr double kFar = 1e6; // painter coordinates beyond this are tamed before drawing

bool finiteTransform(const QTransform &t)
{
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        if (!std::isfinite(v))
            return false;
    return true;
}

LogBrush stockBrush(int gray, int style = 0)
{
    LogBrush brush;
    brush.style = style;
    brush.color = QColor(gray, gray, gray);
    return brush;
}

LogPen stockPen(const QColor &color, int style = 0)
{
    LogPen pen;
    pen.style = style;
    pen.color = color;
    return pen;
}

} // namespace

Canvas::Canvas(QPainter &painter, const QRectF &target, const QRectF &frame, QSize naturalSize, bool enhanced,
               QSizeF devicePixelsPerMm)
    : mPainter(painter), mTarget(target), mFrame(frame), mEnhanced(enhanced), mPxPerMm(devicePixelsPerMm)
{
    mPainter.save();
    if (mPainter.hasClipping())
        mCallerClip = mPainter.transform().map(mPainter.clipPath());
    mPainter.setTransform(mPainter.transform()); // keep the caller's mapping as the base
    mPainter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const double sx = naturalSize.width() > 0 ? target.width() / naturalSize.width() : 1.0;
    const double sy = naturalSize.height() > 0 ? target.height() / naturalSize.height() : 1.0;
    mNaturalScale = QSizeF(sx, sy);
    mCosmetic = std::sqrt(std::abs(sx * sy));
    if (!std::isfinite(mCosmetic) || mCosmetic <= 0)
        mCosmetic = 1;
    mFrameToTarget = QTransform::fromTranslate(-frame.left(), -frame.top())
        * QTransform::fromScale(target.width() / frame.width(), target.height() / frame.height())
        * QTransform::fromTranslate(target.left(), target.top());
    if (!finiteTransform(mFrameToTarget))
        mFrameToTarget = QTransform();
    applyClip();
}

Canvas::~Canvas()
{
    mPainter.restore();
}

const QTransform &Canvas::toTarget()
{
    if (mMappingDirty)
        updateMapping();
    return mToTarget;
}

void Canvas::updateMapping()
{
    mMappingDirty = false;
    const DcState &d = mDc;
    QTransform page;
    auto ratio = [](double a, double b) { return b != 0 ? a / b : 1.0; };
    if (mEnhanced) {
        double sx = 1, sy = 1;
        const double mmX = mPxPerMm.width(), mmY = mPxPerMm.height();
        switch (d.mapMode) {
        case 2: sx = mmX * 0.1; sy = -mmY * 0.1; break;             // LOMETRIC
        case 3: sx = mmX * 0.01; sy = -mmY * 0.01; break;           // HIMETRIC
        case 4: sx = mmX * 0.254; sy = -mmY * 0.254; break;         // LOENGLISH
        case 5: sx = mmX * 0.0254; sy = -mmY * 0.0254; break;       // HIENGLISH
        case 6: sx = mmX * 25.4 / 1440; sy = -mmY * 25.4 / 1440; break; // TWIPS
        case 7:
        case 8:
            sx = ratio(d.viewportExt.width(), d.windowExt.width());
            sy = ratio(d.viewportExt.height(), d.windowExt.height());
            if (d.mapMode == 7) {
                const double s = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(s, sx);
                sy = std::copysign(s, sy);
            }
            break;
        default: break;
        }
        page = d.world * QTransform::fromTranslate(-d.windowOrg.x(), -d.windowOrg.y())
            * QTransform::fromScale(sx, sy) * QTransform::fromTranslate(d.viewportOrg.x(), d.viewportOrg.y());
    } else if (d.windowExtSet && d.windowExt.width() != 0 && d.windowExt.height() != 0) {
        page = QTransform::fromTranslate(-d.windowOrg.x(), -d.windowOrg.y())
            * QTransform::fromScale(mFrame.width() / d.windowExt.width(), mFrame.height() / d.windowExt.height())
            * QTransform::fromTranslate(mFrame.left(), mFrame.top());
    } else if (d.windowOrgSet) {
        page = QTransform::fromTranslate(mFrame.left() - d.windowOrg.x(), mFrame.top() - d.windowOrg.y());
    }
    mToTarget = page * mFrameToTarget;
    if (!mEnhanced) {
        // A WMF's viewport origin moves the drawing by pixels of the picture at its
        // own size; its viewport extent is the player's to choose.
        mToTarget *= QTransform::fromTranslate(d.viewportOrg.x() * mNaturalScale.width(),
                                               d.viewportOrg.y() * mNaturalScale.height());
    }
    if (!finiteTransform(mToTarget) || mToTarget.determinant() == 0 || !std::isfinite(mToTarget.determinant()))
        mToTarget = mFrameToTarget;
}

QSizeF Canvas::deviceSizeToLogical(QSizeF size)
{
    const QTransform &t = toTarget();
    const double sx = t.m11() / mFrameToTarget.m11(), sy = t.m22() / mFrameToTarget.m22();
    if (sx == 0 || sy == 0 || !std::isfinite(sx) || !std::isfinite(sy))
        return size;
    return QSizeF(size.width() / sx, size.height() / sy);
}

// ---- objects and state ----

void Canvas::setObjectTableSize(int size)
{
    mObjects.assign(std::clamp(size, 0, kMaxObjects), GdiObject{});
}

void Canvas::createObject(quint32 index, GdiObject object)
{
    if (index == 0 || index >= quint32(kMaxObjects))
        return;
    if (index >= mObjects.size())
        mObjects.resize(index + 1);
    mObjects[index] = std::move(object);
}

void Canvas::createObjectAtFreeSlot(GdiObject object)
{
    for (auto &slot : mObjects) {
        if (std::holds_alternative<std::monostate>(slot)) {
            slot = std::move(object);
            return;
        }
    }
    if (mObjects.size() < size_t(kMaxObjects))
        mObjects.push_back(std::move(object));
}

const GdiObject *Canvas::object(quint32 index) const
{
    return index < mObjects.size() ? &mObjects[index] : nullptr;
}

void Canvas::selectObject(quint32 index)
{
    if (index & 0x80000000u) {
        switch (index & 0x7FFFFFFFu) {
        case 0: mDc.brush = stockBrush(255); break;
        case 1: mDc.brush = stockBrush(192); break;
        case 2: mDc.brush = stockBrush(128); break;
        case 3: mDc.brush = stockBrush(64); break;
        case 4: mDc.brush = stockBrush(0); break;
        case 5: mDc.brush = stockBrush(0, 1); break;
        case 6: mDc.pen = stockPen(Qt::white); break;
        case 7: mDc.pen = stockPen(Qt::black); break;
        case 8: mDc.pen = stockPen(Qt::black, 5); break;
        case 10: case 11: case 12: case 13: case 14: case 16: case 17: mDc.font = LogFont(); break;
        case 15: mDc.palette = Palette(); break;
        case 18: mDc.brush = stockBrush(255); break;
        case 19: mDc.pen = stockPen(Qt::black); break;
        default: break;
        }
        return;
    }
    const GdiObject *obj = object(index);
    if (!obj)
        return;
    if (auto pen = std::get_if<LogPen>(obj))
        mDc.pen = *pen;
    else if (auto brush = std::get_if<LogBrush>(obj))
        mDc.brush = *brush;
    else if (auto font = std::get_if<LogFont>(obj))
        mDc.font = *font;
    else if (auto palette = std::get_if<Palette>(obj))
        mDc.palette = *palette;
    else if (auto region = std::get_if<Region>(obj))
        selectClip(mapToTarget(region->path), ClipMode::Copy);
}

void Canvas::deleteObject(quint32 index)
{
    if (index < mObjects.size())
        mObjects[index] = GdiObject{};
}

void Canvas::saveDc()
{
    if (mSaved.size() < size_t(kMaxSaveDepth))
        mSaved.push_back(mDc);
}

void Canvas::restoreDc(int which)
{
    // Negative: that many levels back; positive: the instance of that number.
    const qint64 keep = which < 0 ? qint64(mSaved.size()) + which : qint64(which) - 1;
    if (keep < 0 || keep >= qint64(mSaved.size()))
        return;
    mDc = mSaved[size_t(keep)];
    mSaved.resize(size_t(keep));
    mMappingDirty = true;
    applyClip();
}

QColor Canvas::colorRef(quint32 ref) const
{
    if ((ref >> 24) == 1) { // PALETTEINDEX
        const quint32 i = ref & 0xFFFF;
        if (i < quint32(mDc.palette.colors.size()))
            return QColor::fromRgb(mDc.palette.colors[qsizetype(i)]);
        return Qt::black;
    }
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

// ---- pens, brushes ----

QPen Canvas::qpen()
{
    const LogPen &p = mDc.pen;
    if (p.isNull())
        return Qt::NoPen;
    const QTransform &t = toTarget();
    const double scale = std::sqrt(std::abs(t.determinant()));
    const bool geometric = (p.style & 0xF0000) == 0x10000;
    const bool extended = (p.style & 0xFFFF0000) != 0 || (p.style & 0xFF00) != 0;
    double width = p.width * scale;
    if (p.width <= 0 || (extended && !geometric))
        width = mCosmetic;
    width = std::clamp(width, 1.0, 1e5);
    QPen pen(p.color, width);
    switch (p.style & 0xF00) {
    case 0x100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (p.style & 0xF000) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); pen.setMiterLimit(std::clamp(mDc.miterLimit, 1.0, 100.0)); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    // Dash lengths: cosmetic pens in device pixels, geometric ones in pen widths.
    const double unit = geometric ? 1.0 : mCosmetic / width;
    QList<qreal> pattern;
    switch (p.style & 0xF) {
    case 1: pattern = geometric ? QList<qreal>{3, 1} : QList<qreal>{18, 6}; break;
    case 2: pattern = geometric ? QList<qreal>{1, 1} : QList<qreal>{3, 3}; break;
    case 3: pattern = geometric ? QList<qreal>{3, 1, 1, 1} : QList<qreal>{9, 6, 3, 6}; break;
    case 4: pattern = geometric ? QList<qreal>{3, 1, 1, 1, 1, 1} : QList<qreal>{9, 3, 3, 3, 3, 3}; break;
    case 7:
        for (qreal d : p.dashes)
            pattern << std::max<qreal>(d * (geometric ? scale / width : mCosmetic / width / unit), 0.01);
        if (pattern.size() % 2)
            pattern << pattern.last();
        break;
    case 8: pattern = {1, 1}; break;
    default: break;
    }
    if (!pattern.isEmpty()) {
        for (qreal &d : pattern)
            d *= unit;
        if (pen.capStyle() != Qt::FlatCap && (p.style & 0xF) != 7)
            pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(pattern);
    }
    return pen;
}

QBrush Canvas::qbrush(const LogBrush &b) const
{
    switch (b.style) {
    case 0: return QBrush(b.color);
    case 1: return Qt::NoBrush;
    case 2: {
        static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(b.color, b.hatch >= 0 && b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
    }
    default:
        if (b.pattern.isNull())
            return QBrush(b.color);
        QBrush brush(b.pattern);
        brush.setTransform(QTransform::fromScale(mCosmetic, mCosmetic));
        return brush;
    }
}

// ---- drawing ----

QPainterPath Canvas::mapToTarget(const QPainterPath &logical)
{
    return toTarget().map(logical);
}

QPainterPath Canvas::tame(const QPainterPath &path) const
{
    const QRectF box = path.controlPointRect();
    if (std::abs(box.left()) < kFar && std::abs(box.right()) < kFar && std::abs(box.top()) < kFar
        && std::abs(box.bottom()) < kFar)
        return path;
    if (!std::isfinite(box.width()) || !std::isfinite(box.height()))
        return {};
    QPainterPath window;
    window.addRect(mTarget.adjusted(-1000, -1000, 1000, 1000));
    return path.intersected(window);
}

bool Canvas::beginRop()
{
    const bool rasterOps = mPainter.paintEngine() && mPainter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    switch (mDc.rop2) {
    case 11: return false; // R2_NOP
    case 6: // R2_NOT
        if (!rasterOps)
            return false;
        mPainter.setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    case 7: // R2_XORPEN
        mPainter.setCompositionMode(rasterOps ? QPainter::RasterOp_SourceXorDestination : QPainter::CompositionMode_Difference);
        break;
    case 10: // R2_NOTXORPEN
        if (rasterOps)
            mPainter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        break;
    case 9: // R2_MASKPEN
        mPainter.setCompositionMode(rasterOps ? QPainter::RasterOp_SourceAndDestination : QPainter::CompositionMode_Multiply);
        break;
    case 15: // R2_MERGEPEN
        mPainter.setCompositionMode(rasterOps ? QPainter::RasterOp_SourceOrDestination : QPainter::CompositionMode_Lighten);
        break;
    default: return true;
    }
    mPainter.setRenderHint(QPainter::Antialiasing, false);
    return true;
}

void Canvas::endRop()
{
    mPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    mPainter.setRenderHint(QPainter::Antialiasing, true);
}

void Canvas::drawTarget(QPainterPath path, bool fill, bool stroke, const LogBrush &brush)
{
    path = tame(path);
    if (path.isEmpty() || !beginRop())
        return;
    const int rop = mDc.rop2;
    auto forced = [rop](QColor c) {
        if (rop == 1) return QColor(Qt::black);
        if (rop == 16) return QColor(Qt::white);
        if (rop == 4) return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
        return c;
    };
    if (fill && !brush.isNull()) {
        path.setFillRule(mDc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
        if (brush.style == 2 && mDc.bkMode == 2)
            mPainter.fillPath(path, forced(mDc.bkColor));
        QBrush qb = qbrush(brush);
        if (qb.style() != Qt::TexturePattern)
            qb.setColor(forced(qb.color()));
        mPainter.fillPath(path, qb);
    }
    if (stroke) {
        QPen pen = qpen();
        if (pen.style() != Qt::NoPen) {
            pen.setColor(forced(pen.color()));
            if (pen.style() == Qt::CustomDashLine && mDc.bkMode == 2) {
                QPen under = pen;
                under.setStyle(Qt::SolidLine);
                under.setColor(forced(mDc.bkColor));
                mPainter.strokePath(path, under);
            }
            mPainter.strokePath(path, pen);
        }
    }
    endRop();
}

void Canvas::draw(QPainterPath logical, bool fill, bool stroke)
{
    QPainterPath target = mapToTarget(logical);
    if (mPathOpen) {
        addToPath(target, fill);
        return;
    }
    drawTarget(target, fill, stroke, mDc.brush);
}

void Canvas::addToPath(const QPainterPath &target, bool closed)
{
    mPath.addPath(target);
    mFigureOpen = !closed && !target.isEmpty();
}

void Canvas::continueFigureAt(QPointF targetPoint)
{
    if (!mFigureOpen) {
        mPath.moveTo(targetPoint);
        mFigureOpen = true;
    }
}

void Canvas::moveTo(QPointF p)
{
    mDc.position = p;
    if (mPathOpen) {
        mPath.moveTo(mapToTarget(p));
        mFigureOpen = true;
    }
}

void Canvas::lineTo(QPointF p)
{
    if (mPathOpen) {
        continueFigureAt(mapToTarget(mDc.position));
        mPath.lineTo(mapToTarget(p));
    } else {
        QPainterPath line(mDc.position);
        line.lineTo(p);
        draw(line, false, true);
    }
    mDc.position = p;
}

void Canvas::polyline(const QPolygonF &points, bool fromCurrent)
{
    if (points.isEmpty())
        return;
    if (mPathOpen) {
        const QPolygonF mapped = toTarget().map(points);
        if (fromCurrent)
            continueFigureAt(mapToTarget(mDc.position));
        else
            mPath.moveTo(mapped.first());
        for (qsizetype i = fromCurrent ? 0 : 1; i < mapped.size(); ++i)
            mPath.lineTo(mapped[i]);
        mFigureOpen = true;
    } else {
        QPainterPath path(fromCurrent ? mDc.position : points.first());
        for (qsizetype i = fromCurrent ? 0 : 1; i < points.size(); ++i)
            path.lineTo(points[i]);
        drawTarget(mapToTarget(path), false, true, mDc.brush);
    }
    if (fromCurrent)
        mDc.position = points.last();
}

void Canvas::polyBezier(const QPolygonF &points, bool fromCurrent)
{
    if (points.isEmpty())
        return;
    QPainterPath path(fromCurrent ? mDc.position : points.first());
    qsizetype i = fromCurrent ? 0 : 1;
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (mPathOpen) {
        const QPainterPath mapped = mapToTarget(path);
        if (fromCurrent && mFigureOpen) {
            for (int e = 1; e < mapped.elementCount(); e += 3) {
                if (e + 2 < mapped.elementCount())
                    mPath.cubicTo(mapped.elementAt(e), mapped.elementAt(e + 1), mapped.elementAt(e + 2));
            }
        } else {
            mPath.addPath(mapped);
        }
        mFigureOpen = true;
    } else {
        drawTarget(mapToTarget(path), false, true, mDc.brush);
    }
    if (fromCurrent)
        mDc.position = points.last();
}

void Canvas::polyDraw(const QPolygonF &points, const QByteArray &types)
{
    // PT_MOVETO 6, PT_LINETO 2, PT_BEZIERTO 4, PT_CLOSEFIGURE 1.
    QPainterPath path(mDc.position);
    for (qsizetype i = 0; i < points.size() && i < types.size(); ++i) {
        const int type = quint8(types[i]);
        switch (type & 6) {
        case 6: path.moveTo(points[i]); break;
        case 2: path.lineTo(points[i]); break;
        case 4:
            if (i + 2 < points.size()) {
                path.cubicTo(points[i], points[i + 1], points[i + 2]);
                i += 2;
            }
            break;
        default: break;
        }
        if (type & 1)
            path.closeSubpath();
    }
    if (!points.isEmpty())
        mDc.position = points.last();
    draw(path, false, true);
}

void Canvas::polygons(const QList<QPolygonF> &polys)
{
    QPainterPath path;
    for (const QPolygonF &poly : polys) {
        if (poly.size() < 2)
            continue;
        path.addPolygon(poly);
        path.closeSubpath();
    }
    draw(path, true, true);
}

void Canvas::polylines(const QList<QPolygonF> &polys)
{
    QPainterPath path;
    for (const QPolygonF &poly : polys)
        if (!poly.isEmpty())
            path.addPolygon(poly);
    draw(path, false, true);
}

void Canvas::rectangle(const QRectF &rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    draw(path, true, true);
}

void Canvas::roundRect(const QRectF &rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    draw(path, true, true);
}

void Canvas::ellipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    draw(path, true, true);
}

void Canvas::arc(ArcKind kind, const QRectF &box, QPointF start, QPointF end)
{
    const QRectF rect = box.normalized();
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const QPointF c = rect.center();
    auto angle = [&](QPointF p) {
        return qRadiansToDegrees(std::atan2(-(p.y() - c.y()) / rect.height(), (p.x() - c.x()) / rect.width()));
    };
    const double a0 = angle(start);
    double sweep = angle(end) - a0;
    if (mDc.arcClockwise) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    path.arcMoveTo(rect, a0);
    const QPointF arcStart = path.currentPosition();
    if (kind == ArcKind::ArcTo) {
        path = QPainterPath(mDc.position);
        path.lineTo(arcStart);
    }
    path.arcTo(rect, a0, sweep);
    if (kind == ArcKind::ArcTo)
        mDc.position = path.currentPosition();
    if (kind == ArcKind::Pie) {
        path.lineTo(c);
        path.closeSubpath();
    } else if (kind == ArcKind::Chord) {
        path.closeSubpath();
    }
    const bool closed = kind == ArcKind::Pie || kind == ArcKind::Chord;
    if (mPathOpen && kind == ArcKind::ArcTo) {
        const QPainterPath mapped = mapToTarget(path);
        continueFigureAt(mapped.elementAt(0));
        mPath.connectPath(mapped);
        mFigureOpen = true;
        return;
    }
    draw(path, closed, true);
}

void Canvas::angleArc(QPointF center, double radius, double startDeg, double sweepDeg)
{
    if (!std::isfinite(startDeg) || !std::isfinite(sweepDeg) || radius <= 0)
        return;
    sweepDeg = std::clamp(sweepDeg, -3600.0, 3600.0);
    const QRectF rect(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(mDc.position);
    path.arcTo(rect, std::fmod(startDeg, 360.0), sweepDeg);
    mDc.position = path.currentPosition();
    draw(path, false, true);
}

void Canvas::setPixel(QPointF p, const QColor &color)
{
    if (mPathOpen)
        return;
    const QPointF t = mapToTarget(p);
    if (std::abs(t.x()) > kFar || std::abs(t.y()) > kFar)
        return;
    mPainter.fillRect(QRectF(t, QSizeF(mCosmetic, mCosmetic)), color);
}

// ---- regions ----

void Canvas::fillRegion(const QPainterPath &region, const LogBrush &brush)
{
    drawTarget(region, true, false, brush);
}

void Canvas::frameRegion(const QPainterPath &region, const LogBrush &brush, QSizeF stroke)
{
    // The frame is the band of the given width inside the region's outline.
    if (region.isEmpty())
        return;
    const double width = std::clamp((stroke.width() + stroke.height()) / 2, 1.0, 1e4);
    QPainterPathStroker stroker;
    stroker.setWidth(2 * width);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setCapStyle(Qt::SquareCap);
    const QPainterPath band = stroker.createStroke(tame(region.simplified())).intersected(region);
    drawTarget(band, true, false, brush);
}

void Canvas::invertRegion(const QPainterPath &region)
{
    if (!mPainter.paintEngine() || !mPainter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        return;
    mPainter.setCompositionMode(QPainter::RasterOp_NotDestination);
    mPainter.fillPath(tame(region), Qt::black);
    mPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::gradientRect(const QRectF &rect, const QColor &from, const QColor &to, bool vertical)
{
    if (mPathOpen)
        return;
    const QRectF r = rect.normalized();
    QLinearGradient gradient(r.topLeft(), vertical ? r.bottomLeft() : r.topRight());
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    QPainterPath path;
    path.addRect(r);
    mPainter.save();
    mPainter.setTransform(toTarget(), true);
    mPainter.fillPath(path, gradient);
    mPainter.restore();
}

void Canvas::gradientTriangle(const QPolygonF &triangle, const QColor (&colors)[3])
{
    // Colours interpolated between the corners, pixel by pixel over the triangle's
    // box in the target.
    if (mPathOpen || triangle.size() != 3)
        return;
    const QPolygonF t = toTarget().map(triangle);
    const QRect box = t.boundingRect().toAlignedRect().intersected(mTarget.toAlignedRect());
    const double area = (t[1].x() - t[0].x()) * (t[2].y() - t[0].y()) - (t[2].x() - t[0].x()) * (t[1].y() - t[0].y());
    if (box.isEmpty() || area == 0 || !std::isfinite(area) || qint64(box.width()) * box.height() > 16'000'000)
        return;
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < box.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double py = box.top() + y + 0.5;
        for (int x = 0; x < box.width(); ++x) {
            const double px = box.left() + x + 0.5;
            const double w1 = ((px - t[0].x()) * (t[2].y() - t[0].y()) - (t[2].x() - t[0].x()) * (py - t[0].y())) / area;
            const double w2 = ((t[1].x() - t[0].x()) * (py - t[0].y()) - (px - t[0].x()) * (t[1].y() - t[0].y())) / area;
            const double w0 = 1 - w1 - w2;
            if (w0 < 0 || w1 < 0 || w2 < 0)
                continue;
            auto mix = [&](int (QColor::*part)() const) {
                return std::clamp(int(w0 * (colors[0].*part)() + w1 * (colors[1].*part)() + w2 * (colors[2].*part)() + 0.5), 0, 255);
            };
            line[x] = qRgb(mix(&QColor::red), mix(&QColor::green), mix(&QColor::blue));
        }
    }
    mPainter.drawImage(box.topLeft(), image);
}

// ---- clipping ----

void Canvas::applyClip()
{
    QPainterPath clip;
    clip.addRect(mTarget);
    if (mCallerClip)
        clip = clip.intersected(*mCallerClip);
    if (mDc.clip)
        clip = clip.intersected(*mDc.clip);
    mPainter.setClipPath(clip, Qt::ReplaceClip);
}

void Canvas::selectClip(std::optional<QPainterPath> path, ClipMode mode)
{
    QPainterPath current;
    if (mDc.clip) {
        current = *mDc.clip;
    } else {
        current.addRect(mTarget.adjusted(-1, -1, 1, 1));
    }
    if (!path) {
        if (mode == ClipMode::Copy)
            mDc.clip.reset();
        applyClip();
        return;
    }
    QPainterPath p = tame(*path);
    p.setFillRule(Qt::WindingFill);
    switch (mode) {
    case ClipMode::And: mDc.clip = current.intersected(p); break;
    case ClipMode::Or: mDc.clip = current.united(p); break;
    case ClipMode::Xor: mDc.clip = current.united(p).subtracted(current.intersected(p)); break;
    case ClipMode::Diff: mDc.clip = current.subtracted(p); break;
    case ClipMode::Copy: mDc.clip = p; break;
    }
    applyClip();
}

void Canvas::intersectClipRect(const QRectF &rect)
{
    QPainterPath p;
    p.addRect(rect.normalized());
    selectClip(mapToTarget(p), ClipMode::And);
}

void Canvas::excludeClipRect(const QRectF &rect)
{
    QPainterPath p;
    p.addRect(rect.normalized());
    selectClip(mapToTarget(p), ClipMode::Diff);
}

void Canvas::offsetClip(QPointF logicalDelta)
{
    if (!mDc.clip)
        return;
    const QPointF d = mapToTarget(logicalDelta) - mapToTarget(QPointF(0, 0));
    mDc.clip = QTransform::fromTranslate(d.x(), d.y()).map(*mDc.clip);
    applyClip();
}

// ---- path bracket ----

void Canvas::beginPath()
{
    mPathOpen = true;
    mFigureOpen = false;
    mPath = QPainterPath();
}

void Canvas::endPath()
{
    if (!mPathOpen)
        return;
    mPathOpen = false;
    mFinishedPath = mPath;
    mPath = QPainterPath();
}

void Canvas::abortPath()
{
    mPathOpen = false;
    mPath = QPainterPath();
    mFinishedPath = QPainterPath();
}

void Canvas::closeFigure()
{
    if (mPathOpen) {
        mPath.closeSubpath();
        mFigureOpen = false;
    }
}

void Canvas::fillPath()
{
    if (mPathOpen)
        endPath();
    drawTarget(mFinishedPath, true, false, mDc.brush);
    mFinishedPath = QPainterPath();
}

void Canvas::strokePath()
{
    if (mPathOpen)
        endPath();
    drawTarget(mFinishedPath, false, true, mDc.brush);
    mFinishedPath = QPainterPath();
}

void Canvas::strokeAndFillPath()
{
    if (mPathOpen)
        endPath();
    drawTarget(mFinishedPath, true, true, mDc.brush);
    mFinishedPath = QPainterPath();
}

void Canvas::flattenPath()
{
    QPainterPath &path = mPathOpen ? mPath : mFinishedPath;
    QPainterPath flat;
    for (const QPolygonF &poly : path.toSubpathPolygons())
        flat.addPolygon(poly);
    path = flat;
}

void Canvas::widenPath()
{
    QPainterPath &path = mPathOpen ? mPath : mFinishedPath;
    const QPen pen = qpen();
    if (pen.style() == Qt::NoPen)
        return;
    QPainterPathStroker stroker(pen);
    path = stroker.createStroke(tame(path));
}

void Canvas::selectClipPath(ClipMode mode)
{
    if (mPathOpen)
        endPath();
    QPainterPath path = mFinishedPath;
    path.setFillRule(mDc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    // Normalise the fill rule before combining so that odd-even areas survive.
    QPainterPath simple = path.simplified();
    selectClip(simple, mode);
    mFinishedPath = QPainterPath();
}

} // namespace pelorin::metafile
