// Times loading and playing each metafile of the shared corpus into 300 x 300 and
// prints the median of several runs per file.
//   bench_metafile [CORPUS_DIR] [RUNS]
#include "imaging/metafile/metafilepicture.h"
#include "platform/error.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    const QString corpus = args.size() > 1 ? args[1] : QStringLiteral(PELORIN_CORPUS_DIR);
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 7;

    QStringList files;
    QDirIterator it(corpus, {QStringLiteral("*.wmf"), QStringLiteral("*.emf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();

    std::vector<double> all;
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        std::vector<double> times;
        bool refused = false;
        for (int i = 0; i < runs && !refused; ++i) {
            QElapsedTimer timer;
            timer.start();
            try {
                const auto picture = pelorin::MetafilePicture::fromData(data);
                QImage image(300, 300, QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter painter(&image);
                picture->draw(painter, image.rect());
            } catch (const pelorin::Error &) {
                refused = true;
            }
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        all.push_back(median);
        std::printf("%9.3f ms  %s%s\n", median, qPrintable(path.mid(corpus.size() + 1)), refused ? "  (refused)" : "");
    }
    if (!all.empty()) {
        std::sort(all.begin(), all.end());
        std::printf("%zu files, median of medians %.3f ms, slowest %.3f ms\n", all.size(), all[all.size() / 2],
                    all.back());
    }
    return 0;
}
