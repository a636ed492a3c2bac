// Titles and class names read into cleared buffers and compared, for every part that recognises windows.
#include "app/window_names.h"

#include <stdlib.h>
#include <wchar.h>

#include "app/app_state.h"

BOOL WindowTextIs(HWND window, const WCHAR* title) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    (void)GetWindowTextW(window, text, _countof(text));
    return wcscmp(text, title) == 0;
}

BOOL WindowClassIs(HWND window, const WCHAR* name, ClassMatch match) {
    WCHAR className[TEXT_BUFFER_UNITS] = {};
    if (RealGetWindowClassW(window, className, _countof(className)) == 0) {
        return 0;
    }
    switch (match) {
        case CLASS_ANY_CASE:
            return _wcsicmp(className, name) == 0;
        case CLASS_PREFIX:
            return wcsncmp(className, name, wcslen(name)) == 0;
        default:
            return wcscmp(className, name) == 0;
    }
}

BOOL IsDialogTitled(HWND window, const WCHAR* title) {
    return WindowTextIs(window, title) && WindowClassIs(window, DIALOG_CLASS, CLASS_EXACT);
}
