// The PNG reader on files built here byte by byte: every colour type and row filter of
// the plain 8-bit files it decodes itself, and damaged or unusual variants of them, each
// read as libpng's simplified interface reads it (pixels and status).
#include "imaging/pngdecoder.h"

#include <QTest>

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <functional>

using namespace pelorin;

namespace {

constexpr int kWidth = 37;
constexpr int kHeight = 29;

int channelsOf(int colourType)
{
    return colourType == 0 ? 1 : colourType == 2 ? 3 : colourType == 4 ? 2 : 4;
}

// Samples with noise and smooth runs, so every predictor branch is taken.
QByteArray samples(int colourType)
{
    const int bytes = kWidth * channelsOf(colourType);
    QByteArray raw(bytes * kHeight, '\0');
    quint32 seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int i = 0; i < bytes; ++i) {
            seed = seed * 1103515245 + 12345;
            const int smooth = (i * 7 + y * 5) & 0xff;
            raw[y * bytes + i] = char(y % 3 == 0 ? smooth : (seed >> 16) & 0xff);
        }
    }
    return raw;
}

int predictor(int filter, int a, int b, int c)
{
    switch (filter) {
    case 1:
        return a;
    case 2:
        return b;
    case 3:
        return (a + b) / 2;
    case 4: {
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    }
    return 0;
}

// The rows as a PNG encoder filters them: `filterOf(y)` picks each row's filter.
QByteArray filtered(const QByteArray &raw, int colourType, const std::function<int(int)> &filterOf)
{
    const int bpp = channelsOf(colourType);
    const int bytes = kWidth * bpp;
    QByteArray out;
    for (int y = 0; y < kHeight; ++y) {
        const int filter = filterOf(y);
        out.append(char(filter));
        auto at = [&](int row, int i) { return row < 0 || i < 0 ? 0 : int(uchar(raw[row * bytes + i])); };
        for (int i = 0; i < bytes; ++i)
            out.append(char(at(y, i) - predictor(filter, at(y, i - bpp), at(y - 1, i), at(y - 1, i - bpp))));
    }
    return out;
}

QByteArray chunk(const char *type, const QByteArray &body)
{
    QByteArray out;
    const auto put32 = [&out](quint32 v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char((v >> shift) & 0xff));
    };
    put32(quint32(body.size()));
    const QByteArray typed = QByteArray(type, 4) + body;
    out.append(typed);
    put32(quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()))));
    return out;
}

QByteArray deflated(const QByteArray &data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(data.constData()),
              uLong(data.size()), 9);
    out.resize(qsizetype(size));
    return out;
}

struct Parts
{
    int colourType = 2;
    QByteArray before;           // chunks between the header and the image data
    QList<QByteArray> imageData; // the body of each image data chunk
};

QByteArray pngFile(const Parts &parts)
{
    QByteArray header(13, '\0');
    header[3] = char(kWidth);
    header[7] = char(kHeight);
    header[8] = 8;
    header[9] = char(parts.colourType);
    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    file += chunk("IHDR", header) + parts.before;
    for (const QByteArray &body : parts.imageData)
        file += chunk("IDAT", body);
    return file + chunk("IEND", {});
}

// The stream cut into chunks of varied size, so rows straddle chunk boundaries.
QList<QByteArray> split(const QByteArray &stream)
{
    QList<QByteArray> pieces;
    for (qsizetype at = 0, size = 1; at < stream.size(); at += size, size = size * 3 + 7)
        pieces.append(stream.mid(at, size));
    return pieces;
}

// What libpng's simplified interface makes of the file, in the reader's formats.
png::Result simplifiedRead(const QByteArray &file)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.constData(), size_t(file.size())))
        return {{}, png::Status::Damaged};
    const bool grey = !(image.format & PNG_FORMAT_FLAG_COLOR) && !(image.format & PNG_FORMAT_FLAG_ALPHA);
    QImage result(int(image.width), int(image.height),
                  grey ? QImage::Format_Grayscale8
                       : (image.format & PNG_FORMAT_FLAG_ALPHA ? QImage::Format_ARGB32 : QImage::Format_RGB32));
    image.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_BGRA;
    result.fill(0);
    const bool ok = png_image_finish_read(&image, nullptr, result.bits(), png_int_32(result.bytesPerLine()), nullptr);
    png_image_free(&image);
    return {result, ok ? png::Status::Ok : png::Status::Damaged};
}

// The raw samples as the picture the reader should show.
QImage expectedPicture(const QByteArray &raw, int colourType)
{
    const int bpp = channelsOf(colourType);
    QImage image(kWidth, kHeight,
                 colourType == 0   ? QImage::Format_Grayscale8
                 : colourType == 2 ? QImage::Format_RGB32
                                   : QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const auto *s = reinterpret_cast<const uchar *>(raw.constData()) + (y * kWidth + x) * bpp;
            if (colourType == 0)
                image.scanLine(y)[x] = s[0];
            else if (colourType == 4)
                image.setPixel(x, y, qRgba(s[0], s[0], s[0], s[1]));
            else
                image.setPixel(x, y, qRgba(s[0], s[1], s[2], colourType == 6 ? s[3] : 255));
        }
    }
    return image;
}

