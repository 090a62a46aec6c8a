#include "imaging/metafile/canvas.h"

#include "imaging/metafile/metafileheader.h"

#include <QtMath>

#include <cmath>

namespace pelorin::metafile {

namespace {

constexpr int kMaxObjects = 65536;
constexpr int kMaxSaveDepth = 4096;

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

// Millimetres per logical unit of the metric and English mapping modes.
double unitMillimetres(int mapMode)
{
    switch (mapMode) {
    case 2: return 0.1;         // LOMETRIC
    case 3: return 0.01;        // HIMETRIC
    case 4: return 0.254;       // LOENGLISH
    case 5: return 0.0254;      // HIENGLISH
    default: return 25.4 / 1440; // TWIPS
    }
}

} // namespace

Canvas::Canvas(QPainter &painter, const QRectF &target, const QRectF &frame, QSize naturalSize, bool enhanced,
               QSizeF devicePixelsPerMm)
    : mPainter(painter), mTarget(target), mFrame(frame), mEnhanced(enhanced), mPxPerMm(devicePixelsPerMm)
{
    mPainter.save();
    if (mPainter.hasClipping())
        mCallerClip = mPainter.clipRegion(); // in the painter's coordinates, as ours are
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
        case 2: case 3: case 4: case 5: case 6:
            sx = mmX * unitMillimetres(d.mapMode);
            sy = -mmY * unitMillimetres(d.mapMode);
            break;
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
    } else if (d.mapMode >= 2 && d.mapMode <= 6) {
        // The metric and English modes fix the size of a unit and point y up: the
        // drawing keeps its physical size, placed from the target's top-left corner.
        const double px = unitMillimetres(d.mapMode) * kScreenDpi / 25.4;
        mToTarget = QTransform::fromTranslate(-d.windowOrg.x(), -d.windowOrg.y())
            * QTransform::fromScale(px * mNaturalScale.width(), -px * mNaturalScale.height())
            * QTransform::fromTranslate(mTarget.left() + d.viewportOrg.x() * mNaturalScale.width(),
                                        mTarget.top() + d.viewportOrg.y() * mNaturalScale.height());
        if (!finiteTransform(mToTarget) || mToTarget.determinant() == 0 || !std::isfinite(mToTarget.determinant()))
            mToTarget = mFrameToTarget;
        return;
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
    double width = p.width * scale;
    if (p.width <= 0 || (p.extended && !geometric))
        width = mCosmetic;
    // A pen wider than twice the target covers all of it already.
    width = std::clamp(width, 1.0, std::max(1.0, 2 * std::hypot(mTarget.width(), mTarget.height())));
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
    const double unit = geometric ? 1.0 : std::max(mCosmetic, 1.0) / width; // never finer than the device
    QList<qreal> pattern;
    // Pens of the plain kind wider than one device pixel are always solid.
    const int style = !p.extended && p.width * scale / mCosmetic > 1.5 ? 0 : p.style & 0xF;
    switch (style) {
    case 1: pattern = geometric ? QList<qreal>{3, 1} : QList<qreal>{18, 6}; break;
    case 2: pattern = geometric ? QList<qreal>{1, 1} : QList<qreal>{3, 3}; break;
    case 3: pattern = geometric ? QList<qreal>{3, 1, 1, 1} : QList<qreal>{9, 6, 3, 6}; break;
    case 4: pattern = geometric ? QList<qreal>{3, 1, 1, 1, 1, 1} : QList<qreal>{9, 3, 3, 3, 3, 3}; break;
    case 7:
        for (qreal d : p.dashes)
            pattern << std::max<qreal>(d * (geometric ? scale / width : 1.0), 0.01);
        if (pattern.size() % 2)
            pattern << pattern.last();
        break;
    case 8: pattern = {1, 1}; break;
    default: break;
    }
    if (!pattern.isEmpty()) {
        for (qreal &d : pattern)
            d *= unit;
        if (pen.capStyle() != Qt::FlatCap && style != 7)
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

} // namespace pelorin::metafile
