// Compares what the Windows plug-in showed under Wine (the PPM captures that
// TestHost lists in captures.txt) with the software raster's picture of the
// same puzzle, pixel for pixel: the picture at the viewer's centring offset
// and scroll position, white around it. In text mode the glyphs come from
// different font engines, so inside the text rectangles of clue numbers only
// the presence of the number's colour is checked.
//
//   gridlook-capture-check CAPTURE_FOLDER
#include "platform/posix/RasterPicture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Capture {
    std::string image;
    int scrollX = 0;
    int scrollY = 0;
    std::string look;
    std::string puzzle;
};

// Wine shows the Linux file system as drive Z:.
std::string LinuxPath(std::string windowsPath)
{
    if (windowsPath.starts_with("Z:"))
        windowsPath.erase(0, 2);
    for (char& c : windowsPath) {
        if (c == '\\')
            c = '/';
    }
    return windowsPath;
}

bool ReadPpm(const std::string& path, RasterBitmap& bitmap)
{
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    file >> magic >> bitmap.width >> bitmap.height >> maximum;
    file.get();
    if (magic != "P6" || maximum != 255 || bitmap.width <= 0 || bitmap.height <= 0)
        return false;
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    for (Colour& pixel : bitmap.pixels) {
        unsigned char rgb[3];
        if (!file.read(reinterpret_cast<char*>(rgb), 3))
            return false;
        pixel = MakeColour(rgb[0], rgb[1], rgb[2]);
    }
    return true;
}

// The look that TestHost set: the defaults, or the settings it wrote to the registry.
SettingsOverlay LookOf(const std::string& look)
{
    SettingsOverlay overlay;
    const bool custom = look == "settings";
    overlay.cellSize = custom ? 20 : 12;
    overlay.pixelDigits = !custom;
    overlay.singleStrike = custom;
    overlay.filledColour = custom ? MakeColour(0, 0, 255) : kFilledColourDefault;
    overlay.centrePicture = true;
    return overlay;
}

struct TextArea {
    DrawRect rect;
    Colour ink;
};

// Where text-mode numbers are drawn: the text rectangle of every numbered clue.
std::vector<TextArea> TextAreas(const CTessGrid& puzzle)
{
    std::vector<TextArea> areas;
    if (puzzle.m_settings.pixelDigits())
        return areas;
    const int cs = puzzle.m_settings.cellSize();
    const auto addArea = [&](CellArea area, int a, int b, ClueEntry entry) {
        const int number = entry.value & ~kCrossedFlag;
        int x = 0;
        int y = 0;
        if (number == 0 || number >= 100 || !puzzle.CellOrigin(area, a, b, x, y))
            return;
        const bool white = puzzle.m_darkColour[CTessGrid::PaletteIndex(entry.colour)] != 0;
        areas.push_back({{x + 1, y + 1, x + cs + 1, y + cs}, white ? kWhite : kBlack});
    };
    for (int a = 0; a < puzzle.m_width; ++a) {
        for (int b = 0; b < puzzle.m_columnClueMax; ++b)
            addArea(ColumnClue, a, b, (*puzzle.m_columnClues)[a][b]);
    }
    for (int b = 0; b < puzzle.m_height; ++b) {
        for (int a = 0; a < puzzle.m_rowClueMax; ++a)
            addArea(RowClue, a, b, (*puzzle.m_rowClues)[b][a]);
    }
    return areas;
}

const TextArea* AreaAt(const std::vector<TextArea>& areas, int x, int y)
{
    for (const TextArea& area : areas) {
        if (x >= area.rect.left && x < area.rect.right && y >= area.rect.top && y < area.rect.bottom)
            return &area;
    }
    return nullptr;
}

bool Compare(const std::string& folder, const Capture& capture)
{
    RasterBitmap shown;
    if (!ReadPpm(folder + "/" + capture.image, shown)) {
        std::printf("FAIL %s: cannot read the capture\n", capture.image.c_str());
        return false;
    }
    CTessGrid puzzle(LinuxPath(capture.puzzle), LookOf(capture.look));
    const auto picture = PaintScrollArea(puzzle);
    if (puzzle.m_status != LoadOk || !picture) {
        std::printf("FAIL %s: cannot render %s\n", capture.image.c_str(), capture.puzzle.c_str());
        return false;
    }
    const RasterBitmap& expected = picture->SelectedBitmap();
    const int offsetX = std::max(0, (shown.width - expected.width) / 2);
    const int offsetY = std::max(0, (shown.height - expected.height) / 2);
    const std::vector<TextArea> areas = TextAreas(puzzle);
    std::vector<bool> inked(areas.size());
    long differing = 0;
    long glyphArea = 0;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const int px = x - offsetX + capture.scrollX;
            const int py = y - offsetY + capture.scrollY;
            const bool inside = px >= 0 && py >= 0 && px < expected.width && py < expected.height;
            if (const TextArea* area = inside ? AreaAt(areas, px, py) : nullptr) {
                ++glyphArea;
                inked[static_cast<std::size_t>(area - areas.data())] =
                    inked[static_cast<std::size_t>(area - areas.data())] || shown.At(x, y) == area->ink;
                continue;
            }
            differing += shown.At(x, y) != (inside ? expected.At(px, py) : kWhite);
        }
    }
    const long unInked = std::count(inked.begin(), inked.end(), false);
    const long compared = static_cast<long>(shown.width) * shown.height - glyphArea;
    const bool passed = differing == 0 && unInked == 0;
    std::printf("%s %s (%s): %ld pixels compared, %ld differ; %zu text rectangles (%ld pixels) left to the "
                "font, %ld without their number's colour\n",
                passed ? "ok  " : "FAIL", capture.image.c_str(), LinuxPath(capture.puzzle).c_str(), compared,
                differing, areas.size(), glyphArea, unInked);
    return passed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gridlook-capture-check CAPTURE_FOLDER\n");
        return 2;
    }
    std::ifstream list(std::string(argv[1]) + "/captures.txt");
    int failures = 0;
    int captures = 0;
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        Capture capture;
        fields >> capture.image >> capture.scrollX >> capture.scrollY >> capture.look;
        std::getline(fields >> std::ws, capture.puzzle);
        if (capture.puzzle.ends_with('\r'))
            capture.puzzle.pop_back();
        ++captures;
        failures += Compare(argv[1], capture) ? 0 : 1;
    }
    std::printf("%d of %d captures match\n", captures - failures, captures);
    return captures > 0 && failures == 0 ? 0 : 1;
}
