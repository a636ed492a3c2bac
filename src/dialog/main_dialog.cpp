// The lookup dialog: looks up typed codes, keeps topmost, fading and pinning in step with the program
// state, answers the requests of later starts, and saves or wipes the settings when it closes.
#include "dialog/main_dialog.h"

#include <stdlib.h>
#include <wctype.h>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "app/number_syntax.h"
#include "app/system_module.h"
#include "dialog/about.h"
#include "dialog/integrity_level.h"
#include "errtext/error_text.h"
#include "placement/foreground.h"
#include "placement/placement.h"
#include "resource.h"
#include "settings/settings.h"

#define OPAQUE_ALPHA 255
// U+1F4CC PUSHPIN
#define PIN_GLYPH L"\xD83D\xDCCC"
#define FIRST_VERSION_WITH_PIN_GLYPH 10

// Not declared for an XP target, and missing from XP's user32: looked up by name, with the signature of Vista (for
// the whole process); Windows 7's for one window is in the header.
typedef BOOL(WINAPI* ProcessMessageFilterFunction)(UINT message, DWORD flag);
#define MESSAGE_FILTER_ALLOW 1  // MSGFLT_ALLOW of Windows 7's, MSGFLT_ADD of Vista's

WindowMessageFilterProc DialogMessageFilter = NULL;

// Windows drops the messages above WM_USER, and WM_CLOSE, that a process of a lower integrity level sends, so a
// dialog started as administrator would ignore every later start from a normal prompt, and /C from there. Letting
// these through is safe: the three private messages carry plain integers, which the handlers mask or range-check,
// and WM_CLOSE does no more than /C does. No pointer or text crosses, and nothing else is let through. Only a dialog
// above Medium needs it: an ordinary one keeps Windows' default, so that a Low process cannot drive it.
static const UINT messagesFromLowerIntegrity[] = {WM_LOOKUP_CODE, WM_SET_OPTIONS, WM_SET_POSITION, WM_CLOSE};

// Returns 1 when every one was let through, or none needed to be.
static BOOL AllowHandOversFromLowerIntegrity(HWND dialog) {
    DWORD level = 0;
    // Nothing to open where no level can be read: Windows XP has none.
    if (DialogIntegrityLevel(&level) != 1 || level <= static_cast<DWORD>(SECURITY_MANDATORY_MEDIUM_RID)) {
        return 1;
    }
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == NULL) {
        return 0;
    }
    WindowMessageFilterProc allowForWindow =
        DialogMessageFilter != NULL ? DialogMessageFilter
                                    : LookUpFunction<WindowMessageFilterProc>(user32, "ChangeWindowMessageFilterEx");
    ProcessMessageFilterFunction allowForProcess =
        LookUpFunction<ProcessMessageFilterFunction>(user32, "ChangeWindowMessageFilter");
    BOOL allowed = 1;
    for (size_t i = 0; i < _countof(messagesFromLowerIntegrity); i++) {
        UINT message = messagesFromLowerIntegrity[i];
        BOOL done = 0;
        if (allowForWindow != NULL) {
            done = allowForWindow(dialog, message, MESSAGE_FILTER_ALLOW, NULL);
        } else if (allowForProcess != NULL) {
            // Vista: for the whole process, and so for the About box too.
            done = allowForProcess(message, MESSAGE_FILTER_ALLOW);
        }
        if (!done) {
            allowed = 0;
        }
    }
    return allowed;
}

static void MoveToTopmostBand(HWND dialog) {
    (void)SetWindowPos(dialog, AppState.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE);
}

// Sets the Always-on-Top box from AppState.alwaysOnTop and moves the dialog into or out of the topmost band.
static void ApplyTopmost(HWND dialog) {
    (void)SendDlgItemMessageW(dialog, IDC_TOPMOST, BM_SETCHECK, AppState.alwaysOnTop ? BST_CHECKED : BST_UNCHECKED, 0);
    MoveToTopmostBand(dialog);
}

