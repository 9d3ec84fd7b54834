#include "model/DisplaySettings.h"

#include "model/SettingsKey.h"
#include "model/TessGrid.h"

namespace {

// A group is taken whole from the store or not at all.
template <std::size_t N>
bool ReadGroup(const CSettingsKey& key, const char* name, std::array<std::uint8_t, N>& group,
               const std::array<std::uint8_t, N>& defaults)
{
    if (key.IsOpen() && key.QueryValue(name, group))
        return true;
    group = defaults;
    return false;
}

} // namespace

void SettingsOverlay::ApplyTo(DisplaySettings& settings) const
{
    if (singleStrike)
        settings.options1[0] = *singleStrike ? 1 : 0;
    if (pixelDigits)
        settings.options1[1] = *pixelDigits ? 1 : 0;
    if (cellSize)
        settings.options1[3] = *cellSize;
    if (filledColour)
        settings.filledColour = *filledColour;
    if (centrePicture)
        settings.options3[3] = *centrePicture ? 1 : 0;
}

bool CTessGrid::ReadDisplaySettings()
{
    const CSettingsKey key;
    std::array<std::uint8_t, 4> colour{};
    const std::array<std::uint8_t, 4> colourDefaults = {RedOf(kFilledColourDefault), GreenOf(kFilledColourDefault),
                                                        BlueOf(kFilledColourDefault), 0};
    bool complete = ReadGroup(key, "Options1", m_settings.options1, kOptions1Defaults);
    complete &= ReadGroup(key, "Options2", colour, colourDefaults);
    complete &= ReadGroup(key, "Options3", m_settings.options3, kOptions3Defaults);
    m_settings.filledColour = Colour{colour[0]} | Colour{colour[1]} << 8 | Colour{colour[2]} << 16 |
                              Colour{colour[3]} << 24;
    return complete;
}
