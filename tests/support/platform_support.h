// What the tests need to know about the platform under them: Wine or Windows, the version it reports, and how
// a test takes the foreground on either.
#ifndef TESSIVAL_TESTS_PLATFORM_SUPPORT_H
#define TESSIVAL_TESTS_PLATFORM_SUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

// True under Wine, whose ntdll exports wine_get_version. Tests keep their Windows expectations exact and name
// each Wine allowance where they make it.
bool RunningUnderWine();

// A known difference of Wine's, allowed there alone (Wine's own tests say broken()): true when condition holds under
// Wine. Written exact || WineAllows(wineResult), with the reason beside it, so that Windows is held to exact.
bool WineAllows(bool condition);

// The version RtlGetVersion reports, which no compatibility setting of the test program bends (GetVersionExW
// gives 6.2 to a program without a supportedOS entry); false when ntdll lacks the function.
bool RealOsVersion(OSVERSIONINFOEXW* version);

// Makes window the foreground window, as a user's click would, and returns once it is in front and its thread has
// made it the active window. Under Windows' foreground lock it presses ALT, the unlock the documentation names,
// without switching the lock off; where it fails, the failure says which step the system refused.
::testing::AssertionResult MakeForeground(HWND window);

#endif
