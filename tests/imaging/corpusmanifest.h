#pragma once
// The rows of the shared corpus's MANIFEST.tsv that the imaging tests use.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace pelorin::test {

struct CorpusFile
{
    QString path;           // relative to the corpus directory
    QString format;         // bmp, dib, gif, ico, jpeg, pcx, png, tiff, ...
    QString category;       // valid, questionable, invalid
    QStringList references; // reference renderings Qt can read (png, ppm, pbm)
};

// The input files (no references, no documents) of the given formats.
QList<CorpusFile> corpusFiles(const QStringList &formats);

} // namespace pelorin::test
