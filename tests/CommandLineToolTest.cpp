// The gridlook command as a user runs it: output, stderr and exit status.
#include "support/GridlookTool.h"
#include "support/Pixels.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(CommandLineTool, JsonHoldsEveryMemberOfTheModel)
{
    NativeFile file;
    file.width = 2;
    file.height = 1;
    file.picture = {1, 0};
    const std::string path = WriteTestFile(file.ToBytes(), ".tgn");
    const ToolRun run = Gridlook("info --json " + path);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "{\"file\": \"" + path + "\", \"status\": 0, \"width\": 2, \"height\": 1, \"colourCount\": 2, \"noPicture\": 0, "
                       "\"palette\": [16777215, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0], "
                       "\"dark\": [0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1], "
                       "\"rowClueMax\": 1, \"columnClueMax\": 1, \"columnClues\": [[[1, 1]], [[0, 0]]], "
                       "\"rowClues\": [[[1, 1]]], \"picture\": [[1, 0]], \"cluesFromPicture\": true, "
                       "\"settings\": {\"options1\": [0, 1, 1, 12, 3, 3, 1, 1, 1], \"filledColour\": 49152, "
                       "\"options3\": [0, 1, 1, 1, 1, 1, 1, 1, 100]}, \"layoutWidth\": 40, \"layoutHeight\": 28, "
                       "\"metadata\": {\"title\": \"\", \"author\": \"\", \"copyright\": \"\", \"licence\": \"\", \"id\": \"\", "
                       "\"description\": \"\"}, \"puzzles\": []}\n");
}

// What a file says of its puzzle, and the other puzzles of a set, for a
// person and as JSON; a file's text never reaches the terminal as control
// characters.
TEST(CommandLineTool, InfoShowsWhatTheFileSaysOfItsPuzzle)
{
    const std::string tulip = GRIDLOOK_SOURCE_DIR "/examples/tulip.xml";
    const ToolRun text = Gridlook("info " + tulip);
    EXPECT_EQ(text.exitStatus, 0);
    EXPECT_NE(text.out.find("\n  title: Tulip\n  author: Gridlook examples\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("  the file holds 2 puzzles; the first is shown:\n    1: \"Tulip\", 9 x 11, id 1\n"
                            "    2: \"Sprout\", 5 x 5, id 2\n"),
              std::string::npos)
        << text.out;
    const ToolRun json = Gridlook("info --json " + tulip);
    EXPECT_NE(json.out.find("\"puzzles\": [{\"title\": \"Tulip\", \"id\": \"1\", \"type\": \"grid\", \"width\": 9, "
                            "\"height\": 11}, {\"title\": \"Sprout\""),
              std::string::npos)
        << json.out;

    const ToolRun escapes = Gridlook("info " + WriteTestFile("title \"\x1b]0;x\x07" "Bell\"\nwidth 1\nheight 1\ngoal 1\n", ".non"));
    EXPECT_NE(escapes.out.find("  title:  ]0;x Bell\n"), std::string::npos) << escapes.out;
}

// A refusal's reason, on the one line each command writes to stderr, and in
// the JSON of info and solve.
TEST(CommandLineTool, ARefusalSaysWhy)
{
    const std::string triddler = GRIDLOOK_SOURCE_DIR "/tests/webpbn/declines-triddler.xml";
    const std::string reason = "webpbn XML: a puzzle of type \"triddler\"; only grids are shown";
    for (const std::string& command : {"info " + triddler, "render -o " + TestFolder() + "/refused.png " + triddler,
                                       "thumbnail -s 64 " + triddler + " " + TestFolder() + "/refused-64.png",
                                       "solve " + triddler}) {
        const ToolRun run = Gridlook(command);
        EXPECT_EQ(run.exitStatus, 3) << command;
        EXPECT_EQ(run.err, "gridlook: " + triddler + ": refused: " + reason + "\n") << command;
    }
    for (const std::string command : {"info --json ", "solve --json "})
        EXPECT_EQ(Gridlook(command + triddler).out, "{\"file\": \"" + triddler + "\", \"status\": 3, \"refusal\": \"webpbn "
                                                   "XML: a puzzle of type \\\"triddler\\\"; only grids are shown\"}\n");
}

