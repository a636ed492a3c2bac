// Recognising the console or terminal window in the foreground as the dialog's parent.
#ifndef TESSIVAL_PARENT_DETECTION_H
#define TESSIVAL_PARENT_DETECTION_H

#include <windows.h>

// Returns the window to place the dialog on, or null; sets AppState.parentKind.
HWND DetectParentWindow();

// EnumChildWindows callback: stores the first visible "AfxFrameOrView..." window through lParam (HWND*).
BOOL CALLBACK FindFrameViewProc(HWND window, LPARAM foundView);

// 1 when the image name of the process owning window begins with "tcmd" (any case).
int IsTcmdProcess(HWND window);

// The process opening IsTcmdProcess makes; OpenProcess unless tests replace it to see the access right asked for,
// which Wine grants either way.
typedef HANDLE(WINAPI* OpenProcessProc)(DWORD access, BOOL inheritHandle, DWORD processId);
extern OpenProcessProc TcmdOpenProcess;

// 1 when the last component of an image path (after the last "\", "/" or ":") begins with "tcmd" in any
// case; 0 for a null or empty path.
int IsTcmdImagePath(const WCHAR* path);

// 1 when the environment variable ConEmuHWND holds a number equal to window's handle.
int IsConEmuWindow(HWND window);

// 1 when window's class is "PseudoConsoleWindow" in any case.
int IsPseudoConsoleWindow(HWND window);

#endif
