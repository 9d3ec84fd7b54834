#pragma once

#include <set>
#include <string>

// The functions a shared library exports, as the host's loader sees them.
std::set<std::string> ExportedFunctions(const std::string& library);

// What a lister host looks up by name, and all that a plug-in may export.
inline const std::set<std::string> kListerEntryPoints = {"ListCloseWindow",          "ListGetDetectString",
                                                         "ListLoad",                 "ListNotificationReceived",
                                                         "ListPrint",                "ListSendCommand"};
