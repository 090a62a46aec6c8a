#include "browse/thumbnailmaker.h"

#include "browse/thumbnailtile.h"
#include "imaging/imagecomponent.h"
#include "imaging/imageextension.h"
#include "imaging/pictureholder.h"
#include "platform/user.h"

#include <QDir>
#include <QPainter>

namespace pelorin {

RasterLoadResult decodeRasterTile(const RasterLoadRequest &request, QSize tileSize)
{
    RasterLoadResult result;
    try {
        result = loadRaster(request);
        if (!result.image.isNull())
            result.image = stretchedTile(result.image, tileSize);
    } catch (...) {
        result = RasterLoadResult();
        result.outcome = RasterLoadResult::Outcome::Unexpected;
    }
    return result;
}

ThumbnailMaker::ThumbnailMaker(ImageComponent &workComponent, PictureHolder &workPicture)
    : mComponent(workComponent), mPicture(workPicture)
{
}

ThumbnailMaker::~ThumbnailMaker() = default;

void ThumbnailMaker::begin(const QStringList &names, const QString &directory, QSize tileSize)
{
    mNames = names;
    mTileSize = tileSize;
    QStringList paths;
    paths.reserve(names.size());
    const QDir dir(directory);
    for (const QString &name : names)
        paths << dir.absoluteFilePath(name);
    const RasterLoadRequest base{QString(), mComponent.readDepth(), mComponent.ImageDither, tileSize};
    mPipeline.start(
        int(paths.size()),
        [paths, base, tileSize](int index) {
            RasterLoadRequest request = base;
            request.path = paths.at(index);
            return decodeRasterTile(request, tileSize);
        },
        [names](int index) { return fileKind(names.at(index)) == FileKind::Raster; });
}

void ThumbnailMaker::end()
{
    mPipeline.cancel();
    mNames.clear();
}

QImage ThumbnailMaker::make(int index, const QString &name, QSize tileSize)
{
    QImage tile = blankTile(tileSize);
    try {
        QPainter painter(&tile);
        switch (fileKind(name)) {
        case FileKind::Metafile:
            mPicture.loadFromFile(name);
            mPicture.picture().drawStretched(painter, tile.rect());
            break;
        case FileKind::Icon:
            mComponent.setImageName(name);
            mComponent.picture().drawStretched(painter, tile.rect());
            break;
        case FileKind::Raster: {
            std::optional<RasterLoadResult> decoded;
            // Work decoded ahead fits only when it was made for this very name and size.
            if (tileSize == mTileSize && index >= 0 && index < mNames.size() && mNames.at(index) == name)
                decoded = mPipeline.take(index);
            if (!decoded)
                decoded = decodeRasterTile({name, mComponent.readDepth(), mComponent.ImageDither, tileSize}, tileSize);
            painter.end();
            drawRaster(tile, name, std::move(*decoded));
            break;
        }
        }
    } catch (...) {
        markError(tile);
    }
    return tile;
}

// The raster load taken by the work component as if it had loaded the file itself, then
// the component's picture drawn over the tile.
void ThumbnailMaker::drawRaster(QImage &tile, const QString &name, RasterLoadResult decoded)
{
    mComponent.applyLoadResult(name, std::move(decoded));
    QPainter painter(&tile);
    mComponent.picture().drawStretched(painter, tile.rect());
}

} // namespace pelorin
