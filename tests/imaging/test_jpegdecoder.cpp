// Our JPEG reader on files made here: the Exif orientation, the reduced 1/8 decode of
// progressive files against decoding them whole, damaged and truncated files.

#include "imagecompare.h"

#include "imaging/jpegdecoder.h"
#include "imaging/rasterload.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

using namespace pelorin;

namespace {

struct Encoding
{
    int lumaH = 2, lumaV = 2; // luma sampling factors; chroma is 1 x 1
    bool grey = false;
    bool progressive = false;
    int restartRows = 0;
};

struct EncodeError
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void encodeFailed(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<EncodeError *>(cinfo->err)->jump, 1);
}

bool runEncoder(jpeg_compress_struct &cinfo, EncodeError &error, const QImage &image, const Encoding &how,
                unsigned char **buffer, unsigned long *size)
{
    if (setjmp(error.jump))
        return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = how.grey ? 1 : 3;
    cinfo.in_color_space = how.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    if (!how.grey) {
        cinfo.comp_info[0].h_samp_factor = how.lumaH;
        cinfo.comp_info[0].v_samp_factor = how.lumaV;
    }
    cinfo.restart_in_rows = how.restartRows;
    if (how.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

// A JPEG file of image, written by libjpeg as the encoding says.
QByteArray encode(const QImage &picture, const Encoding &how = {})
{
    const QImage image = picture.convertToFormat(how.grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct cinfo{};
    EncodeError error{};
    cinfo.err = jpeg_std_error(&error.base);
    error.base.error_exit = encodeFailed;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const bool written = runEncoder(cinfo, error, image, how, &buffer, &size);
    jpeg_destroy_compress(&cinfo);
    QByteArray file = written ? QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size)) : QByteArray();
    std::free(buffer);
    return file;
}

// A picture with detail in every 8 x 8 block, so that AC coefficients matter.
QImage textured(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int(seed >> 26);
            image.setPixel(x, y, qRgb((x * 7 + noise * 3) % 256, (y * 5 + x * x / 9) % 256, (x * y / 13 + noise) % 256));
        }
    }
    return image;
}

// Six 16 x 16 blocks of clearly different colours, 48 x 32: each turn or mirror of it
// differs from the others.
QImage blocks()
{
    static const QRgb colours[] = {qRgb(230, 20, 20), qRgb(20, 200, 30), qRgb(30, 40, 220),
                                   qRgb(240, 240, 30), qRgb(20, 20, 20), qRgb(250, 250, 250)};
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            image.setPixel(x, y, colours[(y / 16) * 3 + x / 16]);
    return image;
}

// The stored picture for an orientation tag: the one that, read with the tag applied,
// shows upright. For each shown pixel (x, y) the tag names the stored pixel it comes from.
QImage storedFor(const QImage &upright, int orientation)
{
    const int w = upright.width(), h = upright.height();
    const bool turned = orientation >= 5;
    QImage stored(turned ? h : w, turned ? w : h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            QPoint from;
            switch (orientation) {
            case 1: from = {x, y}; break;
            case 2: from = {w - 1 - x, y}; break;
            case 3: from = {w - 1 - x, h - 1 - y}; break;
            case 4: from = {x, h - 1 - y}; break;
            case 5: from = {y, x}; break;
            case 6: from = {y, w - 1 - x}; break;
            case 7: from = {h - 1 - y, w - 1 - x}; break;
            case 8: from = {h - 1 - y, x}; break;
            }
            stored.setPixel(from, upright.pixel(x, y));
        }
    }
    return stored;
}

void put16(QByteArray &out, bool little, int value)
{
    const char hi = char(value >> 8), lo = char(value & 0xFF);
    out.append(little ? lo : hi).append(little ? hi : lo);
}

void put32(QByteArray &out, bool little, quint32 value)
{
    put16(out, little, little ? int(value & 0xFFFF) : int(value >> 16));
    put16(out, little, little ? int(value >> 16) : int(value & 0xFFFF));
}

// An Exif payload whose IFD0 holds an unrelated tag and then Orientation.
QByteArray exifPayload(int orientation, bool little, int type = 3, quint32 count = 1)
{
    QByteArray out("Exif\0\0", 6);
    out.append(little ? "II" : "MM");
    put16(out, little, 42);
    put32(out, little, 8);
    put16(out, little, 2);
    put16(out, little, 0x010F); // Make, ASCII, pointing nowhere that matters
    put16(out, little, 2);
    put32(out, little, 4);
    put32(out, little, 0);
    put16(out, little, 0x0112);
    put16(out, little, type);
    put32(out, little, count);
    put16(out, little, orientation);
    put16(out, little, 0);
    put32(out, little, 0); // no next IFD
    return out;
}

