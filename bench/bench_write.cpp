// Writer benchmark: each of our writers on real photographs, in milliseconds per
// megapixel, beside GraphicsMagick's `gm convert` writing the same format and depth in
// the same run. gm reads a PPM copy of the photograph; its time for reading the PPM
// alone (to null:) is subtracted, so both columns are the cost of writing.
//   bench_write [--reps N] [photo ...]   (default: the MATE nature backgrounds)
#include "imaging/codec/codec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace pelorin::codec;

namespace {

struct Case
{
    const char *name;
    const char *extension;
    std::function<int(const QImage &, const QString &)> ours;
    QStringList gmOptions; // before the output name
    const char *gmPrefix;  // format prefix of the output name
};

QList<Case> cases()
{
    return {
        {"bmp 24", "bmp", [](const QImage &i, const QString &p) { return writeBmp(i, p, 24); }, {}, "BMP3:"},
        {"bmp 8", "bmp", [](const QImage &i, const QString &p) { return writeBmp(i, p, 8); },
         {QStringLiteral("-colors"), QStringLiteral("256")}, "BMP3:"},
        {"bmp 4", "bmp", [](const QImage &i, const QString &p) { return writeBmp(i, p, 4); },
         {QStringLiteral("-colors"), QStringLiteral("16")}, "BMP3:"},
        {"png 24", "png", [](const QImage &i, const QString &p) { return writePng(i, p, 24, false); }, {}, "PNG24:"},
        {"png 24 interlaced", "png", [](const QImage &i, const QString &p) { return writePng(i, p, 24, true); },
         {QStringLiteral("-interlace"), QStringLiteral("Line")}, "PNG24:"},
        {"png 8", "png", [](const QImage &i, const QString &p) { return writePng(i, p, 8, false); },
         {QStringLiteral("-colors"), QStringLiteral("256")}, "PNG8:"},
        {"jpeg q25", "jpg", [](const QImage &i, const QString &p) { return writeJpeg(i, p, 24, 25, 0); },
         {QStringLiteral("-quality"), QStringLiteral("25")}, "JPEG:"},
        {"jpeg q75 grey", "jpg", [](const QImage &i, const QString &p) { return writeJpeg(i, p, 1, 75, 0); },
         {QStringLiteral("-quality"), QStringLiteral("75"), QStringLiteral("-colorspace"), QStringLiteral("Gray")}, "JPEG:"},
        {"gif 8", "gif", [](const QImage &i, const QString &p) { return writeGif(i, p, 8); },
         {QStringLiteral("-colors"), QStringLiteral("256")}, "GIF:"},
        {"tiff 24 none", "tif", [](const QImage &i, const QString &p) { return writeTiff(i, p, 24, 1); },
         {QStringLiteral("-compress"), QStringLiteral("None")}, "TIFF:"},
        {"tiff 24 lzw", "tif", [](const QImage &i, const QString &p) { return writeTiff(i, p, 24, 5); },
         {QStringLiteral("-compress"), QStringLiteral("LZW")}, "TIFF:"},
        {"tiff 24 packbits", "tif", [](const QImage &i, const QString &p) { return writeTiff(i, p, 24, 32773); },
         {QStringLiteral("-compress"), QStringLiteral("RLE")}, "TIFF:"},
        {"tiff 8 lzw", "tif", [](const QImage &i, const QString &p) { return writeTiff(i, p, 8, 5); },
         {QStringLiteral("-colors"), QStringLiteral("256"), QStringLiteral("-compress"), QStringLiteral("LZW")}, "TIFF:"},
        {"tiff 1 ccitt", "tif", [](const QImage &i, const QString &p) { return writeTiff(i, p, 1, 2); },
         {QStringLiteral("-monochrome"), QStringLiteral("-compress"), QStringLiteral("Group3")}, "TIFF:"},
        {"pcx 24", "pcx", [](const QImage &i, const QString &p) { return writePcx(i, p, 24); }, {}, "PCX:"},
        {"pcx 8", "pcx", [](const QImage &i, const QString &p) { return writePcx(i, p, 8); },
         {QStringLiteral("-colors"), QStringLiteral("256")}, "PCX:"},
        {"pcx 1", "pcx", [](const QImage &i, const QString &p) { return writePcx(i, p, 1); },
         {QStringLiteral("-monochrome")}, "PCX:"},
    };
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

// Wall time of one gm run in milliseconds, or -1 when it failed.
double timeGm(const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    QProcess gm;
    gm.start(QStringLiteral("gm"), arguments);
    if (!gm.waitForFinished(600000) || gm.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList photos;
    int reps = 3;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--reps") && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else
            photos << args[i];
    }
    if (photos.isEmpty()) {
        const QDir dir(QStringLiteral("/usr/share/backgrounds/mate/nature"));
        for (const QString &name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name).mid(0, 3))
            photos << dir.filePath(name);
    }
    if (photos.isEmpty()) {
        std::fprintf(stderr, "no photographs: install mate-backgrounds or name files\n");
        return 1;
    }
    QTemporaryDir work;
    std::printf("%-18s %12s %12s %10s %10s\n", "case", "ours ms/MP", "gm ms/MP", "ours KB", "gm KB");
    for (const QString &photo : photos) {
        const QImage image = QImage(photo).convertToFormat(QImage::Format_RGB32);
        if (image.isNull()) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(photo));
            continue;
        }
        const double megapixels = image.width() * double(image.height()) / 1e6;
        const QString ppm = work.filePath(QStringLiteral("in.ppm"));
        image.save(ppm, "PPM");
        QList<double> readOnly;
        for (int r = 0; r < reps; ++r)
            readOnly << timeGm({QStringLiteral("convert"), ppm, QStringLiteral("null:")});
        const double gmRead = median(readOnly);
        std::printf("\n%s (%dx%d, %.2f MP; gm reading the PPM: %.1f ms)\n", qPrintable(QFileInfo(photo).fileName()),
                    image.width(), image.height(), megapixels, gmRead);
        for (const Case &c : cases()) {
            const QString ours = work.filePath(QStringLiteral("ours.") + QLatin1String(c.extension));
            const QString theirs = work.filePath(QStringLiteral("gm.") + QLatin1String(c.extension));
            QList<double> oursMs, gmMs;
            for (int r = 0; r < reps; ++r) {
                QElapsedTimer timer;
                timer.start();
                const int status = c.ours(image, ours);
                oursMs << double(timer.nsecsElapsed()) / 1e6;
                if (status <= 0) {
                    std::fprintf(stderr, "%s: %s\n", c.name, qPrintable(statusText(status)));
                    return 1;
                }
                gmMs << timeGm(QStringList{QStringLiteral("convert"), ppm} + c.gmOptions
                               + QStringList{QLatin1String(c.gmPrefix) + theirs});
            }
            std::printf("%-18s %12.1f %12.1f %10lld %10lld\n", c.name, median(oursMs) / megapixels,
                        (median(gmMs) - gmRead) / megapixels, QFileInfo(ours).size() / 1024,
                        QFileInfo(theirs).size() / 1024);
        }
    }
    return 0;
}
