// libFuzzer target: our icon reader (directory, entry choice, entry decoding).
#include "imaging/icondecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    pelorin::ico::readIcon(bytes);
    pelorin::ico::readIcon(bytes, QSize(16, 16));
    return 0;
}
