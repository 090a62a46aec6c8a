#pragma once
// The key of all routing: a file name's extension, and which holder each operation
// loads a file of that extension into.

#include <QString>

namespace pelorin {

// The lower-cased extension with its dot: everything from the last '.' after the last
// path separator ('/', '\\' or ':'); empty when the name has none.
QString ImageExtension(const QString &fileName);

// The three loading routes' classes of file.
enum class FileKind { Metafile, Icon, Raster };
// ".wmf" and ".emf" are metafiles, ".ico" icons, everything else raster.
FileKind fileKind(const QString &fileName);

// The five image holders (imageholders.h).
enum class Holder { WorkComponent, WorkPicture, ViewerComponent, MetafilePicture, ScanComponent };

// The operations that load a file.
enum class Operation { Thumbnail, View, PrintOne, ThumbnailSheet, Clipboard, Convert };

// How one operation loads one file.
struct Route
{
    Holder holder;
    // False only where the operation uses the holder's current image without loading
    // (copying an icon file to the clipboard works on the raster viewer's image).
    bool load = true;
    // The picture is drawn into a bitmap of the operation's size before use.
    bool rendered = false;
    // The rendered bitmap then enters the raster viewer's component (BridgeToComponent).
    bool throughComponent = false;
};

// The routing table: which holder an operation loads fileName into.
Route routeFor(Operation operation, const QString &fileName);

} // namespace pelorin
