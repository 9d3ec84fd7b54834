#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One line of text in monochrome: its box (advance width, and ascent plus
// descent as the font's metrics give them) and the inked pixels, relative to
// the box's top-left corner.
struct MonoText {
    int width = 0;
    int ascent = 0;
    int descent = 0;
    std::vector<std::pair<int, int>> inked;
};

// Renders `text` in the face that fontconfig finds for `family` (its closest
// match: Liberation Serif for "Times New Roman" on Debian), with an em of
// `pixelsPerEm` pixels. Empty when no font can be found at all.
MonoText RenderMonoText(const std::string& family, int pixelsPerEm, std::string_view text);

// False when fontconfig finds no font at all for `family`, so text in it cannot be drawn.
bool CanRenderText(const std::string& family);
