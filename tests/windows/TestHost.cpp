// Plays the lister host against a plug-in library of its own width (the
// 64-bit host against Gridlook.wlx64, the 32-bit one against Gridlook.wlx):
// loads the library by file, looks its six entry points up by name, gives it a
// top-level window of its own as the lister window, and checks what a host can
// see. Captures of the viewer's client area are written as PPM files, listed
// in captures.txt, for the Linux side to compare with the software raster's
// picture. WEBPBN_FOLDER holds the webpbn XML files that the Linux tests read
// too: each named shows-* must be shown, each named declines-* declined.
//
//   TestHost PLUGIN EXAMPLES_FOLDER WEBPBN_FOLDER OUTPUT_FOLDER          the checks
//   TestHost PLUGIN EXAMPLES_FOLDER WEBPBN_FOLDER OUTPUT_FOLDER --timing  load-to-paint times
#include "ImportHooks.h"

#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using ListLoadFunction = HWND(__stdcall*)(HWND, char*, int);
using ListCloseWindowFunction = void(__stdcall*)(HWND);
using ListGetDetectStringFunction = void(__stdcall*)(char*, int);
using ListSendCommandFunction = int(__stdcall*)(HWND, int, int);
using ListPrintFunction = int(__stdcall*)(HWND, char*, char*, int, RECT*);
using ListNotificationReceivedFunction = int(__stdcall*)(HWND, int, WPARAM, LPARAM);

struct Plugin {
    HMODULE module = nullptr;
    ListLoadFunction load = nullptr;
    ListCloseWindowFunction closeWindow = nullptr;
    ListGetDetectStringFunction getDetectString = nullptr;
    ListSendCommandFunction sendCommand = nullptr;
    ListPrintFunction print = nullptr;
    ListNotificationReceivedFunction notificationReceived = nullptr;
};

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;
constexpr const char* kSettingsKey = "Software\\Brackwater Studio\\Tessa Grids\\Settings";

// The display settings a capture was made with, as the registry held them.
struct Look {
    int cellSize = 12;
    bool pixelDigits = true;
    bool singleStrike = false;
    std::array<BYTE, 4> ink = {0, 192, 0, 0};
    bool centre = true;

    // How captures.txt names it, for the comparison on the Linux side.
    std::string Name() const
    {
        char name[64];
        std::snprintf(name, sizeof name, "%d:%s:%s:%02x%02x%02x:%s", cellSize, pixelDigits ? "pixel" : "text",
                      singleStrike ? "single" : "double", ink[0], ink[1], ink[2], centre ? "centre" : "corner");
        return name;
    }
};

// What the lister window does when a character reaches it: a host may switch
// its display mode on one, closing the viewer, or end altogether.
enum class OnCharacter { Keep, CloseViewer, DestroyLister };

Plugin g_plugin;
HWND g_parent = nullptr;
std::string g_output;
std::vector<std::pair<WPARAM, LPARAM>> g_charsReceived;
OnCharacter g_onCharacter = OnCharacter::Keep;
HWND g_viewerToClose = nullptr;
int g_failures = 0;

void Check(bool passed, const std::string& what)
{
    std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed)
        ++g_failures;
}

template <typename Function>
Function Export(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(g_plugin.module, name)));
}

