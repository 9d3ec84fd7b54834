// The settings come from the Wine prefix's user.reg; each test writes its own.
#include "platform/posix/WineRegistry.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char* kSection = "[Software\\\\Brackwater Studio\\\\Tessa Grids\\\\Settings] 1700000000\n";

class DisplaySettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedPrefix = std::getenv("WINEPREFIX");
        m_prefix = TestFolder() + "/prefix-" + testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(m_prefix);
        setenv("WINEPREFIX", m_prefix.c_str(), 1);
    }
    void TearDown() override { setenv("WINEPREFIX", m_savedPrefix.c_str(), 1); }

    void WriteRegistry(const std::string& text)
    {
        std::ofstream(m_prefix + "/user.reg", std::ios::binary)
            << "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n"
            << text;
    }

    // Any file that loads shows the settings; a .tgr also shows the ink.
    static std::unique_ptr<CTessGrid> Load() { return LoadBytes({0, 0, 0, 0}, ".tgr"); }

    std::string m_savedPrefix;
    std::string m_prefix;
};

void ExpectDefaults(const DisplaySettings& settings)
{
    EXPECT_EQ(settings.options1, kOptions1Defaults);
    EXPECT_EQ(settings.filledColour, kFilledColourDefault);
    EXPECT_EQ(settings.options3, kOptions3Defaults);
}

TEST_F(DisplaySettingsTest, MissingFileOrKeyGivesTheDefaultLook)
{
    const auto withoutFile = Load();
    ExpectDefaults(withoutFile->m_settings);
    EXPECT_EQ(withoutFile->m_settings.cellSize(), 12);
    EXPECT_TRUE(withoutFile->m_settings.pixelDigits());
    EXPECT_FALSE(withoutFile->m_settings.singleStrike());
    EXPECT_TRUE(withoutFile->m_settings.centrePicture());
    EXPECT_EQ(withoutFile->m_palette[1], MakeColour(0, 192, 0));

    WriteRegistry("[Software\\\\Brackwater Studio\\\\Tessa Grids] 1\n\"Options2\"=dword:00ff0000\n");
    ExpectDefaults(Load()->m_settings);
}

TEST_F(DisplaySettingsTest, StoredValuesSteerTheLook)
{
    WriteRegistry(std::string(kSection) +
                  "#time=1d9a0b0c0d0e0f0\n"
                  "\"Options1\"=hex:01,00,01,14,03,03,01,01,01\n"
                  "\"Options2\"=hex:00,00,ff,00\n"
                  "\"Options3\"=hex:00,01,01,00,01,01,01,01,64\n");
    const auto puzzle = Load();
    EXPECT_EQ(puzzle->m_settings.cellSize(), 20);
    EXPECT_FALSE(puzzle->m_settings.pixelDigits());
    EXPECT_TRUE(puzzle->m_settings.singleStrike());
    EXPECT_FALSE(puzzle->m_settings.centrePicture());
    EXPECT_EQ(puzzle->m_settings.filledColour, MakeColour(0, 0, 255));
    EXPECT_EQ(puzzle->m_palette[1], MakeColour(0, 0, 255));
    EXPECT_EQ(puzzle->m_darkColour[1], 1);
}

TEST_F(DisplaySettingsTest, AGroupOfWrongLengthTakesItsDefaultsAlone)
{
    for (const char* options1 : {"hex:01,01,01,14,03,03,01,01", "hex:01,01,01,14,03,03,01,01,01,01"}) {
        WriteRegistry(std::string(kSection) + "\"Options1\"=" + options1 +
                      "\n\"Options2\"=dword:00ff0000\n\"Options3\"=hex:00,01,01,00,01,01,01,01,64\n");
        const auto puzzle = Load();
        EXPECT_EQ(puzzle->m_settings.options1, kOptions1Defaults) << options1;
        EXPECT_EQ(puzzle->m_settings.filledColour, MakeColour(0, 0, 255));
        EXPECT_FALSE(puzzle->m_settings.centrePicture());
    }
}

TEST_F(DisplaySettingsTest, ValuesOfAnyTypeCountByTheirBytes)
{
    // A string is its bytes and the terminating zero: "abc" is 4 bytes.
    WriteRegistry(std::string(kSection) + "\"options2\"=\"ab\\x63\"\n\"OPTIONS3\"=hex(3):00,01,01,00,01,01,01,01,64\n");
    const auto puzzle = Load();
    EXPECT_EQ(puzzle->m_settings.filledColour, MakeColour('a', 'b', 'c'));
    EXPECT_FALSE(puzzle->m_settings.centrePicture());

    WriteRegistry(std::string(kSection) + "\"Options2\"=\"abcd\"\n");
    EXPECT_EQ(Load()->m_settings.filledColour, kFilledColourDefault);
}

