// The TIFF reader on grey files with samples libtiff's RGBA interface refuses: files of
// every sample type, layout and byte order written here with libtiff, the corpus file,
// and files with hostile values or broken data.
#include "imaging/tiffdecoder.h"
#include "messagelog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace pelorin;

namespace {

constexpr int kWidth = 37;
constexpr int kHeight = 29;

struct Fixture
{
    int bits = 32;
    int kind = SAMPLEFORMAT_INT;
    bool tiled = false;
    bool bigEndian = false;
    bool whiteIsZero = false;
    int compression = COMPRESSION_NONE;
    int predictor = PREDICTOR_NONE;
};

// Packs one row of values as the file stores them: whole bytes in the machine's order
// (libtiff swaps them for a file of the other order), other widths as a bit stream.
QByteArray packRow(const std::vector<double> &values, const Fixture &f)
{
    QByteArray row((qsizetype(values.size()) * f.bits + 7) / 8, '\0');
    auto *out = reinterpret_cast<uchar *>(row.data());
    for (size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        if (f.kind == SAMPLEFORMAT_IEEEFP) {
            if (f.bits == 16) {
                const qfloat16 half{float(v)};
                std::memcpy(out + i * 2, &half, 2);
            } else if (f.bits == 32) {
                const float single = float(v);
                std::memcpy(out + i * 4, &single, 4);
            } else {
                std::memcpy(out + i * 8, &v, 8);
            }
            continue;
        }
        const quint64 raw = quint64(qint64(v)) & ((quint64(1) << f.bits) - 1);
        if (f.bits % 8 == 0) {
            for (int b = 0; b < f.bits / 8; ++b)
                out[i * size_t(f.bits / 8) + size_t(b)] = uchar(raw >> (8 * b)); // little-endian machine
        } else {
            for (int b = 0; b < f.bits; ++b) {
                const qint64 bit = qint64(i) * f.bits + b;
                if ((raw >> (f.bits - 1 - b)) & 1)
                    out[bit / 8] |= uchar(0x80 >> (bit % 8));
            }
        }
    }
    return row;
}

QByteArray writeTiff(const QString &path, const Fixture &f, const std::vector<std::vector<double>> &rows)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), f.bigEndian ? "wb" : "wl");
    if (!tiff)
        return {};
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(kWidth));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(kHeight));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(f.bits));
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, uint16_t(f.kind));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(f.whiteIsZero ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(f.compression));
    if (f.predictor != PREDICTOR_NONE)
        TIFFSetField(tiff, TIFFTAG_PREDICTOR, uint16_t(f.predictor));
    bool ok = true;
    if (f.tiled) {
        // 16 x 16 tiles: the right and bottom ones hang over the picture's edge.
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, uint32_t(16));
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, uint32_t(16));
        std::vector<double> tileRow(16);
        for (int top = 0; top < kHeight; top += 16) {
            for (int left = 0; left < kWidth; left += 16) {
                QByteArray tile;
                for (int y = top; y < top + 16; ++y) {
                    for (int x = 0; x < 16; ++x)
                        tileRow[size_t(x)] = y < kHeight && left + x < kWidth ? rows[size_t(y)][size_t(left + x)] : 0;
                    tile += packRow(tileRow, f);
                }
                ok = ok && TIFFWriteEncodedTile(tiff, TIFFComputeTile(tiff, uint32_t(left), uint32_t(top), 0, 0),
                                                tile.data(), tile.size()) >= 0;
            }
        }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(5));
        for (int top = 0, strip = 0; top < kHeight; top += 5, ++strip) {
            QByteArray data;
            for (int y = top; y < std::min(top + 5, kHeight); ++y)
                data += packRow(rows[size_t(y)], f);
            ok = ok && TIFFWriteEncodedStrip(tiff, uint32_t(strip), data.data(), data.size()) >= 0;
        }
    }
    TIFFClose(tiff);
    QFile file(path);
    if (!ok || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// A ramp from `low` to `high` over the picture, row by row.
std::vector<std::vector<double>> ramp(double low, double high)
{
    std::vector<std::vector<double>> rows(kHeight, std::vector<double>(kWidth));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            rows[size_t(y)][size_t(x)] = std::round(low + (high - low) * (y * kWidth + x) / (kWidth * kHeight - 1));
    }
    return rows;
}

