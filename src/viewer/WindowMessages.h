#pragma once

#include <cstdint>

// The window messages, key codes and scroll codes that the viewer and the
// entry points use, with the values the Windows window system gives them, so
// that every platform's window layer speaks the same language.

using WindowHandle = void*;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

inline constexpr std::uint32_t kWmSize = 0x0005;
inline constexpr std::uint32_t kWmShowWindow = 0x0018;
inline constexpr std::uint32_t kWmSetCursor = 0x0020;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmChar = 0x0102;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmHScroll = 0x0114;
inline constexpr std::uint32_t kWmVScroll = 0x0115;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmMButtonDown = 0x0207;
inline constexpr std::uint32_t kWmMButtonUp = 0x0208;
inline constexpr std::uint32_t kWmMouseWheel = 0x020A;
inline constexpr std::uint32_t kWmMouseHWheel = 0x020E;
inline constexpr std::uint32_t kWmCaptureChanged = 0x0215;
inline constexpr std::uint32_t kWmCopy = 0x0301;
inline constexpr std::uint32_t kEmSetSel = 0x00B1;
inline constexpr std::uint32_t kEmGetLineCount = 0x00BA;
inline constexpr std::uint32_t kEmGetFirstVisibleLine = 0x00CE;
inline constexpr std::uint32_t kEnUpdate = 0x0400;

inline constexpr int kSbLineUp = 0;
inline constexpr int kSbLineDown = 1;
inline constexpr int kSbPageUp = 2;
inline constexpr int kSbPageDown = 3;
inline constexpr int kSbThumbPosition = 4;
inline constexpr int kSbThumbTrack = 5;
inline constexpr int kSbTop = 6;
inline constexpr int kSbBottom = 7;

inline constexpr std::uint32_t kVkPrior = 0x21;
inline constexpr std::uint32_t kVkNext = 0x22;
inline constexpr std::uint32_t kVkEnd = 0x23;
inline constexpr std::uint32_t kVkHome = 0x24;
inline constexpr std::uint32_t kVkLeft = 0x25;
inline constexpr std::uint32_t kVkUp = 0x26;
inline constexpr std::uint32_t kVkRight = 0x27;
inline constexpr std::uint32_t kVkDown = 0x28;

// The keys held, in the low word of a wheel message's wParam.
inline constexpr unsigned kMkShift = 0x0004;
inline constexpr unsigned kMkControl = 0x0008;

// One notch of a mouse wheel; a lines-per-notch setting of this value means a
// page per notch.
inline constexpr int kWheelDelta = 120;
inline constexpr unsigned kWheelPageScroll = 0xFFFFFFFF;

constexpr WParam MakeWParam(unsigned low, unsigned high)
{
    return (low & 0xFFFF) | (WParam{high & 0xFFFF} << 16);
}
constexpr unsigned LowWord(std::uintptr_t value)
{
    return value & 0xFFFF;
}
constexpr unsigned HighWord(std::uintptr_t value)
{
    return value >> 16 & 0xFFFF;
}
// The signed coordinates packed into a mouse message's lParam.
constexpr int PointX(LParam lParam)
{
    return static_cast<std::int16_t>(LowWord(static_cast<std::uintptr_t>(lParam)));
}
constexpr int PointY(LParam lParam)
{
    return static_cast<std::int16_t>(HighWord(static_cast<std::uintptr_t>(lParam)));
}
