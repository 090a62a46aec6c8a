#pragma once
// Playing the records of an enhanced metafile (EMF).

#include <QByteArrayView>
#include <QRectF>

class QPainter;

namespace pelorin::metafile {

struct MetafileHeader;

// Plays data (the whole file) so that header.frame fills target.
void playEmf(QPainter &painter, const QRectF &target, QByteArrayView data, const MetafileHeader &header);

} // namespace pelorin::metafile
