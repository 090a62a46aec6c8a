#pragma once
// Makes the thumbnail tiles of one listing, on the user-interface thread, in the
// listing's order. Raster files go through the work component and metafiles through
// the work picture (icons through the component too, drawn at their own size). Raster
// files are decoded ahead on a small pool of workers from absolute paths: scaled where
// the decoder can (JPEG) and stretched to the tile there, so only tile-sized QImages
// wait in memory. What the user sees is unchanged by that: each tile, and each reader
// message, comes when the listing reaches its file.

#include "browse/thumbnailpipeline.h"
#include "imaging/rasterload.h"

#include <QImage>
#include <QSize>
#include <QStringList>

namespace pelorin {

class ImageComponent;
class PictureHolder;

class ThumbnailMaker
{
public:
    ThumbnailMaker(ImageComponent &workComponent, PictureHolder &workPicture);
    ~ThumbnailMaker();

    // Starts decoding the raster files among names (bare names in directory) for tiles
    // of tileSize. Cancels an earlier run.
    void begin(const QStringList &names, const QString &directory, QSize tileSize);
    // The tile of names[index], whose bare name is name, relative to the working
    // directory: white where nothing is drawn, with "Error" when the file could not be
    // loaded or drawn. Shows a raster reader's failure messages. Never raises.
    QImage make(int index, const QString &name, QSize tileSize);
    // Drops the decoding ahead and everything it made that was not used.
    void end();

private:
    void drawRaster(QImage &tile, const QString &name, RasterLoadResult decoded);

    ImageComponent &mComponent;
    PictureHolder &mPicture;
    ThumbnailPipeline<RasterLoadResult> mPipeline;
    QStringList mNames;
    QSize mTileSize;
};

// Decodes one raster file for a tile: scaled where the reader can, then stretched to
// exactly tileSize without smoothing. Safe on any thread; never raises.
RasterLoadResult decodeRasterTile(const RasterLoadRequest &request, QSize tileSize);

} // namespace pelorin
