#include "imaging/metafile/wmfplayer.h"

#include "imaging/metafile/bytereader.h"
#include "imaging/metafile/canvas.h"
#include "imaging/metafile/dib.h"
#include "imaging/metafile/metafileheader.h"
#include "imaging/metafile/textcodec.h"

namespace pelorin::metafile {

namespace {

// Record functions.
enum : quint16 {
    kEof = 0x0000,
    kSaveDc = 0x001E,
    kRealizePalette = 0x0035,
    kCreatePalette = 0x00F7,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetRop2 = 0x0104,
    kSetPolyFillMode = 0x0106,
    kSetTextCharExtra = 0x0108,
    kSetTextJustification = 0x020A,
    kRestoreDc = 0x0127,
    kInvertRegion = 0x012A,
    kPaintRegion = 0x012B,
    kSelectClipRegion = 0x012C,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDibCreatePatternBrush = 0x0142,
    kDeleteObject = 0x01F0,
    kCreatePatternBrush = 0x01F9,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetViewportOrg = 0x020D,
    kSetViewportExt = 0x020E,
    kOffsetWindowOrg = 0x020F,
    kOffsetViewportOrg = 0x0211,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kOffsetClipRgn = 0x0220,
    kFillRegion = 0x0228,
    kSelectPalette = 0x0234,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kScaleWindowExt = 0x0410,
    kScaleViewportExt = 0x0412,
    kExcludeClipRect = 0x0415,
    kIntersectClipRect = 0x0416,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kSetPixel = 0x041F,
    kFrameRegion = 0x0429,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kRoundRect = 0x061C,
    kPatBlt = 0x061D,
    kCreateRegion = 0x06FF,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kBitBlt = 0x0922,
    kDibBitBlt = 0x0940,
    kExtTextOut = 0x0A32,
    kStretchBlt = 0x0B23,
    kDibStretchBlt = 0x0B41,
    kSetDibToDev = 0x0D33,
    kStretchDib = 0x0F43,
};

struct Record
{
    ByteReader in; // the whole record
    quint16 function = 0;
    qint16 p(int i) const { return in.i16(6 + 2 * i); }
    quint16 u(int i) const { return in.u16(6 + 2 * i); }
    quint32 u32(int i) const { return in.u32(6 + 2 * i); }
    QPointF point(int i) const { return QPointF(p(i + 1), p(i)); } // stored y, x
    QRectF rect(int i) const { return QRectF(QPointF(p(i + 3), p(i + 2)), QPointF(p(i + 1), p(i))); } // b, r, t, l
    qint64 params() const { return (in.size() - 6) / 2; }
};

QPolygonF readPoints(const Record &r, qint64 offset, qint64 count)
{
    r.in.require(offset, count * 4);
    QPolygonF points;
    points.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        points << QPointF(r.in.i16(offset + 4 * i), r.in.i16(offset + 4 * i + 2));
    return points;
}

// The records of a WMF, each handed to visit with its bytes; stops at the end
// record or at the first record that does not fit the file.
template<class Visit>
void forEachRecord(QByteArrayView data, int headerSize, Visit visit)
{
    const ByteReader file(data);
    qint64 at = headerSize;
    while (file.fits(at, 6)) {
        const qint64 size = qint64(file.u32(at)) * 2;
        const quint16 function = file.u16(at + 4);
        if (size < 6 || !file.fits(at, size) || function == kEof)
            break;
        Record record{ByteReader(file.slice(at, size)), function};
        visit(record);
        at += size;
    }
}

LogFont readFont(const Record &r)
{
    LogFont font;
    font.height = r.p(0);
    font.width = r.p(1);
    font.escapement = r.p(2);
    font.orientation = r.p(3);
    font.weight = r.p(4);
    font.italic = r.in.u8(16);
    font.underline = r.in.u8(17);
    font.strikeOut = r.in.u8(18);
    font.charset = r.in.u8(19);
    font.pitchAndFamily = r.in.u8(23);
    const qint64 faceLength = std::min<qint64>(32, r.in.size() - 24);
    if (faceLength > 0)
        font.face = decodeAnsi(r.in.slice(24, faceLength), font.charset == 2 ? 0 : font.charset).trimmed();
    return font;
}

QPainterPath readRegion(const Record &r)
{
    // Scans of rectangles: count, top, bottom, count/2 pairs of left and right, count.
    QPainterPath path;
    const int scans = r.p(5);
    qint64 at = 6 + 22;
    for (int s = 0; s < scans && r.in.fits(at, 6); ++s) {
        const int count = r.in.u16(at);
        const double top = r.in.i16(at + 2), bottom = r.in.i16(at + 4);
        at += 6;
        for (int i = 0; i + 1 < count; i += 2) {
            const double left = r.in.i16(at + 2 * i), right = r.in.i16(at + 2 * i + 2);
            path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
        }
        at += 2 * qint64(count) + 2;
    }
    path.setFillRule(Qt::WindingFill);
    return path.simplified();
}

class WmfPlayer
{
public:
    WmfPlayer(Canvas &canvas) : mCanvas(canvas) {}
    void play(const Record &r);

private:
    void text(const Record &r);
    void extText(const Record &r);
    void blit(const Record &r);
    const Region *region(quint16 index) const
    {
        const GdiObject *obj = mCanvas.object(index);
        return obj ? std::get_if<Region>(obj) : nullptr;
    }
    const LogBrush *brush(quint16 index) const
    {
        const GdiObject *obj = mCanvas.object(index);
        return obj ? std::get_if<LogBrush>(obj) : nullptr;
    }

