#include "imaging/metafile/metafileclipboard.h"

#include "imaging/metafile/metafilepicture.h"

#include <QImage>
#include <QMimeData>

namespace pelorin {

std::unique_ptr<QMimeData> metafileMimeData(const MetafilePicture &picture, QSize renderSize)
{
    auto mime = std::make_unique<QMimeData>();
    if (picture.isEnhanced()) {
        mime->setData(QStringLiteral("image/emf"), picture.data());
        mime->setData(QStringLiteral("image/x-emf"), picture.data());
        mime->setData(QStringLiteral("application/x-qt-windows-mime;value=\"Enhanced Metafile\""), picture.data());
    } else {
        mime->setData(QStringLiteral("image/wmf"), picture.data());
        mime->setData(QStringLiteral("image/x-wmf"), picture.data());
    }
    if (renderSize.isEmpty())
        renderSize = QSize(picture.width(), picture.height());
    mime->setImageData(picture.render(renderSize));
    return mime;
}

} // namespace pelorin
