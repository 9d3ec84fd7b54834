#pragma once

#include "support/CommandRun.h"

#include <cstddef>
#include <string>
#include <vector>

// The gridlook command as a user runs it.
ToolRun Gridlook(const std::string& arguments);

// As a person without root's power over files: as nobody when the tests run as
// root, else as the tests' own user.
ToolRun GridlookUnprivileged(const std::string& arguments);
// Hands `path` to the user that GridlookUnprivileged runs as; false when it
// cannot.
bool GiveToUnprivileged(const std::string& path);

// With no file it writes longer than `bytes`, as a file system with that much
// room left would have it.
ToolRun GridlookWithFileLimit(const std::string& arguments, std::size_t bytes);

// What a test checks a command's files by.
std::vector<std::string> FolderNames(const std::string& folder);
