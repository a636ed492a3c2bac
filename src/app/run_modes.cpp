// Run modes of one start and the two window enumerations that find and close running dialogs.
#include "app/run_modes.h"

#include <stdlib.h>
#include <strsafe.h>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "app/system_module.h"
#include "app/window_names.h"
#include "dialog/main_dialog.h"
#include "dialog/note_font.h"
#include "errtext/error_text.h"
#include "placement/foreground.h"
#include "placement/parent_detection.h"
#include "resource.h"

static const WCHAR usageText[] =
    L"Display the text for a Windows error code.\n"
    L"\n"
    L"TESSIVAL /A: /C /I /N: /P: /T /W: n\n"
    L"\n"
    L"\t/A:\tset the \x2018"
    L"faded\x2019 transparency level\n"
    L"\t/C\tclose any open Tessival dialogs\n"
    L"\t/I\tenable fading when the dialog is not active\n"
    L"\t/N:\tdisable features:\n"
    L"\t\t    I  fading\n"
    L"\t\t    T  topmost\n"
    L"\t/P:\tposition on parent window (0\x2013"
    L"9)\n"
    L"\t/T\tkeep the dialog on top of other windows\n"
    L"\t/W:\tparent window\x2019s handle\n"
    L"\n"
    L"\tn\tthe Windows error code to look up\n"
    L"\n"
    L"n may be decimal, or hexadecimal with a leading 0x.\n";

BOOL CALLBACK FindRunningDialogProc(HWND window, LPARAM lParam) {
    if (!IsDialogTitled(window, DIALOG_CAPTION)) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

// EnumWindows callback: closes every lookup dialog and every About box titled as lParam (const WCHAR*).
static BOOL CALLBACK CloseDialogsProc(HWND window, LPARAM lParam) {
    const WCHAR* aboutCaption = reinterpret_cast<const WCHAR*>(lParam);
    if (!WindowTextIs(window, DIALOG_CAPTION) && !WindowTextIs(window, aboutCaption)) {
        return TRUE;
    }
    if (!WindowClassIs(window, DIALOG_CLASS, CLASS_EXACT)) {
        return TRUE;
    }
    // The dialog manager turns this into Cancel, so a lookup dialog saves its settings as when closed by hand.
    (void)SendMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// The usage text, with the version line when withVersion is non-zero, into text of capacity units.
static void FormatUsage(BOOL withVersion, WCHAR* text, size_t capacity) {
    (void)StringCchCopyW(text, capacity, usageText);
    if (withVersion) {
        WCHAR versionLine[TEXT_BUFFER_UNITS] = {};
        (void)wsprintfW(versionLine, L"\n\t\t\t\t%s (%s)\n", VERSION_LINE, PLATFORM_TEXT);
        (void)StringCchCatW(text, capacity, versionLine);
    }
}

int ShowUsage(BOOL withVersion) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    FormatUsage(withVersion, text, _countof(text));
    (void)MessageBoxW(GetForegroundWindow(), text, PROGRAM_NAME, MB_OK);
    return 0;
}

static void ClearOsVersion() {
    ZeroMemory(&AppState.osVersion, sizeof(AppState.osVersion));
    AppState.osVersion.dwOSVersionInfoSize = sizeof(AppState.osVersion);
}

BOOL ReadOsVersion() {
    // Declared only in the driver kit's headers.
    typedef LONG(WINAPI * RtlGetVersionFunction)(OSVERSIONINFOEXW*);
    RtlGetVersionFunction rtlGetVersion =
        LookUpFunction<RtlGetVersionFunction>(GetModuleHandleW(L"NtDll.dll"), "RtlGetVersion");
    ClearOsVersion();
    if (rtlGetVersion != NULL) {
        (void)rtlGetVersion(&AppState.osVersion);
        if (AppState.osVersion.dwMajorVersion >= 6) {
            return 1;
        }
    }
    ClearOsVersion();
    // Declared deprecated since the Windows 8.1 SDK, yet it works on every Windows; it answers here only where
    // RtlGetVersion is missing or reports a Windows before Vista. Disabled for the statement rather than suppressed
    // for the next line, which a preprocessor line between would take.
#ifdef _MSC_VER
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
    BOOL filled = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&AppState.osVersion));
#ifdef _MSC_VER
#pragma warning(pop)
#endif
    return filled ? 1 : 0;
}

// A window named with /W: must be visible, on a monitor, not a pseudo console and not the desktop.
static void ValidateParentWindow() {
    HWND parent = AppState.parentWindow;
    if (parent == NULL) {
        return;
    }
    if (!IsWindowVisible(parent) || MonitorFromWindow(parent, MONITOR_DEFAULTTONULL) == NULL ||
        IsPseudoConsoleWindow(parent) || parent == GetDesktopWindow()) {
        AppState.parentWindow = NULL;
    }
}

static void CloseRunningDialogs() {
    (void)EnumWindows(CloseDialogsProc, reinterpret_cast<LPARAM>(ABOUT_CAPTION));
}

void RunRequestedMode(HWND runningDialog, const RunRequest* request) {
    ValidateParentWindow();
    if (AppState.parentWindow == NULL && !AppState.pinned) {
        AppState.parentWindow = DetectParentWindow();
    }
    if (runningDialog != NULL && IsWindow(runningDialog)) {
        HandOverRequest(runningDialog, request);
        // Each message makes the dialog come forward by itself; with nothing to send, this side does it.
        if (!AppState.haveCommandCode && request->optionMask == 0) {
            (void)ForceForeground(runningDialog);
        }
        if (request->closeRequested) {
            CloseRunningDialogs();
        }
        return;
    }
    if (request->closeRequested) {
        CloseRunningDialogs();
        return;
    }
    AppState.noteFont = CreateNoteFont();
    (void)DialogBoxParamW(AppState.instance, MAKEINTRESOURCEW(IDD_LOOKUP), NULL, MainDlgProc, 0);
}

void ReleaseProcessHandles() {
    FreeMessageModules();
    if (AppState.smallIcon != NULL) {
        (void)DestroyIcon(AppState.smallIcon);
    }
    if (AppState.largeIcon != NULL) {
        (void)DestroyIcon(AppState.largeIcon);
    }
    if (AppState.noteFont != NULL) {
        (void)DeleteObject(AppState.noteFont);
    }
}
