// libFuzzer target: our GIF reader (giflib underneath, our canvas and palette handling).
#include "imaging/gifdecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pelorin::gif::readGif(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
