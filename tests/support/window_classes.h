// Window classes that the tests register in their own process, for windows of a class a test needs (a
// terminal's, a logging control's).
#ifndef TESSIVAL_TESTS_WINDOW_CLASSES_H
#define TESSIVAL_TESTS_WINDOW_CLASSES_H

#include <windows.h>

// Registers a class of this program named name with the given window procedure; 0 when the system refused,
// as it does for a name registered here before (in any case, since class names are case-insensitive within
// one process).
ATOM RegisterTestClass(const wchar_t* name, WNDPROC procedure = DefWindowProcW);

#endif
