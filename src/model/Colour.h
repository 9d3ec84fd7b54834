#pragma once

#include <cstdint>

// Red in the lowest byte, then green, then blue; the high byte is zero in every
// colour the viewer makes itself.
using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kBlack = 0x00000000;

constexpr Colour MakeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return Colour{red} | Colour{green} << 8 | Colour{blue} << 16;
}

// A native file's palette keeps the fourth byte of each colour as the file
// gives it, and so may the ink read from the settings. What is drawn is red,
// green and blue alone: GDI would read a fourth byte of 1 as a palette index
// and 2 as a palette-relative colour.
constexpr Colour RgbOf(Colour colour) { return colour & 0x00FFFFFF; }

constexpr std::uint8_t RedOf(Colour colour) { return colour & 0xFF; }
constexpr std::uint8_t GreenOf(Colour colour) { return colour >> 8 & 0xFF; }
constexpr std::uint8_t BlueOf(Colour colour) { return colour >> 16 & 0xFF; }
