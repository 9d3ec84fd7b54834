#include "readers/PathExtension.h"

#include <shlwapi.h>

std::string FindExtension(const std::string& path)
{
    return PathFindExtensionA(path.c_str());
}
