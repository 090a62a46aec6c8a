#include "browse/listpresentation.h"

#include <QFileInfo>

namespace pelorin {

QString sizeText(qint64 bytes)
{
    if (bytes <= 1024)
        return QString::number(bytes) + QStringLiteral(" Bytes");
    qint64 kilobytes = bytes / 1024;
    const qint64 rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && kilobytes % 2 != 0))
        ++kilobytes;
    return QString::number(kilobytes) + QLatin1Char('K');
}

namespace {

// The locale's long time format without its time-zone field ("t"), which a file time
// in local time does not show. Quoted literals are kept as they are.
QString longTimeFormat(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.trimmed();
}

} // namespace

QString dateText(const QDateTime &modified, const QLocale &locale)
{
    const QDateTime local = modified.toLocalTime();
    QTime time = local.time();
    time = QTime(time.hour(), time.minute(), time.second() - time.second() % 2);
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    if (time == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + locale.toString(time, longTimeFormat(locale));
}

ListColumns listColumns(const QString &path, const QLocale &locale)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return {};
    return {sizeText(info.size()), dateText(info.lastModified(), locale)};
}

} // namespace pelorin
