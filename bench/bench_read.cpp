// Reading speed of the image component's readers on real photographs, per megapixel,
// next to GraphicsMagick reading the same files in the same run.
//
//   bench_read [PHOTO.jpg ...] [--runs N]
//
// Without photos it takes the JPEG wallpapers under /usr/share/backgrounds (Debian's
// mate-backgrounds). The three largest photos are turned into BMP, PNG, TIFF, GIF and
// PCX files in a temporary directory with `gm convert`; a 12-megapixel JPEG is made from
// the largest for the scaled-decode figure. Times are the best of N runs, one thread.

#include "imaging/rasterload.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace pelorin;

namespace {

struct Sample
{
    QString format;
    QString path;
    QSize size;
};

double bestOf(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

bool gm(const QStringList &args, QString *output = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_NUM_THREADS"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("gm"), args);
    if (!process.waitForFinished(300000) || process.exitCode() != 0)
        return false;
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    return true;
}

// GraphicsMagick's own timing of reading the file `runs` times in one process, per read.
double gmReadMs(const QString &path, int runs)
{
    QString output;
    if (!gm({QStringLiteral("benchmark"), QStringLiteral("-iterations"), QString::number(runs),
             QStringLiteral("convert"), path, QStringLiteral("null:")},
            &output))
        return -1;
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("([0-9.]+)s total")).match(output);
    return match.hasMatch() ? match.captured(1).toDouble() * 1000 / runs : -1;
}

QSize decodedSize(const QString &path)
{
    const RasterLoadResult result = loadRaster({path, 24, false, QSize()});
    return result.image.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 3;
    if (const qsizetype at = args.indexOf(QStringLiteral("--runs")); at >= 0 && at + 1 < args.size()) {
        runs = std::max(1, args.at(at + 1).toInt());
        args.remove(at, 2);
    }
    QStringList photos = args;
    if (photos.isEmpty()) {
        QDirIterator it(QStringLiteral("/usr/share/backgrounds"), {QStringLiteral("*.jpg")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            photos << it.next();
        photos.sort();
    }
    if (photos.isEmpty()) {
        std::fputs("bench_read: no photographs (install mate-backgrounds or name JPEG files)\n", stderr);
        return 2;
    }
    // The largest three photographs keep a run short but representative.
    QHash<QString, qint64> pixels;
    for (const QString &photo : photos) {
        const QSize size = QImageReader(photo).size();
        pixels[photo] = qint64(size.width()) * size.height();
    }
    std::sort(photos.begin(), photos.end(), [&](const QString &a, const QString &b) { return pixels[a] > pixels[b]; });
    photos = photos.mid(0, 3);

    QTemporaryDir dir;
    QList<Sample> samples;
    int index = 0;
    for (const QString &photo : photos) {
        const QString base = dir.filePath(QStringLiteral("photo%1").arg(index++));
        samples.append({QStringLiteral("jpg"), photo, decodedSize(photo)});
        for (const QString &format : {QStringLiteral("bmp"), QStringLiteral("png"), QStringLiteral("tif"),
                                      QStringLiteral("gif"), QStringLiteral("pcx")}) {
            const QString target = base + QLatin1Char('.') + format;
            if (gm({QStringLiteral("convert"), photo, target}))
                samples.append({format, target, decodedSize(target)});
        }
    }
    // A 12-megapixel photograph for the scaled decode, encoded as cameras do (baseline,
    // quality 92, chroma halved both ways).
    const QString twelve = dir.filePath(QStringLiteral("twelve.jpg"));
    gm({QStringLiteral("convert"), photos.first(), QStringLiteral("-resize"), QStringLiteral("12000000@"),
        QStringLiteral("-quality"), QStringLiteral("92"), QStringLiteral("-sampling-factor"), QStringLiteral("2x2"),
        QStringLiteral("-interlace"), QStringLiteral("None"), twelve});
    samples.append({QStringLiteral("jpg 12MP"), twelve, decodedSize(twelve)});

    std::printf("%-9s %-26s %10s %9s %9s %11s %9s %9s %7s\n", "format", "file", "size", "full ms", "ms/MP", "to 70 ms",
                "gm ms", "gm ms/MP", "gm/ours");
    for (const Sample &sample : samples) {
        if (!sample.size.isValid()) {
            std::printf("%-9s %-26s unreadable\n", qPrintable(sample.format),
                        qPrintable(QFileInfo(sample.path).fileName()));
            continue;
        }
        const double megapixels = double(sample.size.width()) * sample.size.height() / 1e6;
        const double full = bestOf(runs, [&] { loadRaster({sample.path, 24, false, QSize()}); });
        const double thumb = bestOf(runs, [&] {
            const RasterLoadResult result = loadRaster({sample.path, 24, false, QSize(70, 70)});
            const QImage tile = result.image.scaled(70, 70, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            Q_UNUSED(tile);
        });
        const double theirs = gmReadMs(sample.path, runs);
        std::printf("%-9s %-26s %10s %9.1f %9.2f %11.1f %9.1f %9.2f %7.2f\n", qPrintable(sample.format),
                    qPrintable(QFileInfo(sample.path).fileName().left(26)),
                    qPrintable(QStringLiteral("%1x%2").arg(sample.size.width()).arg(sample.size.height())), full,
                    full / megapixels, thumb, theirs, theirs / megapixels, theirs / full);
    }
    return 0;
}
