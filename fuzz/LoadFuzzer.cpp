// One target per reader: GRIDLOOK_FUZZ_EXTENSION, the input file's extension,
// chooses it, or for a public format sends the file the way every file of
// another extension goes, to the native reader and then by its contents.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PrepareFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = WriteInputFile(data, size, GRIDLOOK_FUZZ_EXTENSION);
    const CTessGrid puzzle(path);
    CheckLoad(puzzle, path);
    return 0;
}
