#pragma once
// Helpers of the codec tests: independent command-line readers and the shared corpus.

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace pelorin::test {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program and waits for it; exitCode is -1 when it could not be started.
ToolRun runTool(const QString &program, const QStringList &arguments);

// Decodes a file through a netpbm converter (pcxtoppm, giftopnm, bmptopnm...) into an image.
QImage decodeWithNetpbm(const QString &converter, const QString &path);

struct CorpusEntry
{
    QString path;      // absolute
    QString category;  // valid, invalid, questionable, expected, doc
    QString reference; // for an expected file: the absolute path of the file it decodes
};

// The corpus entries of one format, from MANIFEST.tsv.
QList<CorpusEntry> corpusEntries(const QString &format);

} // namespace pelorin::test
