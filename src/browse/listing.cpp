#include "browse/listing.h"

#include "platform/error.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace pelorin {

QStringList listingExtensions(const QString &extFilter)
{
    if (extFilter == QLatin1String("all")) {
        return {QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("ico"), QStringLiteral("jpg"),
                QStringLiteral("pcx"), QStringLiteral("png"), QStringLiteral("tif"), QStringLiteral("wmf"),
                QStringLiteral("emf"), QStringLiteral("dib")};
    }
    return {extFilter.isEmpty() ? QStringLiteral("bmp") : extFilter};
}

void CollectFiles(const QString &directory, const QString &extension, const SizeLimit &limit, QStringList &fileNames)
{
    // readdir keeps the directory's own order; the match is on the bytes after the last
    // dot, compared without regard to case as the pattern "*.<extension>" would be.
    const QByteArray path = QFile::encodeName(directory);
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(path.constData()), &::closedir);
    if (!dir)
        throw InOutError(errno, directory);
    const QByteArray suffix = QByteArray(".") + QFile::encodeName(extension);
    const qint64 maxBytes = qint64(limit.kilobytes) * 1024;
    while (const dirent *entry = ::readdir(dir.get())) {
        const qsizetype length = qsizetype(std::strlen(entry->d_name));
        if (length < suffix.size())
            continue;
        const QByteArrayView tail(entry->d_name + length - suffix.size(), suffix.size());
        if (tail.compare(suffix, Qt::CaseInsensitive) != 0)
            continue;
        // Only regular files, also through a symbolic link; the type is confirmed with stat
        // because not every file system fills d_type.
        struct stat info;
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (limit.enabled && qint64(info.st_size) >= maxBytes)
            continue;
        fileNames.append(QFile::decodeName(entry->d_name));
    }
}

int progressPercent(int i, int count)
{
    if (count <= 0)
        return 0;
    const qint64 scaled = qint64(i) * 100;
    qint64 quotient = scaled / count;
    const qint64 twiceRemainder = (scaled % count) * 2;
    if (twiceRemainder > count || (twiceRemainder == count && quotient % 2 != 0))
        ++quotient;
    return int(quotient);
}

QString fileCountText(int count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" File") : QStringLiteral(" Files"));
}

} // namespace pelorin
