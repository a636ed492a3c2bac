// Wine detection, the reported version and the tests' own way to the foreground.
#include "platform_support.h"

#include <string>

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != NULL && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

bool WineAllows(bool condition) {
    return condition && RunningUnderWine();
}

bool RealOsVersion(OSVERSIONINFOEXW* version) {
    typedef LONG(WINAPI * RtlGetVersionFunction)(OSVERSIONINFOEXW*);
    RtlGetVersionFunction rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (rtlGetVersion == nullptr) {
        return false;
    }
    *version = OSVERSIONINFOEXW();
    version->dwOSVersionInfoSize = sizeof(*version);
    (void)rtlGetVersion(version);
    return true;
}

namespace {

// Input of this process's own that moves nothing and presses nothing: a mouse move by no distance.
bool ProvideInput() {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    return SendInput(1, &input, sizeof(input)) == 1;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    (void)RealGetWindowClassA(window, name, sizeof(name));
    return name;
}

}  // namespace

::testing::AssertionResult MakeForeground(HWND window) {
    bool refused = false;
    bool inputTaken = true;
    for (int attempt = 0; attempt < 50; attempt++) {
        if (GetForegroundWindow() != window && !SetForegroundWindow(window)) {
            // Windows' foreground lock refuses a process that neither owns the foreground nor had the last input
            // (once the program under test or a helper has come forward, say). A process whose input was the last
            // may take the foreground, so input of the test's own lifts the lock for the test alone: the program it
            // judges still meets the lock as a user's program does. Wine has no such lock, so it never comes here.
            refused = true;
            inputTaken = ProvideInput() && inputTaken;
            (void)SetForegroundWindow(window);
        }
        // The foreground changes at once, but the window's thread does the activation (WM_ACTIVATE, the focus)
        // only when it next takes its messages, as does a process still showing a new window: until then the
        // window is in front in name only. A message sent to that thread returns once it has taken them.
        DWORD_PTR ignored = 0;
        (void)SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        if (GetForegroundWindow() == window) {
            return ::testing::AssertionSuccess();
        }
        Sleep(20);
    }
    HWND front = GetForegroundWindow();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "the test could not bring window " << window << " (class " << ClassOf(window)
            << ") to the foreground; in front is " << front << " (class " << ClassOf(front) << "): ";
    if (!refused) {
        return failure << "SetForegroundWindow succeeded, but the window did not stay in front";
    }
    if (!inputTaken) {
        return failure << "Windows' foreground lock refused SetForegroundWindow, and the system took no input from "
                          "the test to lift it (no interactive desktop?)";
    }
    return failure << "Windows' foreground lock refused SetForegroundWindow, even after input from the test";
}
