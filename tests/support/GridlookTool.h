#pragma once

#include "support/CommandRun.h"

#include <string>

// The gridlook command as a user runs it.
ToolRun Gridlook(const std::string& arguments);
