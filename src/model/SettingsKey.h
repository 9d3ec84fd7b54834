#pragma once

#include <cstdint>
#include <memory>
#include <span>

// Where the desktop program keeps its settings, under the current user.
inline constexpr const char* kSettingsKeyPath = "Software\\Brackwater Studio\\Tessa Grids\\Settings";

// The settings key, opened for reading only; the viewer never writes settings.
// Each platform provides its own implementation of this class.
class CSettingsKey {
public:
    CSettingsKey();
    ~CSettingsKey();
    CSettingsKey(const CSettingsKey&) = delete;
    CSettingsKey& operator=(const CSettingsKey&) = delete;

    bool IsOpen() const;

    // Fills `buffer` and returns true only when the value exists and holds
    // exactly buffer.size() bytes; otherwise the buffer's contents are undefined.
    bool QueryValue(const char* name, std::span<std::uint8_t> buffer) const;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};
