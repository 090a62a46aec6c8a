// Text output: fonts from the logical font, alignment at the reference point,
// escapement, opaque backgrounds and per-character advances.
#include "imaging/metafile/canvas.h"

#include "imaging/metafile/textcodec.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QtMath>

#include <cmath>

namespace pelorin::metafile {

namespace {

constexpr quint32 kEtoOpaque = 0x2;
constexpr quint32 kEtoClipped = 0x4;
constexpr quint32 kEtoGlyphIndex = 0x10;
constexpr unsigned kTaUpdateCp = 1;
// Device pixels: text taller than this is filled as outlines.
constexpr double kLargestCachedGlyph = 256;

// The face when it is installed, else the generic family that the face's name or its
// pitch and family bits suggest (so "Courier New" still draws with fixed pitch).
QString familyFor(const LogFont &font)
{
    static QMutex mutex;
    static QHash<QString, bool> installed;
    if (!font.face.isEmpty()) {
        const QMutexLocker lock(&mutex);
        auto it = installed.constFind(font.face);
        if (it == installed.constEnd())
            it = installed.insert(font.face, QFontDatabase::hasFamily(font.face));
        if (*it)
            return font.face;
    }
    const QString name = font.face.toLower();
    // Metric-compatible stand-ins for the common Windows faces keep text widths.
    static const struct { const char *face; const char *standIn; } standIns[] = {
        {"arial narrow", "Liberation Sans Narrow"}, {"arial", "Liberation Sans"}, {"helvetica", "Liberation Sans"},
        {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"}, {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
    };
    for (const auto &entry : standIns) {
        if (name.startsWith(QLatin1String(entry.face))) {
            const QString standIn = QLatin1String(entry.standIn);
            const QMutexLocker lock(&mutex);
            auto it = installed.constFind(standIn);
            if (it == installed.constEnd())
                it = installed.insert(standIn, QFontDatabase::hasFamily(standIn));
            if (*it)
                return standIn;
            break;
        }
    }
    auto named = [&](std::initializer_list<const char *> parts) {
        for (const char *part : parts)
            if (name.contains(QLatin1String(part)))
                return true;
        return false;
    };
    if ((font.pitchAndFamily & 3) == 1 || (font.pitchAndFamily & 0xF0) == 0x30
        || named({"courier", "mono", "consol", "fixed", "terminal", "typewriter"}))
        return QStringLiteral("Monospace");
    if (named({"sans", "arial", "helvetica", "verdana", "tahoma", "gothic"}))
        return QStringLiteral("Sans Serif");
    if ((font.pitchAndFamily & 0xF0) == 0x10
        || named({"times", "roman", "serif", "georgia", "garamond", "book", "century", "cambria", "mincho"}))
        return QStringLiteral("Serif");
    return QStringLiteral("Sans Serif");
}

} // namespace

QFont Canvas::qfont(double &stretch, double &targetHeight)
{
    const LogFont &f = mDc.font;
    const QTransform &t = toTarget();
    const double sy = std::hypot(t.m21(), t.m22());
    const double sx = std::hypot(t.m11(), t.m12());
    QFont font(familyFor(f));
    switch (f.pitchAndFamily & 0xF0) {
    case 0x10: font.setStyleHint(QFont::Serif); break;
    case 0x30: font.setStyleHint(QFont::TypeWriter); break;
    case 0x40: font.setStyleHint(QFont::Cursive); break;
    case 0x50: font.setStyleHint(QFont::Decorative); break;
    default: font.setStyleHint(QFont::SansSerif); break;
    }
    font.setWeight(QFont::Weight(std::clamp(f.weight > 0 ? f.weight : 400, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    font.setKerning(false);

    double height = std::abs(f.height) * sy;
    if (f.height == 0 || !std::isfinite(height))
        height = 16 * mCosmetic;
    height = std::clamp(height, 0.5, 20000.0);
    font.setPixelSize(std::max(1, qRound(height)));
    if (f.height > 0) {
        // A positive height is the cell height: ascent plus descent.
        const QFontMetricsF m(font);
        if (m.ascent() + m.descent() > 0)
            height = std::clamp(height * font.pixelSize() / (m.ascent() + m.descent()), 0.5, 20000.0);
        font.setPixelSize(std::max(1, qRound(height)));
    }
    targetHeight = height;
    stretch = 1.0;
    if (f.width != 0) {
        const QFontMetricsF m(font);
        const double wanted = std::abs(f.width) * sx;
        if (m.averageCharWidth() > 0 && std::isfinite(wanted))
            stretch = std::clamp(wanted / m.averageCharWidth(), 0.05, 20.0);
    }
    return font;
}

std::optional<QTransform> Canvas::textTransform(QPointF ref, double stretch, double &angleDeg)
{
    const QTransform &t = toTarget();
    const QPointF p = t.map(ref);
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::abs(p.x()) > 1e6 || std::abs(p.y()) > 1e6)
        return std::nullopt;
    // Escapement turns the baseline counter-clockwise as seen; a world transform with
    // rotation turns it with the drawing.
    angleDeg = -double(mDc.font.escapement) / 10.0;
    if (std::abs(t.m12()) > 1e-9 || std::abs(t.m21()) > 1e-9) {
        angleDeg += qRadiansToDegrees(std::atan2(t.m12(), t.m11()));
    }
    QTransform local;
    local.translate(p.x(), p.y());
    local.rotate(angleDeg);
    local.scale(stretch, 1.0);
    return local;
}

void Canvas::text(QPointF ref, QString text, const QList<qreal> &dx, quint32 options,
                  std::optional<QRectF> rect)
{
    if (options & kEtoGlyphIndex)
        return; // glyph indices of a font we do not have: nothing meaningful to draw
    if (mDc.textAlign & kTaUpdateCp)
        ref = mDc.position;

    const QTransform &t = toTarget();
    if (rect && (options & kEtoOpaque) && !mPathOpen) {
        QPainterPath box;
        box.addRect(rect->normalized());
        mPainter.fillPath(tame(t.map(box), true), mDc.bkColor);
    }
    if (text.isEmpty())
        return;

    if (mDc.font.face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        text = symbolToUnicode(text);

    double stretch = 1, height = 0, angle = 0;
    const QFont font = qfont(stretch, height);
    const auto local = textTransform(ref, stretch, angle);
    if (!local)
        return;
    const QFontMetricsF metrics(font);
    const double sx = std::hypot(t.m11(), t.m12());

    // Character positions along the baseline, in the font's (unstretched) units.
    const QList<uint> codes = text.toUcs4();
    QList<double> xs;
    double width = 0;
    bool useDx = !dx.isEmpty() && dx.size() >= codes.size();
    if (useDx) {
        for (qsizetype i = 0; i < codes.size(); ++i) {
            xs << width;
            width += dx[i] * sx / stretch;
            if (!std::isfinite(width))
                return;
        }
    } else if (mDc.charExtra != 0 || (mDc.breakCount > 0 && mDc.breakExtra != 0)) {
        // Character spacing and justification widen the natural advances.
        const double extra = mDc.charExtra * sx / stretch;
        const double perBreak = mDc.breakCount > 0 ? mDc.breakExtra / mDc.breakCount * sx / stretch : 0;
        useDx = true;
        for (uint code : codes) {
            xs << width;
            width += metrics.horizontalAdvance(QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1)) + extra
                + (code == ' ' ? perBreak : 0);
        }
        if (!std::isfinite(width))
            return;
    } else {
        width = metrics.horizontalAdvance(text);
    }

    double x0 = 0;
    switch (mDc.textAlign & 6) {
    case 2: x0 = -width; break;    // TA_RIGHT
    case 6: x0 = -width / 2; break; // TA_CENTER
    default: break;
    }
    double baseline = 0;
    switch (mDc.textAlign & 24) {
    case 0: baseline = metrics.ascent(); break;    // TA_TOP
    case 8: baseline = -metrics.descent(); break; // TA_BOTTOM
    default: break;                               // TA_BASELINE
    }

    if (mDc.textAlign & kTaUpdateCp) {
        const double advance = ((mDc.textAlign & 6) == 2 ? -width : (mDc.textAlign & 6) == 6 ? 0 : width) * stretch;
        if (sx > 0)
            mDc.position += QPointF(advance / sx, 0);
    }

    auto outlines = [&] {
        QPainterPath glyphs;
        if (useDx) {
            for (qsizetype i = 0; i < codes.size(); ++i)
                glyphs.addText(x0 + xs[i], baseline, font, QString::fromUcs4(reinterpret_cast<const char32_t *>(&codes[i]), 1));
        } else {
            glyphs.addText(x0, baseline, font, text);
        }
        return glyphs;
    };
    if (mPathOpen) {
        addToPath(local->map(outlines()), true);
        return;
    }

    mPainter.save();
    if (rect && (options & kEtoClipped)) {
        QPainterPath box;
        box.addRect(rect->normalized());
        mPainter.setClipPath(tame(t.map(box), true), Qt::IntersectClip);
    }
    mPainter.setTransform(*local, true);
    if (mDc.bkMode == 2)
        mPainter.fillRect(QRectF(x0, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()),
                          mDc.bkColor);
    // Glyphs this large on the device are filled as outlines. The painter would keep a
    // bitmap of each in its glyph cache, and a colour font's glyphs at thousands of pixels
    // take gigabytes there. (Colour bitmap glyphs have no outlines, so these draw nothing.)
    const QTransform device = mPainter.deviceTransform();
    const double deviceScale = std::max(std::hypot(device.m11(), device.m12()), std::hypot(device.m21(), device.m22()));
    if (!(height * deviceScale <= kLargestCachedGlyph)) {
        mPainter.fillPath(outlines(), mDc.textColor);
        mPainter.restore();
        return;
    }
    mPainter.setFont(font);
    mPainter.setPen(mDc.textColor);
    if (useDx) {
        for (qsizetype i = 0; i < codes.size(); ++i)
            mPainter.drawText(QPointF(x0 + xs[i], baseline),
                              QString::fromUcs4(reinterpret_cast<const char32_t *>(&codes[i]), 1));
    } else {
        mPainter.drawText(QPointF(x0, baseline), text);
    }
    mPainter.restore();
}

} // namespace pelorin::metafile
