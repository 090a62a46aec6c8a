// libFuzzer target: our bitmap decoder on arbitrary bytes, as a file and as an icon's DIB.
#include "imaging/bmpdecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    pelorin::bmp::readFile(bytes);
    pelorin::bmp::readIconDib(bytes);
    return 0;
}
