#include "corpusmanifest.h"

#include "messagelog.h"

#include <QFile>
#include <QRegularExpression>

namespace pelorin::test {

QList<CorpusFile> corpusFiles(const QStringList &formats)
{
    QFile manifest(corpusDir() + QStringLiteral("/MANIFEST.tsv"));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<CorpusFile> inputs;
    QHash<QString, QStringList> references;
    // Later frames of an animation are not what a first-frame reader shows.
    const QRegularExpression laterFrame(QStringLiteral("-[1-9][0-9]*\\.png$"));
    const QRegularExpression readable(QStringLiteral("\\.(png|ppm|pbm)$"));
    manifest.readLine(); // header
    while (!manifest.atEnd()) {
        const QStringList fields = QString::fromUtf8(manifest.readLine()).chopped(1).split(QLatin1Char('\t'));
        if (fields.size() < 8 || !formats.contains(fields.at(1)))
            continue;
        const QString &category = fields.at(3);
        if (category == QLatin1String("expected")) {
            if (!readable.match(fields.at(0)).hasMatch() || laterFrame.match(fields.at(0)).hasMatch())
                continue;
            const QStringList owners = fields.at(7).split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (const QString &owner : owners)
                references[owner].append(fields.at(0));
        } else if (category != QLatin1String("doc")) {
            inputs.append({fields.at(0), fields.at(1), category, {}});
        }
    }
    for (CorpusFile &file : inputs)
        file.references = references.value(file.path);
    return inputs;
}

} // namespace pelorin::test
