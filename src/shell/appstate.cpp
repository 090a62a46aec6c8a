#include "shell/appstate.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace pelorin {

AppState &appState()
{
    static AppState state;
    return state;
}

QString makeWindowsDir()
{
    // Kept for the whole run; QTemporaryDir makes it 0700 and removes it at exit.
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir) {
        QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (base.isEmpty() || !QDir(base).exists())
            base = QDir::tempPath();
        dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/pelorin-XXXXXX"));
        if (!dir->isValid())
            dir = std::make_unique<QTemporaryDir>();
    }
    return dir->isValid() ? dir->path() + QLatin1Char('/') : QString();
}

} // namespace pelorin
