// PNG through libpng: palette images at 1, 4 (also depth 0, the VGA palette) and 8 bits,
// or 8-bit RGB, optionally Adam7-interlaced.
#include "imaging/codec/codec.h"
#include "imaging/codec/writersupport.h"

#include <png.h>

#include <csetjmp>
#include <new>
#include <vector>

namespace pelorin::codec {

namespace {

void appendData(png_structp png, png_bytep data, png_size_t length)
{
    bool failed = false;
    try {
        static_cast<QByteArray *>(png_get_io_ptr(png))->append(reinterpret_cast<const char *>(data), qsizetype(length));
    } catch (...) {
        failed = true;
    }
    if (failed)
        png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

void failWithJump(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Owns libpng's structures for one write.
struct PngWrite
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngWrite()
    {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failWithJump, ignoreWarning);
        if (png)
            info = png_create_info_struct(png);
    }
    ~PngWrite() { png_destroy_write_struct(&png, &info); }
    PngWrite(const PngWrite &) = delete;
    PngWrite &operator=(const PngWrite &) = delete;
};

// Runs libpng over prepared rows; nothing here has a destructor that a jump could skip.
bool runPng(PngWrite &w, QByteArray *out, int width, int height, int bits, int colourType, bool interlaced,
            const std::vector<png_color> &palette, const QImage &source, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(w.png)))
        return false;
    png_set_write_fn(w.png, out, appendData, flushNothing);
    png_set_IHDR(w.png, w.info, png_uint_32(width), png_uint_32(height), bits, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(w.png, w.info, palette.data(), int(palette.size()));
    if (source.dotsPerMeterX() > 0 && source.dotsPerMeterY() > 0)
        png_set_pHYs(w.png, w.info, png_uint_32(source.dotsPerMeterX()), png_uint_32(source.dotsPerMeterY()),
                     PNG_RESOLUTION_METER);
    png_write_info(w.png, w.info);
    png_write_image(w.png, rows);
    png_write_end(w.png, w.info);
    return true;
}

int encode(const QImage &source, int depth, bool interlaced, QByteArray &out)
{
    QImage image;
    int bits = 8;
    std::vector<png_color> palette;
    std::vector<uchar> packed;
    std::vector<png_bytep> rows(size_t(source.height()));
    if (depth == 24) {
        image = source.convertToFormat(QImage::Format_RGB888);
        if (image.isNull())
            return kOutOfMemory;
        for (int y = 0; y < image.height(); ++y)
            rows[size_t(y)] = const_cast<png_bytep>(image.constScanLine(y));
    } else {
        const detail::IndexedImage indexed = detail::indexedImage(source, depth);
        image = indexed.image;
        if (image.isNull())
            return kOutOfMemory;
        bits = indexed.bits;
        for (QRgb c : image.colorTable())
            palette.push_back(png_color{png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
        const qsizetype rowBytes = (qsizetype(image.width()) * bits + 7) / 8;
        packed.resize(size_t(rowBytes) * size_t(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            uchar *row = packed.data() + rowBytes * y;
            detail::packRow(image.constScanLine(y), image.width(), bits, row, rowBytes);
            rows[size_t(y)] = row;
        }
    }
    PngWrite w;
    if (!w.png || !w.info)
        return kOutOfMemory;
    const int colourType = depth == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE;
    if (!runPng(w, &out, image.width(), image.height(), bits, colourType, interlaced, palette, source, rows.data()))
        return kEncoderError;
    return kOk;
}

} // namespace

int writePng(const QImage &image, const QString &path, int depth, bool interlaced)
{
    return detail::encodeAndWrite(image, path, depth, [&](QByteArray &bytes) { return encode(image, depth, interlaced, bytes); });
}

} // namespace pelorin::codec