// TRUE when the window's text is empty or white space only.
static BOOL IsWindowTextBlank(HWND window) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    (void)GetWindowTextW(window, text, _countof(text));
    for (const WCHAR* ch = text; *ch != L'\0'; ++ch) {
        if (!iswspace(*ch)) {
            return FALSE;
        }
    }
    return TRUE;
}

static void SetAlpha(HWND dialog, DWORD alpha) {
    (void)SetLayeredWindowAttributes(dialog, 0, static_cast<BYTE>(alpha & FADE_ALPHA_MASK), LWA_ALPHA);
}

static void SetCheck(HWND dialog, int control, BOOL checked) {
    (void)SendDlgItemMessageW(dialog, control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

static void ShowCodeInAllFields(HWND dialog, DWORD code) {
    (void)ShowErrorCode(code, GetDlgItem(dialog, IDC_MESSAGE), GetDlgItem(dialog, IDC_CODE),
                        GetDlgItem(dialog, IDC_NUMBERS));
}

static HICON LoadAppIcon(int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(AppState.instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR));
}

static void OnInitDialog(HWND dialog) {
    (void)AddAboutMenuItem(dialog);
    // Before the caption: a second start that finds the dialog must also be able to reach it.
    (void)AllowHandOversFromLowerIntegrity(dialog);
    // A second start recognises the running dialog by this caption, which the template's title lacks.
    (void)SetWindowTextW(dialog, DIALOG_CAPTION);
    SetAlpha(dialog, OPAQUE_ALPHA);
    if (AppState.pinned) {
        (void)SetWindowPos(dialog, NULL, AppState.pinX, AppState.pinY, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    } else if (AppState.parentWindow != NULL) {
        (void)PlaceOnParent(dialog);
    }
    AppState.smallIcon = LoadAppIcon(SM_CXSMICON, SM_CYSMICON);
    AppState.largeIcon = LoadAppIcon(SM_CXICON, SM_CYICON);
    if (AppState.smallIcon != NULL) {
        (void)SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppState.smallIcon));
    }
    if (AppState.largeIcon != NULL) {
        (void)SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppState.largeIcon));
    }
    if (AppState.noteFont != NULL) {
        (void)SendDlgItemMessageW(dialog, IDC_NUMBERS, WM_SETFONT, reinterpret_cast<WPARAM>(AppState.noteFont), FALSE);
    }
    ApplyTopmost(dialog);
    SetCheck(dialog, IDC_FADE, AppState.fadeWhenInactive);
    SetCheck(dialog, IDC_PIN, AppState.pinned);
    if (AppState.osVersion.dwMajorVersion >= FIRST_VERSION_WITH_PIN_GLYPH) {
        (void)SetDlgItemTextW(dialog, IDC_PIN, PIN_GLYPH);
    }
    if (AppState.haveCommandCode) {
        ShowCodeInAllFields(dialog, AppState.commandCode);
    } else {
        (void)EnableWindow(GetDlgItem(dialog, IDC_FIND), FALSE);
    }
}

static void OnActivate(HWND dialog, WPARAM wParam) {
    if (!AppState.fadeWhenInactive) {
        return;
    }
    SetAlpha(dialog, LOWORD(wParam) == WA_INACTIVE ? AppState.fadeAlpha : OPAQUE_ALPHA);
}

static void OnFind(HWND dialog) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    DWORD code = 0;
    (void)SetDlgItemTextW(dialog, IDC_MESSAGE, L"");
    (void)SetDlgItemTextW(dialog, IDC_NUMBERS, L"");
    (void)GetWindowTextW(GetDlgItem(dialog, IDC_CODE), text, _countof(text));
    if (text[0] == L'\0') {
        return;
    }
    (void)TrimBlanks(text);
    if (ParseNumber(text, NULL, &code) != 0) {
        // Clearing the field also disables Find through the change notification.
        (void)SetDlgItemTextW(dialog, IDC_CODE, L"");
        return;
    }
    // The code field keeps the text as typed.
    (void)ShowErrorCode(code, GetDlgItem(dialog, IDC_MESSAGE), NULL, GetDlgItem(dialog, IDC_NUMBERS));
}