// The "file" of each line as Python's JSON parser reads it, one a line; empty
// when the parser refuses the output.
std::string FilesAsParsed(const std::string& jsonLines)
{
    const ToolRun run = RunCommand("python3 -c 'import json, sys\n"
                                   "for line in sys.stdin.buffer:\n"
                                   "    sys.stdout.buffer.write(json.loads(line)[\"file\"].encode() + b\"\\n\")' <" +
                                   WriteTestFile(jsonLines, ".json"));
    return run.exitStatus == 0 ? run.out : "";
}

TEST(CommandLineTool, JsonNamesFilesInValidUtf8)
{
    const std::string replaced = "\xEF\xBF\xBD\xEF\xBF\xBD"; // U+FFFD for each of two bytes
    const std::string puzzle = TestFolder() + "/puzzle-\xFF\xFE-R\xC3\xA4tsel-\xE2\x82\xAC.pp";
    std::ofstream(puzzle) << "1 1\n1\n1\n";
    const std::string missing = TestFolder() + "/missing-\xC0\xAF.tgr";
    const std::string named = TestFolder() + "/puzzle-" + replaced + "-R\xC3\xA4tsel-\xE2\x82\xAC.pp\n" +
                              TestFolder() + "/missing-" + replaced + ".tgr\n";
    for (const std::string command : {"info --json ", "solve --json "}) {
        const ToolRun run = Gridlook(command + puzzle + " " + missing);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2) << command;
        EXPECT_EQ(FilesAsParsed(run.out), named) << command;
    }
}

TEST(CommandLineTool, SettingOptionsReachTheModelBeforeTheReader)
{
    const ToolRun run = Gridlook("info --json --ink 0000FF --cell-size 20 --text-digits --single-strike --no-centre " +
                             WriteTestFile(Bytes{0, 0, 0, 0}, ".tgr"));
    EXPECT_NE(run.out.find("\"palette\": [16777215, 16711680, 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"options1\": [1, 0, 1, 20, 3"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"options3\": [0, 1, 1, 0, 1"), std::string::npos) << run.out;
}

TEST(CommandLineTool, FirstFailureDecidesTheExitStatus)
{
    const std::string good = WriteTestFile(Bytes{0, 0, 0, 0}, ".tgr");
    const std::string refused = WriteTestFile(Bytes(80, 0), ".dat");
    const std::string missing = TestFolder() + "/missing.tgr";

    const ToolRun refusedFirst = Gridlook("info " + good + " " + refused + " " + missing);
    EXPECT_EQ(refusedFirst.exitStatus, 3);
    EXPECT_NE(refusedFirst.out.find(good), std::string::npos);
    EXPECT_EQ(std::count(refusedFirst.err.begin(), refusedFirst.err.end(), '\n'), 2) << refusedFirst.err;
    EXPECT_NE(refusedFirst.err.find(refused + ": "), std::string::npos);

    const ToolRun json = Gridlook("info --json " + missing);
    EXPECT_EQ(json.exitStatus, 4);
    EXPECT_EQ(json.out, "{\"file\": \"" + missing + "\", \"status\": 4}\n");
}

TEST(CommandLineTool, RenderWritesTheScrollAreaAsPng)
{
    const std::string output = TestFolder() + "/one.png";
    const ToolRun run = Gridlook("render --cell-size 20 " + WriteTestFile(Bytes{3, 2, 1, 1, 1, 2, 3, 4, 5}, ".tgr") +
                                 " -o " + output);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    RasterBitmap bitmap;
    ASSERT_TRUE(ReadPng(output, bitmap));
    EXPECT_EQ(bitmap.width, (1 + 3) * 20 + 4 + 30);
    EXPECT_EQ(bitmap.height, (1 + 2) * 20 + 4 + 30);
}