    Canvas &mCanvas;
};

void WmfPlayer::play(const Record &r)
{
    DcState &dc = mCanvas.dc();
    switch (r.function) {
    case kSaveDc: mCanvas.saveDc(); break;
    case kRestoreDc: mCanvas.restoreDc(r.p(0)); break;
    case kSetBkMode: dc.bkMode = r.u(0); break;
    case kSetMapMode: dc.mapMode = r.u(0); mCanvas.mappingChanged(); break;
    case kSetRop2: dc.rop2 = r.u(0); break;
    case kSetPolyFillMode: dc.polyFillMode = r.u(0); break;
    case kSetTextAlign: dc.textAlign = r.u(0); break;
    case kSetTextCharExtra: dc.charExtra = r.p(0); break;
    case kSetTextJustification:
        dc.breakCount = r.p(0);
        dc.breakExtra = r.p(1);
        break;
    case kSetBkColor: dc.bkColor = mCanvas.colorRef(r.u32(0)); break;
    case kSetTextColor: dc.textColor = mCanvas.colorRef(r.u32(0)); break;
    case kSetWindowOrg:
        dc.windowOrg = r.point(0);
        dc.windowOrgSet = true;
        mCanvas.mappingChanged();
        break;
    case kSetWindowExt:
        dc.windowExt = QSizeF(r.p(1), r.p(0));
        dc.windowExtSet = true;
        mCanvas.mappingChanged();
        break;
    case kOffsetWindowOrg:
        dc.windowOrg += r.point(0);
        dc.windowOrgSet = true;
        mCanvas.mappingChanged();
        break;
    case kScaleWindowExt:
        if (r.p(0) && r.p(2)) {
            dc.windowExt = QSizeF(dc.windowExt.width() * r.p(3) / r.p(2), dc.windowExt.height() * r.p(1) / r.p(0));
            mCanvas.mappingChanged();
        }
        break;
    case kSetViewportOrg: dc.viewportOrg = r.point(0); mCanvas.mappingChanged(); break;
    case kSetViewportExt: dc.viewportExt = QSizeF(r.p(1), r.p(0)); break;
    case kOffsetViewportOrg: dc.viewportOrg += r.point(0); mCanvas.mappingChanged(); break;
    case kScaleViewportExt: break;

    case kCreatePenIndirect: {
        LogPen pen;
        pen.style = r.u(0);
        pen.width = r.p(1);
        pen.color = mCanvas.colorRef(r.u32(3));
        mCanvas.createObjectAtFreeSlot(pen);
        break;
    }
    case kCreateBrushIndirect: {
        LogBrush brush;
        brush.style = r.u(0);
        brush.color = mCanvas.colorRef(r.u32(1));
        brush.hatch = r.u(3);
        mCanvas.createObjectAtFreeSlot(brush);
        break;
    }
    case kCreateFontIndirect: mCanvas.createObjectAtFreeSlot(readFont(r)); break;
    case kDibCreatePatternBrush: {
        LogBrush brush;
        brush.style = 3;
        const QByteArrayView bits = r.in.slice(10, r.in.size() - 10);
        brush.pattern = r.u(0) == 3 ? decodeBitmap16(bits, 32) : decodePackedDib(bits, r.u(1), dc.palette.colors);
        brush.color = Qt::black;
        mCanvas.createObjectAtFreeSlot(brush);
        break;
    }
    case kCreatePatternBrush: {
        LogBrush brush;
        brush.style = 3;
        brush.pattern = decodeBitmap16(r.in.slice(6, r.in.size() - 6), 32);
        mCanvas.createObjectAtFreeSlot(brush);
        break;
    }
    case kCreatePalette: {
        Palette palette;
        const int count = r.u(1);
        for (int i = 0; i < count && r.in.fits(10 + 4 * i, 4); ++i)
            palette.colors << qRgb(r.in.u8(10 + 4 * i), r.in.u8(11 + 4 * i), r.in.u8(12 + 4 * i));
        mCanvas.createObjectAtFreeSlot(palette);
        break;
    }
    case kCreateRegion: mCanvas.createObjectAtFreeSlot(Region{readRegion(r)}); break;
    case kSelectObject: mCanvas.selectObject(r.u(0)); break;
    case kSelectPalette: mCanvas.selectObject(r.u(0)); break;
    case kDeleteObject: mCanvas.deleteObject(r.u(0)); break;
    case kRealizePalette: break;

    case kMoveTo: mCanvas.moveTo(r.point(0)); break;
    case kLineTo: mCanvas.lineTo(r.point(0)); break;
    case kPolyline: mCanvas.polyline(readPoints(r, 8, r.p(0)), false); break;
    case kPolygon: mCanvas.polygons({readPoints(r, 8, r.p(0))}); break;
    case kPolyPolygon: {
        const int n = r.u(0);
        qint64 at = 8 + 2 * qint64(n);
        QList<QPolygonF> polys;
        for (int i = 0; i < n; ++i) {
            const int count = r.u(1 + i);
            polys << readPoints(r, at, count);
            at += 4 * qint64(count);
        }
        mCanvas.polygons(polys);
        break;
    }
    case kRectangle: mCanvas.rectangle(r.rect(0)); break;
    case kRoundRect: mCanvas.roundRect(r.rect(2), QSizeF(r.p(1), r.p(0))); break;
    case kEllipse: mCanvas.ellipse(r.rect(0)); break;
    case kArc: mCanvas.arc(ArcKind::Arc, r.rect(4), r.point(2), r.point(0)); break;
    case kPie: mCanvas.arc(ArcKind::Pie, r.rect(4), r.point(2), r.point(0)); break;
    case kChord: mCanvas.arc(ArcKind::Chord, r.rect(4), r.point(2), r.point(0)); break;
    case kSetPixel: mCanvas.setPixel(r.point(2), mCanvas.colorRef(r.u32(0))); break;
    case kTextOut: text(r); break;
    case kExtTextOut: extText(r); break;

    case kIntersectClipRect: mCanvas.intersectClipRect(r.rect(0)); break;
    case kExcludeClipRect: mCanvas.excludeClipRect(r.rect(0)); break;
    case kOffsetClipRgn: mCanvas.offsetClip(r.point(0)); break;
    case kSelectClipRegion:
        if (const Region *rgn = region(r.u(0)))
            mCanvas.selectClip(mCanvas.mapToTarget(rgn->path), ClipMode::Copy);
        else
            mCanvas.selectClip(std::nullopt, ClipMode::Copy);
        break;
    case kFillRegion:
        if (const Region *rgn = region(r.u(0)))
            if (const LogBrush *b = brush(r.u(1)))
                mCanvas.fillRegion(mCanvas.mapToTarget(rgn->path), *b);
        break;
    case kPaintRegion:
        if (const Region *rgn = region(r.u(0)))
            mCanvas.fillRegion(mCanvas.mapToTarget(rgn->path), dc.brush);
        break;
    case kFrameRegion:
        if (const Region *rgn = region(r.u(0)))
            if (const LogBrush *b = brush(r.u(1))) {
                const QTransform &t = mCanvas.toTarget();
                mCanvas.frameRegion(mCanvas.mapToTarget(rgn->path), *b,
                                    QSizeF(std::abs(r.p(3) * t.m11()), std::abs(r.p(2) * t.m22())));
            }
        break;
    case kInvertRegion:
        if (const Region *rgn = region(r.u(0)))
            mCanvas.invertRegion(mCanvas.mapToTarget(rgn->path));
        break;

    case kPatBlt:
        mCanvas.bitBlt({}, QRectF(r.p(5), r.p(4), r.p(3), r.p(2)), {}, r.u32(0));
        break;
    case kBitBlt:
    case kDibBitBlt:
    case kStretchBlt:
    case kDibStretchBlt:
    case kStretchDib:
    case kSetDibToDev: blit(r); break;
    default: break; // escapes, palettes animation, flood fills and the rest: skipped
    }
}

void WmfPlayer::text(const Record &r)
{
    const int count = std::max<int>(0, r.p(0));
    const qint64 padded = (count + 1) & ~1;
    const QByteArrayView bytes = r.in.slice(8, count);
    const QPointF ref(r.in.i16(8 + padded + 2), r.in.i16(8 + padded));
    mCanvas.text(ref, decodeAnsi(bytes, mCanvas.dc().font.charset), {}, 0, std::nullopt);
}

void WmfPlayer::extText(const Record &r)
{
    const QPointF ref(r.p(1), r.p(0));
    const int count = std::max<int>(0, r.p(2));
    const quint16 options = r.u(3);
    qint64 at = 14;
    std::optional<QRectF> rect;
    if (options & 0x6) {
        rect = QRectF(QPointF(r.in.i16(at), r.in.i16(at + 2)), QPointF(r.in.i16(at + 4), r.in.i16(at + 6)));
        at += 8;
    }
    const QByteArrayView bytes = r.in.slice(at, count);
    const QString text = decodeAnsi(bytes, mCanvas.dc().font.charset);
    at += (count + 1) & ~1;
    QList<qreal> dx;
    if (r.in.fits(at, 2 * qint64(count)) && text.size() == count) {
        for (int i = 0; i < count; ++i)
            dx << r.in.i16(at + 2 * i);
    }
    mCanvas.text(ref, text, dx, options, rect);
}

void WmfPlayer::blit(const Record &r)
{
    // Records without a bitmap are one parameter word longer than their function's
    // high byte says (a reserved word), and carry only the raster operation.
    const bool noBitmap = r.params() == (r.function >> 8) && r.function != kStretchDib && r.function != kSetDibToDev;
    const QList<QRgb> &palette = mCanvas.dc().palette.colors;
    QImage image;
    QRectF dest, src;
    quint32 rop = 0x00CC0020;
    auto dibAt = [&](qint64 offset) { return decodePackedDib(r.in.slice(offset, r.in.size() - offset), 0, palette); };
    auto fromBottom = [&](QRectF s) {
        // DIB source rectangles count rows from the bottom of the bitmap.
        if (!image.isNull())
            s.moveTop(image.height() - s.top() - s.height());
        return s;
    };
    switch (r.function) {
    case kBitBlt:
    case kDibBitBlt:
        rop = r.u32(0);
        if (noBitmap) {
            dest = QRectF(r.p(8), r.p(7), r.p(6), r.p(5));
        } else {
            dest = QRectF(r.p(7), r.p(6), r.p(5), r.p(4));
            image = r.function == kBitBlt ? decodeBitmap16(r.in.slice(22, r.in.size() - 22), 10) : dibAt(22);
            src = QRectF(r.p(3), r.p(2), r.p(5), r.p(4));
            if (r.function == kDibBitBlt)
                src = fromBottom(src);
        }
        break;
    case kStretchBlt:
    case kDibStretchBlt:
        rop = r.u32(0);
        if (noBitmap) {
            dest = QRectF(r.p(10), r.p(9), r.p(8), r.p(7));
        } else {
            dest = QRectF(r.p(9), r.p(8), r.p(7), r.p(6));
            image = r.function == kStretchBlt ? decodeBitmap16(r.in.slice(26, r.in.size() - 26), 10) : dibAt(26);
            src = QRectF(r.p(5), r.p(4), r.p(3), r.p(2));
            if (r.function == kDibStretchBlt)
                src = fromBottom(src);
        }
        break;
    case kStretchDib:
        rop = r.u32(0);
        image = decodePackedDib(r.in.slice(28, r.in.size() - 28), r.u(2), palette);
        dest = QRectF(r.p(10), r.p(9), r.p(8), r.p(7));
        src = fromBottom(QRectF(r.p(6), r.p(5), r.p(4), r.p(3)));
        break;
    case kSetDibToDev:
        image = decodePackedDib(r.in.slice(24, r.in.size() - 24), r.u(0), palette);
        dest = QRectF(r.p(8), r.p(7), r.p(6), r.p(5));
        src = fromBottom(QRectF(r.p(4), r.p(3), r.p(6), r.p(5)));
        break;
    default: return;
    }
    if (!noBitmap && image.isNull())
        return;
    mCanvas.bitBlt(image, dest, src, rop);
}

} // namespace

QRectF wmfPictureWindow(QByteArrayView data, int headerSize)
{
    std::optional<QPointF> origin;
    std::optional<QSizeF> extent;
    QRectF drawn;
    auto include = [&](QPointF p) { drawn = drawn.united(QRectF(p, QSizeF(1, 1))); };
    // Text reaches beyond its reference point: the object table is followed just far
    // enough to know the selected font's height.
    std::vector<std::optional<int>> table;
    int fontHeight = 12;
    auto createObject = [&](std::optional<int> height) {
        for (auto &slot : table)
            if (!slot) {
                slot = height.value_or(0);
                return;
            }
        if (table.size() < 65536)
            table.push_back(height.value_or(0));
    };
    auto includeText = [&](QPointF p, int chars) {
        const double h = std::abs(fontHeight);
        include(p);
        include(p + QPointF(chars * h * 0.6, h));
    };
    forEachRecord(data, headerSize, [&](const Record &r) {
        try {
            switch (r.function) {
            case kCreateFontIndirect: createObject(r.p(0) ? r.p(0) : 12); break;
            case kCreatePenIndirect:
            case kCreateBrushIndirect:
            case kDibCreatePatternBrush:
            case kCreatePatternBrush:
            case kCreatePalette:
            case kCreateRegion: createObject(std::nullopt); break;
            case kDeleteObject:
                if (r.u(0) < table.size())
                    table[r.u(0)].reset();
                break;
            case kSelectObject:
                if (r.u(0) < table.size() && table[r.u(0)] && *table[r.u(0)])
                    fontHeight = *table[r.u(0)];
                break;
            case kSetWindowOrg:
                if (!origin)
                    origin = r.point(0);
                break;
            case kSetWindowExt:
                if (!extent)
                    extent = QSizeF(r.p(1), r.p(0));
                break;
            case kMoveTo:
            case kLineTo: include(r.point(0)); break;
            case kRectangle:
            case kEllipse:
            case kRoundRect: {
                const QRectF rect = r.function == kRoundRect ? r.rect(2) : r.rect(0);
                include(rect.topLeft());
                include(rect.bottomRight());
                break;
            }
            case kPolygon:
            case kPolyline:
                for (QPointF p : readPoints(r, 8, r.p(0)))
                    include(p);
                break;
            case kTextOut: {
                const qint64 padded = (std::max<int>(0, r.p(0)) + 1) & ~1;
                includeText(QPointF(r.in.i16(8 + padded + 2), r.in.i16(8 + padded)), r.p(0));
                break;
            }
            case kExtTextOut: includeText(r.point(0), r.p(2)); break;
            default: break;
            }
        } catch (const RecordOutOfBounds &) {
        }
    });
    if (extent && extent->width() != 0 && extent->height() != 0)
        return QRectF(origin.value_or(QPointF()), *extent).normalized();
    return drawn;
}

void playWmf(QPainter &painter, const QRectF &target, QByteArrayView data, const MetafileHeader &header)
{
    Canvas canvas(painter, target, header.frame, header.size, false, header.devicePixelsPerMm);
    canvas.setObjectTableSize(header.wmfObjects);
    WmfPlayer player(canvas);
    forEachRecord(data, header.wmfHeaderSize, [&](const Record &r) {
        try {
            player.play(r);
        } catch (const RecordOutOfBounds &) {
            // A record whose parameters do not fit it is skipped.
        }
    });
}

} // namespace pelorin::metafile
