// The floor of the benchmark: the same dialog template and resources, and nothing else. A second start
// hands a code over the same way, without lookup, placement or bringing the dialog forward.
#include <windows.h>

#define FLOOR_CAPTION L"Windows Error Lookup \x2001"
#define FLOOR_LOOKUP_CODE (WM_USER + 1)

static INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
        case WM_INITDIALOG:
            (void)SetWindowTextW(dialog, FLOOR_CAPTION);
            // A layered dialog is not drawn before its first alpha is set.
            (void)SetLayeredWindowAttributes(dialog, 0, 255, LWA_ALPHA);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                (void)EndDialog(dialog, LOWORD(wParam));
            }
            return TRUE;
        case FLOOR_LOOKUP_CODE:
            return TRUE;
        default:
            return FALSE;
    }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandTail, int showCommand) {
    (void)previousInstance;
    (void)commandTail;
    (void)showCommand;
    HWND running = FindWindowW(L"#32770", FLOOR_CAPTION);
    if (running != NULL) {
        (void)SendMessageW(running, FLOOR_LOOKUP_CODE, 5, 1);
        return 0;
    }
    (void)DialogBoxParamW(instance, MAKEINTRESOURCEW(101), NULL, FloorDialogProc, 0);
    return 0;
}
