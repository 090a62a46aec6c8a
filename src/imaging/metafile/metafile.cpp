// Placeholder until the metafile player lands: every metafile is refused.
#include "imaging/systempicture.h"
#include "platform/error.h"

namespace pelorin {

std::unique_ptr<SystemPicture> loadMetafile(const QString &path)
{
    throw Error(QStringLiteral("%1 is not a valid metafile").arg(path));
}

} // namespace pelorin
