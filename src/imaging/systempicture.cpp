#include "imaging/systempicture.h"

#include "platform/error.h"

#include <QFileInfo>

namespace pelorin {

std::unique_ptr<SystemPicture> loadSystemPicture(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("wmf") || ext == QLatin1String("emf"))
        return loadMetafile(path);
    if (ext == QLatin1String("ico"))
        return loadIcon(path);
    throw Error(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
}

std::unique_ptr<SystemPicture> loadIcon(const QString &path)
{
    throw Error(QStringLiteral("%1 is not a valid icon").arg(path));
}

} // namespace pelorin