// Sets entry `index` of a tag in the first directory of a little-endian classic file.
bool patchEntry(QByteArray &file, int tag, int index, quint32 value)
{
    const quint32 directory = qFromLittleEndian<quint32>(file.constData() + 4);
    const int entries = qFromLittleEndian<quint16>(file.constData() + directory);
    for (int i = 0; i < entries; ++i) {
        char *entry = file.data() + directory + 2 + 12 * i;
        if (qFromLittleEndian<quint16>(entry) != tag)
            continue;
        const int size = qFromLittleEndian<quint16>(entry + 2) == TIFF_SHORT ? 2 : 4;
        const quint32 count = qFromLittleEndian<quint32>(entry + 4);
        char *values = count * quint32(size) <= 4 ? entry + 8 : file.data() + qFromLittleEndian<quint32>(entry + 8);
        if (size == 2)
            qToLittleEndian<quint16>(quint16(value), values + 2 * index);
        else
            qToLittleEndian<quint32>(value, values + 4 * index);
        return true;
    }
    return false;
}

std::vector<std::vector<double>> constant(double value)
{
    return std::vector<std::vector<double>>(kHeight, std::vector<double>(kWidth, value));
}

// The grey the data's own range gives a value.
int stretched(double value, double low, double high)
{
    return int(std::lround((value - low) / (high - low) * 255));
}

} // namespace

class TiffSamples : public QObject
{
    Q_OBJECT

private slots:
    void sampleTypes_data();
    void sampleTypes();
    void hostileValues();
    void oneValue();
    void brokenData_data();
    void brokenData();
    void corpusFile();

private:
    QTemporaryDir mDir;
};

void TiffSamples::sampleTypes_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("tiled");
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<bool>("whiteIsZero");
    QTest::addColumn<int>("compression");
    QTest::addColumn<int>("predictor");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");

    const int none = COMPRESSION_NONE;
    const int plain = PREDICTOR_NONE;
    const int s = SAMPLEFORMAT_INT, u = SAMPLEFORMAT_UINT, f = SAMPLEFORMAT_IEEEFP;
    QTest::newRow("int32 strips") << 32 << s << false << false << false << none << plain << -70000.0 << 2e9;
    QTest::newRow("int32 tiles, big-endian") << 32 << s << true << true << false << none << plain << -5e8 << 100.0;
    QTest::newRow("uint32 deflate") << 32 << u << false << true << false << int(COMPRESSION_ADOBE_DEFLATE) << plain
                                    << 4e9 << 4.2e9;
    QTest::newRow("uint12 min-is-white") << 12 << u << false << true << true << none << plain << 0.0 << 4095.0;
    QTest::newRow("int12 tiles") << 12 << s << true << false << false << none << plain << -2048.0 << 2047.0;
    QTest::newRow("uint24 big-endian") << 24 << u << false << true << false << none << plain << 10.0 << 16e6;
    QTest::newRow("uint10 lzw") << 10 << u << false << false << false << int(COMPRESSION_LZW) << plain << 3.0 << 900.0;
    QTest::newRow("float16") << 16 << f << false << true << false << none << plain << -2.0 << 6.0;
    QTest::newRow("float32 tiles, predictor") << 32 << f << true << false << false << int(COMPRESSION_ADOBE_DEFLATE)
                                              << int(PREDICTOR_FLOATINGPOINT) << -1e30 << 1e30;
    QTest::newRow("float64 lzw, predictor")
        << 64 << f << false << true << false << int(COMPRESSION_LZW) << int(PREDICTOR_HORIZONTAL) << -1.0 << 1.0;
}

