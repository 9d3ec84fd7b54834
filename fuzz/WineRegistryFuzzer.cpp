// The settings store's parser of a Wine prefix's user.reg, looking for the
// desktop program's settings key.
#include "model/SettingsKey.h"
#include "platform/posix/WineRegistry.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReadWineRegistryKey(std::string_view(reinterpret_cast<const char*>(data), size), kSettingsKeyPath);
    return 0;
}
