#include "imaging/metafile/emfplayer.h"

#include "imaging/metafile/emfrecords.h"
#include "imaging/metafile/metafileheader.h"
#include "imaging/metafile/textcodec.h"

#include <cmath>

namespace pelorin::metafile {

QPolygonF pointsAt(const ByteReader &in, qint64 at, qint64 count, bool small)
{
    const int size = small ? 4 : 8;
    in.require(at, count * size);
    QPolygonF points;
    points.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 p = at + i * size;
        points << (small ? QPointF(in.i16(p), in.i16(p + 2)) : QPointF(in.i32(p), in.i32(p + 4)));
    }
    return points;
}

QPainterPath regionAt(const ByteReader &in, qint64 at, qint64 size)
{
    QPainterPath path;
    if (size < 32)
        return path;
    const qint64 count = in.u32(at + 8);
    const qint64 fit = std::min<qint64>(count, (size - 32) / 16);
    for (qint64 i = 0; i < fit; ++i)
        path.addRect(rectAt(in, at + 32 + 16 * i).normalized());
    path.setFillRule(Qt::WindingFill);
    return path;
}

namespace {

std::optional<QTransform> xformAt(const ByteReader &in, qint64 at)
{
    const QTransform t(in.f32(at), in.f32(at + 4), in.f32(at + 8), in.f32(at + 12), in.f32(at + 16), in.f32(at + 20));
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        if (!std::isfinite(v) || std::abs(v) > 1e12)
            return std::nullopt;
    if (t.determinant() == 0 || !std::isfinite(t.determinant()))
        return std::nullopt;
    return t;
}

} // namespace

void EmfPlayer::polyPoly(const ByteReader &in, bool small, bool polygon)
{
    const qint64 count = in.u32(24);
    const qint64 total = in.u32(28);
    in.require(32, count * 4);
    qint64 at = 32 + count * 4;
    in.require(at, total * (small ? 4 : 8));
    QList<QPolygonF> polys;
    qint64 used = 0;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 n = in.u32(32 + 4 * i);
        if (n > total - used)
            break;
        polys << pointsAt(in, at, n, small);
        at += n * (small ? 4 : 8);
        used += n;
    }
    if (polygon)
        mCanvas.polygons(polys);
    else
        mCanvas.polylines(polys);
}

LogPen EmfPlayer::extPen(const ByteReader &in)
{
    LogPen pen;
    pen.extended = true;
    pen.style = int(in.u32(28));
    pen.width = in.u32(32);
    const quint32 brushStyle = in.u32(36);
    pen.color = mCanvas.colorRef(in.u32(40));
    if (brushStyle == 1) // BS_NULL
        pen.style = (pen.style & ~0xF) | 5;
    const qint64 entries = std::min<qint64>(in.u32(48), 16);
    if ((pen.style & 0xF) == 7)
        for (qint64 i = 0; i < entries && in.fits(52 + 4 * i, 4); ++i)
            pen.dashes << in.u32(52 + 4 * i);
    return pen;
}