TEST(CommandLineTool, RenderIntoAFolderGoesOnPastFailures)
{
    const std::string good = WriteTestFile(Bytes{0, 0, 0, 0}, ".tgr");
    const std::string bad = WriteTestFile(Bytes{0, 0}, ".tgr");
    const std::string folder = TestFolder() + "/pictures";
    const ToolRun run = Gridlook("render " + bad + " " + good + " -d " + folder);
    EXPECT_EQ(run.exitStatus, 4);
    EXPECT_NE(run.err.find(bad), std::string::npos);
    RasterBitmap bitmap;
    EXPECT_TRUE(ReadPng(folder + "/" + good.substr(good.rfind('/') + 1) + ".png", bitmap));
}

TEST(CommandLineTool, PictureTooLargeIsRefusedWithItsSize)
{
    const ToolRun run = Gridlook("render --cell-size 255 " + WriteTestFile(Bytes{255, 255, 0, 0}, ".tgr") + " -o " +
                                 TestFolder() + "/huge.png");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("65109 x 65109 pixels"), std::string::npos) << run.err;
}

TEST(CommandLineTool, ThumbnailThatFitsIsTheRenderedPictureAndALargerOneIsShrunk)
{
    const std::string puzzle = WriteTestFile(Bytes{3, 2, 1, 1, 1, 2, 3, 4, 5}, ".tgr");
    const std::string rendered = TestFolder() + "/rendered.png";
    const std::string whole = TestFolder() + "/whole.png";
    const std::string shrunk = TestFolder() + "/shrunk.png";
    ASSERT_EQ(Gridlook("render " + puzzle + " -o " + rendered).exitStatus, 0);
    const ToolRun wholeRun = Gridlook("thumbnail -s 128 " + puzzle + " " + whole);
    const ToolRun shrunkRun = Gridlook("thumbnail --cell-size 30 -s 50 " + puzzle + " " + shrunk);
    EXPECT_EQ(wholeRun.exitStatus, 0) << wholeRun.err;
    EXPECT_EQ(shrunkRun.exitStatus, 0) << shrunkRun.err;
    RasterBitmap expected;
    RasterBitmap fits;
    RasterBitmap smaller;
    ASSERT_TRUE(ReadPng(rendered, expected) && ReadPng(whole, fits) && ReadPng(shrunk, smaller));
    EXPECT_EQ(DifferingPixels(fits, expected), 0);
    // 66 x 58 at cell size 8, the smallest that holds the digits.
    EXPECT_EQ(smaller.width, 50);
    EXPECT_EQ(smaller.height, 44);
}

TEST(CommandLineTool, ThumbnailOfAFileThatDoesNotLoadWritesNothing)
{
    const std::string output = TestFolder() + "/not-written.png";
    const ToolRun refused = Gridlook("thumbnail -s 128 " + WriteTestFile(Bytes(80, 0), ".dat") + " " + output);
    const ToolRun missing = Gridlook("thumbnail -s 128 " + TestFolder() + "/missing.tgr " + output);
    EXPECT_EQ(refused.exitStatus, 3);
    EXPECT_EQ(missing.exitStatus, 4);
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    RasterBitmap bitmap;
    EXPECT_FALSE(ReadPng(output, bitmap));
}

