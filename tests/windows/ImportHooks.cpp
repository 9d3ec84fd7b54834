#include "ImportHooks.h"

#include <malloc.h>

#include <cstring>
#include <map>
#include <set>

namespace importhooks {
namespace {

std::map<std::string, long> g_live;
long g_made = 0;
WindowCreation g_lastWindow;
long g_noWindowDefaults = 0;
SIZE g_pretendedScreen = {0, 0};
bool g_refuseBitmaps = false;
std::vector<SIZE> g_bitmapsAsked;
std::set<HWND> g_windows;

template <typename Handle>
Handle Made(const char* kind, Handle handle)
{
    if (handle) {
        ++g_live[kind];
        ++g_made;
    }
    return handle;
}

void Released(const char* kind, BOOL done)
{
    if (done)
        --g_live[kind];
}

HBRUSH WINAPI CountedCreateSolidBrush(COLORREF colour) { return Made("gdi object", CreateSolidBrush(colour)); }
HPEN WINAPI CountedCreatePen(int style, int width, COLORREF colour)
{
    return Made("gdi object", CreatePen(style, width, colour));
}
HFONT WINAPI CountedCreateFontIndirectA(const LOGFONTA* font) { return Made("gdi object", CreateFontIndirectA(font)); }
HBITMAP WINAPI CountedCreateCompatibleBitmap(HDC dc, int width, int height)
{
    g_bitmapsAsked.push_back({width, height});
    return g_refuseBitmaps ? nullptr : Made("gdi object", CreateCompatibleBitmap(dc, width, height));
}
BOOL WINAPI CountedDeleteObject(HGDIOBJ object)
{
    const DWORD type = GetObjectType(object);
    const BOOL done = DeleteObject(object);
    if (type == OBJ_BRUSH || type == OBJ_PEN || type == OBJ_FONT || type == OBJ_BITMAP)
        Released("gdi object", done);
    return done;
}
HDC WINAPI CountedCreateCompatibleDC(HDC dc) { return Made("memory dc", CreateCompatibleDC(dc)); }
BOOL WINAPI CountedDeleteDC(HDC dc)
{
    const BOOL done = DeleteDC(dc);
    Released("memory dc", done);
    return done;
}
HDC WINAPI CountedGetDC(HWND window) { return Made(window ? "window dc" : "screen dc", GetDC(window)); }
int WINAPI CountedReleaseDC(HWND window, HDC dc)
{
    const int done = ReleaseDC(window, dc);
    Released(window ? "window dc" : "screen dc", done);
    return done;
}
// A window may also end with its parent, or be destroyed by the host: the
// windows made are kept, and those that still exist are the ones left.
HWND WINAPI CountedCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR name, DWORD style, int x, int y,
                                   int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    g_lastWindow = {className, name, style};
    const HWND window =
        CreateWindowExA(exStyle, className, name, style, x, y, width, height, parent, menu, instance, param);
    if (window) {
        g_windows.insert(window);
        ++g_made;
    }
    return window;
}

LRESULT WINAPI CheckedDefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(window))
        ++g_noWindowDefaults;
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI SteeredGetSystemMetrics(int index)
{
    if (index == SM_CXSCREEN && g_pretendedScreen.cx)
        return g_pretendedScreen.cx;
    if (index == SM_CYSCREEN && g_pretendedScreen.cy)
        return g_pretendedScreen.cy;
    return GetSystemMetrics(index);
}

void __cdecl PoisonedFree(void* block)
{
    if (block)
        std::memset(block, 0xDD, _msize(block));
    free(block);
}

struct Redirect {
    const char* name;
    void* function;
};

const Redirect kRedirects[] = {
    {"CreateSolidBrush", reinterpret_cast<void*>(CountedCreateSolidBrush)},
    {"CreatePen", reinterpret_cast<void*>(CountedCreatePen)},
    {"CreateFontIndirectA", reinterpret_cast<void*>(CountedCreateFontIndirectA)},
    {"CreateCompatibleBitmap", reinterpret_cast<void*>(CountedCreateCompatibleBitmap)},
    {"DeleteObject", reinterpret_cast<void*>(CountedDeleteObject)},
    {"CreateCompatibleDC", reinterpret_cast<void*>(CountedCreateCompatibleDC)},
    {"DeleteDC", reinterpret_cast<void*>(CountedDeleteDC)},
    {"GetDC", reinterpret_cast<void*>(CountedGetDC)},
    {"ReleaseDC", reinterpret_cast<void*>(CountedReleaseDC)},
    {"CreateWindowExA", reinterpret_cast<void*>(CountedCreateWindowExA)},
    {"DefWindowProcA", reinterpret_cast<void*>(CheckedDefWindowProcA)},
    {"GetSystemMetrics", reinterpret_cast<void*>(SteeredGetSystemMetrics)},
    {"free", reinterpret_cast<void*>(PoisonedFree)},
};

void* RedirectFor(const char* name)
{
    for (const Redirect& redirect : kRedirects) {
        if (std::strcmp(redirect.name, name) == 0)
            return redirect.function;
    }
    return nullptr;
}

void Replace(void** slot, void* function)
{
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = function;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

} // namespace

bool Install(HMODULE library)
{
    auto* base = reinterpret_cast<BYTE*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int replaced = 0;
    for (auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name; ++descriptor) {
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (void* function = RedirectFor(reinterpret_cast<const char*>(byName->Name))) {
                Replace(reinterpret_cast<void**>(&slots->u1.Function), function);
                ++replaced;
            }
        }
    }
    return replaced > 0;
}

std::string Outstanding()
{
    std::erase_if(g_windows, [](HWND window) { return !IsWindow(window); });
    g_live["window"] = static_cast<long>(g_windows.size());
    std::string text;
    for (const auto& [kind, count] : g_live) {
        if (count != 0)
            text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    }
    return text;
}

long Made()
{
    return g_made;
}

const WindowCreation& LastWindowCreation()
{
    return g_lastWindow;
}

long DefaultProcessingOfNoWindow()
{
    return g_noWindowDefaults;
}

const std::vector<SIZE>& BitmapsAsked()
{
    return g_bitmapsAsked;
}

void PretendScreenSize(int width, int height)
{
    g_pretendedScreen = {width, height};
}

void RefuseBitmaps(bool refuse)
{
    g_refuseBitmaps = refuse;
}

} // namespace importhooks
