#pragma once
// The pictures of the list's image lists. A tile starts white; a raster picture is
// stretched over the whole tile, each axis on its own and without smoothing. These
// functions touch only their arguments and may run on any thread; errorTile draws text
// and so needs the application's fonts.

#include <QImage>
#include <QSize>

namespace pelorin {

// A fresh tile: white, of the given size.
QImage blankTile(QSize size);

// picture stretched to exactly size by dropping or repeating pixels. A null picture
// draws nothing and leaves the tile white.
QImage stretchedTile(const QImage &picture, QSize size);

// Writes "Error" at the tile's top-left corner, black on white, in the default font.
void markError(QImage &tile);

// The tile that stands for a file that could not be loaded or drawn.
QImage errorTile(QSize size);

} // namespace pelorin
