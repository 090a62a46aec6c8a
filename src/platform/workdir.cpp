#include "platform/workdir.h"

#include "platform/error.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <unistd.h>

namespace pelorin {

QString workingDirectory()
{
    return QDir::currentPath();
}

void setWorkingDirectory(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || ::chdir(native.constData()) != 0)
        throw InOutError(native.isEmpty() ? ENOENT : errno, path);
}

QString includeBackslash(const QString &path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

WorkingDirectoryGuard::WorkingDirectoryGuard() : mSaved(workingDirectory()) {}

WorkingDirectoryGuard::~WorkingDirectoryGuard()
{
    const QByteArray native = QFile::encodeName(mSaved);
    if (::chdir(native.constData()) != 0) {
        // The directory vanished meanwhile; there is nothing sound to go back to.
    }
}

void letMessagesRun()
{
    QCoreApplication::processEvents();
}

} // namespace pelorin
