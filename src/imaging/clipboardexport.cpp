#include "imaging/clipboardexport.h"

#include "imaging/imagecomponent.h"
#include "imaging/metafile/metafileclipboard.h"
#include "imaging/metafile/metafilepicture.h"
#include "imaging/picture.h"
#include "platform/error.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace pelorin {

void CopyImageToClipboard(const ImageComponent &component)
{
    CopyImageToClipboard(component.picture());
}

void CopyImageToClipboard(const Picture &picture)
{
    switch (picture.kind()) {
    case Picture::Kind::Empty:
        return;
    case Picture::Kind::Icon:
        throw Error(QStringLiteral("Clipboard does not support icons"));
    case Picture::Kind::Bitmap:
        QGuiApplication::clipboard()->setImage(picture.bitmap());
        return;
    case Picture::Kind::Metafile: {
        // The metafile's own data for programs that take drawings, and its rendering.
        std::unique_ptr<QMimeData> data;
        if (const auto *metafile = dynamic_cast<const MetafilePicture *>(picture.graphic())) {
            data = metafileMimeData(*metafile);
        } else {
            data = std::make_unique<QMimeData>();
            data->setImageData(picture.toImage());
        }
        QGuiApplication::clipboard()->setMimeData(data.release());
        return;
    }
    }
}

} // namespace pelorin
