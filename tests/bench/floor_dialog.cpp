// The floors of the benchmark: the same dialog template and resources, doing what any faithful program must do
// and no more. A start with arguments splits them with CommandLineToArgvW; a second start hands the code over,
// and the running dialog looks up its system message text, shows it with the code and its numbers line, and
// comes to the foreground. Built with FLOOR_BARE, it does none of that work: the bare floor, whose ratio shows
// what the work itself costs.
#include <windows.h>

#include <stdlib.h>

#include "resource.h"
#include "version.h"

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

// The code given on the command line, or none; shell32 is mapped only while it splits the arguments.
static BOOL CodeFromCommandLine(const WCHAR* commandTail, DWORD* code) {
    if (commandTail[0] == L'\0') {
        return FALSE;
    }
    typedef LPWSTR*(WINAPI * SplitFunction)(LPCWSTR, int*);
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    if (shell == NULL) {
        return FALSE;
    }
    SplitFunction split =
        reinterpret_cast<SplitFunction>(reinterpret_cast<void*>(GetProcAddress(shell, "CommandLineToArgvW")));
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
#else
    (void)CodeFromCommandLine(commandTail, &code);
#endif
    HWND running = FindWindowW(L"#32770", DIALOG_CAPTION);
    if (running != NULL) {
        (void)SendMessageW(running, FLOOR_LOOKUP_CODE, code, 1);
        return 0;
    }
    (void)DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LOOKUP), NULL, FloorDialogProc, 0);
    return 0;
}
