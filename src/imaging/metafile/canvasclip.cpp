// Clipping and the path bracket.
#include "imaging/metafile/canvas.h"

#include <cmath>

namespace pelorin::metafile {

// ---- clipping ----

// Clip regions are sets of whole pixels, as a device's are; combining them costs time
// in proportion to their rectangles, however many records build them up.
void Canvas::applyClip()
{
    QRegion clip(mTarget.toAlignedRect());
    if (mCallerClip)
        clip &= *mCallerClip;
    if (mDc.clip)
        clip &= *mDc.clip;
    mPainter.setClipRegion(clip, Qt::ReplaceClip);
}

void Canvas::selectClip(std::optional<QPainterPath> path, ClipMode mode)
{
    if (!path) {
        if (mode == ClipMode::Copy)
            mDc.clip.reset();
        applyClip();
        return;
    }
    path->setFillRule(Qt::WindingFill);
    combineClip(regionOf(*path), mode);
}

void Canvas::combineClip(const QRegion &p, ClipMode mode)
{
    const QRegion current = mDc.clip ? *mDc.clip : QRegion(mTarget.toAlignedRect().adjusted(-1, -1, 1, 1));
    switch (mode) {
    case ClipMode::And: mDc.clip = current & p; break;
    case ClipMode::Or: mDc.clip = current | p; break;
    case ClipMode::Xor: mDc.clip = current ^ p; break;
    case ClipMode::Diff: mDc.clip = current - p; break;
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
    if (!std::isfinite(d.x()) || !std::isfinite(d.y()))
        return;
    mDc.clip->translate(qRound(std::clamp(d.x(), -kFarCoordinate, kFarCoordinate)),
                        qRound(std::clamp(d.y(), -kFarCoordinate, kFarCoordinate)));
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
    path = stroker.createStroke(tame(path, false));
}

void Canvas::selectClipPath(ClipMode mode)
{
    if (mPathOpen)
        endPath();
    QPainterPath path = mFinishedPath;
    mFinishedPath = QPainterPath();
    // The current fill mode decides the path's pixels before they are combined.
    path.setFillRule(mDc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    combineClip(regionOf(path), mode);
}

} // namespace pelorin::metafile
