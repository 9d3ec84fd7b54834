#include "support/ExportedFunctions.h"

#include <cstdio>

std::set<std::string> ExportedFunctions(const std::string& library)
{
    std::set<std::string> exported;
    FILE* pipe = popen(("nm -D --defined-only " + library).c_str(), "r");
    if (!pipe)
        return exported;
    char type = 0;
    char name[512];
    while (std::fscanf(pipe, "%*s %c %511s", &type, name) == 2) {
        if (type == 'T')
            exported.insert(name);
    }
    pclose(pipe);
    return exported;
}
