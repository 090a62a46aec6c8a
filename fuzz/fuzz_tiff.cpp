// libFuzzer target: our TIFF reader (libtiff underneath, our buffer and orientation handling).
#include "imaging/tiffdecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pelorin::tiff::readTiff(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
