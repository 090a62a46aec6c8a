// Every raster and icon file of the shared corpus is read or refused with the user's
// messages, never crashes; decoded pixels match the suites' reference renderings.

#include "corpusmanifest.h"
#include "imagecompare.h"
#include "messagelog.h"

#include "imaging/icondecoder.h"
#include "imaging/rasterload.h"
#include "imaging/systempicture.h"
#include "platform/error.h"

#include <QFile>
#include <QSet>
#include <QTest>
#include <QThreadPool>
#include <QtConcurrent>

using namespace pelorin;
using pelorin::test::CorpusFile;

namespace {

RasterReader readerOf(const QString &format)
{
    if (format == QLatin1String("bmp") || format == QLatin1String("dib"))
        return RasterReader::Bmp;
    if (format == QLatin1String("gif"))
        return RasterReader::Gif;
    if (format == QLatin1String("jpeg"))
        return RasterReader::Jpeg;
    if (format == QLatin1String("png"))
        return RasterReader::Png;
    if (format == QLatin1String("tiff"))
        return RasterReader::Tiff;
    return RasterReader::Pcx;
}

QString readerWord(const QString &format)
{
    if (format == QLatin1String("dib"))
        return QStringLiteral("bmp");
    if (format == QLatin1String("jpeg"))
        return QStringLiteral("jpg");
    if (format == QLatin1String("tiff"))
        return QStringLiteral("tif");
    return format;
}

// Valid files whose reference rendering is not a plain decode of the file, and
// references the manifest pairs with a file they do not show.
const QSet<QString> &unusableReferences()
{
    static const QSet<QString> references{
        // drawn at the pixels' aspect ratio, twice as high as the bitmap
        QStringLiteral("bmp/bmpsuite-2.8/html/pal8nonsquare-v.png"),
        // a 1 x 1 dot; the file is 2 x 2 (its .conf names four-colors-transparent.rgba)
        QStringLiteral("gif/pygif-test-suite/transparent-dot.png"),
        // a greyscale rendering of the colour file (testorig.ppm is its decode)
        QStringLiteral("jpeg/libjpeg-turbo/testorig.png"),
    };
    return references;
}

// Valid files the extension's reader refuses, and why.
const QHash<QString, QString> &refusedValidFiles()
{
    static const QHash<QString, QString> files{
        // a PNG file under a .jpg name: the JPEG reader the extension picks refuses it
        {QStringLiteral("jpeg/jpeg-decoder/mozilla/jpg-size-6x6.jpg"), QStringLiteral("not a JPEG file")},
    };
    return files;
}

QString corpusPath(const QString &relative)
{
    return test::corpusDir() + QLatin1Char('/') + relative;
}

} // namespace

class CorpusRead : public QObject
{
    Q_OBJECT

private slots:
    void rasterFiles_data();
    void rasterFiles();
    void iconFiles_data();
    void iconFiles();
    void orientationApplied_data();
    void orientationApplied();
    void workersReadAsTheThreadDoes();
};

void CorpusRead::rasterFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("references");
    const QList<CorpusFile> files =
        test::corpusFiles({QStringLiteral("bmp"), QStringLiteral("dib"), QStringLiteral("gif"), QStringLiteral("jpeg"),
                           QStringLiteral("png"), QStringLiteral("tiff"), QStringLiteral("pcx")});
    QVERIFY2(!files.isEmpty(), "the shared corpus is missing");
    for (const CorpusFile &file : files)
        QTest::newRow(qPrintable(file.path)) << file.path << file.format << file.category << file.references;
}

void CorpusRead::rasterFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, format);
    QFETCH(QString, category);
    QFETCH(QStringList, references);

    const RasterLoadResult result = loadRasterWith(readerOf(format), {corpusPath(path), 24, true, QSize()});
    using Outcome = RasterLoadResult::Outcome;
    QVERIFY2(result.outcome == Outcome::Loaded || result.outcome == Outcome::ReaderFailed,
             qPrintable(QStringLiteral("outcome %1").arg(int(result.outcome))));
    if (result.outcome == Outcome::ReaderFailed) {
        QCOMPARE(result.messages.size(), 2);
        QVERIFY(!result.messages.at(0).trimmed().isEmpty());
        QCOMPARE(result.messages.at(1), QStringLiteral("Reading %1 file failed").arg(readerWord(format)));
    } else {
        QVERIFY(result.messages.isEmpty());
        QVERIFY(!result.image.isNull());
    }
    if (category != QLatin1String("valid"))
        return;
    if (refusedValidFiles().contains(path)) {
        QCOMPARE(result.outcome, Outcome::ReaderFailed);
        QCOMPARE(result.messages.at(0), refusedValidFiles().value(path));
        return;
    }
    QVERIFY2(result.outcome == Outcome::Loaded, qPrintable(result.messages.join(QLatin1String("; "))));
    const bool lossy = format == QLatin1String("jpeg");
    for (const QString &reference : references) {
        if (unusableReferences().contains(reference))
            continue;
        const QImage expected(corpusPath(reference));
        QVERIFY2(!expected.isNull(), qPrintable(reference));
        const QString difference = test::compareImages(result.image, expected, lossy ? 255 : 1, lossy ? 2.5 : 0);
        QVERIFY2(difference.isEmpty(), qPrintable(reference + QLatin1String(": ") + difference));
    }
}

