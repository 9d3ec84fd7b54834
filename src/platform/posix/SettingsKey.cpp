#include "model/SettingsKey.h"

#include "platform/posix/WineRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

// The desktop program is a Windows program that its users run under Wine, so
// its per-user registry is the text file user.reg of the Wine prefix.

namespace {

// A registry file this large is not one Wine wrote; its settings are ignored.
constexpr std::uintmax_t kMaxRegistryFileBytes = 64 * 1024 * 1024;

std::filesystem::path UserRegistryPath()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return std::filesystem::path(prefix) / "user.reg";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".wine" / "user.reg";
    return {};
}

std::optional<std::string> ReadUserRegistry()
{
    const std::filesystem::path path = UserRegistryPath();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (path.empty() || error || size > kMaxRegistryFileBytes)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    std::ifstream file(path, std::ios::binary);
    if (!file.read(text.data(), static_cast<std::streamsize>(text.size())))
        return std::nullopt;
    return text;
}

} // namespace

struct CSettingsKey::Impl {
    RegistryValues values;
};

CSettingsKey::CSettingsKey()
{
    if (const std::optional<std::string> text = ReadUserRegistry()) {
        if (std::optional<RegistryValues> values = ReadWineRegistryKey(*text, kSettingsKeyPath))
            m_impl = std::make_unique<Impl>(Impl{std::move(*values)});
    }
}

CSettingsKey::~CSettingsKey() = default;

bool CSettingsKey::IsOpen() const
{
    return m_impl != nullptr;
}

bool CSettingsKey::QueryValue(const char* name, std::span<std::uint8_t> buffer) const
{
    const auto value = m_impl->values.find(std::string_view(name));
    if (value == m_impl->values.end() || value->second.size() != buffer.size())
        return false;
    std::ranges::copy(value->second, buffer.begin());
    return true;
}
