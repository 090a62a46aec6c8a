// The six writers, each output checked by an independent reader: the header facts its
// tool reports (bit depth, palette size, compression, photometric, interlace, JPEG
// colour space and quality) and the pixels its netpbm decoder returns.
#include "imaging/codec/codec.h"
#include "codectools.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace pelorin;
using namespace pelorin::codec;

namespace {

// A 67 x 45 picture (odd width, so every row needs padding) with thousands of colours;
// the smooth one has no fine pattern, for the lossy format.
QImage picture(bool smooth = false)
{
    QImage image(67, 45, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / 66, y * 255 / 44, smooth ? (66 - x + y) * 2 : ((x * 7 + y * 13) % 50) * 5));
    return image;
}

double meanAbsoluteError(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

QString firstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return QStringLiteral("size differs");
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) | 0xff000000u) != (b.pixel(x, y) | 0xff000000u))
                return QStringLiteral("pixel %1,%2: %3 against %4").arg(x).arg(y).arg(a.pixel(x, y), 8, 16).arg(b.pixel(x, y), 8, 16);
    return {};
}

int write(const QString &format, const QImage &image, const QString &path, int depth, int option)
{
    if (format == QLatin1String("bmp"))
        return writeBmp(image, path, depth);
    if (format == QLatin1String("png"))
        return writePng(image, path, depth, option != 0);
    if (format == QLatin1String("jpg"))
        return writeJpeg(image, path, depth, option, 0);
    if (format == QLatin1String("gif"))
        return writeGif(image, path, depth);
    if (format == QLatin1String("tif"))
        return writeTiff(image, path, depth, option);
    return writePcx(image, path, depth);
}

// What each format's own tool says about a file (stdout and stderr together).
QString describe(const QString &format, const QString &path)
{
    test::ToolRun run;
    if (format == QLatin1String("bmp"))
        run = test::runTool(QStringLiteral("bmptopnm"), {QStringLiteral("-verbose"), path});
    else if (format == QLatin1String("png"))
        run = test::runTool(QStringLiteral("pngcheck"), {QStringLiteral("-v"), path});
    else if (format == QLatin1String("jpg"))
        run = test::runTool(QStringLiteral("gm"), {QStringLiteral("identify"), QStringLiteral("-verbose"), path});
    else if (format == QLatin1String("gif"))
        run = test::runTool(QStringLiteral("giftopnm"), {QStringLiteral("-verbose"), path});
    else if (format == QLatin1String("tif"))
        run = test::runTool(QStringLiteral("tiffinfo"), {path});
    else
        run = test::runTool(QStringLiteral("pcxtoppm"), {QStringLiteral("-verbose"), path});
    if (run.exitCode != 0)
        return QStringLiteral("tool failed: ") + QString::fromUtf8(run.err);
    return QString::fromUtf8(run.err + run.out);
}

QString decoderFor(const QString &format)
{
    static const QHash<QString, QString> decoders{
        {QStringLiteral("bmp"), QStringLiteral("bmptopnm")}, {QStringLiteral("png"), QStringLiteral("pngtopnm")},
        {QStringLiteral("jpg"), QStringLiteral("jpegtopnm")}, {QStringLiteral("gif"), QStringLiteral("giftopnm")},
        {QStringLiteral("tif"), QStringLiteral("tifftopnm")}, {QStringLiteral("pcx"), QStringLiteral("pcxtoppm")}};
    return decoders.value(format);
}

// The components of a JPEG frame: (id, horizontal and vertical sampling) per component,
// and whether the JFIF marker (which fixes YCbCr for three components) is present.
struct JpegFrame
{
    QList<int> sampling; // h * 16 + v for each component
    bool jfif = false;
};

JpegFrame jpegFrame(const QByteArray &d)
{
    JpegFrame frame;
    qsizetype i = 2;
    while (i + 4 <= d.size() && uchar(d[i]) == 0xFF) {
        const int marker = uchar(d[i + 1]);
        const int length = (uchar(d[i + 2]) << 8) | uchar(d[i + 3]);
        if (marker == 0xE0 && d.mid(i + 4, 5) == QByteArray("JFIF\0", 5))
            frame.jfif = true;
        if (marker == 0xC0 || marker == 0xC2) {
            const int components = uchar(d[i + 9]);
            for (int c = 0; c < components; ++c)
                frame.sampling.append(uchar(d[i + 11 + 3 * c]));
            break;
        }
        i += 2 + length;
    }
    return frame;
}

} // namespace