void TiffSamples::sampleTypes()
{
    QFETCH(int, bits);
    QFETCH(int, kind);
    QFETCH(bool, tiled);
    QFETCH(bool, bigEndian);
    QFETCH(bool, whiteIsZero);
    QFETCH(int, compression);
    QFETCH(int, predictor);
    QFETCH(double, low);
    QFETCH(double, high);
    const Fixture fixture{bits, kind, tiled, bigEndian, whiteIsZero, compression, predictor};
    // Values off the ramp's grid are rounded by the half-precision type; use its own.
    auto rows = ramp(low, high);
    if (bits == 16) {
        for (auto &row : rows)
            for (double &v : row)
                v = double(float(qfloat16(float(v))));
    }
    const QByteArray file = writeTiff(mDir.filePath(QStringLiteral("sample.tif")), fixture, rows);
    QVERIFY(!file.isEmpty());

    const pelorin::tiff::Result result = pelorin::tiff::readTiff(file);
    QCOMPARE(result.status, pelorin::tiff::Status::Ok);
    QCOMPARE(result.image.format(), QImage::Format_Grayscale8);
    QCOMPARE(result.image.size(), QSize(kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int grey = stretched(rows[size_t(y)][size_t(x)], low, high);
            const int expected = whiteIsZero ? 255 - grey : grey;
            const int actual = result.image.constScanLine(y)[x];
            QVERIFY2(std::abs(actual - expected) <= 1,
                     qPrintable(QStringLiteral("(%1, %2): %3, not %4").arg(x).arg(y).arg(actual).arg(expected)));
        }
    }
    QCOMPARE(int(result.image.constScanLine(0)[0]), whiteIsZero ? 255 : 0);
    QCOMPARE(int(result.image.constScanLine(kHeight - 1)[kWidth - 1]), whiteIsZero ? 0 : 255);
}

void TiffSamples::hostileValues()
{
    // NaN shows black and the infinities the ends of the scale; neither widens the
    // range the finite values span, and the largest finite values keep their spread.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double big = std::numeric_limits<double>::max();
    auto rows = constant(0);
    rows[0][0] = -big;
    rows[0][1] = big;
    rows[0][2] = nan;
    rows[0][3] = inf;
    rows[0][4] = -inf;
    rows[0][5] = 0;
    for (int bits : {64, 32}) {
        if (bits == 32) {
            rows[0][0] = -std::numeric_limits<float>::max();
            rows[0][1] = std::numeric_limits<float>::max();
        }
        const QByteArray file =
            writeTiff(mDir.filePath(QStringLiteral("hostile.tif")), {bits, SAMPLEFORMAT_IEEEFP}, rows);
        const pelorin::tiff::Result result = pelorin::tiff::readTiff(file);
        QCOMPARE(result.status, pelorin::tiff::Status::Ok);
        const uchar *top = result.image.constScanLine(0);
        QCOMPARE(QList<int>({top[0], top[1], top[2], top[3], top[4], top[5]}), QList<int>({0, 255, 0, 255, 0, 128}));
    }
}

void TiffSamples::oneValue()
{
    // With no spread to stretch, the value shows where it lies on its type's range.
    const QByteArray halves =
        writeTiff(mDir.filePath(QStringLiteral("flat.tif")), {16, SAMPLEFORMAT_IEEEFP}, constant(0.5));
    QCOMPARE(int(pelorin::tiff::readTiff(halves).image.constScanLine(3)[3]), 128);
    const QByteArray signedFile =
        writeTiff(mDir.filePath(QStringLiteral("flat.tif")), {32, SAMPLEFORMAT_INT}, constant(-2147483648.0));
    QCOMPARE(int(pelorin::tiff::readTiff(signedFile).image.constScanLine(3)[3]), 0);
}

