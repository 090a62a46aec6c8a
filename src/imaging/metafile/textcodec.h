#pragma once
// Decoding of 8-bit metafile text by the font's character set.

#include <QByteArrayView>
#include <QString>

namespace pelorin::metafile {

QString decodeAnsi(QByteArrayView bytes, int charset);

} // namespace pelorin::metafile
