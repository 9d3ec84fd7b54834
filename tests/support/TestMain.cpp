#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// Every test starts from a Wine prefix without settings, so that the machine's
// own registry never changes what a test sees.
int main(int argc, char** argv)
{
    const std::string prefix = TestFolder() + "/empty-prefix";
    std::filesystem::create_directories(prefix);
    setenv("WINEPREFIX", prefix.c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(TestFolder());
    return result;
}