TEST_F(DisplaySettingsTest, KeyNamesIgnoreCaseAndValuesMayContinue)
{
    WriteRegistry("[software\\\\BRACKWATER STUDIO\\\\tessa grids\\\\settings] 1700000000\n"
                  "\"Options1\"=hex:00,01,01,\\\n  1e,03,03,\\\n  01,01,01\n");
    EXPECT_EQ(Load()->m_settings.cellSize(), 30);
}

// A hand-edited or concatenated user.reg may name the key twice: Wine merges
// the sections, and a value given again takes the later data.
TEST_F(DisplaySettingsTest, SectionsNamingTheKeyTwiceMerge)
{
    WriteRegistry(std::string(kSection) + "\"Options1\"=hex:00,01,01,14,03,03,01,01,01\n"
                  "\"Options2\"=dword:000000ff\n"
                  "[Software\\\\Other] 1700000000\n\"Options3\"=hex:00,01,01,00,01,01,01,01,64\n" +
                  kSection + "\"Options2\"=dword:00ff0000\n\"Options3\"=hex:00,01,01,00,01,01,01,01,64\n");
    const auto puzzle = Load();
    EXPECT_EQ(puzzle->m_settings.cellSize(), 20);
    EXPECT_EQ(puzzle->m_settings.filledColour, MakeColour(0, 0, 255));
    EXPECT_FALSE(puzzle->m_settings.centrePicture());
}

TEST_F(DisplaySettingsTest, HomeWinePrefixWhenNoneIsSet)
{
    const std::string home = TestFolder() + "/home";
    std::filesystem::create_directories(home + "/.wine");
    std::ofstream(home + "/.wine/user.reg") << kSection << "\"Options2\"=dword:000000ff\n";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("WINEPREFIX");
    setenv("HOME", home.c_str(), 1);
    const auto puzzle = Load();
    setenv("HOME", savedHome.c_str(), 1);
    EXPECT_EQ(puzzle->m_settings.filledColour, MakeColour(255, 0, 0));
}

TEST_F(DisplaySettingsTest, OverlayReplacesStoredValuesBeforeTheReaderRuns)
{
    WriteRegistry(std::string(kSection) + "\"Options2\"=dword:000000ff\n");
    SettingsOverlay overlay;
    overlay.filledColour = MakeColour(0, 0, 255);
    overlay.cellSize = 0;
    const auto puzzle = LoadBytes({0, 0, 0, 0}, ".tgr", overlay);
    EXPECT_EQ(puzzle->m_palette[1], MakeColour(0, 0, 255));
    EXPECT_EQ(puzzle->m_settings.cellSize(), 0);
}

TEST(WineRegistry, ReadsEachFormOfValue)
{
    const auto values = ReadWineRegistryKey("[A\\\\B] 1\n"
                                            "@=\"default\"\n"
                                            "\"Dword\"=dword:01020304\n"
                                            "\"Escapes\"=\"q\\\"\\\\\\n\\101\"\n"
                                            "\"Wide\"=hex(1):41,00,42,01,00,00\n"
                                            "\"Expand\"=str(2):\"%x%\"\n"
                                            "\"Empty\"=hex:\n"
                                            "\"Odd\"=unknown:12\n"
                                            "[A\\\\B\\\\C] 1\n"
                                            "\"Later\"=dword:1\n",
                                            "a\\b");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->at(""), Bytes({'d', 'e', 'f', 'a', 'u', 'l', 't', 0}));
    EXPECT_EQ(values->at("dword"), Bytes({4, 3, 2, 1}));
    EXPECT_EQ(values->at("escapes"), Bytes({'q', '"', '\\', '\n', 'A', 0}));
    EXPECT_EQ(values->at("wide"), Bytes({'A', '?', 0}));
    EXPECT_EQ(values->at("expand"), Bytes({'%', 'x', '%', 0}));
    EXPECT_EQ(values->at("empty"), Bytes());
    EXPECT_FALSE(values->contains("odd"));
    EXPECT_FALSE(values->contains("later"));
    EXPECT_FALSE(ReadWineRegistryKey("[A\\\\B\\\\C]\n", "a\\b"));
}

} // namespace