// Where the monochrome mask (at the record's mask fields, starting at at) is clear,
// the destination stays as it is.
void EmfPlayer::play(quint32 type, const ByteReader &in)
{
    DcState &dc = mCanvas.dc();
    switch (type) {
    case kPolyBezier: mCanvas.polyBezier(pointsAt(in, 28, in.u32(24), false), false); break;
    case kPolyBezier16: mCanvas.polyBezier(pointsAt(in, 28, in.u32(24), true), false); break;
    case kPolyBezierTo: mCanvas.polyBezier(pointsAt(in, 28, in.u32(24), false), true); break;
    case kPolyBezierTo16: mCanvas.polyBezier(pointsAt(in, 28, in.u32(24), true), true); break;
    case kPolygon: mCanvas.polygons({pointsAt(in, 28, in.u32(24), false)}); break;
    case kPolygon16: mCanvas.polygons({pointsAt(in, 28, in.u32(24), true)}); break;
    case kPolyline: mCanvas.polyline(pointsAt(in, 28, in.u32(24), false), false); break;
    case kPolyline16: mCanvas.polyline(pointsAt(in, 28, in.u32(24), true), false); break;
    case kPolylineTo: mCanvas.polyline(pointsAt(in, 28, in.u32(24), false), true); break;
    case kPolylineTo16: mCanvas.polyline(pointsAt(in, 28, in.u32(24), true), true); break;
    case kPolyPolyline: polyPoly(in, false, false); break;
    case kPolyPolyline16: polyPoly(in, true, false); break;
    case kPolyPolygon: polyPoly(in, false, true); break;
    case kPolyPolygon16: polyPoly(in, true, true); break;
    case kPolyDraw:
    case kPolyDraw16: {
        const qint64 n = in.u32(24);
        const bool small = type == kPolyDraw16;
        const QPolygonF points = pointsAt(in, 28, n, small);
        const QByteArrayView types = in.slice(28 + n * (small ? 4 : 8), n);
        mCanvas.polyDraw(points, types.toByteArray());
        break;
    }

    case kSetWindowExtEx: dc.windowExt = QSizeF(in.i32(8), in.i32(12)); mCanvas.mappingChanged(); break;
    case kSetWindowOrgEx: dc.windowOrg = pointAt(in, 8); mCanvas.mappingChanged(); break;
    case kSetViewportExtEx: dc.viewportExt = QSizeF(in.i32(8), in.i32(12)); mCanvas.mappingChanged(); break;
    case kSetViewportOrgEx: dc.viewportOrg = pointAt(in, 8); mCanvas.mappingChanged(); break;
    case kScaleViewportExtEx:
    case kScaleWindowExtEx: {
        const double xNum = in.i32(8), xDen = in.i32(12), yNum = in.i32(16), yDen = in.i32(20);
        if (xDen == 0 || yDen == 0)
            break;
        QSizeF &ext = type == kScaleWindowExtEx ? dc.windowExt : dc.viewportExt;
        ext = QSizeF(ext.width() * xNum / xDen, ext.height() * yNum / yDen);
        mCanvas.mappingChanged();
        break;
    }
    case kSetMapMode: dc.mapMode = int(in.u32(8)); mCanvas.mappingChanged(); break;
    case kSetWorldTransform:
        if (const auto t = xformAt(in, 8)) {
            dc.world = *t;
            mCanvas.mappingChanged();
        }
        break;
    case kModifyWorldTransform: {
        const quint32 mode = in.u32(32);
        if (mode == 1) {
            dc.world = QTransform();
        } else if (const auto t = xformAt(in, 8)) {
            if (mode == 2)
                dc.world = *t * dc.world;
            else if (mode == 3)
                dc.world = dc.world * *t;
            else if (mode == 4)
                dc.world = *t;
        }
        mCanvas.mappingChanged();
        break;
    }
    case kSetBrushOrgEx: dc.brushOrg = pointAt(in, 8); break;
    case kSetBkMode: dc.bkMode = int(in.u32(8)); break;
    case kSetPolyFillMode: dc.polyFillMode = int(in.u32(8)); break;
    case kSetRop2: dc.rop2 = int(in.u32(8)); break;
    case kSetStretchBltMode: dc.stretchMode = int(in.u32(8)); break;
    case kSetTextAlign: dc.textAlign = in.u32(8); break;
    case kSetTextJustification:
        dc.breakExtra = in.i32(8);
        dc.breakCount = in.i32(12);
        break;
    case kSetTextColor: dc.textColor = mCanvas.colorRef(in.u32(8)); break;
    case kSetBkColor: dc.bkColor = mCanvas.colorRef(in.u32(8)); break;
    case kSetArcDirection: dc.arcClockwise = in.u32(8) == 2; break;
    case kSetMiterLimit: dc.miterLimit = in.u32(8); break;
    case kSaveDc: mCanvas.saveDc(); break;
    case kRestoreDc: mCanvas.restoreDc(in.i32(8)); break;

    case kSelectObject: mCanvas.selectObject(in.u32(8)); break;
    case kSelectPalette: mCanvas.selectObject(in.u32(8)); break;
    case kDeleteObject: mCanvas.deleteObject(in.u32(8)); break;
    case kCreatePen: {
        LogPen pen;
        pen.style = int(in.u32(12));
        pen.width = in.i32(16);
        pen.color = mCanvas.colorRef(in.u32(24));
        mCanvas.createObject(in.u32(8), pen);
        break;
    }
    case kExtCreatePen: mCanvas.createObject(in.u32(8), extPen(in)); break;
    case kCreateBrushIndirect: {
        LogBrush brush;
        brush.style = int(in.u32(12));
        brush.color = mCanvas.colorRef(in.u32(16));
        brush.hatch = int(in.u32(20));
        mCanvas.createObject(in.u32(8), brush);
        break;
    }
    case kCreateMonoBrush:
    case kCreateDibPatternBrushPt: {
        LogBrush brush;
        brush.style = 5;
        brush.pattern = bitmap(in, in.u32(16), in.u32(20), in.u32(24), in.u32(28), int(in.u32(12)));
        if (type == kCreateMonoBrush && brush.pattern.depth() > 0) {
            // Monochrome brushes paint set bits in the background colour, clear ones in the text colour.
            QImage mono = brush.pattern.convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < mono.height(); ++y) {
                QRgb *line = reinterpret_cast<QRgb *>(mono.scanLine(y));
                for (int x = 0; x < mono.width(); ++x)
                    line[x] = qGray(line[x]) > 127 ? dc.bkColor.rgb() : dc.textColor.rgb();
            }
            brush.pattern = mono;
        }
        mCanvas.createObject(in.u32(8), brush);
        break;
    }
    case kCreatePalette: {
        Palette palette;
        const int count = in.u16(14);
        for (int i = 0; i < count && in.fits(16 + 4 * i, 4); ++i)
            palette.colors << qRgb(in.u8(16 + 4 * i), in.u8(17 + 4 * i), in.u8(18 + 4 * i));
        mCanvas.createObject(in.u32(8), palette);
        break;
    }
    case kExtCreateFontIndirectW: {
        LogFont font;
        font.height = in.i32(12);
        font.width = in.i32(16);
        font.escapement = in.i32(20);
        font.orientation = in.i32(24);
        font.weight = in.i32(28);
        font.italic = in.u8(32);
        font.underline = in.u8(33);
        font.strikeOut = in.u8(34);
        font.charset = in.u8(35);
        font.pitchAndFamily = in.u8(39);
        const qint64 faceBytes = std::min<qint64>(64, in.size() - 40);
        if (faceBytes > 0) {
            const QByteArrayView face = in.slice(40, faceBytes & ~1);
            QString name = QString::fromUtf16(reinterpret_cast<const char16_t *>(face.data()), face.size() / 2);
            const qsizetype nul = name.indexOf(QChar(0));
            if (nul >= 0)
                name.truncate(nul);
            font.face = name.trimmed();
        }
        mCanvas.createObject(in.u32(8), font);
        break;
    }

    case kMoveToEx: mCanvas.moveTo(pointAt(in, 8)); break;
    case kLineTo: mCanvas.lineTo(pointAt(in, 8)); break;
    case kSetPixelV: mCanvas.setPixel(pointAt(in, 8), mCanvas.colorRef(in.u32(16))); break;
    case kRectangle: mCanvas.rectangle(rectAt(in, 8)); break;
    case kEllipse: mCanvas.ellipse(rectAt(in, 8)); break;
    case kRoundRect: mCanvas.roundRect(rectAt(in, 8), QSizeF(in.i32(24), in.i32(28))); break;
    case kArc: mCanvas.arc(ArcKind::Arc, rectAt(in, 8), pointAt(in, 24), pointAt(in, 32)); break;
    case kArcTo: mCanvas.arc(ArcKind::ArcTo, rectAt(in, 8), pointAt(in, 24), pointAt(in, 32)); break;
    case kChord: mCanvas.arc(ArcKind::Chord, rectAt(in, 8), pointAt(in, 24), pointAt(in, 32)); break;
    case kPie: mCanvas.arc(ArcKind::Pie, rectAt(in, 8), pointAt(in, 24), pointAt(in, 32)); break;
    case kAngleArc: mCanvas.angleArc(pointAt(in, 8), in.u32(16), in.f32(20), in.f32(24)); break;

    case kExtTextOutA:
    case kExtTextOutW: text(in, 36, type == kExtTextOutW, int(in.u32(24))); break;
    case kPolyTextOutA:
    case kPolyTextOutW: {
        const qint64 count = std::min<qint64>(in.u32(36), (in.size() - 40) / 40);
        for (qint64 i = 0; i < count; ++i)
            text(in, 40 + 40 * i, type == kPolyTextOutW, int(in.u32(24)));
        break;
    }
    case kSmallTextOut: {
        const QPointF ref(in.i32(8), in.i32(12));
        const qint64 chars = in.u32(16);
        const quint32 options = in.u32(20);
        qint64 at = 36;
        std::optional<QRectF> rect;
        if (!(options & 0x100)) {
            rect = rectAt(in, at);
            at += 16;
        }
        QString s;
        if (options & 0x200) { // ETO_SMALL_CHARS: 8-bit
            s = decodeAnsi(in.slice(at, chars), dc.font.charset);
        } else {
            const QByteArrayView bytes = in.slice(at, chars * 2);
            s = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.data()), chars);
        }
        mCanvas.text(ref, s, {}, options & ~0x300u, rect);
        break;
    }

    case kBeginPath: mCanvas.beginPath(); break;
    case kEndPath: mCanvas.endPath(); break;
    case kAbortPath: mCanvas.abortPath(); break;
    case kCloseFigure: mCanvas.closeFigure(); break;
    case kFillPath: mCanvas.fillPath(); break;
    case kStrokePath: mCanvas.strokePath(); break;
    case kStrokeAndFillPath: mCanvas.strokeAndFillPath(); break;
    case kFlattenPath: mCanvas.flattenPath(); break;
    case kWidenPath: mCanvas.widenPath(); break;
    case kSelectClipPath: mCanvas.selectClipPath(ClipMode(std::clamp<quint32>(in.u32(8), 1, 5))); break;

    case kIntersectClipRect: mCanvas.intersectClipRect(rectAt(in, 8)); break;
    case kExcludeClipRect: mCanvas.excludeClipRect(rectAt(in, 8)); break;
    case kOffsetClipRgn: mCanvas.offsetClip(pointAt(in, 8)); break;
    case kExtSelectClipRgn: {
        const qint64 size = in.u32(8);
        const quint32 mode = std::clamp<quint32>(in.u32(12), 1, 5);
        if (size == 0 || !in.fits(16, size)) {
            if (mode == 5)
                mCanvas.selectClip(std::nullopt, ClipMode::Copy);
            break;
        }
        mCanvas.selectClip(deviceRegion(in, 16, size), ClipMode(mode));
        break;
    }
    case kFillRgn: {
        const qint64 size = in.u32(24);
        if (const LogBrush *b = brush(in.u32(28)))
            mCanvas.fillRegion(logicalRegion(in, 32, std::min<qint64>(size, in.size() - 32)), *b);
        break;
    }
    case kPaintRgn:
        mCanvas.fillRegion(logicalRegion(in, 28, std::min<qint64>(in.u32(24), in.size() - 28)), dc.brush);
        break;
    case kInvertRgn:
        mCanvas.invertRegion(logicalRegion(in, 28, std::min<qint64>(in.u32(24), in.size() - 28)));
        break;
    case kFrameRgn: {
        const qint64 size = in.u32(24);
        if (const LogBrush *b = brush(in.u32(28))) {
            const QTransform &t = mCanvas.toTarget();
            const QSizeF stroke(std::abs(in.i32(32) * t.m11()), std::abs(in.i32(36) * t.m22()));
            mCanvas.frameRegion(logicalRegion(in, 40, std::min<qint64>(size, in.size() - 40)), *b, stroke);
        }
        break;
    }

    case kBitBlt:
    case kStretchBlt:
    case kMaskBlt:
    case kPlgBlt:
    case kAlphaBlend:
    case kTransparentBlt:
    case kStretchDiBits:
    case kSetDiBitsToDevice: blt(type, in); break;

    case kGradientFill: {
        const qint64 vertices = in.u32(24), shapes = in.u32(28);
        const quint32 mode = in.u32(32);
        in.require(36, vertices * 16);
        auto vertex = [&](quint32 i, QPointF &p, QColor &c) {
            if (i >= vertices)
                return false;
            const qint64 at = 36 + 16 * qint64(i);
            p = pointAt(in, at);
            c = QColor(in.u16(at + 8) >> 8, in.u16(at + 10) >> 8, in.u16(at + 12) >> 8);
            return true;
        };
        const qint64 base = 36 + vertices * 16;
        for (qint64 s = 0; s < shapes; ++s) {
            if (mode == 2) { // triangles
                if (!in.fits(base + 12 * s, 12))
                    break;
                QPolygonF tri(3);
                QColor colors[3];
                bool ok = true;
                for (int k = 0; k < 3; ++k)
                    ok = ok && vertex(in.u32(base + 12 * s + 4 * k), tri[k], colors[k]);
                if (ok)
                    mCanvas.gradientTriangle(tri, colors);
            } else {
                if (!in.fits(base + 8 * s, 8))
                    break;
                QPointF a, b;
                QColor ca, cb;
                if (vertex(in.u32(base + 8 * s), a, ca) && vertex(in.u32(base + 8 * s + 4), b, cb))
                    mCanvas.gradientRect(QRectF(a, b), ca, cb, mode == 1);
            }
        }
        break;
    }
    default: break; // comments (EMF+ included), colour management, escapes: skipped
    }
}

void playEmf(QPainter &painter, const QRectF &target, QByteArrayView data, const MetafileHeader &header)
{
    Canvas canvas(painter, target, header.frame, header.size, true, header.devicePixelsPerMm);
    const ByteReader file(data);
    canvas.setObjectTableSize(file.fits(56, 2) ? file.u16(56) : 0);
    EmfPlayer player(canvas);
    qint64 at = 0;
    while (file.fits(at, 8)) {
        const quint32 type = file.u32(at);
        const qint64 size = file.u32(at + 4);
        if (size < 8 || size % 4 || !file.fits(at, size) || type == kEof)
            break;
        if (type != kHeader) {
            try {
                player.play(type, ByteReader(file.slice(at, size)));
            } catch (const RecordOutOfBounds &) {
                // A record whose contents do not fit it is skipped.
            }
        }
        at += size;
    }
}

} // namespace pelorin::metafile