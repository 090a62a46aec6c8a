// libFuzzer target for our PCX reader: any input must decode or fail cleanly.
#include "imaging/codec/codec.h"

#include <cstddef>
#include <cstdint>

namespace {

// Inputs whose header asks for more than 4 megapixels only spend the fuzzer's time on
// allocating and clearing the image; the reader's own size limit is tested elsewhere.
bool claimsHugeImage(const uint8_t *data, size_t size)
{
    if (size < 12)
        return false;
    auto word = [data](size_t at) { return long(data[at] | (data[at + 1] << 8)); };
    const long width = word(8) - word(4) + 1, height = word(10) - word(6) + 1;
    return width > 0 && height > 0 && width * height > (4L << 20);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (claimsHugeImage(data, size))
        return 0;
    const pelorin::codec::ReadResult result =
        pelorin::codec::readPcxData(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    // A successful read always yields an image; touch it so the decoded pixels are used.
    if (result.status > 0 && result.image.isNull())
        __builtin_trap();
    if (!result.image.isNull())
        (void)result.image.pixel(result.image.width() - 1, result.image.height() - 1);
    return 0;
}
