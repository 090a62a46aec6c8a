#pragma once
// Our reader for icon files: the directory, and the one image nearest a wanted size
// (classic bitmaps with their AND mask, or PNG-compressed entries).

#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace pelorin::ico {

// The decoded image of the entry nearest preferred (ties go to the deeper colour, then
// to the earlier entry); an entry that does not decode gives way to the next nearest,
// up to the four nearest.
// Null when the data is no icon or no entry decodes.
QImage readIcon(QByteArrayView data, QSize preferred = QSize(32, 32));

} // namespace pelorin::ico
