// libFuzzer target: our PNG reader (libpng underneath, our buffer and palette handling).
#include "imaging/pngdecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pelorin::png::readPng(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
