#pragma once
// Grey TIFF pictures whose samples libtiff's RGBA interface does not take: integers of 9
// to 32 bits (it takes most 16-bit ones itself), signed or not, and floating point of 16,
// 32 or 64 bits, one sample a pixel, in strips or tiles. They are shown as 8-bit grey, the
// range the data spans stretched over black to white: such files hold measurements
// (heights, temperatures, counts) whose values seldom fill the type, so mapping the
// type's whole range would show most of them as a flat black.

#include <QImage>

#include <tiffio.h>

namespace pelorin::tiff {

// Whether the current page of `file` is one readGreySamples reads.
bool hasGreySamples(TIFF *file);

// Reads the current page into a Grayscale8 picture of width x height. NaN shows black,
// infinities the ends of the scale; a picture of one value shows it on the type's range
// (floating point: 0 to 1). Blocks that cannot be read stay black and clear `complete`.
QImage readGreySamples(TIFF *file, quint32 width, quint32 height, bool &complete);

} // namespace pelorin::tiff
