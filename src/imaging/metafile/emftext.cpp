// Text records of the EMF player.
#include "imaging/metafile/emfrecords.h"
#include "imaging/metafile/textcodec.h"

namespace pelorin::metafile {

void EmfPlayer::text(const ByteReader &in, qint64 at, bool wide, int graphicsMode)
{
    Q_UNUSED(graphicsMode);
    const QPointF ref = pointAt(in, at);
    const qint64 chars = in.u32(at + 8);
    const qint64 offString = in.u32(at + 12);
    const quint32 options = in.u32(at + 16);
    std::optional<QRectF> rect;
    if (!(options & 0x100)) // ETO_NO_RECT
        rect = rectAt(in, at + 20);
    const qint64 offDx = in.u32(at + 36);
    QString text;
    if (wide) {
        const QByteArrayView bytes = in.slice(offString, chars * 2);
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.data()), chars);
        // Stored little-endian; QString is host order, which is little-endian here.
        const qsizetype nul = text.indexOf(QChar(0));
        if (nul >= 0)
            text.truncate(nul);
    } else {
        text = decodeAnsi(in.slice(offString, chars), mCanvas.dc().font.charset);
    }
    QList<qreal> dx;
    if (offDx && in.fits(offDx, chars * 4)) {
        // With ETO_PDY (0x2000) each entry is an x and y pair.
        const int step = options & 0x2000 ? 8 : 4;
        if (in.fits(offDx, chars * step)) {
            QList<qreal> perUnit;
            for (qint64 i = 0; i < chars; ++i)
                perUnit << in.i32(offDx + i * step);
            // Advances are per UTF-16 unit (per byte for 8-bit text); merge those of
            // one character.
            if (wide) {
                for (qsizetype i = 0; i < text.size(); ++i) {
                    qreal advance = perUnit.value(i);
                    if (text[i].isHighSurrogate() && i + 1 < text.size()) {
                        advance += perUnit.value(i + 1);
                        ++i;
                    }
                    dx << advance;
                }
            } else {
                dx = characterAdvances(in.slice(offString, chars), perUnit, mCanvas.dc().font.charset);
                if (dx.size() != text.size())
                    dx.clear();
            }
        }
    }
    mCanvas.text(ref, text, dx, options, rect);
}

} // namespace pelorin::metafile
