#include "codectools.h"
#include "messagelog.h"

#include <QFile>
#include <QProcess>

namespace pelorin::test {

ToolRun runTool(const QString &program, const QStringList &arguments)
{
    ToolRun run;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return run;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

QImage decodeWithNetpbm(const QString &converter, const QString &path)
{
    const ToolRun run = runTool(converter, {path});
    if (run.exitCode != 0)
        return {};
    return QImage::fromData(run.out);
}

QList<CorpusEntry> corpusEntries(const QString &format)
{
    QList<CorpusEntry> entries;
    QFile manifest(corpusDir() + QStringLiteral("/MANIFEST.tsv"));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    manifest.readLine(); // column names
    while (!manifest.atEnd()) {
        const QStringList fields = QString::fromUtf8(manifest.readLine()).split(QLatin1Char('\t'));
        if (fields.size() < 8 || fields[1] != format)
            continue;
        CorpusEntry entry;
        entry.path = corpusDir() + QLatin1Char('/') + fields[0];
        entry.category = fields[3];
        if (!fields[7].isEmpty())
            entry.reference = corpusDir() + QLatin1Char('/') + fields[7];
        entries.append(entry);
    }
    return entries;
}

} // namespace pelorin::test
