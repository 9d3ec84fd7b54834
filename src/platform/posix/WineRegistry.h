#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Registry names ignore the case of letters.
struct IgnoringCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// The values of one key by name, each as the bytes that an ANSI query of the
// Windows registry returns.
using RegistryValues = std::map<std::string, std::vector<std::uint8_t>, IgnoringCaseLess>;

// Finds `keyPath` (single backslashes, compared ignoring case) in the text of a
// Wine registry file such as user.reg, and reads its values. Values of a form
// that cannot be read are left out; nullopt when the key is not there.
std::optional<RegistryValues> ReadWineRegistryKey(std::string_view text, std::string_view keyPath);
