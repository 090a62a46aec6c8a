// Clipping and the path bracket.
#include "imaging/metafile/canvas.h"

namespace pelorin::metafile {

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
