// Thumbnail listing speed: a folder of real photographs (made from the wallpapers that
// Debian's wallpaper packages ship) listed in icon style through the real listing code,
// against two references on the same files at the same tile size: vipsthumbnail, and
// the bare decoding limit (every file decoded scaled with QImageReader on all cores,
// nothing else). Prints the three medians, the ratios and the listing's peak memory.
//
// Usage: bench_thumbnails [--photos DIR] [--count N] [--runs N]
// The photos are made once into DIR (default: bench-photos beside the binary) and
// reused; nothing of them belongs in the repository.

#include "thumbnaillisting.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

const QStringList kSourceDirs{QStringLiteral("/usr/share/wallpapers"), QStringLiteral("/usr/share/backgrounds")};

// Photographs of several megapixels among the shipped wallpapers: JPEGs at least 2400
// pixels wide (the rendered artwork of those packages is mostly PNG), and of the sizes
// one wallpaper comes in only the largest.
QStringList sourcePhotos()
{
    QMap<QString, std::pair<qint64, QString>> largest; // wallpaper folder -> pixels, path
    for (const QString &root : kSourceDirs) {
        QDirIterator it(root, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QSize size = QImageReader(path).size();
            if (size.width() < 2400)
                continue;
            // Plasma keeps one wallpaper's sizes in .../<name>/contents/images*/; MATE one per file.
            QString key = path;
            const qsizetype contents = path.indexOf(QLatin1String("/contents/"));
            if (contents > 0)
                key = path.left(contents);
            const qint64 pixels = qint64(size.width()) * size.height();
            if (!largest.contains(key) || largest.value(key).first < pixels)
                largest.insert(key, {pixels, path});
        }
    }
    QStringList found;
    for (const auto &entry : std::as_const(largest))
        found << entry.second;
    found.sort();
    return found;
}

