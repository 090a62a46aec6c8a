// JPEG through libjpeg: 8-bit greyscale for depth 1, otherwise 24-bit colour stored as
// YCbCr; the quality and smoothing factor go to the encoder as given (clamped to 0-100).
#include "imaging/codec/codec.h"
#include "imaging/codec/writersupport.h"

#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <new>

namespace pelorin::codec {

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void failWithJump(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

// Owns libjpeg's compressor and its memory destination for one write.
struct JpegWrite
{
    jpeg_compress_struct cinfo{};
    ErrorManager error{};
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    JpegWrite()
    {
        cinfo.err = jpeg_std_error(&error.base);
        error.base.error_exit = failWithJump;
        error.base.output_message = ignoreMessage;
    }
    ~JpegWrite()
    {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
    }
    JpegWrite(const JpegWrite &) = delete;
    JpegWrite &operator=(const JpegWrite &) = delete;
};

// Runs libjpeg; nothing here has a destructor that a jump could skip.
bool runJpeg(JpegWrite &w, const QImage &image, bool grey, int quality, int smoothing, int dpiX, int dpiY)
{
    if (setjmp(w.error.jump))
        return false;
    jpeg_create_compress(&w.cinfo);
    jpeg_mem_dest(&w.cinfo, &w.buffer, &w.size);
    w.cinfo.image_width = JDIMENSION(image.width());
    w.cinfo.image_height = JDIMENSION(image.height());
    w.cinfo.input_components = grey ? 1 : 3;
    w.cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&w.cinfo); // greyscale input stays greyscale, RGB becomes YCbCr
    jpeg_set_quality(&w.cinfo, quality, TRUE);
    w.cinfo.smoothing_factor = smoothing;
    if (dpiX > 0 && dpiY > 0 && dpiX <= 65535 && dpiY <= 65535) {
        w.cinfo.density_unit = 1; // dots per inch
        w.cinfo.X_density = UINT16(dpiX);
        w.cinfo.Y_density = UINT16(dpiY);
    }
    jpeg_start_compress(&w.cinfo, TRUE);
    while (w.cinfo.next_scanline < w.cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(w.cinfo.next_scanline)));
        jpeg_write_scanlines(&w.cinfo, &row, 1);
    }
    jpeg_finish_compress(&w.cinfo);
    return true;
}

} // namespace

int writeJpeg(const QImage &image, const QString &path, int depth, int quality, int smoothing)
{
    if (image.isNull())
        return kNoImage;
    if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        return kImageTooLarge;
    try {
        const bool grey = depth == 1;
        const QImage pixels = image.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
        if (pixels.isNull())
            return kOutOfMemory;
        JpegWrite w;
        if (!runJpeg(w, pixels, grey, qBound(0, quality, 100), qBound(0, smoothing, 100), detail::dotsPerInchX(image),
                     detail::dotsPerInchY(image)))
            return kEncoderError;
        return detail::writeFileAtomically(path, QByteArrayView(w.buffer, qsizetype(w.size)));
    } catch (const std::bad_alloc &) {
        return kOutOfMemory;
    }
}

} // namespace pelorin::codec
