#pragma once
// Decoding of 8-bit metafile text by the font's character set.

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace pelorin::metafile {

QString decodeAnsi(QByteArrayView bytes, int charset);

// Per-byte advances merged into per-character ones for the double-byte character
// sets (lead byte and trail byte make one character).
QList<qreal> characterAdvances(QByteArrayView bytes, const QList<qreal> &perByte, int charset);

} // namespace pelorin::metafile
