#include "readers/PathExtension.h"

// The Windows shell's rule, with "/" as a separator as well as "\".
std::string FindExtension(const std::string& path)
{
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == '/' || c == ' ')
            dot = std::string::npos;
        else if (c == '.')
            dot = i;
    }
    return dot == std::string::npos ? std::string() : path.substr(dot);
}
