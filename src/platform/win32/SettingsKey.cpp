#include "model/SettingsKey.h"

#include <windows.h>

// Opened for reading only: a restricted user may be refused full access, and
// would then lose the look they chose.

struct CSettingsKey::Impl {
    HKEY key;
};

CSettingsKey::CSettingsKey()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS)
        m_impl = std::make_unique<Impl>(Impl{key});
}

CSettingsKey::~CSettingsKey()
{
    if (m_impl)
        RegCloseKey(m_impl->key);
}

bool CSettingsKey::IsOpen() const
{
    return m_impl != nullptr;
}

bool CSettingsKey::QueryValue(const char* name, std::span<std::uint8_t> buffer) const
{
    DWORD size = static_cast<DWORD>(buffer.size());
    return RegQueryValueExA(m_impl->key, name, nullptr, nullptr, buffer.data(), &size) == ERROR_SUCCESS &&
           size == buffer.size();
}
