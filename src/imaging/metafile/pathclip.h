#pragma once
// Clipping a path to a rectangle in time linear in the path's size. Qt's general path
// operations (intersected, united, simplified) grow far faster than that on long,
// self-crossing paths, which metafiles can hold by the thousand.

#include <QPainterPath>
#include <QRectF>

namespace pelorin::metafile {

// Curves are flattened first. closed: each subpath is clipped as the polygon a fill
// closes, and the winding of every point inside rect is kept, so both fill rules fill
// the same area inside rect. Open: each subpath is clipped as a line. Either way the
// parts outside rect are replaced by runs along rect's edges, so rect should reach far
// enough beyond the visible area that those runs are never seen.
QPainterPath clipToRect(const QPainterPath &path, const QRectF &rect, bool closed);

} // namespace pelorin::metafile
