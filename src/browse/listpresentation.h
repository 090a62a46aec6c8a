#pragma once
// The texts of the report style's Size and Date columns.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace pelorin {

// Up to 1024 bytes the byte count followed by " Bytes"; above it the kilobytes, rounded
// to the nearest integer with halves going to the even neighbour, followed by "K".
QString sizeText(qint64 bytes);

// The modification time as the locale's short date, a blank and its long time (without
// a time-zone name). Seconds are cut to even values, as file times with two-second
// resolution give them; the time is left out when that makes it exactly midnight.
QString dateText(const QDateTime &modified, const QLocale &locale = QLocale());

// The Size and Date texts of one file; both empty when the file is gone or is a
// directory, so a vanished file leaves its columns blank.
struct ListColumns
{
    QString size;
    QString date;
};
ListColumns listColumns(const QString &path, const QLocale &locale = QLocale());

} // namespace pelorin
