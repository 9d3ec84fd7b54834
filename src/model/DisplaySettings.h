#pragma once

#include "model/Colour.h"

#include <array>
#include <cstdint>
#include <optional>

// The desktop program's three settings values, held byte for byte. Only five
// bytes steer the viewer; the rest are kept as read.
struct DisplaySettings {
    std::array<std::uint8_t, 9> options1;
    Colour filledColour; // "Options2"
    std::array<std::uint8_t, 9> options3;

    bool singleStrike() const { return options1[0] != 0; }
    bool pixelDigits() const { return options1[1] != 0; }
    std::uint8_t cellSize() const { return options1[3]; }
    bool centrePicture() const { return options3[3] != 0; }
};

inline constexpr std::array<std::uint8_t, 9> kOptions1Defaults = {0, 1, 1, 12, 3, 3, 1, 1, 1};
inline constexpr Colour kFilledColourDefault = 0x0000C000;
inline constexpr std::array<std::uint8_t, 9> kOptions3Defaults = {0, 1, 1, 1, 1, 1, 1, 1, 100};

// Settings given for one run (by the command line), laid over the stored ones
// before a reader runs, so that the ink reaches a two-colour palette exactly as
// the stored colour would.
struct SettingsOverlay {
    std::optional<std::uint8_t> cellSize;
    std::optional<bool> pixelDigits;
    std::optional<bool> singleStrike;
    std::optional<Colour> filledColour;
    std::optional<bool> centrePicture;

    void ApplyTo(DisplaySettings& settings) const;
};
