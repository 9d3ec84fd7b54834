#pragma once

#include "viewer/WindowMessages.h"

// The six functions a lister host calls, exported under these names with C
// linkage. The 32-bit Windows plug-in uses the standard-call convention.
#if defined(_WIN32) && !defined(_WIN64)
#define GRIDLOOK_CALL __stdcall
#else
#define GRIDLOOK_CALL
#endif

#if defined(_WIN32)
#define GRIDLOOK_EXPORT
#else
#define GRIDLOOK_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
GRIDLOOK_EXPORT WindowHandle GRIDLOOK_CALL ListLoad(WindowHandle parentWin, char* fileToLoad, int showFlags);
GRIDLOOK_EXPORT void GRIDLOOK_CALL ListCloseWindow(WindowHandle listWin);
GRIDLOOK_EXPORT void GRIDLOOK_CALL ListGetDetectString(char* detectString, int maxLength);
GRIDLOOK_EXPORT int GRIDLOOK_CALL ListSendCommand(WindowHandle listWin, int command, int parameter);
GRIDLOOK_EXPORT int GRIDLOOK_CALL ListPrint(WindowHandle listWin, char* fileToPrint, char* defPrinter,
                                            int printFlags, void* margins);
GRIDLOOK_EXPORT int GRIDLOOK_CALL ListNotificationReceived(WindowHandle listWin, int message, WParam wParam,
                                                           LParam lParam);
}
