// The window-owning helper program (window_owner.cpp, built beside the test programs as TCMDowner.exe and
// editor.exe): another process with a top-level window of a class the test names.
#ifndef TESSIVAL_TESTS_OWNER_PROCESS_H
#define TESSIVAL_TESTS_OWNER_PROCESS_H

#include <windows.h>

// A running helper and its top-level window; Stop() is safe to call more than once.
struct OwnerProcess {
    PROCESS_INFORMATION info = {};
    HWND window = NULL;

    // Starts imageName (beside this test program) with the window class and an optional child class, and waits
    // until its top-level window exists. Returns false when the helper did not come up.
    bool Start(const wchar_t* imageName, const wchar_t* className, const wchar_t* childClass = nullptr);

    // Closes the helper's window, and ends the helper if that does not end it.
    void Stop();
};

#endif
