// Wine detection, the reported version and the tests' own way to the foreground.
#include "platform_support.h"

#include "app/system_module.h"
#include "window_search.h"

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != NULL && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

bool WineAllows(bool condition) {
    return condition && RunningUnderWine();
}

bool RealOsVersion(OSVERSIONINFOEXW* version) {
    typedef LONG(WINAPI * RtlGetVersionFunction)(OSVERSIONINFOEXW*);
    RtlGetVersionFunction rtlGetVersion =
        LookUpFunction<RtlGetVersionFunction>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
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

}  // namespace

::testing::AssertionResult MakeForeground(HWND window) {
    bool refused = false;
    for (int attempt = 0; attempt < 50; attempt++) {
        if (GetForegroundWindow() != window && !SetForegroundWindow(window)) {
            // Windows' foreground lock refuses a process that neither owns the foreground nor had the last input
            // (once the program under test or a helper has come forward, say). A process whose input was the last
            // may take the foreground, so input of the test's own lifts the lock for the test alone: the program it
            // judges still meets the lock as a user's program does. Wine has no such lock, so it never comes here.
            refused = true;
            if (ProvideInput()) {
                (void)SetForegroundWindow(window);
            }
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
    return ::testing::AssertionFailure()
           << "the test could not bring window " << window << " (class " << ClassName(window)
           << ") to the foreground; in front is " << GetForegroundWindow() << " (class "
           << ClassName(GetForegroundWindow()) << "): "
           << (refused ? "Windows' foreground lock refused SetForegroundWindow, even after input from the test "
                         "(or the system took no input: no interactive desktop?)"
                       : "SetForegroundWindow succeeded, but the window did not stay in front");
}
