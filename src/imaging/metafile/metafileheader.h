#pragma once
// Recognising a metafile and reading what its header says about the picture's size.

#include <QByteArrayView>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <optional>

namespace pelorin::metafile {

struct MetafileHeader
{
    bool enhanced = false;
    // Size in screen pixels at 96 per inch.
    QSize size;
    // The rectangle of the records' coordinate space that fills the target: logical
    // units for a WMF, reference device pixels for an EMF.
    QRectF frame;
    // WMF: bytes before the first record, and the size of the object table.
    int wmfHeaderSize = 0;
    int wmfObjects = 0;
    // EMF: reference device pixels per millimetre (for the metric mapping modes).
    QSizeF devicePixelsPerMm;
};

inline constexpr double kScreenDpi = 96.0;

// The header of data, or nothing when data is no metafile we can play.
std::optional<MetafileHeader> readMetafileHeader(QByteArrayView data);

} // namespace pelorin::metafile
