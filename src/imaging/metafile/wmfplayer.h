#pragma once
// Playing the records of a Windows metafile (WMF).

#include <QByteArrayView>
#include <QRectF>

class QPainter;

namespace pelorin::metafile {

struct MetafileHeader;

// The picture's rectangle of a plain WMF, in logical units: its first window (origin
// and extent) when it sets one, else the extent of what it draws; empty when neither.
QRectF wmfPictureWindow(QByteArrayView data, int headerSize);

// Plays data (the whole file) so that header.frame fills target.
void playWmf(QPainter &painter, const QRectF &target, QByteArrayView data, const MetafileHeader &header);

} // namespace pelorin::metafile