// The file with an APP1 segment holding payload right after the start of image.
QByteArray withApp1(const QByteArray &file, const QByteArray &payload)
{
    QByteArray segment("\xFF\xE1", 2);
    const int length = int(payload.size()) + 2;
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    return file.left(2) + segment + file.mid(2);
}

} // namespace

class JpegDecoder : public QObject
{
    Q_OBJECT

private slots:
    void orientationApplied_data();
    void orientationApplied();
    void exifPayloads_data();
    void exifPayloads();
    void progressiveEighthAsWhole_data();
    void progressiveEighthAsWhole();
    void brokenFiles_data();
    void brokenFiles();
    void truncatedScanKeepsWhatWasRead();
};

void JpegDecoder::orientationApplied_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("little");
    for (int orientation = 1; orientation <= 8; ++orientation) {
        // Both byte orders across the table.
        const bool little = orientation % 2;
        QTest::addRow("%d %s", orientation, little ? "II" : "MM") << orientation << little;
    }
}

void JpegDecoder::orientationApplied()
{
    QFETCH(int, orientation);
    QFETCH(bool, little);
    const QImage upright = blocks();
    // Full-resolution chroma keeps the flat blocks flat to their edges.
    const QByteArray file =
        withApp1(encode(storedFor(upright, orientation), {1, 1}), exifPayload(orientation, little));

    const jpeg::Result full = jpeg::readJpeg(file);
    QCOMPARE(full.status, jpeg::Status::Ok);
    QCOMPARE(full.originalSize, upright.size());
    const QString difference = test::compareImages(full.image, upright, 8);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // The hint is upright too: half the upright size decodes at 1/2, the right way round.
    const jpeg::Result half = jpeg::readJpeg(file, {upright.size() / 2});
    QCOMPARE(half.status, jpeg::Status::Ok);
    QCOMPARE(half.originalSize, upright.size());
    const QString halfDifference = test::compareImages(half.image, upright.scaled(upright.size() / 2), 8);
    QVERIFY2(halfDifference.isEmpty(), qPrintable(halfDifference));
}

void JpegDecoder::exifPayloads_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("orientation");
    const QByteArray good = exifPayload(6, false);
    QTest::newRow("big-endian") << good << 6;
    QTest::newRow("little-endian") << exifPayload(8, true) << 8;
    QTest::newRow("not Exif") << QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + good.mid(6) << 0;
    QTest::newRow("odd byte order") << QByteArray(good).replace(6, 2, "MI") << 0;
    QTest::newRow("not 42") << QByteArray(good).replace(9, 1, "\x2B") << 0;
    QTest::newRow("value out of range") << exifPayload(9, false) << 0;
    QTest::newRow("value zero") << exifPayload(0, true) << 0;
    QTest::newRow("LONG, not SHORT") << exifPayload(6, false, 4) << 0;
    QTest::newRow("two values") << exifPayload(6, false, 3, 2) << 0;
    QTest::newRow("IFD cut short") << good.left(6 + 8 + 2 + 12 + 6) << 0;
    QTest::newRow("IFD past the end") << QByteArray(good).replace(10, 4, QByteArray("\x00\x00\x10\x00", 4)) << 0;
    QTest::newRow("IFD inside the header") << QByteArray(good).replace(10, 4, QByteArray("\x00\x00\x00\x04", 4)) << 0;
    QTest::newRow("header only") << good.left(10) << 0;
    QTest::newRow("empty") << QByteArray() << 0;
}

void JpegDecoder::exifPayloads()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, orientation);
    QCOMPARE(jpeg::exifOrientation(payload), orientation);
}

