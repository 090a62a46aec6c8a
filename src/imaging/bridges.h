#pragma once
// Bridges between the loading routes, through the private scratch directory WindowsDir
// (never a shared or user directory). The working directory is restored on every path
// and the temporary file removed, also when a step fails.

#include <QImage>
#include <QSize>
#include <QString>

namespace pelorin {

class ImageComponent;
class PictureHolder;

// A plain bitmap of the component's picture as its BMP writer writes it (at the depth
// ImageWriteRes gives), read back from "$.$mp". Null when the writer failed (its
// messages were shown).
QImage BridgeToBitmap(ImageComponent &component);

// Renders fileName (an icon or metafile, relative to the working directory) into a white
// bitmap of size through picture (its picture is replaced), and loads that bitmap into
// target as a raster file "$.bmp". Raises pelorin::Error when the file cannot be loaded.
void BridgeToComponent(const QString &fileName, QSize size, PictureHolder &picture, ImageComponent &target);
// The same with the work picture and the raster viewer's component.
void BridgeToComponent(const QString &fileName, QSize size);

// The scratch directory the bridges use: WindowsDir, made when not yet set.
QString bridgeDirectory();

} // namespace pelorin
