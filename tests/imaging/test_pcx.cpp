// The PCX reader: every layout it supports, the shared corpus against an independent
// decoder and the reference images, and every kind of broken file.
#include "imaging/codec/codec.h"
#include "codectools.h"
#include "messagelog.h"

#include <cstring>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace pelorin;
using namespace pelorin::codec;

namespace {

// A PCX header; 16-bit fields little-endian.
QByteArray header(int bpp, int planes, int width, int height, int bytesPerLine, const QList<QRgb> &palette = {},
                  int encoding = 1, int version = 5)
{
    QByteArray h(128, '\0');
    auto put16 = [&h](int at, int v) {
        h[at] = char(v & 0xff);
        h[at + 1] = char((v >> 8) & 0xff);
    };
    h[0] = 0x0A;
    h[1] = char(version);
    h[2] = char(encoding);
    h[3] = char(bpp);
    put16(8, width - 1);
    put16(10, height - 1);
    for (int i = 0; i < palette.size() && i < 16; ++i) {
        h[16 + 3 * i] = char(qRed(palette[i]));
        h[17 + 3 * i] = char(qGreen(palette[i]));
        h[18 + 3 * i] = char(qBlue(palette[i]));
    }
    h[65] = char(planes);
    put16(66, bytesPerLine);
    return h;
}

// Run-length encodes a byte string one byte at a time (a count of one where needed).
QByteArray rle(const QByteArray &raw)
{
    QByteArray out;
    for (char c : raw) {
        if ((uchar(c) & 0xC0) == 0xC0)
            out.append(char(0xC1));
        out.append(c);
    }
    return out;
}

QByteArray trailer(const QList<QRgb> &palette)
{
    QByteArray t(769, '\0');
    t[0] = 0x0C;
    for (int i = 0; i < palette.size(); ++i) {
        t[1 + 3 * i] = char(qRed(palette[i]));
        t[2 + 3 * i] = char(qGreen(palette[i]));
        t[3 + 3 * i] = char(qBlue(palette[i]));
    }
    return t;
}

QList<QRgb> pixels(const QImage &image)
{
    QList<QRgb> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.append(image.pixel(x, y));
    return out;
}

// Position of the first pixel where two images differ, or an empty string.
QString firstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return QStringLiteral("size %1x%2 against %3x%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
    const QImage ra = a.convertToFormat(QImage::Format_RGB32), rb = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < ra.height(); ++y)
        for (int x = 0; x < ra.width(); ++x)
            if (ra.pixel(x, y) != rb.pixel(x, y))
                return QStringLiteral("pixel %1,%2: %3 against %4")
                    .arg(x).arg(y).arg(ra.pixel(x, y), 8, 16).arg(rb.pixel(x, y), 8, 16);
    return {};
}

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255), kWhite = qRgb(255, 255, 255),
           kBlack = qRgb(0, 0, 0);

} // namespace

class TestPcx : public QObject
{
    Q_OBJECT
private slots:
    void layouts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<QRgb>>("expected");
        QTest::addColumn<int>("status");

