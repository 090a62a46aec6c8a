// Drawing: lines, curves, shapes and regions, carried out in the painter's
// coordinates with the current pen, brush and mix mode.
#include "imaging/metafile/canvas.h"

#include "imaging/metafile/pathclip.h"

#include <QPaintEngine>
#include <QtMath>

#include <cmath>

namespace pelorin::metafile {
// ---- drawing ----

QPainterPath Canvas::mapToTarget(const QPainterPath &logical)
{
    return toTarget().map(logical);
}

QRectF Canvas::window() const
{
    // Far enough beyond the target that no pen (at most twice the target's diagonal wide)
    // reaches into the target from the window's edge.
    const double margin = 1000 + 2 * std::hypot(mTarget.width(), mTarget.height());
    return mTarget.adjusted(-margin, -margin, margin, margin);
}

QPainterPath Canvas::tame(const QPainterPath &path, bool closed) const
{
    const QRectF box = path.controlPointRect();
    if (std::abs(box.left()) < kFarCoordinate && std::abs(box.right()) < kFarCoordinate && std::abs(box.top()) < kFarCoordinate
        && std::abs(box.bottom()) < kFarCoordinate)
        return path;
    if (!std::isfinite(box.width()) || !std::isfinite(box.height()))
        return {};
    return clipToRect(path, window(), closed);
}

QRegion Canvas::regionOf(const QPainterPath &targetPath) const
{
    // The region covers the pixels the path's fill covers, as a device's clip region does.
    const QPainterPath path = clipToRect(targetPath, window(), true);
    return QRegion(path.toFillPolygon().toPolygon(), path.fillRule());
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
    path = tame(path, fill);
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
        if (pen.style() == Qt::CustomDashLine) {
            // Dashes shorter than a pixel, or too many of them, are drawn as a line.
            double period = 0;
            for (qreal d : pen.dashPattern())
                period += d;
            period *= pen.widthF();
            if (!(period >= 0.5) || path.length() / period > 100000)
                pen.setStyle(Qt::SolidLine);
        }
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
    if (std::abs(t.x()) > kFarCoordinate || std::abs(t.y()) > kFarCoordinate)
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
    // The frame is the band inside the region's outline: the pixels that lie within the
    // stroke's width (or height) of a pixel outside it.
    const QRegion area = regionOf(region);
    if (area.isEmpty())
        return;
    const int w = qRound(std::clamp(std::abs(stroke.width()), 1.0, 1e4));
    const int h = qRound(std::clamp(std::abs(stroke.height()), 1.0, 1e4));
    const QRegion inner = area & area.translated(w, 0) & area.translated(-w, 0) & area.translated(0, h)
        & area.translated(0, -h);
    QPainterPath band;
    band.addRegion(area - inner);
    drawTarget(band, true, false, brush);
}

void Canvas::invertRegion(const QPainterPath &region)
{
    if (!mPainter.paintEngine() || !mPainter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        return;
    mPainter.setCompositionMode(QPainter::RasterOp_NotDestination);
    mPainter.fillPath(tame(region, true), Qt::black);
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
    const QRect box = t.boundingRect().intersected(mTarget).toAlignedRect();
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

} // namespace pelorin::metafile
