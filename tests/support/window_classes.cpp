// Registering the tests' own window classes.
#include "window_classes.h"

ATOM RegisterTestClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass);
}
