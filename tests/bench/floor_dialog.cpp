// The floors of the benchmark: the same dialog template and resources, doing what any faithful program must do
// and no more. The dialog gets its icons, the About entry in its system menu and the smaller font of its numbers
// line, and, when it runs above Medium integrity, lets the hand-over and WM_CLOSE through from lower levels. Every
// start looks for a running dialog through all top-level windows by exact caption and class, reads the option set from
// the machine's or else the user's settings key, and checks the host in front (an "Afx:" one by its process's image
// name); a start with arguments splits them with CommandLineToArgvW; a second start passes its foreground right on and
// hands the code over, and the running dialog looks up its system message text, shows it with the code and its numbers
// line, and comes to the foreground. Built with FLOOR_BARE, it does none of that work (FindWindowW finds the dialog):
// the bare floor, whose ratio shows what the work costs.
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>
#include <stdlib.h>
#include <wchar.h>

#include "app/app_state.h"
#include "app/system_module.h"
#include "dialog/integrity_level.h"
#include "resource.h"

#define FLOOR_LOOKUP_CODE (WM_USER + 1)

#ifndef FLOOR_BARE
static void ShowCode(HWND dialog, DWORD code) {
    WCHAR text[1024] = {};
    if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK, NULL,
                       code, 0, text, _countof(text), NULL) == 0) {
        text[0] = 0;
    }
    (void)SetDlgItemTextW(dialog, IDC_MESSAGE, text);
    (void)wsprintfW(text, L"%u", code);
    (void)SetDlgItemTextW(dialog, IDC_CODE, text);
    (void)wsprintfW(text, L"%u    0x%02X", code, code);
    (void)SetDlgItemTextW(dialog, IDC_NUMBERS, text);
    (void)SetForegroundWindow(dialog);
}

static BOOL CALLBACK FindRunningDialog(HWND window, LPARAM lParam) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    (void)GetWindowTextW(window, text, _countof(text));
    if (lstrcmpW(text, DIALOG_CAPTION) != 0) {
        return TRUE;
    }
    (void)RealGetWindowClassW(window, text, _countof(text));
    if (lstrcmpW(text, DIALOG_CLASS) != 0) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

// Whether this process's token is labelled above Medium; not where no level can be read (Windows XP).
static BOOL RunsAboveMedium() {
    DWORD level = 0;
    return ReadOwnIntegrityLevel(&level) == 1 && level > static_cast<DWORD>(SECURITY_MANDATORY_MEDIUM_RID);
}

static void DressDialog(HWND dialog) {
    typedef BOOL(WINAPI * WindowMessageFilterFunction)(HWND, UINT, DWORD, void*);
    WindowMessageFilterFunction allow =
        LookUpFunction<WindowMessageFilterFunction>(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx");
    if (allow != NULL && RunsAboveMedium()) {
        (void)allow(dialog, FLOOR_LOOKUP_CODE, 1, NULL);  // MSGFLT_ALLOW
        (void)allow(dialog, WM_CLOSE, 1, NULL);
    }
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (menu != NULL && InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, IDM_ABOUT, L"&" ABOUT_CAPTION)) {
        (void)InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, NULL);
    }
    const int iconMetrics[2][2] = {{SM_CXSMICON, SM_CYSMICON}, {SM_CXICON, SM_CYICON}};
    for (int size = 0; size < 2; ++size) {
        HANDLE icon = LoadImageW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                 GetSystemMetrics(iconMetrics[size][0]), GetSystemMetrics(iconMetrics[size][1]),
                                 LR_DEFAULTCOLOR | LR_SHARED);
        (void)SendMessageW(dialog, WM_SETICON, size == 0 ? ICON_SMALL : ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    struct {
        NONCLIENTMETRICSW metrics;
        int paddedBorderWidth;
    } record = {};
    record.metrics.cbSize = sizeof(record);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(record), &record, 0)) {
        LOGFONTW font = record.metrics.lfMessageFont;
        font.lfHeight = font.lfHeight * 9 / 10;
        // Lives as long as the process, like the program's own.
        (void)SendDlgItemMessageW(dialog, IDC_NUMBERS, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectW(&font)),
                                  FALSE);
    }
}

