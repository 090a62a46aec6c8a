#pragma once
// Reading a raster file, as the image component does it, without showing anything:
// a pure function, safe to run on worker threads (only QImage and strings cross).
// The reader is picked by the first four characters of the upper-cased extension
// (".TIF" reads ".tiff"; ".JPE" of ".jpeg" matches no reader).

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace pelorin {

// The readers the extension can pick. SystemPicture (".WMF", ".ICO") is not read here:
// the component hands those files to the system picture.
enum class RasterReader { None, Bmp, Jpeg, Png, Gif, Tiff, Pcx, SystemPicture };
RasterReader rasterReaderFor(const QString &fileName);

struct RasterLoadRequest
{
    // Absolute on worker threads; a relative path is taken against the working directory.
    QString path;
    // The depth to read at: 24 reads as the file holds it; 0 (VGA palette), 1, 4 and 8
    // reduce the decoded image to that depth (displayDepth() gives the automatic one).
    int displayDepth = 24;
    bool dither = true;
    // When valid, a reader that decodes scaled (JPEG) may decode at the smallest size
    // its decoder offers that is not below the hint on either axis. Others ignore it.
    QSize scaleHint;
};

struct RasterLoadResult
{
    enum class Outcome {
        Missing,      // no such file: the picture becomes empty, nothing is shown
        Unrecognised, // no reader for the extension: the picture stays as it was
        Loaded,       // image holds the decoded picture
        ReaderFailed, // the reader refused the file: show messages; image is what it produced
        Unexpected    // the reader broke down: the picture becomes empty, nothing is shown
    };
    Outcome outcome = Outcome::Unrecognised;
    QImage image;
    // What the user sees, in order. After ReaderFailed exactly two texts: the reader's
    // own text for its failure (an error box), then "Reading ... file failed" (an
    // information box). Empty otherwise.
    QStringList messages;
    // The picture's full size in the file (after orientation), also after a scaled decode.
    QSize originalSize;
};

RasterLoadResult loadRaster(const RasterLoadRequest &request);
// The same with the reader given rather than picked by the extension.
RasterLoadResult loadRasterWith(RasterReader reader, const RasterLoadRequest &request);

} // namespace pelorin
