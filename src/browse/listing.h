#pragma once
// The listing's logic that needs no window: which names a directory contributes for a
// type, the order of the "all" filter, the progress figure and the header count text.

#include <QString>
#include <QStringList>

namespace pelorin {

// The Maximum Size limit: when enabled, a file is taken only when its size in bytes is
// less than kilobytes * 1024.
struct SizeLimit
{
    bool enabled = false;
    int kilobytes = 100;
};

// The extensions one listing collects for the filter, in order: the filter itself, or
// bmp, gif, ico, jpg, pcx, png, tif, wmf, emf, dib for "all". Empty counts as "bmp".
QStringList listingExtensions(const QString &extFilter);

// Appends to fileNames the bare names of the files in directory whose extension is
// extension, in any case, in the order the directory yields them: ordinary and hidden
// files (a symbolic link to a file counts as a file), never directories, sockets, pipes
// or devices; files the size limit excludes are left out. Raises InOutError when the
// directory cannot be read.
void CollectFiles(const QString &directory, const QString &extension, const SizeLimit &limit, QStringList &fileNames);

// i / count * 100 rounded to the nearest integer, halves to the even neighbour.
int progressPercent(int i, int count);

// "1 File", otherwise "<n> Files".
QString fileCountText(int count);

} // namespace pelorin