TEST(CommandLineTool, UsageErrorsExitWithTwo)
{
    for (const char* arguments : {"info", "frobnicate x", "info --cell-size 256 x", "info --ink 12345 x",
                                  "info --bogus x", "info x --cell-size", "info x -o y.png", "render x",
                                  "render x y -o z.png", "render x -o y.png -d z", "render --json x -o y.png",
                                  "thumbnail x y.png", "thumbnail -s 0 x y.png", "thumbnail -s 1025 x y.png",
                                  "thumbnail -s 64 x", "thumbnail -s 64 x y.png z.png",
                                  "thumbnail --json -s 64 x y.png", "render -s 64 x -o y.png"}) {
        const ToolRun run = Gridlook(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << arguments;
    }
    EXPECT_EQ(Gridlook("--help").exitStatus, 0);
}

// Every way the command writes a picture; %s is the puzzle, %o the output.
// The large cells make pictures of several pages, larger than any room that
// the output's old contents leave when they are cut short.
const std::vector<std::string> kPictureCommands = {"render --cell-size 100 %s -o %o",
                                                   "thumbnail --cell-size 100 -s 1000 %s %o"};

std::string CommandFor(std::string pattern, const std::string& puzzle, const std::string& output)
{
    pattern.replace(pattern.find("%s"), 2, puzzle);
    return pattern.replace(pattern.find("%o"), 2, output);
}

// A folder of its own holding the sailboat and, when `old` is given, out.png
// with those contents.
struct OutputFolder {
    explicit OutputFolder(const std::string& name, const char* old = "old picture")
        : path(TestFolder() + "/" + name), puzzle(path + "/sailboat.tessa"), output(path + "/out.png")
    {
        std::filesystem::create_directories(path);
        std::filesystem::copy_file(GRIDLOOK_SOURCE_DIR "/examples/sailboat.tessa", puzzle);
        if (old)
            std::ofstream(output) << old;
    }

    std::string path;
    std::string puzzle;
    std::string output;
};

void ExpectRefused(const ToolRun& run, const std::string& puzzle, const std::string& output,
                   const std::string& reason)
{
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "gridlook: " + puzzle + ": cannot write " + output + ": " + reason + "\n");
}

// A person's read-only picture in their own folder: the folder would let the
// file be replaced, but the file says it is not to be written.
TEST(PictureOutput, AReadOnlyFileIsNeitherReplacedNorRemoved)
{
    const OutputFolder folder("read-only");
    ASSERT_EQ(chmod(folder.output.c_str(), 0444), 0);
    for (const std::string& path : {folder.path, folder.puzzle, folder.output})
        ASSERT_TRUE(GiveToUnprivileged(path));
    if (GridlookUnprivileged("--help").exitStatus != 0)
        GTEST_SKIP() << "the unprivileged user cannot run " GRIDLOOK_EXECUTABLE;
    for (const std::string& pattern : kPictureCommands) {
        SCOPED_TRACE(pattern);
        ExpectRefused(GridlookUnprivileged(CommandFor(pattern, folder.puzzle, folder.output)), folder.puzzle,
                      folder.output, "Permission denied");
        EXPECT_EQ(FileContents(folder.output), "old picture");
        EXPECT_EQ(FolderNames(folder.path), (std::vector<std::string>{"out.png", "sailboat.tessa"}));
    }
}

// A folder, and a pipe that a reader holds open, where the picture should go.
TEST(PictureOutput, AnythingButARegularFileIsRefusedAndLeftAlone)
{
    const OutputFolder folder("not-files", nullptr);
    const std::string pipe = folder.path + "/pipe.png";
    std::filesystem::create_directory(folder.output);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    for (const std::string& pattern : kPictureCommands) {
        SCOPED_TRACE(pattern);
        ExpectRefused(Gridlook(CommandFor(pattern, folder.puzzle, folder.output)), folder.puzzle, folder.output,
                      "it is a folder");
        ExpectRefused(Gridlook(CommandFor(pattern, folder.puzzle, pipe)), folder.puzzle, pipe,
                      "it is not a regular file");
        EXPECT_TRUE(std::filesystem::is_directory(folder.output));
        char byte = 0;
        EXPECT_EQ(read(reader, &byte, 1), 0);
        EXPECT_EQ(FolderNames(folder.path), (std::vector<std::string>{"out.png", "pipe.png", "sailboat.tessa"}));
    }
    close(reader);
}

// Both a picture with contents, replaced by a new file, and an empty one,
// filled in place, keep what they held.
void ExpectFullFolderKeepsTheOldPicture(const OutputFolder& folder, const std::vector<std::string>& names,
                                        ToolRun (*run)(const std::string&), const std::string& reason)
{
    const std::string empty = folder.path + "/empty.png";
    for (const std::string& pattern : kPictureCommands) {
        for (const auto& [output, old] : {std::pair{folder.output, "old picture"}, std::pair{empty, ""}}) {
            SCOPED_TRACE(pattern + " to " + output);
            ExpectRefused(run(CommandFor(pattern, folder.puzzle, output)), folder.puzzle, output, reason);
            EXPECT_EQ(FileContents(output), old);
            EXPECT_EQ(FolderNames(folder.path), names);
        }
    }
}