static BOOL ReadOptionSet(HKEY root) {
    static const WCHAR* const names[] = {L"Always on top", L"Fade when inactive", L"Alpha", L"Position on parent"};
    HKEY key = NULL;
    if (RegOpenKeyExW(root, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    BOOL complete = TRUE;
    for (const WCHAR* name : names) {
        DWORD value = 0;
        DWORD size = sizeof(value);
        if (RegQueryValueExW(key, name, NULL, NULL, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
            complete = FALSE;
        }
    }
    (void)RegCloseKey(key);
    return complete;
}

// The code given on the command line, or none; shell32 is mapped only while it splits the arguments.
static BOOL CodeFromCommandLine(const WCHAR* commandTail, DWORD* code) {
    if (commandTail[0] == L'\0') {
        return FALSE;
    }
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    if (shell == NULL) {
        return FALSE;
    }
    decltype(&CommandLineToArgvW) split = LOOK_UP_DECLARED(shell, CommandLineToArgvW);
    int count = 0;
    WCHAR** arguments = (split != NULL) ? split(commandTail, &count) : NULL;
    BOOL found = arguments != NULL && count > 0;
    if (found) {
        *code = wcstoul(arguments[count - 1], NULL, 0);
    }
    if (arguments != NULL) {
        (void)LocalFree(arguments);
    }
    (void)FreeLibrary(shell);
    return found;
}
#endif

static INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
        case WM_INITDIALOG:
            (void)SetWindowTextW(dialog, DIALOG_CAPTION);
            // A layered dialog is not drawn before its first alpha is set.
            (void)SetLayeredWindowAttributes(dialog, 0, 255, LWA_ALPHA);
#ifndef FLOOR_BARE
            DressDialog(dialog);
#endif
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                (void)EndDialog(dialog, LOWORD(wParam));
            }
            return TRUE;
        case FLOOR_LOOKUP_CODE:
#ifndef FLOOR_BARE
            ShowCode(dialog, static_cast<DWORD>(wParam));
#endif
            return TRUE;
        default:
            return FALSE;
    }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandTail, int showCommand) {
    (void)previousInstance;
    (void)showCommand;
    DWORD code = 5;
#ifdef FLOOR_BARE
    (void)commandTail;
    HWND running = FindWindowW(DIALOG_CLASS, DIALOG_CAPTION);
#else
    HWND running = NULL;
    (void)EnumWindows(FindRunningDialog, reinterpret_cast<LPARAM>(&running));
    if (!ReadOptionSet(HKEY_LOCAL_MACHINE)) {
        (void)ReadOptionSet(HKEY_CURRENT_USER);
    }
    (void)CodeFromCommandLine(commandTail, &code);
    // The host to place the dialog on is recognised by the foreground window's class.
    HWND foreground = GetForegroundWindow();
    WCHAR hostClass[TEXT_BUFFER_UNITS] = {};
    (void)RealGetWindowClassW(foreground, hostClass, _countof(hostClass));
    // An "Afx:" host counts only in a tcmd process, which the process's image name tells: that query is why any
    // faithful program links psapi.
    if (wcsncmp(hostClass, L"Afx:", 4) == 0) {
        DWORD processId = 0;
        (void)GetWindowThreadProcessId(foreground, &processId);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
        if (process != NULL) {
            (void)GetProcessImageFileNameW(process, hostClass, _countof(hostClass));
            (void)CloseHandle(process);
        }
    }
#endif
    if (running != NULL) {
#ifndef FLOOR_BARE
        DWORD runningProcess = 0;
        (void)GetWindowThreadProcessId(running, &runningProcess);
        (void)AllowSetForegroundWindow(runningProcess);
#endif
        (void)SendMessageW(running, FLOOR_LOOKUP_CODE, code, 1);
        return 0;
    }
    (void)DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LOOKUP), NULL, FloorDialogProc, 0);
    return 0;
}
