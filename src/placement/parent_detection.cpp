// Recognising the host window in the foreground by its class name, and the few tests that decide between
// host windows that share a class with other programs.
#include <windows.h>
#include <psapi.h>
#include <stdlib.h>
#include <wchar.h>

#include "app/app_state.h"
#include "app/number_syntax.h"
#include "app/window_names.h"
#include "placement/parent_detection.h"

// XP-targeted headers may lack it; Vista and later grant it where PROCESS_QUERY_INFORMATION is refused.
#ifndef PROCESS_QUERY_LIMITED_INFORMATION
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#endif

// The longest path the NT object namespace allows; the image name comes in that form.
#define IMAGE_PATH_UNITS 32768

static const WCHAR frameViewPrefix[] = L"AfxFrameOrView";
static const WCHAR afxPrefix[] = L"Afx:";
static const WCHAR tcmdPrefix[] = L"tcmd";

// Length of a literal array without its terminator, for the prefix comparisons.
#define PREFIX_UNITS(literal) (_countof(literal) - 1)

OpenProcessProc TcmdOpenProcess = OpenProcess;

BOOL CALLBACK FindFrameViewProc(HWND window, LPARAM foundView) {
    if (!IsWindowVisible(window) || !WindowClassIs(window, frameViewPrefix, CLASS_PREFIX)) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(foundView) = window;
    return FALSE;
}

int IsTcmdImagePath(const WCHAR* path) {
    const WCHAR* name;
    const WCHAR* scan;

    if (path == NULL || path[0] == 0) {
        return 0;
    }
    name = path;
    for (scan = path; *scan != 0; scan++) {
        if (*scan == L'\\' || *scan == L'/' || *scan == L':') {
            name = scan + 1;
        }
    }
    return _wcsnicmp(name, tcmdPrefix, PREFIX_UNITS(tcmdPrefix)) == 0 ? 1 : 0;
}

int IsTcmdProcess(HWND window) {
    WCHAR imagePath[IMAGE_PATH_UNITS] = {};
    DWORD processId = 0;
    DWORD access;
    HANDLE process;
    int result;

    if (window == NULL) {
        return 0;
    }
    (void)GetWindowThreadProcessId(window, &processId);
    if (processId == 0) {
        return 0;
    }
    // XP knows only the full query right.
    access = AppState.osVersion.dwMajorVersion < 6 ? PROCESS_QUERY_INFORMATION : PROCESS_QUERY_LIMITED_INFORMATION;
    process = TcmdOpenProcess(access, FALSE, processId);
    if (process == NULL) {
        return 0;
    }
    // On failure the buffer stays empty, which counts as no match.
    (void)GetProcessImageFileNameW(process, imagePath, _countof(imagePath));
    result = IsTcmdImagePath(imagePath);
    (void)CloseHandle(process);
    return result;
}

int IsConEmuWindow(HWND window) {
    WCHAR value[TEXT_BUFFER_UNITS] = {};
    DWORD handleValue = 0;

    if (window == NULL) {
        return 0;
    }
    (void)GetEnvironmentVariableW(L"ConEmuHWND", value, _countof(value));
    if (value[0] == 0) {
        return 0;
    }
    // Without an end pointer any trailing text, even a blank, makes the parse fail.
    if (ParseNumber(value, NULL, &handleValue) != 0) {
        return 0;
    }
    // Window handles are 32 bits wide in every process, 64-bit ones included.
    return handleValue == static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)) ? 1 : 0;
}

int IsPseudoConsoleWindow(HWND window) {
    if (window == NULL) {
        return 0;
    }
    return WindowClassIs(window, L"PseudoConsoleWindow", CLASS_ANY_CASE) ? 1 : 0;
}

HWND DetectParentWindow() {
    WCHAR className[TEXT_BUFFER_UNITS] = {};
    HWND foundView = NULL;
    HWND foreground;
    LONG kind;

    AppState.parentKind = PARENT_NONE;
    foreground = GetForegroundWindow();
    if (foreground == NULL) {
        return NULL;
    }
    // Read once here rather than through WindowClassIs: it is compared with every host's class in turn.
    if (RealGetWindowClassW(foreground, className, _countof(className)) == 0) {
        return NULL;
    }

    // The order matters: "Afx:" classes belong to many programs, so only a tcmd process's counts.
    if (wcscmp(className, L"XTPMainFrame") == 0) {
        kind = PARENT_FRAME_VIEW;
    } else if (wcsncmp(className, afxPrefix, PREFIX_UNITS(afxPrefix)) == 0 && IsTcmdProcess(foreground) == 1) {
        kind = PARENT_FRAME_VIEW;
    } else if (wcscmp(className, L"ConsoleWindowClass") == 0) {
        kind = PARENT_CONSOLE;
    } else if (wcscmp(className, L"CASCADIA_HOSTING_WINDOW_CLASS") == 0) {
        kind = PARENT_TERMINAL_HOST;
    } else if (wcscmp(className, L"Console_2_Main") == 0) {
        kind = PARENT_CONSOLE_MAIN;
    } else if (wcscmp(className, L"VirtualConsoleClass") == 0) {
        // Another ConEmu instance's window is not the one we were started from.
        if (IsConEmuWindow(foreground) != 1) {
            return NULL;
        }
        kind = PARENT_VIRTUAL_CONSOLE;
    } else if (wcscmp(className, L"TCMD32:PARENT") == 0) {
        kind = PARENT_COMMAND_FRAME;
    } else {
        return NULL;
    }

    if (kind == PARENT_FRAME_VIEW) {
        // The view pane, not the whole frame with its panels, is where the dialog belongs.
        (void)EnumChildWindows(foreground, FindFrameViewProc, reinterpret_cast<LPARAM>(&foundView));
    }
    AppState.parentKind = kind;
    return foundView != NULL ? foundView : foreground;
}
