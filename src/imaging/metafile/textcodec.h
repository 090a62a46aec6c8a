#pragma once
// Decoding of 8-bit metafile text by the font's character set.

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace pelorin::metafile {

QString decodeAnsi(QByteArrayView bytes, int charset);

// Text in the Symbol font's encoding as Unicode (Greek letters, mathematical signs).
QString symbolToUnicode(const QString &text);

// Per-byte advances merged into per-character ones for the double-byte character
// sets (lead byte and trail byte make one character).
QList<qreal> characterAdvances(QByteArrayView bytes, const QList<qreal> &perByte, int charset);

} // namespace pelorin::metafile