void JpegDecoder::progressiveEighthAsWhole_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("reduced");
    const QImage picture = textured(203, 117);
    Encoding how;
    how.progressive = true;
    // Subsampled chroma is decoded 2 x 2 at 1/8 and keeps its AC scans; the rest is DC only.
    QTest::newRow("4:2:0") << encode(picture, how) << true;
    how.lumaV = 1;
    QTest::newRow("4:2:2") << encode(picture, how) << true;
    how.lumaH = 1;
    QTest::newRow("4:4:4") << encode(picture, how) << true;
    how.restartRows = 1;
    QTest::newRow("4:4:4 with restarts") << encode(picture, how) << true;
    how.grey = true;
    QTest::newRow("grey") << encode(picture, how) << true;
    // Odd streams are decoded whole, with the same result.
    Encoding plain;
    plain.progressive = true;
    const QByteArray whole = encode(picture, plain);
    QTest::newRow("truncated") << whole.left(whole.size() * 2 / 3) << false;
    QTest::newRow("garbage between segments") << whole.left(2) + QByteArray("\x00\x01", 2) + whole.mid(2) << false;
    QTest::newRow("baseline") << encode(picture) << false;
    // The first AC scan names Huffman table 5, which cannot exist: libjpeg fails the file.
    QByteArray badTable = whole;
    for (qsizetype at = badTable.indexOf("\xFF\xDA"); at >= 0; at = badTable.indexOf("\xFF\xDA", at + 2)) {
        const int count = uchar(badTable[at + 4]);
        if (badTable[at + 5 + 2 * count] != 0) {
            badTable[at + 6] = char((badTable[at + 6] & 0xF0) | 5);
            break;
        }
    }
    QTest::newRow("undefined AC table") << badTable << false;
    // The first AC table (for the first luma AC scan) claims two codes of one bit, which
    // leaves no room for the rest: libjpeg fails the file when that scan starts.
    QByteArray overfull = whole;
    for (qsizetype at = overfull.indexOf("\xFF\xC4"); at >= 0; at = overfull.indexOf("\xFF\xC4", at + 2)) {
        if (uchar(overfull[at + 4]) >> 4 == 1) {
            int codes = 0;
            for (int length = 1; length <= 16; ++length)
                codes += uchar(overfull[at + 4 + length]);
            for (int length = 1; length <= 16; ++length)
                overfull[at + 4 + length] = char(length == 1 ? 2 : length == 16 ? codes - 2 : 0);
            break;
        }
    }
    QTest::newRow("overfull AC table") << overfull << false;
}

void JpegDecoder::progressiveEighthAsWhole()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, reduced);
    QVERIFY(!file.isEmpty());
    const QByteArray dcOnly = jpeg::scansForEighth(file, {});
    QCOMPARE(!dcOnly.isEmpty(), reduced);
    if (reduced)
        QVERIFY(dcOnly.size() < file.size() / 2);

    for (const QSize hint : {QSize(1, 1), QSize(25, 14)}) {
        jpeg::Options skipping{hint, true}, whole{hint, false};
        const jpeg::Result fast = jpeg::readJpeg(file, skipping);
        const jpeg::Result slow = jpeg::readJpeg(file, whole);
        QCOMPARE(fast.status, slow.status);
        QVERIFY(fast.image == slow.image);
        if (fast.status == jpeg::Status::Ok)
            QCOMPARE(fast.image.size(), QSize(25, 14));
    }
}

void JpegDecoder::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    const QByteArray good = encode(textured(64, 48));
    QTest::newRow("empty") << QByteArray() << "not a JPEG file";
    QTest::newRow("PNG signature") << QByteArray("\x89PNG\r\n\x1a\n", 8) + good << "not a JPEG file";
    QTest::newRow("start of image only") << good.left(2) << "file damaged or truncated";
    QTest::newRow("cut in the header") << good.left(good.indexOf("\xFF\xDA") - 10) << "file damaged or truncated";
    // 60000 x 60000 in the frame header, more than a picture may take in memory.
    QByteArray huge = good;
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    huge.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
    QTest::newRow("huge") << huge << "image too large";
    QTest::newRow("no image data") << good.left(good.indexOf("\xFF\xDA")) + "\xFF\xD9" << "file damaged or truncated";
}

void JpegDecoder::brokenFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.jpg"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    for (const QSize hint : {QSize(), QSize(4, 4)}) {
        const RasterLoadResult result = loadRaster({path, 24, true, hint});
        QCOMPARE(result.outcome, RasterLoadResult::Outcome::ReaderFailed);
        QCOMPARE(result.messages, QStringList({text, QStringLiteral("Reading jpg file failed")}));
        QVERIFY(result.image.isNull());
    }
}

void JpegDecoder::truncatedScanKeepsWhatWasRead()
{
    // A file cut inside its image data still reads: libjpeg ends the data there and the
    // rows it had decoded show as they are, the rest grey.
    const QByteArray file = encode(textured(64, 64));
    const jpeg::Result whole = jpeg::readJpeg(file);
    const jpeg::Result cut = jpeg::readJpeg(file.left(file.size() * 3 / 4));
    QCOMPARE(whole.status, jpeg::Status::Ok);
    QCOMPARE(cut.status, jpeg::Status::Ok);
    QCOMPARE(cut.image.size(), QSize(64, 64));
    QVERIFY(cut.image.copy(0, 0, 64, 16) == whole.image.copy(0, 0, 64, 16));
    QVERIFY(cut.image.copy(0, 48, 64, 16) != whole.image.copy(0, 48, 64, 16));
    const QRgb bottom = cut.image.pixel(63, 63);
    QVERIFY(qAbs(qRed(bottom) - 128) < 4 && qAbs(qGreen(bottom) - 128) < 4 && qAbs(qBlue(bottom) - 128) < 4);
}

QTEST_GUILESS_MAIN(JpegDecoder)
#include "test_jpegdecoder.moc"
