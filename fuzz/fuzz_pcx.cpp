// libFuzzer target for our PCX reader: any input must decode or fail cleanly.
#include "imaging/codec/codec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const pelorin::codec::ReadResult result =
        pelorin::codec::readPcxData(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    // A successful read always yields an image; touch it so the decoded pixels are used.
    if (result.status > 0 && result.image.isNull())
        __builtin_trap();
    if (!result.image.isNull())
        (void)result.image.pixel(result.image.width() - 1, result.image.height() - 1);
    return 0;
}
