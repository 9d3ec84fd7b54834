// A library under a plug-in's name in a folder where no plug-in of ours
// belongs: once loaded, it leaves a file in the working directory to say so.
#include <cstdio>

namespace {

__attribute__((constructor)) void SayLoaded()
{
    if (std::FILE* marker = std::fopen("impostor-was-loaded", "w"))
        std::fclose(marker);
}

} // namespace
