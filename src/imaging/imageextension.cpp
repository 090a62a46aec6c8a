#include "imaging/imageextension.h"

namespace pelorin {

QString ImageExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    for (qsizetype i = dot + 1; i < fileName.size(); ++i) {
        const QChar c = fileName.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            return {};
    }
    return fileName.mid(dot).toLower();
}

FileKind fileKind(const QString &fileName)
{
    const QString ext = ImageExtension(fileName);
    if (ext == QLatin1String(".wmf") || ext == QLatin1String(".emf"))
        return FileKind::Metafile;
    if (ext == QLatin1String(".ico"))
        return FileKind::Icon;
    return FileKind::Raster;
}

Route routeFor(Operation operation, const QString &fileName)
{
    const FileKind kind = fileKind(fileName);
    switch (operation) {
    case Operation::Thumbnail:
        return {kind == FileKind::Metafile ? Holder::WorkPicture : Holder::WorkComponent};
    case Operation::View:
        return {kind == FileKind::Metafile ? Holder::MetafilePicture : Holder::ViewerComponent};
    case Operation::PrintOne:
        return {kind == FileKind::Raster ? Holder::ViewerComponent : Holder::MetafilePicture};
    case Operation::ThumbnailSheet:
        if (kind == FileKind::Raster)
            return {Holder::WorkComponent};
        return {Holder::WorkPicture, true, true};
    case Operation::Clipboard:
        if (kind == FileKind::Metafile)
            return {Holder::MetafilePicture};
        if (kind == FileKind::Icon)
            return {Holder::ViewerComponent, false};
        return {Holder::ViewerComponent};
    case Operation::Convert:
        if (kind == FileKind::Raster)
            return {Holder::ViewerComponent};
        return {Holder::WorkPicture, true, true, true};
    }
    return {Holder::WorkComponent};
}

} // namespace pelorin
