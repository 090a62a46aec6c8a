// Bitmap records of the EMF player: block transfers with their raster operations,
// masks, alpha and transparent colours.
#include "imaging/metafile/emfrecords.h"

namespace pelorin::metafile {

QImage EmfPlayer::masked(QImage image, const ByteReader &in, qint64 at, QPoint srcOrigin)
{
    const QPoint maskOrigin(in.i32(at), in.i32(at + 4));
    const QImage mask = bitmap(in, in.u32(at + 12), in.u32(at + 16), in.u32(at + 20), in.u32(at + 24), 0);
    if (mask.isNull())
        return image;
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const qint64 my = qint64(y) - srcOrigin.y() + maskOrigin.y();
        for (int x = 0; x < image.width(); ++x) {
            const qint64 mx = qint64(x) - srcOrigin.x() + maskOrigin.x();
            const bool set = mx >= 0 && my >= 0 && mx < mask.width() && my < mask.height() && qGray(mask.pixel(int(mx), int(my))) > 127;
            if (!set)
                line[x] = 0;
        }
    }
    return image;
}

void EmfPlayer::blt(quint32 type, const ByteReader &in)
{
    if (type == kPlgBlt) {
        // A parallelogram: the bitmap's top-left, top-right and bottom-left corners.
        const QPointF p0 = pointAt(in, 24), p1 = pointAt(in, 32), p2 = pointAt(in, 40);
        const QRectF src(in.i32(48), in.i32(52), in.i32(56), in.i32(60));
        QImage image = bitmap(in, in.u32(96), in.u32(100), in.u32(104), in.u32(108), int(in.u32(92)));
        if (image.isNull() || src.width() <= 0 || src.height() <= 0 || src.width() > 65535 || src.height() > 65535
            || std::abs(src.x()) > 65535 || std::abs(src.y()) > 65535)
            return;
        if (in.u32(128))
            image = masked(image, in, 112, src.topLeft().toPoint());
        const QTransform place((p1.x() - p0.x()) / src.width(), (p1.y() - p0.y()) / src.width(),
                               (p2.x() - p0.x()) / src.height(), (p2.y() - p0.y()) / src.height(), p0.x(), p0.y());
        const QRect part = src.toAlignedRect().intersected(image.rect());
        if (!part.isEmpty())
            mCanvas.drawImageTransformed(image.copy(part), QTransform::fromTranslate(part.x() - src.x(), part.y() - src.y()) * place);
        return;
    }
    switch (type) {
    case kBitBlt:
    case kStretchBlt:
    case kMaskBlt:
    case kAlphaBlend:
    case kTransparentBlt: {
        const QRectF dest(in.i32(24), in.i32(28), in.i32(32), in.i32(36));
        const quint32 rop = in.u32(40);
        const QPointF srcOrigin(in.i32(44), in.i32(48));
        const int usage = int(in.u32(80));
        const qint64 offBmi = in.u32(84), cbBmi = in.u32(88), offBits = in.u32(92), cbBits = in.u32(96);
        QSizeF srcSize = dest.size();
        if (type != kBitBlt && type != kMaskBlt && in.fits(100, 8))
            srcSize = QSizeF(in.i32(100), in.i32(104));
        if (cbBmi == 0) {
            mCanvas.bitBlt({}, dest, {}, type == kBitBlt || type == kStretchBlt ? rop : 0x00AA0029);
            return;
        }
        // The source's transform maps source pixels; only its scale is honoured.
        QImage image = bitmap(in, offBmi, cbBmi, offBits, cbBits, usage, type == kAlphaBlend);
        if (image.isNull())
            return;
        quint32 effective = rop;
        if (type == kAlphaBlend) {
            const int constantAlpha = int((rop >> 16) & 0xFF);
            if (constantAlpha < 255) {
                image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
                QImage faded(image.size(), QImage::Format_ARGB32_Premultiplied);
                faded.fill(Qt::transparent);
                QPainter p(&faded);
                p.setOpacity(constantAlpha / 255.0);
                p.drawImage(0, 0, image);
                p.end();
                image = faded;
            }
            effective = 0x00CC0020;
        } else if (type == kTransparentBlt) {
            // rop holds the transparent colour.
            const QColor key = mCanvas.colorRef(rop);
            image = image.convertToFormat(QImage::Format_ARGB32);
            const QRgb k = key.rgb() & 0xFFFFFF;
            for (int y = 0; y < image.height(); ++y) {
                QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == k)
                        line[x] = 0;
            }
            effective = 0x00CC0020;
        } else if (type == kMaskBlt) {
            if (in.u32(116))
                image = masked(image, in, 100, srcOrigin.toPoint());
            effective = 0x00CC0020;
        }
        mCanvas.bitBlt(image, dest, QRectF(srcOrigin, srcSize), effective,
                       type == kAlphaBlend || type == kTransparentBlt || type == kMaskBlt);
        return;
    }
    case kStretchDiBits: {
        const QRectF dest(in.i32(24), in.i32(28), in.i32(72), in.i32(76));
        QRectF src(in.i32(32), in.i32(36), in.i32(40), in.i32(44));
        const qint64 offBmi = in.u32(48), cbBmi = in.u32(52), offBits = in.u32(56), cbBits = in.u32(60);
        const int usage = int(in.u32(64));
        const quint32 rop = in.u32(68);
        const QImage image = bitmap(in, offBmi, cbBmi, offBits, cbBits, usage);
        if (image.isNull()) {
            mCanvas.bitBlt({}, dest, {}, rop);
            return;
        }
        src = dibSourceRect(src, image, in.slice(offBmi, cbBmi));
        mCanvas.bitBlt(image, dest, src, rop);
        return;
    }
    case kSetDiBitsToDevice: {
        const QPointF destOrigin(in.i32(24), in.i32(28));
        QRectF src(in.i32(32), in.i32(36), in.i32(40), in.i32(44));
        const qint64 offBmi = in.u32(48), cbBmi = in.u32(52), offBits = in.u32(56), cbBits = in.u32(60);
        const int usage = int(in.u32(64));
        const QImage image = bitmap(in, offBmi, cbBmi, offBits, cbBits, usage);
        if (image.isNull())
            return;
        // The bitmap keeps its size in device pixels.
        const QRectF dest(destOrigin, mCanvas.deviceSizeToLogical(src.size()));
        src = dibSourceRect(src, image, in.slice(offBmi, cbBmi));
        mCanvas.bitBlt(image, dest, src, 0x00CC0020);
        return;
    }
    default: return;
    }
}

} // namespace pelorin::metafile