class TestCodecWrite : public QObject
{
    Q_OBJECT
private slots:
    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("option");
        QTest::addColumn<QStringList>("facts");
        QTest::addColumn<int>("pixelsAsDepth"); // the depth whose reduction the file must hold; -1 for JPEG

        auto bmp = [](int depth, int bits, int colours) {
            QStringList facts{QStringLiteral("Read 40 bytes of header"), QStringLiteral("Bits per pixel in raster: %1").arg(bits),
                              QStringLiteral("Compression: none")};
            if (colours)
                facts << QStringLiteral("Colors in color map: %1").arg(colours);
            QTest::addRow("bmp depth %d", depth) << QStringLiteral("bmp") << depth << 0 << facts << depth;
        };
        bmp(0, 4, 16);
        bmp(1, 1, 2);
        bmp(4, 4, 16);
        bmp(8, 8, 256);
        bmp(24, 24, 0);

        auto png = [](int depth, bool interlaced, const QString &kind, int colours) {
            QStringList facts{QStringLiteral("67 x 45 image, %1, %2").arg(kind, interlaced ? QStringLiteral("interlaced") : QStringLiteral("non-interlaced")),
                              QStringLiteral("No errors detected")};
            if (colours)
                facts << QStringLiteral("%1 palette entries").arg(colours);
            QTest::addRow("png depth %d%s", depth, interlaced ? " interlaced" : "") << QStringLiteral("png") << depth
                                                                                   << int(interlaced) << facts << depth;
        };
        png(0, false, QStringLiteral("4-bit palette"), 16);
        png(1, true, QStringLiteral("1-bit palette"), 2);
        png(4, false, QStringLiteral("4-bit palette"), 16);
        png(8, true, QStringLiteral("8-bit palette"), 256);
        png(8, false, QStringLiteral("8-bit palette"), 256);
        png(24, true, QStringLiteral("24-bit RGB"), 0);
        png(24, false, QStringLiteral("24-bit RGB"), 0);

        for (auto [depth, colours] : {std::pair{0, 16}, {1, 2}, {4, 16}, {8, 256}, {24, 256}})
            QTest::addRow("gif depth %d", depth) << QStringLiteral("gif") << depth << 0
                                                 << QStringList{QStringLiteral("Global color count = %1").arg(colours)}
                                                 << (depth == 24 ? 8 : depth);

        const QList<std::pair<int, QString>> compressions{{1, QStringLiteral("None")}, {2, QStringLiteral("CCITT RLE")},
                                                          {5, QStringLiteral("LZW")}, {32773, QStringLiteral("PackBits")}};
        for (const auto &[code, name] : compressions) {
            for (int depth : {0, 1, 4, 8, 24}) {
                // CCITT holds black and white only: every depth is written as 1 bit.
                const int bits = code == 2 ? 1 : (depth == 0 ? 4 : (depth == 24 ? 8 : depth));
                QStringList facts{QStringLiteral("Compression Scheme: ") + name, QStringLiteral("Bits/Sample: %1").arg(bits)};
                if (code == 2)
                    facts << QStringLiteral("Photometric Interpretation: min-is-white");
                else if (depth == 1)
                    facts << QStringLiteral("Photometric Interpretation: min-is-black");
                else if (depth == 24)
                    facts << QStringLiteral("Photometric Interpretation: RGB color") << QStringLiteral("Samples/Pixel: 3");
                else
                    facts << QStringLiteral("Photometric Interpretation: palette color") << QStringLiteral("Color Map: (present)");
                if (code == 5 && depth == 24)
                    facts << QStringLiteral("Predictor: horizontal differencing");
                QTest::addRow("tif depth %d compression %d", depth, code)
                    << QStringLiteral("tif") << depth << code << facts << (code == 2 ? 1 : depth);
            }
        }