// A tiny file system, mounted for one test and gone with it also when the test
// fails. It is mounted in a namespace of the test's own, which the commands it
// runs share: should the test be killed, the mount ends with it.
class CTinyFileSystem {
public:
    explicit CTinyFileSystem(std::string path) : m_path(std::move(path))
    {
        std::filesystem::create_directory(m_path);
        m_mounted = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    mount("gridlook-test", m_path.c_str(), "tmpfs", 0, "size=64k") == 0;
        m_error = errno;
    }
    ~CTinyFileSystem()
    {
        if (m_mounted)
            umount2(m_path.c_str(), MNT_DETACH);
    }
    CTinyFileSystem(const CTinyFileSystem&) = delete;
    CTinyFileSystem& operator=(const CTinyFileSystem&) = delete;

    bool Mounted() const { return m_mounted; }
    int Error() const { return m_error; }

private:
    std::string m_path;
    bool m_mounted;
    int m_error;
};

// The tiny file system filled up: the picture's first pages find no room.
TEST(PictureOutput, AFullFileSystemKeepsTheOldPicture)
{
    const CTinyFileSystem fileSystem(TestFolder() + "/full");
    if (!fileSystem.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(fileSystem.Error()) << "): needs root";
    const OutputFolder folder("full/pictures");
    std::ofstream(folder.path + "/empty.png").flush();
    {
        std::ofstream filler(folder.path + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
            filler.flush();
    }
    ExpectFullFolderKeepsTheOldPicture(folder, {"empty.png", "filler", "out.png", "sailboat.tessa"}, Gridlook,
                                       "No space left on device");
}

// The same on any machine: a file size limit stops the writes. The command
// sets SIGXFSZ aside itself, so the limit does not kill it before it cleans up.
TEST(PictureOutput, AFileSizeLimitKeepsTheOldPicture)
{
    const OutputFolder folder("limited");
    std::ofstream(folder.path + "/empty.png").flush();
    ExpectFullFolderKeepsTheOldPicture(
        folder, {"empty.png", "out.png", "sailboat.tessa"},
        [](const std::string& arguments) { return GridlookWithFileLimit(arguments, 1000); }, "File too large");
}

// A thumbnailing service makes the output file itself and reads the thumbnail
// back through the stream it holds open: the file it made must get the picture.
TEST(PictureOutput, AnEmptyOutputThatItsMakerHoldsOpenGetsThePicture)
{
    const OutputFolder folder("held-open", "");
    const int held = open(folder.output.c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    const ToolRun run = Gridlook("thumbnail -s 128 " + folder.puzzle + " " + folder.output);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::string seen(1 << 16, '\0');
    seen.resize(static_cast<std::size_t>(std::max<ssize_t>(pread(held, seen.data(), seen.size(), 0), 0)));
    close(held);
    EXPECT_TRUE(seen.starts_with("\x89PNG"));
    EXPECT_EQ(seen, FileContents(folder.output));
    EXPECT_EQ(FolderNames(folder.path), (std::vector<std::string>{"out.png", "sailboat.tessa"}));
}

TEST(PictureOutput, AFolderThatDoesNotExistIsNotMade)
{
    const OutputFolder folder("missing-inside", nullptr);
    const std::string output = folder.path + "/missing/out.png";
    for (const std::string& pattern : kPictureCommands) {
        SCOPED_TRACE(pattern);
        ExpectRefused(Gridlook(CommandFor(pattern, folder.puzzle, output)), folder.puzzle, output,
                      "No such file or directory");
        EXPECT_EQ(FolderNames(folder.path), (std::vector<std::string>{"sailboat.tessa"}));
    }
}

} // namespace