void TiffSamples::brokenData_data()
{
    QTest::addColumn<bool>("tiled");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("index");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("blackFrom"); // first row left black, -1: no promise
    QTest::addColumn<int>("blackTo");

    // Strips of 5 rows; tiles of 16 x 16, three across.
    QTest::newRow("strip beyond the end") << false << int(TIFFTAG_STRIPOFFSETS) << 3 << 0x7fff0000u << 15 << 20;
    QTest::newRow("strip count too small") << false << int(TIFFTAG_STRIPBYTECOUNTS) << 1 << 7u << -1 << -1;
    QTest::newRow("strip claims 2 GiB") << false << int(TIFFTAG_STRIPBYTECOUNTS) << 2 << 0x7ffffff0u << -1 << -1;
    QTest::newRow("rows per strip huge") << false << int(TIFFTAG_ROWSPERSTRIP) << 0 << 0xffffffffu << -1 << -1;
    QTest::newRow("tile beyond the end") << true << int(TIFFTAG_TILEOFFSETS) << 3 << 0x7fff0000u << 16 << 29;
    QTest::newRow("tile width huge") << true << int(TIFFTAG_TILEWIDTH) << 0 << 0x10000000u << -1 << -1;
    QTest::newRow("tile length zero") << true << int(TIFFTAG_TILELENGTH) << 0 << 0u << -1 << -1;
}

void TiffSamples::brokenData()
{
    QFETCH(bool, tiled);
    QFETCH(int, tag);
    QFETCH(int, index);
    QFETCH(quint32, value);
    QFETCH(int, blackFrom);
    QFETCH(int, blackTo);
    Fixture fixture{32, SAMPLEFORMAT_INT};
    fixture.tiled = tiled;
    // Bright at the top, so every row read has some grey above black.
    QByteArray file = writeTiff(mDir.filePath(QStringLiteral("broken.tif")), fixture, ramp(1e6, 1));
    QVERIFY(!file.isEmpty());
    QVERIFY(patchEntry(file, tag, index, value));

    const pelorin::tiff::Result result = pelorin::tiff::readTiff(file);
    if (blackFrom < 0) {
        // Refused or read in part, but never read past the data or made too large.
        QVERIFY(result.image.isNull() || result.image.size() == QSize(kWidth, kHeight));
        return;
    }
    QCOMPARE(result.status, pelorin::tiff::Status::Damaged);
    QCOMPARE(result.image.size(), QSize(kWidth, kHeight));
    // The unreadable block stays black (for tiles, its first column); the rows around it
    // are kept.
    for (int y = 0; y < kHeight; ++y) {
        const bool black = y >= blackFrom && y < blackTo;
        const uchar *row = result.image.constScanLine(y);
        const bool shown = tiled ? row[0] != 0 : std::any_of(row, row + kWidth, [](uchar grey) { return grey != 0; });
        QVERIFY2(shown != black, qPrintable(QString::number(y)));
    }
}

void TiffSamples::corpusFile()
{
    // 32-bit signed grey holding 0 (bottom row) to 65535 (top row): a ramp from white
    // down to black.
    QFile file(test::corpusDir() + QStringLiteral("/tiff/pillow/16_bit_binary_pgm.tiff"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pelorin::tiff::Result result = pelorin::tiff::readTiff(file.readAll());
    QCOMPARE(result.status, pelorin::tiff::Status::Ok);
    QCOMPARE(result.image.size(), QSize(20, 100));
    QCOMPARE(int(result.image.constScanLine(0)[0]), 255);
    QCOMPARE(int(result.image.constScanLine(99)[19]), 0);
    QVERIFY(result.image.constScanLine(50)[0] > 100 && result.image.constScanLine(50)[0] < 155);
}

QTEST_GUILESS_MAIN(TiffSamples)
#include "test_tiffsamples.moc"
