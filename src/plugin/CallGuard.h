#pragma once

#include <cstdint>

// Held for the whole of every entry point. On Windows it activates the
// plug-in's own activation context (made from the manifest the library
// carries) and deactivates it again on every way out, also when an exception
// passes; elsewhere there is nothing to do.
class CCallGuard {
public:
    CCallGuard();
    ~CCallGuard();
    CCallGuard(const CCallGuard&) = delete;
    CCallGuard& operator=(const CCallGuard&) = delete;

private:
    // Kept by the Windows guard only.
    [[maybe_unused]] std::uintptr_t m_cookie = 0;
    [[maybe_unused]] bool m_active = false;
};