bool LoadPlugin(const char* path)
{
    g_plugin.module = LoadLibraryA(path);
    if (!g_plugin.module)
        return false;
    g_plugin.load = Export<ListLoadFunction>("ListLoad");
    g_plugin.closeWindow = Export<ListCloseWindowFunction>("ListCloseWindow");
    g_plugin.getDetectString = Export<ListGetDetectStringFunction>("ListGetDetectString");
    g_plugin.sendCommand = Export<ListSendCommandFunction>("ListSendCommand");
    g_plugin.print = Export<ListPrintFunction>("ListPrint");
    g_plugin.notificationReceived = Export<ListNotificationReceivedFunction>("ListNotificationReceived");
    return g_plugin.load && g_plugin.closeWindow && g_plugin.getDetectString && g_plugin.sendCommand &&
           g_plugin.print && g_plugin.notificationReceived;
}

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR) {
        g_charsReceived.emplace_back(wParam, lParam);
        if (g_onCharacter == OnCharacter::CloseViewer)
            g_plugin.closeWindow(g_viewerToClose);
        else if (g_onCharacter == OnCharacter::DestroyLister)
            DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void SizeClientArea(HWND window, int width, int height)
{
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

HWND CreateParent()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ParentProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "GridlookTestLister";
    if (!GetClassInfoA(windowClass.hInstance, windowClass.lpszClassName, &windowClass))
        RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Gridlook test host",
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, nullptr,
                                        nullptr, windowClass.hInstance, nullptr);
    SizeClientArea(window, kClientWidth, kClientHeight);
    return window;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

BOOL CALLBACK CountChild(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int ChildWindowCount(HWND parent = g_parent)
{
    int count = 0;
    EnumChildWindows(parent, CountChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

HWND Load(const std::string& path, HWND parent = g_parent)
{
    HWND window = g_plugin.load(parent, const_cast<char*>(path.c_str()), 0);
    PumpMessages();
    if (window)
        UpdateWindow(window);
    return window;
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// The header of a native puzzle with three colours, a picture, `rowClueMax`
// clue slots beside each row and none above the columns. Every palette entry
// gets `highByte` as its fourth byte, which native files store as they please.
std::vector<unsigned char> NativeHeader(int width, int height, int rowClueMax, unsigned char highByte = 0)
{
    unsigned char palette[16][4] = {{255, 255, 255}, {30, 60, 160}, {220, 160, 20}};
    for (auto& entry : palette)
        entry[3] = highByte;
    std::vector<unsigned char> bytes = {'T', 'E', 'S', 'S', 'A', 3};
    bytes.reserve(bytes.size() + sizeof palette + 5);
    bytes.insert(bytes.end(), &palette[0][0], &palette[0][0] + sizeof palette);
    bytes.insert(bytes.end(), {static_cast<unsigned char>(width), static_cast<unsigned char>(height),
                               static_cast<unsigned char>(rowClueMax), 0, 0});
    return bytes;
}

// A native puzzle whose clues are derived from a picture of `cellAt(row,
// column)`.
std::string WriteNativePuzzle(const std::string& name, int width, int height, std::function<int(int, int)> cellAt,
                              unsigned char highByte = 0)
{
    std::vector<unsigned char> bytes = NativeHeader(width, height, 0, highByte);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column)
            bytes.push_back(static_cast<unsigned char>(cellAt(row, column)));
    }
    const std::string path = g_output + "\\" + name;
    WriteBytes(path, bytes);
    return path;
}

// One row across all 255 columns, with all 255 clue slots beside it and none
// above the columns: at cell size 255 its picture is 130,135 by 290 pixels,
// within the limit of either width, however large the screen.
std::string WriteWidePuzzle()
{
    std::vector<unsigned char> bytes = NativeHeader(255, 1, 255);
    for (int slot = 0; slot < 255; ++slot)
        bytes.insert(bytes.end(), {static_cast<unsigned char>(slot % 9 + 1), static_cast<unsigned char>(1 + slot % 2)});
    for (int column = 0; column < 255; ++column)
        bytes.push_back(static_cast<unsigned char>(column % 3));
    const std::string path = g_output + "\\wide-255x1.tessa";
    WriteBytes(path, bytes);
    return path;
}

int Diagonals(int row, int column)
{
    return (row * 7 + column * 3) % 11 < 5 ? 1 + (row + column) % 2 : 0;
}

int ScrollPosition(HWND window, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(window, bar, &info);
    return info.nPos;
}

int ScrollLimit(HWND window, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(window, bar, &info);
    return info.nMax - static_cast<int>(info.nPage) + 1;
}

// The client area as the screen shows it, top row first, as a binary PPM.
void Capture(HWND window, const std::string& name, const std::string& puzzle, const std::string& look)
{
    RECT client{};
    GetClientRect(window, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC windowDc = GetDC(window);
    const HDC memory = CreateCompatibleDC(windowDc);
    const HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    std::ofstream ppm(g_output + "\\" + name, std::ios::binary);
    ppm << "P6\n" << client.right << " " << client.bottom << "\n255\n";
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (long i = 0; i < static_cast<long>(client.right) * client.bottom; ++i)
        ppm << pixels[4 * i + 2] << pixels[4 * i + 1] << pixels[4 * i];
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    std::ofstream(g_output + "\\captures.txt", std::ios::app)
        << name << " " << ScrollPosition(window, SB_HORZ) << " " << ScrollPosition(window, SB_VERT) << " " << look
        << " " << puzzle << "\n";
}

std::vector<std::string> ExampleFiles(const std::string& folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !name.ends_with(".py"))
            files.push_back(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

std::string BaseName(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

std::string ExampleNamed(const std::vector<std::string>& examples, const std::string& name)
{
    const auto found = std::find_if(examples.begin(), examples.end(),
                                    [&name](const std::string& path) { return BaseName(path) == name; });
    return found == examples.end() ? std::string() : *found;
}

void WriteSettings(const Look& look)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    const BYTE options1[9] = {look.singleStrike, look.pixelDigits, 1, static_cast<BYTE>(look.cellSize), 3, 3, 1, 1, 1};
    const BYTE options3[9] = {0, 1, 1, look.centre, 1, 1, 1, 1, 100};
    RegSetValueExA(key, "Options1", 0, REG_BINARY, options1, sizeof options1);
    RegSetValueExA(key, "Options2", 0, REG_BINARY, look.ink.data(), static_cast<DWORD>(look.ink.size()));
    RegSetValueExA(key, "Options3", 0, REG_BINARY, options3, sizeof options3);
    RegCloseKey(key);
}

void ForgetSettings()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
}

// Shows the puzzle with the settings of `look` and captures it.
void CaptureWithLook(const std::string& path, const Look& look, const std::string& name, const std::string& what)
{
    WriteSettings(look);
    const HWND window = Load(path);
    Check(window != nullptr, "shows " + BaseName(path) + " " + what);
    if (window)
        Capture(window, name, path, look.Name());
    g_plugin.closeWindow(window);
    ForgetSettings();
}

void CheckDeclinedFiles(const std::string& anExample)
{
    const std::string wrongSignature = g_output + "\\wrong-signature.dat";
    const std::string shortFile = g_output + "\\short.tessa";
    WriteBytes(wrongSignature, std::vector<unsigned char>(100, 'X'));
    WriteBytes(shortFile, std::vector<unsigned char>(10, 'T'));
    for (const std::string& path : {wrongSignature, shortFile, g_output + "\\missing.tessa"})
        Check(!Load(path) && ChildWindowCount() == 0, "declines " + BaseName(path) + " and makes no window");

    const HANDLE held = CreateFileA(anExample.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Check(held != INVALID_HANDLE_VALUE && !Load(anExample) && ChildWindowCount() == 0,
          "declines a file another program holds open");
    CloseHandle(held);
    const HWND released = Load(anExample);
    Check(released != nullptr, "loads the same file once it is released");
    g_plugin.closeWindow(released);
}

// A machine short of memory for the off-screen picture: the host must get no
// window (it shows its own viewer then), and nothing may be left behind. A
// viewer shown again that cannot make its picture anew shows the one it has.
void CheckPictureThatCannotBeMade(const std::string& anExample)
{
    importhooks::RefuseBitmaps(true);
    const HWND window = Load(anExample);
    importhooks::RefuseBitmaps(false);
    Check(!window && ChildWindowCount() == 0 && importhooks::Outstanding().empty(),
          "declines a file whose picture cannot be made, and leaves nothing");

    const HWND shown = Load(anExample);
    Check(shown != nullptr, "shows " + BaseName(anExample) + ", then again when its picture cannot be made anew");
    if (!shown)
        return;
    importhooks::RefuseBitmaps(true);
    ShowWindow(shown, SW_HIDE);
    ShowWindow(shown, SW_SHOW);
    importhooks::RefuseBitmaps(false);
    UpdateWindow(shown);
    Capture(shown, "shown-again-without-bitmaps.ppm", anExample, "default");
    g_plugin.closeWindow(shown);
}

bool ChildCoversTheParent(HWND window)
{
    RECT parentClient{};
    RECT child{};
    GetClientRect(g_parent, &parentClient);
    GetWindowRect(window, &child);
    MapWindowPoints(nullptr, g_parent, reinterpret_cast<POINT*>(&child), 2);
    return EqualRect(&parentClient, &child);
}

// Made hidden as WS_CHILD | WS_VSCROLL | WS_HSCROLL with an empty name, of a
// class that redraws on resizing and has no cursor, background brush or icon.
void CheckWindowCreation(HWND window, const std::string& name)
{
    const importhooks::WindowCreation& creation = importhooks::LastWindowCreation();
    Check(creation.style == (WS_CHILD | WS_VSCROLL | WS_HSCROLL) && creation.windowName.empty(),
          name + ": created as WS_CHILD | WS_VSCROLL | WS_HSCROLL, named \"\"");
    Check(GetClassLongPtrA(window, GCL_STYLE) == (CS_HREDRAW | CS_VREDRAW) && !GetClassLongPtrA(window, GCLP_HCURSOR) &&
              !GetClassLongPtrA(window, GCLP_HBRBACKGROUND) && !GetClassLongPtrA(window, GCLP_HICON),
          name + ": its class redraws on resizing and has no cursor, background brush or icon");
}

void CheckExample(const std::string& path, int index)
{
    const std::string name = BaseName(path);
    const HWND window = Load(path);
    Check(window != nullptr, "shows " + name);
    if (!window)
        return;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    Check(GetParent(window) == g_parent && GetDlgCtrlID(window) == 1234 && (style & WS_CHILD) && (style & WS_VISIBLE),
          name + ": a visible child window with identifier 1234");
    Check(ChildCoversTheParent(window), name + ": covers the lister window's client area");
    CheckWindowCreation(window, name);
    Capture(window, "example-" + std::to_string(index) + ".ppm", path, "default");
    g_plugin.closeWindow(window);
    Check(!IsWindow(window) && ChildWindowCount() == 0, name + ": ListCloseWindow destroys the window");
}

// XmlLite must treat DOCTYPEs, entities and DTDs as expat does on Linux.
void CheckWebpbnFiles(const std::vector<std::string>& files)
{
    Check(!files.empty(), "finds the webpbn XML files");
    int index = 0;
    for (const std::string& path : files) {
        const std::string name = BaseName(path);
        const bool shown = name.starts_with("shows-");
        const HWND window = Load(path);
        Check((window != nullptr) == shown && (window || ChildWindowCount() == 0),
              (shown ? "shows " : "declines ") + name);
        if (!window)
            continue;
        Capture(window, "webpbn-" + std::to_string(++index) + ".ppm", path, "default");
        g_plugin.closeWindow(window);
    }
}

void PressKey(HWND window, UINT key, int repeat)
{
    SendMessageA(window, WM_KEYDOWN, key, repeat);
    PumpMessages();
}

void CheckKeys(HWND window)
{
    const int page = 5 * 12 + 1;
    const int limit = ScrollLimit(window, SB_VERT);
    PressKey(window, VK_NEXT, 3);
    Check(ScrollPosition(window, SB_VERT) == 3 * page, "Page Down three times scrolls three pages");
    PressKey(window, VK_RIGHT, 2);
    Check(ScrollPosition(window, SB_HORZ) == 24, "Right twice scrolls two cells");
    PressKey(window, VK_END, 4);
    Check(ScrollPosition(window, SB_VERT) == limit && ScrollPosition(window, SB_HORZ) == 24,
          "End goes to the bottom and leaves the horizontal position");
    PressKey(window, VK_NEXT, 2);
    Check(ScrollPosition(window, SB_VERT) == limit, "Page Down stops at the end");
    PressKey(window, VK_HOME, 1);
    Check(ScrollPosition(window, SB_VERT) == 0 && ScrollPosition(window, SB_HORZ) == 24,
          "Home goes to the top and leaves the horizontal position");
    PressKey(window, VK_LEFT, 5);
    Check(ScrollPosition(window, SB_HORZ) == 0, "Left stops at the start");
    PressKey(window, VK_DOWN, 0);
    Check(ScrollPosition(window, SB_VERT) == 0, "a repeat count of 0 scrolls nothing");
}

void CheckCharacters(HWND window)
{
    g_charsReceived.clear();
    SendMessageA(window, WM_CHAR, '7', 0x00210001);
    Check(g_charsReceived.size() == 1 && g_charsReceived[0].first == 0x37 && g_charsReceived[0].second == 0x21,
          "typing 7 sends WM_CHAR 0x37 with the flags word to the lister window");
    for (const WPARAM character : {WPARAM{'8'}, WPARAM{'a'}, WPARAM{'0'}})
        SendMessageA(window, WM_CHAR, character, 0x00210001);
    Check(g_charsReceived.size() == 1, "typing 8, a or 0 sends nothing to the lister window");
}

void SendWheel(HWND window, UINT message, WORD keys, int delta)
{
    SendMessageA(window, message, MAKEWPARAM(keys, static_cast<WORD>(static_cast<SHORT>(delta))), 0);
}

// A notch in parts adds up to the notch; Shift and the sideways wheel scroll
// sideways by the same steps; with Ctrl the wheel is left to the lister.
void CheckWheel(HWND window)
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int notch = static_cast<int>(lines) * 12;
    for (int i = 0; i < 8; ++i)
        SendWheel(window, WM_MOUSEWHEEL, 0, -15);
    Check(ScrollPosition(window, SB_VERT) == notch, "a wheel notch in eight parts scrolls as the notch");
    SendWheel(window, WM_MOUSEWHEEL, MK_SHIFT, -WHEEL_DELTA);
    SendWheel(window, WM_MOUSEHWHEEL, 0, WHEEL_DELTA);
    Check(ScrollPosition(window, SB_HORZ) == 2 * notch && ScrollPosition(window, SB_VERT) == notch,
          "Shift with the wheel, and the sideways wheel, scroll sideways");
    SendWheel(window, WM_MOUSEWHEEL, MK_CONTROL, -WHEEL_DELTA);
    Check(ScrollPosition(window, SB_HORZ) == 2 * notch && ScrollPosition(window, SB_VERT) == notch,
          "Ctrl with the wheel scrolls nothing");
    SendMessageA(window, WM_HSCROLL, SB_TOP, 0);
    SendMessageA(window, WM_VSCROLL, SB_TOP, 0);
}

void CheckScrollingAndKeys()
{
    const std::string path = WriteNativePuzzle("large.tessa", 60, 45, Diagonals);
    const HWND window = Load(path);
    Check(window != nullptr, "shows a puzzle larger than the window");
    if (!window)
        return;
    CheckKeys(window);
    CheckCharacters(window);
    CheckWheel(window);
    PressKey(window, VK_NEXT, 2);
    UpdateWindow(window);
    Capture(window, "large-scrolled.ppm", path, "default");
    g_plugin.closeWindow(window);
}

// The lister may act on a character handed on to it by closing the viewer (a
// display-mode switch) or by ending itself, inside its own WM_CHAR handler:
// the viewer's window procedure must not touch the ended viewer afterwards.
// Freed memory is poisoned, and default processing of a window that no longer
// exists is counted.
void CheckListerMayEndTheViewerOnACharacter(const std::string& anExample)
{
    const long before = importhooks::DefaultProcessingOfNoWindow();
    g_viewerToClose = Load(anExample);
    g_onCharacter = OnCharacter::CloseViewer;
    SendMessageA(g_viewerToClose, WM_CHAR, '3', 0x00210001);
    Check(!IsWindow(g_viewerToClose) && importhooks::DefaultProcessingOfNoWindow() == before,
          "a lister that closes the viewer on a character it is handed: nothing of the viewer is used afterwards");

    const HWND lister = CreateParent();
    const HWND viewer = Load(anExample, lister);
    g_onCharacter = OnCharacter::DestroyLister;
    SendMessageA(viewer, WM_CHAR, '5', 0x00210001);
    g_onCharacter = OnCharacter::Keep;
    Check(!IsWindow(lister) && !IsWindow(viewer) && importhooks::DefaultProcessingOfNoWindow() == before &&
              importhooks::Outstanding().empty(),
          "a lister that ends itself on a character it is handed: nothing of the viewer is used afterwards");
}

// A lister maximised on a monitor larger than the primary one: every pixel of
// the client area shows the picture or white, centred or not.
void CheckListerLargerThanTheScreen(const std::vector<std::string>& examples)
{
    importhooks::PretendScreenSize(kClientWidth, kClientHeight);
    SizeClientArea(g_parent, 1000, 800);
    PumpMessages();
    const std::string wide = WriteNativePuzzle("wide.tessa", 50, 30, [](int row, int column) {
        return (column / 10 + row / 3) % 2 ? 1 : 0;
    });
    int index = 0;
    for (const bool centre : {false, true}) {
        Look look;
        look.centre = centre;
        for (const std::string& path : {ExampleNamed(examples, "sailboat.tessa"), wide})
            CaptureWithLook(path, look, "larger-than-screen-" + std::to_string(++index) + ".ppm",
                            std::string("in a lister larger than an 800 x 600 screen, ") +
                                (centre ? "centred" : "at the top left"));
    }
    importhooks::PretendScreenSize(0, 0);
    SizeClientArea(g_parent, kClientWidth, kClientHeight);
    PumpMessages();
}

// The limit of one off-screen picture in a plug-in of this width: 1 GiB in a
// 64-bit process, 256 MiB in a 32-bit one, at 4 bytes a pixel.
constexpr long long kPictureLimitPixels = sizeof(void*) >= 8 ? 1LL << 28 : 1LL << 26;

// The most pixels of one bitmap the plug-in asked for, from the `first` on.
long long LargestBitmapAsked(std::size_t first = 0)
{
    long long largest = 0;
    const std::vector<SIZE>& asked = importhooks::BitmapsAsked();
    for (std::size_t i = first; i < asked.size(); ++i)
        largest = std::max(largest, static_cast<long long>(asked[i].cx) * asked[i].cy);
    return largest;
}

std::string BitmapFigure(long long pixels)
{
    char figure[64];
    std::snprintf(figure, sizeof figure, "%.1f Mpixels, %.0f MiB", static_cast<double>(pixels) / 1e6,
                  static_cast<double>(pixels) * 4 / (1 << 20));
    return figure;
}

// A puzzle whose picture passes the limit by its own extent must be shown on
// any screen, in no bitmap beyond the limit: a screen larger than the picture
// along one axis may not make it larger.
void CheckWidePuzzleOnLargeScreens()
{
    const std::string path = WriteWidePuzzle();
    Look look;
    look.cellSize = 255;
    WriteSettings(look);
    for (const SIZE screen : {SIZE{1920, 1080}, SIZE{3840, 2160}}) {
        importhooks::PretendScreenSize(screen.cx, screen.cy);
        const std::size_t first = importhooks::BitmapsAsked().size();
        const HWND window = Load(path);
        const long long largest = LargestBitmapAsked(first);
        Check(window && largest <= kPictureLimitPixels,
              "on a " + std::to_string(screen.cx) + " x " + std::to_string(screen.cy) +
                  " screen, shows a 255 x 1 puzzle at cell size 255 in a bitmap within the limit (" +
                  BitmapFigure(largest) + ")");
        g_plugin.closeWindow(window);
    }
    importhooks::PretendScreenSize(0, 0);
    ForgetSettings();
}

// A host that destroys the viewer window itself hides it first; a hidden
// window's picture is not painted again for nobody.
void CheckHostDestroyingTheViewerPaintsNothing()
{
    const std::string largest = WriteNativePuzzle("largest.tessa", 255, 255, [](int row, int column) {
        return 1 + (row + column) % 2;
    });
    const HWND window = Load(largest);
    const long madeBefore = importhooks::Made();
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DestroyWindow(window);
    QueryPerformanceCounter(&end);
    const double milliseconds =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    char figure[64];
    std::snprintf(figure, sizeof figure, " (%.1f ms)", milliseconds);
    Check(window && importhooks::Made() == madeBefore && ChildWindowCount() == 0 &&
              importhooks::Outstanding().empty(),
          std::string("the host destroying the viewer of the largest puzzle paints nothing and ends the viewer") +
              figure);
}

// Where few captures looked: cell sizes at which rectangles shrink to a pixel
// and lines to nothing, text numbers at small and large sizes, the doubled
// and single strokes, and palettes whose fourth bytes GDI would read as a
// palette index or a palette-relative colour.
void CheckLooks(const std::vector<std::string>& examples)
{
    const std::string sailboat = ExampleNamed(examples, "sailboat.tessa");
    const std::string arrow = ExampleNamed(examples, "arrow-clues-only.tessa");
    const std::string plus = ExampleNamed(examples, "plus.tgr");
    int index = 0;
    const auto capture = [&index](const std::string& path, const Look& look) {
        CaptureWithLook(path, look, "look-" + std::to_string(++index) + ".ppm", "as " + look.Name());
    };
    for (const int cellSize : {0, 1, 2, 3, 8, 40}) {
        Look look;
        look.cellSize = cellSize;
        look.singleStrike = cellSize % 2 == 0;
        capture(sailboat, look);
        capture(arrow, look);
    }
    for (const int cellSize : {9, 36}) {
        Look look;
        look.cellSize = cellSize;
        look.pixelDigits = false;
        capture(arrow, look);
        capture(plus, look);
    }
    Look blueInk;
    blueInk.cellSize = 20;
    blueInk.pixelDigits = false;
    blueInk.singleStrike = true;
    blueInk.ink = {0, 0, 255, 0};
    capture(plus, blueInk);
    capture(arrow, blueInk);
    for (const unsigned char highByte : {0x01, 0x02, 0xFF}) {
        char name[32];
        std::snprintf(name, sizeof name, "palette-%02x.tessa", highByte);
        capture(WriteNativePuzzle(name, 20, 15, Diagonals, highByte), Look{});
    }
}

void CheckCommands(const std::string& anExample)
{
    const HWND window = Load(anExample);
    Check(g_plugin.sendCommand(window, 1, 0) == 0 && g_plugin.sendCommand(window, 3, 0) == 0,
          "ListSendCommand copy and select-all answer 0");
    bool othersNotDone = g_plugin.sendCommand(window, 4, 50) == 1;
    for (const int command : {2, 0, 5, -1})
        othersNotDone = othersNotDone && g_plugin.sendCommand(window, command, 0) == 1;
    Check(othersNotDone, "ListSendCommand answers 1 to every other command");
    RECT margins{};
    Check(g_plugin.print(window, nullptr, nullptr, 0, &margins) == 0, "ListPrint answers 0");
    Check(g_plugin.notificationReceived(window, WM_COMMAND, MAKEWPARAM(0, EN_UPDATE), 0) == 0,
          "ListNotificationReceived answers 0");
    char detect[32] = "left alone";
    g_plugin.getDetectString(detect, sizeof detect);
    Check(std::string(detect) == "left alone", "ListGetDetectString writes nothing");
    g_plugin.closeWindow(nullptr);
    g_plugin.closeWindow(g_parent);
    Check(IsWindow(g_parent) && IsWindow(window), "ListCloseWindow ignores null and foreign windows");
    g_plugin.closeWindow(window);
    Check(!IsWindow(window), "ListCloseWindow destroys the viewer window");
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage;
}

void CheckNothingLeaks(const std::string& anExample)
{
    const SIZE_T before = PrivateBytes();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    constexpr int kCycles = 1000;
    for (int i = 0; i < kCycles; ++i)
        g_plugin.closeWindow(Load(anExample));
    const long growth = static_cast<long>(PrivateBytes()) - static_cast<long>(before);
    std::printf("     %d cycles: %ld objects made by the plug-in, memory grew %ld KiB, GetGuiResources "
                "GDI %lu->%lu USER %lu->%lu (Wine reports 0)\n",
                kCycles, importhooks::Made(), growth / 1024, gdiBefore,
                GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), userBefore,
                GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    Check(importhooks::Outstanding().empty(),
          "every object the plug-in made is released" +
              (importhooks::Outstanding().empty() ? "" : " (left: " + importhooks::Outstanding() + ")"));
    Check(ChildWindowCount() == 0 && growth < 16 * 1024 * 1024, "a thousand load and close cycles leave nothing");
}

double MillisecondsToFirstPaint(const std::string& path)
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const HWND window = g_plugin.load(g_parent, const_cast<char*>(path.c_str()), 0);
    UpdateWindow(window);
    GdiFlush();
    QueryPerformanceCounter(&end);
    g_plugin.closeWindow(window);
    PumpMessages();
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// From ListLoad to the end of the first paint, the median of several runs.
void ReportTiming(const std::string& label, const std::string& path)
{
    std::vector<double> times;
    for (int run = 0; run < 7; ++run)
        times.push_back(MillisecondsToFirstPaint(path));
    std::sort(times.begin(), times.end());
    std::printf("timing %s: ListLoad to end of first paint %.2f ms (median of %zu)\n", label.c_str(),
                times[times.size() / 2], times.size());
}

void RunTiming(const std::vector<std::string>& examples)
{
    for (const std::string& example : examples)
        ReportTiming("example " + BaseName(example), example);
    ReportTiming("typical 30x30", WriteNativePuzzle("typical.tessa", 30, 30, [](int row, int column) {
                     return (row + column) % 4 < 2 ? 1 : 0;
                 }));
    ReportTiming("largest 255x255", WriteNativePuzzle("largest.tessa", 255, 255, [](int row, int column) {
                     return 1 + (row + column) % 2;
                 }));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: TestHost PLUGIN EXAMPLES_FOLDER WEBPBN_FOLDER OUTPUT_FOLDER [--timing]\n");
        return 2;
    }
    g_output = argv[4];
    const bool installed = LoadPlugin(argv[1]) && importhooks::Install(g_plugin.module);
    Check(installed, "loads the plug-in and finds its six entry points by name");
    g_parent = CreateParent();
    if (!installed || !g_parent)
        return 1;
    PumpMessages();
    const std::vector<std::string> examples = ExampleFiles(argv[2]);
    if (argc > 5 && std::string(argv[5]) == "--timing") {
        RunTiming(examples);
        return 0;
    }
    std::ofstream(g_output + "\\captures.txt", std::ios::trunc);
    Check(!examples.empty(), "finds the example puzzles");
    if (examples.empty())
        return 1;
    CheckDeclinedFiles(examples.front());
    CheckPictureThatCannotBeMade(examples.front());
    for (std::size_t i = 0; i < examples.size(); ++i)
        CheckExample(examples[i], static_cast<int>(i));
    CheckWebpbnFiles(ExampleFiles(argv[3]));
    CheckScrollingAndKeys();
    CheckListerMayEndTheViewerOnACharacter(examples.front());
    CheckListerLargerThanTheScreen(examples);
    CheckWidePuzzleOnLargeScreens();
    CheckHostDestroyingTheViewerPaintsNothing();
    CheckLooks(examples);
    CheckCommands(examples.front());
    CheckNothingLeaks(examples.front());
    // Each XML load creates XmlLite's reader and loads its library anew.
    CheckNothingLeaks(ExampleNamed(examples, "tulip.xml"));
    Check(LargestBitmapAsked() <= kPictureLimitPixels,
          "every bitmap the plug-in asked for is within the limit (the largest " + BitmapFigure(LargestBitmapAsked()) +
              ")");
    DestroyWindow(g_parent);
    std::printf("%d failed\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