// count photos: crops of 80 to 100 % of a source at shifting offsets, every other one
// mirrored, written as baseline JPEGs of quality 90 (as cameras write them).
bool makePhotos(const QString &dir, int count)
{
    const QString stamp = QDir(dir).filePath(QStringLiteral(".complete-v2-%1").arg(count));
    if (QFile::exists(stamp))
        return true;
    const QStringList sources = sourcePhotos();
    if (sources.isEmpty()) {
        std::fprintf(stderr, "No wallpaper photographs found; install plasma-workspace-wallpapers and mate-backgrounds.\n");
        return false;
    }
    QDir().mkpath(dir);
    // Only what an earlier run made here goes.
    for (const QString &old : QDir(dir).entryList({QStringLiteral("photo*.jpg"), QStringLiteral(".complete-*")},
                                                  QDir::Files | QDir::Hidden))
        QFile::remove(QDir(dir).filePath(old));
    std::fprintf(stderr, "Making %d photos from %lld sources in %s ...\n", count, qlonglong(sources.size()), qPrintable(dir));
    for (int s = 0; s < sources.size(); ++s) {
        const QImage source = QImageReader(sources.at(s)).read();
        for (int i = s; i < count; i += int(sources.size())) {
            const double f = 0.8 + 0.2 * ((i * 37) % 11) / 10.0;
            const QSize size(int(source.width() * f), int(source.height() * f));
            const QPoint offset(int((source.width() - size.width()) * ((i * 13) % 7) / 6.0),
                                int((source.height() - size.height()) * ((i * 7) % 5) / 4.0));
            QImage photo = source.copy(QRect(offset, size));
            if (i % 2)
                photo = photo.mirrored(true, false);
            QImageWriter writer(QDir(dir).filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'))));
            writer.setQuality(90);
            if (!writer.write(photo)) {
                std::fprintf(stderr, "Cannot write %s\n", qPrintable(writer.fileName()));
                return false;
            }
        }
    }
    QFile mark(stamp);
    return mark.open(QIODevice::WriteOnly);
}

QStringList photoPaths(const QString &dir)
{
    QStringList paths;
    for (const QString &name : QDir(dir).entryList({QStringLiteral("photo*.jpg")}, QDir::Files, QDir::Name))
        paths << QDir(dir).filePath(name);
    return paths;
}

// The smallest size the JPEG decoder produces by itself (1/8, 1/4 or 1/2) that is not
// below tile; Qt then has nothing left to resample.
QSize scaledDecodeSize(QSize full, QSize tile)
{
    for (int denominator : {8, 4, 2}) {
        const QSize s(full.width() / denominator, full.height() / denominator);
        if (s.width() >= tile.width() && s.height() >= tile.height())
            return s;
    }
    return full;
}

double bareLimit(const QStringList &paths, QSize tile)
{
    QElapsedTimer timer;
    timer.start();
    QtConcurrent::blockingMap(paths, [tile](const QString &path) {
        QImageReader reader(path);
        reader.setScaledSize(scaledDecodeSize(reader.size(), tile));
        const QImage image = reader.read();
        if (image.isNull())
            std::fprintf(stderr, "bare limit: cannot read %s\n", qPrintable(path));
    });
    return double(timer.nsecsElapsed()) / 1e6;
}

double vips(const QStringList &paths, QSize tile)
{
    QTemporaryDir out;
    QStringList args{QStringLiteral("--size"), QStringLiteral("%1x%2!").arg(tile.width()).arg(tile.height()),
                     QStringLiteral("-o"), out.filePath(QStringLiteral("%s.png"))};
    args += paths;
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(QStringLiteral("vipsthumbnail"), args);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "vipsthumbnail failed: %s\n", process.readAllStandardError().constData());
        return -1;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

// Peak resident memory since the last reset, in MB (Linux: VmHWM).
double peakMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() * 1024.0 / 1e6;
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// CPU time (user and system) of this process, or of its finished children, in ms.
double cpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Wall time and CPU time of one run.
struct Timing
{
    double wall = 0;
    double cpu = 0;
};

template<class F>
Timing timed(int who, F run)
{
    const double cpu = cpuMs(who);
    const double wall = run();
    return {wall, cpuMs(who) - cpu};
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption photosOption(QStringLiteral("photos"), QStringLiteral("Folder of the photos."), QStringLiteral("dir"),
                                    QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bench-photos")));
    QCommandLineOption countOption(QStringLiteral("count"), QStringLiteral("Number of photos."), QStringLiteral("n"),
                                   QStringLiteral("200"));
    QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each contender."), QStringLiteral("n"),
                                  QStringLiteral("5"));
    parser.addOptions({photosOption, countOption, runsOption});
    parser.process(app);

    const QString dir = QDir(parser.value(photosOption)).absolutePath();
    const int count = std::max(1, parser.value(countOption).toInt());
    const int runs = std::max(1, parser.value(runsOption).toInt());
    if (!makePhotos(dir, count))
        return 1;
    const QStringList paths = photoPaths(dir).mid(0, count);
    qint64 pixels = 0;
    for (const QString &p : paths) {
        const QSize s = QImageReader(p).size();
        pixels += qint64(s.width()) * s.height();
    }
    const QSize tile = benchTileSize();
    std::printf("%lld photos of %.1f megapixels on average, tile %dx%d, %d runs, %d threads\n",
                qlonglong(paths.size()), double(pixels) / paths.size() / 1e6, tile.width(), tile.height(), runs,
                QThread::idealThreadCount());

    BenchListing listing(dir);
    QList<double> listed, bare, vipsTimes, listedCpu, bareCpu, vipsCpu, bareList, bareListCpu;
    double peak = 0;
    listing.run(); // warm-up: fonts, plugins, page cache
    for (int r = 0; r < runs; ++r) {
        const Timing n = timed(RUSAGE_SELF, [&] { return listing.runWithoutThumbnails(); });
        bareList << n.wall;
        bareListCpu << n.cpu;
        resetPeak();
        const Timing l = timed(RUSAGE_SELF, [&] { return listing.run(); });
        peak = std::max(peak, peakMB());
        const Timing b = timed(RUSAGE_SELF, [&] { return bareLimit(paths, tile); });
        const Timing v = timed(RUSAGE_CHILDREN, [&] { return vips(paths, tile); });

        listed << l.wall;
        listedCpu << l.cpu;
        bare << b.wall;
        bareCpu << b.cpu;
        vipsTimes << v.wall;
        vipsCpu << v.cpu;
        std::fprintf(stderr, "run %d: listing %.0f ms (cpu %.0f), bare limit %.0f ms (cpu %.0f), vipsthumbnail %.0f ms (cpu %.0f)\n",
                     r + 1, l.wall, l.cpu, b.wall, b.cpu, v.wall, v.cpu);
    }
    if (listing.itemCount() != paths.size() || listing.imageCount() != paths.size()) {
        std::fprintf(stderr, "The listing showed %d items and %d thumbnails for %lld files\n", listing.itemCount(),
                     listing.imageCount(), qlonglong(paths.size()));
        return 1;
    }
    const double l = median(listed), b = median(bare), v = median(vipsTimes);
    const double lc = median(listedCpu), bc = median(bareCpu), vc = median(vipsCpu);
    std::printf("                  wall median   cpu median\n");
    std::printf("listing       %12.1f ms %10.1f ms\n", l, lc);
    std::printf("bare limit    %12.1f ms %10.1f ms\n", b, bc);
    std::printf("vipsthumbnail %12.1f ms %10.1f ms\n", v, vc);
    std::printf("(list alone   %12.1f ms %10.1f ms: the same listing with No Thumbs)\n", median(bareList),
                median(bareListCpu));
    std::printf("listing / bare limit    %.2f wall, %.2f cpu (goal at most 1.25)\n", l / b, lc / bc);
    std::printf("listing / vipsthumbnail %.2f wall, %.2f cpu\n", l / v, lc / vc);
    std::printf("listing peak memory %.0f MB (goal under 300 MB)\n", peak);
    return 0;
}
