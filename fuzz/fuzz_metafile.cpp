// libFuzzer target: the metafile player, built twice: fuzz_emf with PELORIN_FUZZ_ENHANCED=1
// plays enhanced metafiles, fuzz_wmf with 0 plays Windows metafiles; inputs of the other
// kind are passed over quickly.
#include "fuzz_metafile_common.h"

// Fontconfig keeps a few allocations for the life of the process without a
// reference LeakSanitizer can see; they are not ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    pelorin::fuzz::initGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const bool enhanced = size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0 && data[3] == 0;
    if (enhanced == bool(PELORIN_FUZZ_ENHANCED))
        pelorin::fuzz::playMetafile(data, size);
    return 0;
}
