#pragma once

#include <string>

// The extension of a path's file name: from its last "." to the end, dot
// included, or "" when there is none. A "." followed later by a path separator
// or a space does not start an extension. Each platform provides it.
std::string FindExtension(const std::string& path);