static void OnClosing(HWND dialog, int command) {
    BOOL wipe = (GetAsyncKeyState(VK_CONTROL) & 0x8000) && (GetAsyncKeyState(VK_SHIFT) & 0x8000);
    if (wipe) {
        (void)DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    } else {
        (void)SaveSettings(dialog, IsDlgButtonChecked(dialog, IDC_PIN));
    }
    CloseAboutBoxes(dialog);
    (void)EndDialog(dialog, command);
}

static INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    WORD control = LOWORD(wParam);
    WORD notification = HIWORD(wParam);
    switch (control) {
        case IDOK:
        case IDCANCEL:
            OnClosing(dialog, control);
            return TRUE;
        case IDC_CODE:
            if (notification == EN_CHANGE) {
                (void)EnableWindow(GetDlgItem(dialog, IDC_FIND), !IsWindowTextBlank(GetDlgItem(dialog, IDC_CODE)));
            }
            return FALSE;
        case IDC_TOPMOST:
            if (notification == BN_CLICKED) {
                AppState.alwaysOnTop = IsDlgButtonChecked(dialog, IDC_TOPMOST) ? TRUE : FALSE;
                MoveToTopmostBand(dialog);
            }
            return TRUE;
        case IDC_FADE:
            if (notification == BN_CLICKED) {
                AppState.fadeWhenInactive = IsDlgButtonChecked(dialog, IDC_FADE) ? TRUE : FALSE;
                SetAlpha(dialog, OPAQUE_ALPHA);
            }
            return TRUE;
        case IDC_FIND:
            OnFind(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

static INT_PTR OnColorStatic(HWND dialog, HDC context, HWND control) {
    if (control != GetDlgItem(dialog, IDC_NUMBERS)) {
        return FALSE;
    }
    (void)SetBkMode(context, TRANSPARENT);
    (void)SetTextColor(context, GetSysColor(COLOR_GRAYTEXT));
    // A system brush: never deleted.
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

static void OnSetOptions(HWND dialog, WPARAM values, LPARAM mask) {
    (void)ForceForeground(dialog);
    if (mask & OPT_TOPMOST) {
        AppState.alwaysOnTop = (values & OPT_TOPMOST) ? TRUE : FALSE;
        ApplyTopmost(dialog);
    }
    if (mask & OPT_FADE) {
        AppState.fadeWhenInactive = (values & OPT_FADE) ? TRUE : FALSE;
        SetCheck(dialog, IDC_FADE, AppState.fadeWhenInactive);
        SetAlpha(dialog, OPAQUE_ALPHA);
    }
    if (mask & OPT_ALPHA) {
        // The sender's option pass has kept the value in range.
        AppState.fadeAlpha = static_cast<DWORD>(values & FADE_ALPHA_MASK);
    }
}

static void OnSetPosition(HWND dialog, WPARAM position) {
    if (AppState.parentWindow != NULL && IsKeypadPosition(position)) {
        // Only the box is cleared: it decides what is saved on closing.
        SetCheck(dialog, IDC_PIN, FALSE);
        AppState.position = LOWORD(position);
        (void)PlaceOnParent(dialog);
    }
    (void)ForceForeground(dialog);
}

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog);
            return TRUE;  // the dialog manager focuses the code field
        case WM_ACTIVATE:
            OnActivate(dialog, wParam);
            // Handled here, so the dialog manager saves no focused control on deactivation: on a return, the
            // activation focuses the dialog, whose WM_SETFOCUS then picks the code field, ready for the next code.
            return TRUE;
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_SYSCOMMAND:
            if (wParam == IDM_ABOUT) {
                ShowAbout(dialog);
            }
            return FALSE;  // Move, Close and the rest keep their default handling
        case WM_CTLCOLORSTATIC:
            return OnColorStatic(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_LOOKUP_CODE:
            ShowCodeInAllFields(dialog, static_cast<DWORD>(wParam));
            (void)ForceForeground(dialog);
            return TRUE;
        case WM_SET_OPTIONS:
            OnSetOptions(dialog, wParam, lParam);
            return TRUE;
        case WM_SET_POSITION:
            OnSetPosition(dialog, wParam);
            return TRUE;
        default:
            return FALSE;
    }
}