        const QList<QRgb> palette16{kBlack, kRed, kGreen, kBlue, kWhite, qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9),
                                    qRgb(10, 11, 12), qRgb(13, 14, 15), qRgb(16, 17, 18), qRgb(19, 20, 21),
                                    qRgb(22, 23, 24), qRgb(25, 26, 27), qRgb(28, 29, 30), qRgb(31, 32, 33)};
        // One bit: 10 pixels 1010000011, two bytes per line (odd width, padding byte).
        QTest::newRow("1 bit, header palette") << header(1, 1, 10, 1, 2, {kWhite, kRed}) + rle(QByteArray("\xa0\xc0", 2))
                                               << QList<QRgb>{kRed, kWhite, kRed, kWhite, kWhite, kWhite, kWhite,
                                                              kWhite, kRed, kRed}
                                               << int(kOk);
        QTest::newRow("1 bit, blank palette is black and white")
            << header(1, 1, 3, 1, 2) + rle(QByteArray("\x40\x00", 2)) << QList<QRgb>{kBlack, kWhite, kBlack} << int(kOk);
        // Four planes of one bit: plane p carries bit p of the index.
        QTest::newRow("1 bit in 4 planes") << header(1, 4, 4, 1, 2, palette16)
                                                  + rle(QByteArray("\x50\x00\x30\x00\x00\x00\x00\x00", 8))
                                           << QList<QRgb>{kBlack, kRed, kGreen, kBlue} << int(kOk);
        QTest::newRow("1 bit in 4 planes, blank palette is EGA")
            << header(1, 4, 2, 1, 2) + rle(QByteArray("\x40\x00\x00\x00\x00\x00\x40\x00", 8))
            << QList<QRgb>{kBlack, qRgb(85, 85, 255)} << int(kOk);
        QTest::newRow("2 bit packed") << header(2, 1, 4, 1, 2, palette16) + rle(QByteArray("\x1b\x00", 2))
                                      << QList<QRgb>{kBlack, kRed, kGreen, kBlue} << int(kOk);
        QTest::newRow("4 bit packed") << header(4, 1, 3, 1, 2, palette16) + rle(QByteArray("\x4f\x20", 2))
                                      << QList<QRgb>{kWhite, qRgb(31, 32, 33), kGreen} << int(kOk);
        QTest::newRow("8 bit with palette trailer")
            << header(8, 1, 3, 1, 4) + rle(QByteArray("\x02\x00\xff\x00", 4)) + trailer(QList<QRgb>(256, kRed).mid(0, 2) + QList<QRgb>{kBlue} + QList<QRgb>(252, kBlack) + QList<QRgb>{kGreen})
            << QList<QRgb>{kBlue, kRed, kGreen} << int(kOk);
        QTest::newRow("8 bit without trailer is grey")
            << header(8, 1, 2, 1, 2) + rle(QByteArray("\x10\xf0", 2)) << QList<QRgb>{qRgb(16, 16, 16), qRgb(240, 240, 240)}
            << int(kOk);
        QTest::newRow("24 bit in 3 planes")
            << header(8, 3, 2, 1, 2) + rle(QByteArray("\xff\x00\x00\xff\x10\x20", 6))
            << QList<QRgb>{qRgb(255, 0, 16), qRgb(0, 255, 32)} << int(kOk);
        QTest::newRow("32 bit, fourth plane alpha")
            << header(8, 4, 1, 1, 1) + rle(QByteArray("\x10\x20\x30\x80", 4)) << QList<QRgb>{qRgba(16, 32, 48, 128)}
            << int(kOk);
        QTest::newRow("uncompressed") << header(8, 3, 1, 2, 1, {}, 0) + QByteArray("\xc1\xc2\xc3\x01\x02\x03", 6)
                                      << QList<QRgb>{qRgb(0xc1, 0xc2, 0xc3), qRgb(1, 2, 3)} << int(kOk);
        // One run of 8 bytes covers both lines of a 2x2 true-colour image (three planes).
        QTest::newRow("run across lines") << header(8, 3, 2, 2, 2) + QByteArray("\xc8\x7f\xc4\x01", 4)
                                          << QList<QRgb>{qRgb(0x7f, 0x7f, 0x7f), qRgb(0x7f, 0x7f, 0x7f),
                                                         qRgb(0x7f, 1, 1), qRgb(0x7f, 1, 1)}
                                          << int(kOk);
        // A zero-length run consumes its value byte and produces nothing.
        QTest::newRow("empty run") << header(8, 1, 2, 1, 2) + QByteArray("\xc0\x55\x01\x02", 4)
                                   << QList<QRgb>{qRgb(1, 1, 1), qRgb(2, 2, 2)} << int(kOk);
        // Data ends inside the second line: what was there survives, the rest is index 0.
        QTest::newRow("truncated data") << header(8, 1, 2, 2, 2) + QByteArray("\x05\x06\x07", 3)
                                        << QList<QRgb>{qRgb(5, 5, 5), qRgb(6, 6, 6), qRgb(7, 7, 7), kBlack}
                                        << int(kTruncated);
        QTest::newRow("run without its value byte") << header(8, 1, 2, 1, 2) + QByteArray("\x09\xc1", 2)
                                                    << QList<QRgb>{qRgb(9, 9, 9), kBlack} << int(kTruncated);
    }
    void layouts()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<QRgb>, expected);
        QFETCH(int, status);
        const ReadResult result = readPcxData(file);
        QCOMPARE(result.status, status);
        QVERIFY(!result.image.isNull());
        QCOMPARE(result.image.width() * result.image.height(), expected.size());
        QCOMPARE(pixels(result.image), expected);
    }

    void brokenHeaders_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        const QByteArray data = rle(QByteArray(64, '\x01'));
        QByteArray wrongMaker = header(8, 1, 4, 4, 4) + data;
        wrongMaker[0] = 0x0B;
        QByteArray reversed = header(8, 1, 4, 4, 4) + data;
        reversed[4] = 9; // xMin beyond xMax
        QTest::newRow("empty") << QByteArray() << int(kNotPcx);
        QTest::newRow("other format") << QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, '\0') << int(kNotPcx);
        QTest::newRow("wrong maker byte") << wrongMaker << int(kNotPcx);
        QTest::newRow("header cut short") << header(8, 1, 4, 4, 4).left(60) << int(kTruncated);
        QTest::newRow("xMin beyond xMax") << reversed << int(kBadHeader);
        QTest::newRow("lines shorter than the width") << header(8, 1, 10, 2, 9) + data << int(kBadHeader);
        QTest::newRow("no planes") << header(8, 0, 4, 4, 4) + data << int(kBadHeader);
        QTest::newRow("unknown encoding") << header(8, 1, 4, 4, 4, {}, 2) + data << int(kBadHeader);
        QTest::newRow("3 bits per pixel") << header(3, 1, 4, 4, 2) + data << int(kUnsupportedDepth);
        QTest::newRow("8 bits in 2 planes") << header(8, 2, 4, 4, 4) + data << int(kUnsupportedDepth);
        QTest::newRow("4 bits in 2 planes") << header(4, 2, 4, 4, 2) + data << int(kUnsupportedDepth);
        QTest::newRow("65535 x 65535 pixels") << header(8, 3, 65535, 65535, 65535) + data << int(kImageTooLarge);
    }
    void brokenHeaders()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        const ReadResult result = readPcxData(file);
        QCOMPARE(result.status, status);
        QVERIFY(result.image.isNull());
        QVERIFY(!statusText(status).isEmpty());
    }

    void cutAnywhereKeepsTheDecodedLines()
    {
        const QString path = test::corpusDir() + QStringLiteral("/pcx/image-rs/24bit.pcx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        const ReadResult full = readPcxData(whole);
        QCOMPARE(full.status, int(kOk));
        for (qsizetype cut : {qsizetype(129), whole.size() / 3, whole.size() / 2, whole.size() - 1}) {
            const ReadResult part = readPcxData(QByteArrayView(whole).first(cut));
            QCOMPARE(part.status, int(kTruncated));
            QCOMPARE(part.image.size(), full.image.size());
            // Lines decoded before the cut are exact; the cut line itself may be partial.
            int same = 0;
            while (same < full.image.height()
                   && std::memcmp(part.image.constScanLine(same), full.image.constScanLine(same),
                                  size_t(full.image.bytesPerLine())) == 0)
                ++same;
            QVERIFY2(same >= int(cut * full.image.height() / whole.size() / 2), qPrintable(QString::number(same)));
        }
    }

    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("reference");
        QMap<QString, QString> references;
        const QList<test::CorpusEntry> entries = test::corpusEntries(QStringLiteral("pcx"));
        for (const test::CorpusEntry &e : entries)
            if (e.category == QLatin1String("expected"))
                references.insert(e.reference, e.path);
        int rows = 0;
        for (const test::CorpusEntry &e : entries) {
            if (e.category == QLatin1String("doc") || e.category == QLatin1String("expected"))
                continue;
            QTest::newRow(qPrintable(QFileInfo(e.path).fileName())) << e.path << e.category << references.value(e.path);
            ++rows;
        }
        QVERIFY2(rows >= 8, "the PCX corpus is missing");
    }
    void corpus()
    {
        QFETCH(QString, path);
        QFETCH(QString, category);
        QFETCH(QString, reference);
        const ReadResult result = readPcx(path);
        if (category == QLatin1String("invalid")) {
            QVERIFY2(result.status <= 0, "a broken file was read as good");
            return;
        }
        if (category != QLatin1String("valid"))
            return; // questionable files only have to be survived
        QCOMPARE(result.status, int(kOk));
        const QImage oracle = test::decodeWithNetpbm(QStringLiteral("pcxtoppm"), path);
        QVERIFY2(!oracle.isNull(), "pcxtoppm could not decode the file");
        QCOMPARE(firstDifference(result.image, oracle), QString());
        if (!reference.isEmpty())
            QCOMPARE(firstDifference(result.image, QImage(reference)), QString());
    }

    void missingOrUnreadableFile()
    {
        QTemporaryDir dir;
        QCOMPARE(readPcx(dir.filePath(QStringLiteral("none.pcx"))).status, int(kFileNotFound));
        QCOMPARE(statusText(kFileNotFound), QStringLiteral("file not found"));
        const ReadResult directory = readPcx(dir.path());
        QCOMPARE(directory.status, int(kCannotRead));
        QVERIFY(directory.image.isNull());
    }
};

QTEST_GUILESS_MAIN(TestPcx)
#include "test_pcx.moc"