bool samePixels(const QImage &a, const QImage &b)
{
    if (a.format() != b.format() || a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width() * a.depth() / 8)) != 0)
            return false;
    }
    return true;
}

QByteArray gammaChunk(quint32 value)
{
    QByteArray body(4, '\0');
    for (int i = 0; i < 4; ++i)
        body[i] = char((value >> (24 - 8 * i)) & 0xff);
    return chunk("gAMA", body);
}

} // namespace

class PngReader : public QObject
{
    Q_OBJECT

private slots:
    void plainFiles_data();
    void plainFiles();
    void variants_data();
    void variants();
};

void PngReader::plainFiles_data()
{
    QTest::addColumn<int>("colourType");
    QTest::addColumn<int>("filter"); // -1: each row its own
    for (int colourType : {0, 2, 4, 6}) {
        for (int filter = -1; filter <= 4; ++filter)
            QTest::addRow("type %d filter %d", colourType, filter) << colourType << filter;
    }
}

void PngReader::plainFiles()
{
    QFETCH(int, colourType);
    QFETCH(int, filter);
    const QByteArray raw = samples(colourType);
    const QByteArray stream =
        deflated(filtered(raw, colourType, [filter](int y) { return filter < 0 ? y % 5 : filter; }));
    const QByteArray file = pngFile({colourType, {}, split(stream)});
    const png::Result result = png::readPng(file);
    QCOMPARE(result.status, png::Status::Ok);
    QVERIFY(samePixels(result.image, expectedPicture(raw, colourType)));
}

void PngReader::variants_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("goodRows"); // rows that must show the samples, from the top

    const QByteArray raw = samples(2);
    const QByteArray rows = filtered(raw, 2, [](int y) { return y % 5; });
    const QByteArray stream = deflated(rows);
    const qsizetype rowBytes = kWidth * 3 + 1;
    const auto file = [](const QByteArray &before, const QList<QByteArray> &data) {
        return pngFile({2, before, data});
    };

    QTest::newRow("display gamma") << file(gammaChunk(45455), {stream}) << kHeight;
    QTest::newRow("sRGB chunk") << file(chunk("sRGB", QByteArray(1, '\0')), {stream}) << kHeight;
    QTest::newRow("text chunk") << file(chunk("tEXt", QByteArray("Comment\0hello", 13)), split(stream)) << kHeight;
    QTest::newRow("empty image data chunks") << file({}, {{}, stream, {}}) << kHeight;
    QTest::newRow("gamma of its own") << file(gammaChunk(100000), {stream}) << 0;
    QTest::newRow("transparent colour") << file(chunk("tRNS", QByteArray(6, '\0')), {stream}) << kHeight;

    const QByteArray whole = file({}, {stream});
    QTest::newRow("cut in the image data") << whole.first(whole.size() / 2) << 0;
    QTest::newRow("without end chunk") << whole.first(whole.size() - 12) << kHeight;
    QByteArray badEnd = whole;
    badEnd[badEnd.size() - 1] = char(badEnd[badEnd.size() - 1] ^ 1);
    QTest::newRow("end chunk checksum") << badEnd << kHeight;
    QByteArray badChecksum = whole;
    badChecksum[badChecksum.size() - 13] = char(badChecksum[badChecksum.size() - 13] ^ 1);
    QTest::newRow("image data checksum") << badChecksum << 0;
    QByteArray badFilter = rows;
    badFilter[10 * rowBytes] = 5;
    QTest::newRow("unknown filter") << file({}, {deflated(badFilter)}) << 10;
    QTest::newRow("stream a row short") << file({}, {deflated(rows.first(rows.size() - rowBytes))}) << kHeight - 1;
    QTest::newRow("surplus rows") << file({}, {deflated(rows + rows.first(rowBytes))}) << kHeight;
    QTest::newRow("garbage after the stream") << file({}, {stream + QByteArray(9, 'x')}) << kHeight;
    QTest::newRow("stream not ended") << file({}, {stream.first(stream.size() - 4)}) << kHeight;
    QTest::newRow("unknown critical chunk") << file(chunk("ABCD", "x"), {stream}) << 0;
}

void PngReader::variants()
{
    QFETCH(QByteArray, file);
    QFETCH(int, goodRows);
    const png::Result result = png::readPng(file);
    const png::Result expected = simplifiedRead(file);
    QCOMPARE(result.status, expected.status);
    QCOMPARE(result.image.isNull(), expected.image.isNull());
    if (result.image.isNull())
        return;
    QVERIFY(samePixels(result.image, expected.image));
    const QImage picture = expectedPicture(samples(2), 2);
    for (int y = 0; y < goodRows; ++y)
        QVERIFY2(std::memcmp(result.image.constScanLine(y), picture.constScanLine(y), kWidth * 4) == 0,
                 qPrintable(QString::number(y)));
}

QTEST_GUILESS_MAIN(PngReader)
#include "test_pngreader.moc"
