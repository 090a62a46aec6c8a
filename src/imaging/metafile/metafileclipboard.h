#pragma once
// Clipboard export of a metafile: the file's own data under the metafile MIME types
// (enhanced metafiles also under the Windows clipboard name Qt maps to the enhanced
// metafile format) plus the picture rendered into an image, so that vector-aware
// programs paste the drawing and every other program the image.

#include <QSize>

#include <memory>

class QMimeData;

namespace pelorin {

class MetafilePicture;

// renderSize is the size of the image placed beside the metafile data; an empty size
// means the picture's own size. QClipboard::setMimeData takes the released pointer.
std::unique_ptr<QMimeData> metafileMimeData(const MetafilePicture &picture, QSize renderSize = {});

} // namespace pelorin
