// Bitmap operations: stretching a bitmap into a logical rectangle under a ternary
// raster operation, as far as QPainter's composition modes can express it.
#include "imaging/metafile/canvas.h"

#include <QPaintEngine>

#include <cmath>

namespace pelorin::metafile {

namespace {

// The ternary raster operations by their index (the high word's low byte).
enum RopIndex : quint8 {
    kBlackness = 0x00,
    kNotSrcErase = 0x11,
    kNotSrcCopy = 0x33,
    kSrcErase = 0x44,
    kDstInvert = 0x55,
    kPatInvert = 0x5A,
    kSrcInvert = 0x66,
    kSrcAnd = 0x88,
    kNop = 0xAA,
    kMergePaint = 0xBB,
    kMergeCopy = 0xC0,
    kSrcCopy = 0xCC,
    kSrcPaint = 0xEE,
    kPatCopy = 0xF0,
    kPatPaint = 0xFB,
    kWhiteness = 0xFF,
};

QImage inverted(QImage image)
{
    image.invertPixels();
    return image;
}

} // namespace

void Canvas::bitBlt(const QImage &image, const QRectF &dest, const QRectF &src, quint32 rop, bool useAlpha)
{
    if (mPathOpen)
        return;
    const quint8 index = quint8((rop >> 16) & 0xFF);
    const bool rasterOps = mPainter.paintEngine() && mPainter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    QPainterPath area;
    area.addRect(dest.normalized());
    const QPainterPath targetArea = tame(mapToTarget(area), true);
    if (targetArea.isEmpty())
        return;

    switch (index) {
    case kNop: return;
    case kBlackness: mPainter.fillPath(targetArea, Qt::black); return;
    case kWhiteness: mPainter.fillPath(targetArea, Qt::white); return;
    case kDstInvert:
        invertRegion(targetArea);
        return;
    case kPatCopy:
        drawTarget(targetArea, true, false, mDc.brush);
        return;
    case kPatInvert:
        if (rasterOps) {
            mPainter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            mPainter.fillPath(targetArea, qbrush(mDc.brush));
            mPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        return;
    case kPatPaint:
        drawTarget(targetArea, true, false, mDc.brush);
        return;
    default: break;
    }
    if (image.isNull())
        return;

    QRectF source = src.isValid() ? src.normalized() : QRectF(image.rect());
    source = source.intersected(QRectF(image.rect()));
    if (source.isEmpty())
        return;
    // A mirrored destination mirrors the bitmap.
    QImage picture = image;
    const bool flipX = dest.width() < 0, flipY = dest.height() < 0;
    if (flipX || flipY) {
        picture = image.copy(source.toAlignedRect()).mirrored(flipX, flipY);
        source = QRectF(picture.rect());
    }
    if (!useAlpha && picture.hasAlphaChannel() && index != kSrcCopy)
        picture = picture.convertToFormat(QImage::Format_RGB32);

    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (index) {
    case kSrcCopy: case kMergeCopy: break;
    case kNotSrcCopy: picture = inverted(picture.convertToFormat(QImage::Format_RGB32)); break;
    case kSrcAnd: mode = rasterOps ? QPainter::RasterOp_SourceAndDestination : QPainter::CompositionMode_Multiply; break;
    case kSrcPaint: mode = rasterOps ? QPainter::RasterOp_SourceOrDestination : QPainter::CompositionMode_Lighten; break;
    case kSrcInvert: mode = rasterOps ? QPainter::RasterOp_SourceXorDestination : QPainter::CompositionMode_Difference; break;
    case kSrcErase: mode = rasterOps ? QPainter::RasterOp_SourceAndNotDestination : QPainter::CompositionMode_SourceOver; break;
    case kNotSrcErase: mode = rasterOps ? QPainter::RasterOp_NotSourceAndNotDestination : QPainter::CompositionMode_SourceOver; break;
    case kMergePaint:
        picture = inverted(picture.convertToFormat(QImage::Format_RGB32));
        mode = rasterOps ? QPainter::RasterOp_SourceOrDestination : QPainter::CompositionMode_Lighten;
        break;
    default: break; // anything else: the bitmap as it is
    }

    mPainter.save();
    mPainter.setCompositionMode(mode);
    mPainter.setTransform(toTarget(), true);
    // Enlarged bitmaps keep their pixels, as the default stretch modes do; reduced
    // ones, and any in HALFTONE mode, are smoothed.
    const QRectF shown = mPainter.transform().mapRect(dest.normalized());
    const bool reduced = shown.width() < source.width() || shown.height() < source.height();
    mPainter.setRenderHint(QPainter::SmoothPixmapTransform, reduced || mDc.stretchMode == 4);
    mPainter.drawImage(dest.normalized(), picture, source);
    mPainter.restore();
}

void Canvas::drawImageTransformed(const QImage &image, const QTransform &imageToLogical)
{
    if (mPathOpen || image.isNull())
        return;
    const QTransform full = imageToLogical * toTarget();
    const QRectF box = full.mapRect(QRectF(image.rect()));
    if (!std::isfinite(box.width()) || !std::isfinite(box.height()) || std::abs(box.left()) > 1e6
        || std::abs(box.top()) > 1e6 || box.width() > 1e6 || box.height() > 1e6)
        return;
    mPainter.save();
    mPainter.setTransform(full, true);
    mPainter.drawImage(QPointF(0, 0), image);
    mPainter.restore();
}

} // namespace pelorin::metafile
