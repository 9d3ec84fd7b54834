#include "support/PuzzleFiles.h"

#include <cstdlib>
#include <fstream>

std::string TestFolder()
{
    static const std::string folder = [] {
        std::string pattern = "/tmp/gridlook-tests-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return folder;
}

std::string WriteTestFile(const std::string& contents, const std::string& extension)
{
    static int counter = 0;
    const std::string path = TestFolder() + "/file" + std::to_string(++counter) + extension;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::string WriteTestFile(const Bytes& contents, const std::string& extension)
{
    return WriteTestFile(std::string(contents.begin(), contents.end()), extension);
}

std::unique_ptr<CTessGrid> LoadText(const std::string& contents, const std::string& extension,
                                    const SettingsOverlay& overlay)
{
    return std::make_unique<CTessGrid>(WriteTestFile(contents, extension), overlay);
}

std::unique_ptr<CTessGrid> LoadBytes(const Bytes& contents, const std::string& extension,
                                     const SettingsOverlay& overlay)
{
    return std::make_unique<CTessGrid>(WriteTestFile(contents, extension), overlay);
}

Bytes NativeFile::ToBytes() const
{
    Bytes bytes(signature.begin(), signature.end());
    bytes.push_back(colourCount);
    for (Colour colour : palette) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(colour >> shift));
    }
    bytes.insert(bytes.end(), {width, height, rowClueMax, columnClueMax, noPicture});
    bytes.insert(bytes.end(), columnClues.begin(), columnClues.end());
    bytes.insert(bytes.end(), rowClues.begin(), rowClues.end());
    bytes.insert(bytes.end(), picture.begin(), picture.end());
    return bytes;
}

std::unique_ptr<CTessGrid> LoadNative(const NativeFile& file, const SettingsOverlay& overlay)
{
    return LoadBytes(file.ToBytes(), ".tgn", overlay);
}

std::string WriteWindowPuzzle(int columns, int rows)
{
    NativeFile file;
    file.colourCount = 3;
    file.palette = {kWhite, MakeColour(200, 0, 0), MakeColour(0, 0, 160)};
    file.width = static_cast<std::uint8_t>(columns);
    file.height = static_cast<std::uint8_t>(rows);
    file.rowClueMax = 3;
    file.columnClueMax = 1;
    for (int i = 0; i < columns; ++i)
        file.columnClues.insert(file.columnClues.end(), {static_cast<std::uint8_t>(i % 9 + 1), 1});
    for (int i = 0; i < rows * 3; ++i)
        file.rowClues.insert(file.rowClues.end(), {static_cast<std::uint8_t>(i % 7 + 1), 2});
    for (int i = 0; i < columns * rows; ++i)
        file.picture.push_back(static_cast<std::uint8_t>(i % 3 == 0 ? 1 : i % 5 == 0 ? 255 : 0));
    return WriteTestFile(file.ToBytes(), ".tgn");
}

Bytes PictureBytes(const std::vector<std::string>& rows)
{
    Bytes bytes;
    for (const std::string& row : rows) {
        for (char c : row) {
            if (c == '.')
                bytes.push_back(0);
            else if (c == 'x')
                bytes.push_back(255);
            else
                bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(1, c), nullptr, 16)));
        }
    }
    return bytes;
}

std::vector<ClueEntry> Clues(std::initializer_list<ClueEntry> entries)
{
    return entries;
}
