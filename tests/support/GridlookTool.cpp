#include "support/GridlookTool.h"

ToolRun Gridlook(const std::string& arguments)
{
    return RunCommand(std::string(GRIDLOOK_EXECUTABLE) + " " + arguments);
}
