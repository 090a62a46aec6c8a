// libFuzzer target: our JPEG reader (libjpeg-turbo underneath, our Exif parser, the
// reduced stream for 1/8 decodes of progressive files, scaling and orientation).
#include "imaging/jpegdecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace pelorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView file(reinterpret_cast<const char *>(data), qsizetype(size));
    // Whole size, then 1/2, 1/4 and 1/8 whichever the picture allows.
    jpeg::readJpeg(file);
    for (const QSize hint : {QSize(0, 0), QSize(1, 1), QSize(70, 70), QSize(200, 200)}) {
        const jpeg::Result skipping = jpeg::readJpeg(file, {hint, true});
        // The reduced stream must decode exactly as the whole file does.
        const jpeg::Result whole = jpeg::readJpeg(file, {hint, false});
        if (skipping.status != whole.status || skipping.image != whole.image)
            std::abort();
    }
    jpeg::exifOrientation(file);
    jpeg::scansForEighth(file, {1, 2, 3});
    return 0;
}
