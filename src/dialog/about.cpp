// The About entry of the lookup dialog's system menu and the About box it opens.
#include "dialog/about.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "app/system_module.h"
#include "app/window_names.h"
#include "resource.h"

#define ABOUT_WEB_TEXT L"http://www.ondrake.example/plugins/tessival.html"

BOOL AddAboutMenuItem(HWND dialog) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (menu == NULL) {
        return 0;
    }
    (void)wsprintfW(text, L"&%s", ABOUT_CAPTION);
    if (!InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, IDM_ABOUT, text)) {
        return 0;
    }
    (void)InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, NULL);
    return 1;
}

void ShowAbout(HWND dialog) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    // The shell splits the text at "#": the title before it, the first line of the box after it.
    (void)wsprintfW(text, L"%s#%s  (%s)\n", ABOUT_CAPTION, VERSION_LINE, PLATFORM_TEXT);
    // shell32 is mapped only for the About box, which few runs open.
    HMODULE shell = LoadSystemModule(L"shell32.dll", 0);
    if (shell == NULL) {
        return;
    }
    decltype(&ShellAboutW) shellAbout = LOOK_UP_DECLARED(shell, ShellAboutW);
    if (shellAbout != NULL) {
        (void)shellAbout(dialog, text, ABOUT_WEB_TEXT, NULL);
    }
    (void)FreeLibrary(shell);
}

static BOOL CALLBACK CloseOwnAboutBoxProc(HWND window, LPARAM lParam) {
    HWND dialog = reinterpret_cast<HWND>(lParam);
    if (GetWindow(window, GW_OWNER) == dialog && IsDialogTitled(window, ABOUT_CAPTION)) {
        (void)SendMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

void CloseAboutBoxes(HWND dialog) {
    // A /C from a lower integrity level reaches the dialog but not the About box it owns; from here, in the same
    // thread, the box closes too.
    (void)EnumThreadWindows(GetCurrentThreadId(), CloseOwnAboutBoxProc, reinterpret_cast<LPARAM>(dialog));
}