void CorpusRead::iconFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("references");
    for (const CorpusFile &file : test::corpusFiles({QStringLiteral("ico")}))
        QTest::newRow(qPrintable(file.path)) << file.path << file.category << file.references;
}

void CorpusRead::iconFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, category);
    QFETCH(QStringList, references);

    std::unique_ptr<SystemPicture> icon;
    QString failure;
    try {
        icon = loadIcon(corpusPath(path));
    } catch (const Error &e) {
        failure = e.text();
    }
    if (category == QLatin1String("valid")) {
        QVERIFY2(icon, qPrintable(failure));
        QCOMPARE(icon->width(), 32);
        QCOMPARE(icon->height(), 32);
    } else if (!icon) {
        QVERIFY(!failure.isEmpty());
    }
    if (category != QLatin1String("valid"))
        return;
    QFile file(corpusPath(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    for (const QString &reference : references) {
        const QImage expected(corpusPath(reference));
        const QString difference = test::compareImages(ico::readIcon(data, expected.size()), expected, 1);
        QVERIFY2(difference.isEmpty(), qPrintable(reference + QLatin1String(": ") + difference));
    }
}

void CorpusRead::orientationApplied_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("upright");
    QTest::addColumn<double>("tolerance");
    // The tagged files hold the upright picture turned or mirrored; read with their tag
    // applied they show it as it was (the fax files differ by a few edge pixels).
    for (const char *turn : {"5", "6", "7"})
        QTest::newRow(turn) << QStringLiteral("jpeg/pillow/hopper_orientation_%1.jpg").arg(QLatin1String(turn))
                            << QStringLiteral("jpeg/pillow/hopper.jpg") << 6.0;
    for (const char *turn : {"4", "8"})
        QTest::newRow(turn) << QStringLiteral("tiff/pillow/g4_orientation_%1.tif").arg(QLatin1String(turn))
                            << QStringLiteral("tiff/pillow/g4_orientation_2.tif") << 1.0;
}

void CorpusRead::orientationApplied()
{
    QFETCH(QString, path);
    QFETCH(QString, upright);
    QFETCH(double, tolerance);
    const RasterReader reader = path.endsWith(QLatin1String(".jpg")) ? RasterReader::Jpeg : RasterReader::Tiff;
    const RasterLoadResult turned = loadRasterWith(reader, {corpusPath(path), 24, true, QSize()});
    const RasterLoadResult straight = loadRasterWith(reader, {corpusPath(upright), 24, true, QSize()});
    QCOMPARE(turned.outcome, RasterLoadResult::Outcome::Loaded);
    QCOMPARE(straight.outcome, RasterLoadResult::Outcome::Loaded);
    const QString difference = test::compareImages(turned.image, straight.image, 255, tolerance);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // Without the tag the stored pixels differ, so the comparison above means something.
    const QImage stored(corpusPath(path));
    QVERIFY(!test::compareImages(stored, straight.image, 255, tolerance).isEmpty());
}

void CorpusRead::workersReadAsTheThreadDoes()
{
    // The thumbnail workers run the reader on a pool: the same files read at once on
    // several threads give what one thread gives.
    QList<RasterLoadRequest> requests;
    for (const CorpusFile &file :
         test::corpusFiles({QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("jpeg"), QStringLiteral("png"),
                            QStringLiteral("tiff"), QStringLiteral("pcx")})) {
        if (file.category == QLatin1String("valid") && !file.path.endsWith(QLatin1String(".jpeg")))
            requests.append({corpusPath(file.path), 8, true, QSize(40, 40)});
    }
    QVERIFY(requests.size() > 50);
    QList<QImage> serial;
    for (const RasterLoadRequest &request : requests)
        serial.append(loadRaster(request).image);
    QThreadPool pool;
    pool.setMaxThreadCount(4);
    const QList<QImage> parallel = QtConcurrent::blockingMapped(
        &pool, requests, [](const RasterLoadRequest &request) { return loadRaster(request).image; });
    for (qsizetype i = 0; i < requests.size(); ++i)
        QVERIFY2(parallel.at(i) == serial.at(i), qPrintable(requests.at(i).path));
}

QTEST_GUILESS_MAIN(CorpusRead)
#include "test_corpus_read.moc"