        auto pcx = [](int depth, int bitsPerPixel, int planes) {
            QTest::addRow("pcx depth %d", depth) << QStringLiteral("pcx") << depth << 0
                                                 << QStringList{QStringLiteral("Version: 5"),
                                                                QStringLiteral("BitsPerPixel: %1").arg(bitsPerPixel),
                                                                QStringLiteral("Planes: %1 ").arg(planes)}
                                                 << depth;
        };
        pcx(0, 1, 4);
        pcx(1, 1, 1);
        pcx(4, 1, 4);
        pcx(8, 8, 1);
        pcx(24, 8, 3);

        for (auto [depth, quality] : {std::pair{1, 25}, {24, 25}, {8, 90}, {24, 10}})
            QTest::addRow("jpg depth %d quality %d", depth, quality)
                << QStringLiteral("jpg") << depth << quality
                << QStringList{QStringLiteral("JPEG-Quality: %1").arg(quality),
                               depth == 1 ? QStringLiteral("Type: grayscale") : QStringLiteral("Type: true color")}
                << -1;
    }
    void formats()
    {
        QFETCH(QString, format);
        QFETCH(int, depth);
        QFETCH(int, option);
        QFETCH(QStringList, facts);
        QFETCH(int, pixelsAsDepth);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.") + format);
        const QImage source = picture(pixelsAsDepth < 0);
        QCOMPARE(write(format, source, path, depth, option), int(kOk));

        const QString description = describe(format, path);
        for (const QString &fact : facts)
            QVERIFY2(description.contains(fact), qPrintable(fact + QStringLiteral(" not in:\n") + description));

        const QImage decoded = test::decodeWithNetpbm(decoderFor(format), path);
        QVERIFY2(!decoded.isNull(), "the independent decoder failed");
        if (pixelsAsDepth >= 0) {
            QCOMPARE(firstDifference(decoded, reduceColours(source, pixelsAsDepth)), QString());
        } else {
            const QImage reference = depth == 1 ? source.convertToFormat(QImage::Format_Grayscale8) : source;
            QVERIFY2(meanAbsoluteError(decoded, reference) < (option >= 25 ? 3.0 : 6.0),
                     qPrintable(QString::number(meanAbsoluteError(decoded, reference))));
        }
    }

    void trueColourRoundTrips_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("option");
        QTest::newRow("bmp") << QStringLiteral("bmp") << 0;
        QTest::newRow("png") << QStringLiteral("png") << 0;
        QTest::newRow("png interlaced") << QStringLiteral("png") << 1;
        QTest::newRow("tif none") << QStringLiteral("tif") << 1;
        QTest::newRow("tif lzw") << QStringLiteral("tif") << 5;
        QTest::newRow("tif packbits") << QStringLiteral("tif") << 32773;
        QTest::newRow("pcx") << QStringLiteral("pcx") << 0;
    }
    void trueColourRoundTrips()
    {
        QFETCH(QString, format);
        QFETCH(int, option);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.") + format);
        QImage source(301, 7, QImage::Format_RGB32); // every byte value in every channel
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, qRgb((x + y) & 255, (x * 3 + y * 50) & 255, (255 - x * 7) & 255));
        QCOMPARE(write(format, source, path, 24, option), int(kOk));
        const QImage back = format == QLatin1String("pcx") ? readPcx(path).image : QImage(path);
        QCOMPARE(firstDifference(back, source), QString());
    }

    void palettePcxRoundTripsThroughOurReader()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.pcx"));
        for (int depth : {0, 1, 4, 8}) {
            QCOMPARE(writePcx(picture(), path, depth), int(kOk));
            const ReadResult back = readPcx(path);
            QCOMPARE(back.status, int(kOk));
            QCOMPARE(firstDifference(back.image, reduceColours(picture(), depth)), QString());
        }
    }

    void jpegColourSpaceAndSmoothing()
    {
        QTemporaryDir dir;
        const QString grey = dir.filePath(QStringLiteral("grey.jpg")), colour = dir.filePath(QStringLiteral("colour.jpg"));
        const QString smooth = dir.filePath(QStringLiteral("smooth.jpg"));
        QCOMPARE(writeJpeg(picture(), grey, 1, 75, 0), int(kOk));
        QCOMPARE(writeJpeg(picture(), colour, 0, 75, 0), int(kOk));
        QCOMPARE(writeJpeg(picture(), smooth, 24, 75, 100), int(kOk));
        auto bytes = [](const QString &path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        // Greyscale: one component. Colour: JFIF YCbCr, luminance sampled at twice the chroma.
        QCOMPARE(jpegFrame(bytes(grey)).sampling.size(), 1);
        const JpegFrame frame = jpegFrame(bytes(colour));
        QVERIFY(frame.jfif);
        QCOMPARE(frame.sampling, (QList<int>{0x22, 0x11, 0x11}));
        // Smoothing blurs the fine pattern: the smoothed file decodes differently and is smaller.
        QVERIFY(bytes(smooth).size() < bytes(colour).size());
        QVERIFY(meanAbsoluteError(QImage(smooth), QImage(colour)) > 0.5);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("nullImage");
        QTest::addColumn<int>("status");
        for (const char *format : {"bmp", "png", "jpg", "gif", "tif", "pcx"})
            QTest::addRow("%s without an image", format) << QString::fromLatin1(format) << 8 << 5 << true << int(kNoImage);
        for (const char *format : {"bmp", "png", "gif", "tif", "pcx"})
            for (int depth : {2, 16, -1}) {
                if (depth == 16 && qstrcmp(format, "gif") == 0)
                    continue; // GIF writes deeper requests at 8 bits
                QTest::addRow("%s depth %d", format, depth) << QString::fromLatin1(format) << depth << 1 << false
                                                            << int(kUnsupportedDepth);
            }
        for (int code : {0, 3, 4, 7, 8})
            QTest::addRow("tif compression %d", code) << QStringLiteral("tif") << 8 << code << false
                                                      << int(kUnsupportedCompression);
    }
    void refusals()
    {
        QFETCH(QString, format);
        QFETCH(int, depth);
        QFETCH(int, option);
        QFETCH(bool, nullImage);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.") + format);
        QCOMPARE(write(format, nullImage ? QImage() : picture(), path, depth, option), status);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!statusText(status).isEmpty());
    }

    void sizesTheFormatCannotHold_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("depth");
        QTest::newRow("pcx line of 65536 bytes") << QStringLiteral("pcx") << QSize(65535, 1) << 8;
        QTest::newRow("gif wider than 65535") << QStringLiteral("gif") << QSize(65536, 1) << 8;
        QTest::newRow("jpeg wider than 65500") << QStringLiteral("jpg") << QSize(65501, 1) << 24;
    }
    void sizesTheFormatCannotHold()
    {
        QFETCH(QString, format);
        QFETCH(QSize, size);
        QFETCH(int, depth);
        QTemporaryDir dir;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = dir.filePath(QStringLiteral("out.") + format);
        QCOMPARE(write(format, image, path, depth, 75), int(kImageTooLarge));
        QVERIFY(!QFile::exists(path));
    }

    void statusTexts()
    {
        const QList<std::pair<int, QString>> texts{
            {kNotPcx, QStringLiteral("not a PCX file")},         {kUnsupportedDepth, QStringLiteral("unsupported bit depth")},
            {kTruncated, QStringLiteral("file truncated")},      {kCannotCreate, QStringLiteral("cannot create file")},
            {kDiskFull, QStringLiteral("disk full")},            {kFileNotFound, QStringLiteral("file not found")},
            {kBadHeader, QStringLiteral("invalid PCX header")},  {kNoImage, QStringLiteral("no image to write")},
            {kUnsupportedCompression, QStringLiteral("unsupported compression")}};
        for (const auto &[status, text] : texts) {
            QVERIFY(status <= 0);
            QCOMPARE(statusText(status), text);
        }
        // Every failure code has a text of its own.
        QSet<QString> seen;
        for (int status = kOutOfMemory; status <= kUnknownError; ++status)
            seen.insert(statusText(status));
        QCOMPARE(seen.size(), kUnknownError - kOutOfMemory + 1);
    }
};

QTEST_GUILESS_MAIN(TestCodecWrite)
#include "test_codec_write.moc"
