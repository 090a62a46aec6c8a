// libFuzzer target: the WMF player (files of the other kind are passed over quickly).
#include "fuzz_metafile_common.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    pelorin::fuzz::initGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const bool enhanced = size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0 && data[3] == 0;
    if (!enhanced)
        pelorin::fuzz::playMetafile(data, size);
    return 0;
}
