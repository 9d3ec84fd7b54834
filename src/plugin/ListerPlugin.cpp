#include "plugin/ListerPlugin.h"

#include "plugin/CallGuard.h"
#include "viewer/Gridlooker.h"

#include <exception>

// Nothing may leave these functions as an exception: the host is not C++.

namespace {

constexpr int kDone = 0;
constexpr int kNotDone = 1;

constexpr int kCommandCopy = 1;
constexpr int kCommandSelectAll = 3;
constexpr int kCommandGoToPercent = 4;

} // namespace

extern "C" {

WindowHandle GRIDLOOK_CALL ListLoad(WindowHandle parentWin, char* fileToLoad, int)
{
    const CCallGuard guard;
    if (!fileToLoad || !WindowSystemAvailable())
        return nullptr;
    try {
        auto viewer = std::make_unique<CGridlooker>(fileToLoad);
        if (!viewer->m_puzzle || !viewer->Create(parentWin))
            return nullptr;
        // From here the window owns the viewer: it ends with ListCloseWindow,
        // or after the window's last message when the host destroys it first.
        CGridlooker* shown = viewer.release();
        shown->ShowWindow();
        // Showing makes the picture. A window without one would never paint:
        // the file is declined instead, so that the host shows its own viewer.
        if (!shown->HasPicture()) {
            delete shown;
            return nullptr;
        }
        return shown->Handle();
    } catch (const std::exception&) {
        return nullptr;
    }
}

void GRIDLOOK_CALL ListCloseWindow(WindowHandle listWin)
{
    const CCallGuard guard;
    delete FindView(listWin);
}

// The host may offer any file: the native format is recognised by its
// contents, not by a name the detect string could test.
void GRIDLOOK_CALL ListGetDetectString(char*, int)
{
    const CCallGuard guard;
}

// The host speaks to the window as to an edit control. The viewer window is
// none: it answers every such message with 0, so copy and select-all change
// nothing, and there is never a line to go to.
int GRIDLOOK_CALL ListSendCommand(WindowHandle listWin, int command, int)
{
    const CCallGuard guard;
    switch (command) {
    case kCommandCopy:
        SendWindowMessage(listWin, kWmCopy, 0, 0);
        return kDone;
    case kCommandSelectAll:
        SendWindowMessage(listWin, kEmSetSel, 0, -1);
        return kDone;
    case kCommandGoToPercent:
        SendWindowMessage(listWin, kEmGetFirstVisibleLine, 0, 0);
        SendWindowMessage(listWin, kEmGetLineCount, 0, 0);
        return kNotDone;
    default:
        return kNotDone;
    }
}

int GRIDLOOK_CALL ListPrint(WindowHandle, char*, char*, int, void*)
{
    const CCallGuard guard;
    return 0;
}

int GRIDLOOK_CALL ListNotificationReceived(WindowHandle listWin, int message, WParam wParam, LParam)
{
    const CCallGuard guard;
    if (static_cast<std::uint32_t>(message) == kWmCommand && HighWord(wParam) == kEnUpdate) {
        SendWindowMessage(listWin, kEmGetFirstVisibleLine, 0, 0);
        SendWindowMessage(listWin, kEmGetLineCount, 0, 0);
    }
    return 0;
}

} // extern "C"
