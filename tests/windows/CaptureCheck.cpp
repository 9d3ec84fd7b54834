// Compares what the Windows plug-in showed under Wine (the PPM captures that
// TestHost lists in captures.txt) with the software raster's picture of the
// same puzzle, pixel for pixel: the picture at the viewer's centring offset
// and scroll position, white around it. In text mode the glyphs come from
// different font engines, one of which may smooth its glyphs, so inside the
// text rectangles of clue numbers only the presence of ink is checked: a pixel
// nearer to the number's colour than to the clue's.
//
//   gridlook-capture-check CAPTURE_FOLDER
#include "platform/posix/RasterPicture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
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

// The look that TestHost set: the defaults (no settings key), or the settings
// it wrote, named "CELL:pixel|text:single|double:RRGGBB:centre|corner".
std::optional<SettingsOverlay> LookOf(const std::string& look)
{
    SettingsOverlay overlay;
    if (look == "default")
        return overlay;
    int cellSize = 0;
    char digits[8] = {};
    char strike[8] = {};
    unsigned ink = 0;
    char placing[8] = {};
    if (std::sscanf(look.c_str(), "%d:%7[a-z]:%7[a-z]:%6x:%7[a-z]", &cellSize, digits, strike, &ink, placing) != 5)
        return std::nullopt;
    overlay.cellSize = static_cast<std::uint8_t>(cellSize);
    overlay.pixelDigits = std::string(digits) == "pixel";
    overlay.singleStrike = std::string(strike) == "single";
    overlay.filledColour = MakeColour(static_cast<std::uint8_t>(ink >> 16), static_cast<std::uint8_t>(ink >> 8),
                                      static_cast<std::uint8_t>(ink));
    overlay.centrePicture = std::string(placing) == "centre";
    return overlay;
}

struct TextArea {
    DrawRect rect;
    Colour ink;
    Colour background;

    bool IsInk(Colour pixel) const { return Distance(pixel, ink) < Distance(pixel, background); }
    static int Distance(Colour a, Colour b)
    {
        const auto square = [](int difference) { return difference * difference; };
        return square(RedOf(a) - RedOf(b)) + square(GreenOf(a) - GreenOf(b)) + square(BlueOf(a) - BlueOf(b));
    }
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
        const DrawRect rect = cs >= 40 ? DrawRect{x + 2, y + 1, x + cs, y + cs} : DrawRect{x + 1, y + 1, x + cs + 1, y + cs};
        areas.push_back({rect, white ? kWhite : kBlack, puzzle.PaletteColour(entry.colour)});
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
    const std::optional<SettingsOverlay> look = LookOf(capture.look);
    if (!look) {
        std::printf("FAIL %s: unknown look %s\n", capture.image.c_str(), capture.look.c_str());
        return false;
    }
    CTessGrid puzzle(LinuxPath(capture.puzzle), *look);
    const auto picture = PaintScrollArea(puzzle);
    if (puzzle.m_status != LoadOk || !picture) {
        std::printf("FAIL %s: cannot render %s\n", capture.image.c_str(), capture.puzzle.c_str());
        return false;
    }
    const RasterBitmap& expected = picture->SelectedBitmap();
    const bool centred = puzzle.m_settings.centrePicture();
    const int offsetX = centred ? std::max(0, (shown.width - expected.width) / 2) : 0;
    const int offsetY = centred ? std::max(0, (shown.height - expected.height) / 2) : 0;
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
                    inked[static_cast<std::size_t>(area - areas.data())] || area->IsInk(shown.At(x, y));
                continue;
            }
            differing += shown.At(x, y) != (inside ? expected.At(px, py) : kWhite);
        }
    }
    const long unInked = std::count(inked.begin(), inked.end(), false);
    const long compared = static_cast<long>(shown.width) * shown.height - glyphArea;
    const bool passed = differing == 0 && unInked == 0;
    std::printf("%s %s (%s): %ld pixels compared, %ld differ; %zu text rectangles (%ld pixels) left to the "
                "font, %ld without ink\n",
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
