#include "imaging/metafile/textcodec.h"

#include <QStringDecoder>

namespace pelorin::metafile {

namespace {

const char *encodingFor(int charset)
{
    switch (charset) {
    case 128: return "Shift_JIS";
    case 129: return "windows-949";
    case 134: return "GBK";
    case 136: return "Big5";
    case 161: return "windows-1253";
    case 162: return "windows-1254";
    case 163: return "windows-1258";
    case 177: return "windows-1255";
    case 178: return "windows-1256";
    case 186: return "windows-1257";
    case 204: return "windows-1251";
    case 222: return "windows-874";
    case 238: return "windows-1250";
    case 255: return "IBM437";
    default: return "windows-1252";
    }
}

} // namespace

QString decodeAnsi(QByteArrayView bytes, int charset)
{
    // Text ends at the first NUL, as the drawing functions read it.
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    if (charset == 2) // SYMBOL: the symbol fonts' code points
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(encodingFor(charset));
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace pelorin::metafile
