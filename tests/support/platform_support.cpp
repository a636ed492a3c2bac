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

// Presses or releases ALT and waits, for a second at most, until the system has taken the key, as GetAsyncKeyState
// shows, so that the press and the release fall on either side of what the caller does between; false when the
// system refused the input.
bool PressAlt(bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_MENU;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    if (SendInput(1, &input, sizeof(input)) != 1) {
        return false;
    }
    for (int waited = 0; waited < 1000 && ((GetAsyncKeyState(VK_MENU) & 0x8000) != 0) != down; waited += 10) {
        Sleep(10);
    }
    return true;
}

// SetForegroundWindow with the unlock that LockSetForegroundWindow's documentation names: "The system automatically
// enables calls to SetForegroundWindow if the user presses the ALT key". Keyboard input goes to the thread in front,
// so the press is credited to whatever was in front, and the release, taken only after the change, to the window
// asked for: the program under test ends up credited with no input of the test's, unless it was asked for. The release
// reaches a thread that never saw the press, so it opens no menu there.
bool SetForegroundWithAlt(HWND window) {
    if (!PressAlt(true)) {
        return false;
    }
    BOOL set = SetForegroundWindow(window);
    bool released = PressAlt(false);
    return set && released;
}

}  // namespace

::testing::AssertionResult MakeForeground(HWND window) {
    bool refused = false;
    for (int attempt = 0; attempt < 50; attempt++) {
        if (GetForegroundWindow() != window && !SetForegroundWindow(window)) {
            // Windows' foreground lock refuses a process that neither owns the foreground nor had the last input
            // (once the program under test or a helper has come forward, say). Wine has no such lock, so it never
            // comes here.
            refused = true;
            (void)SetForegroundWithAlt(window);
        }
        // The foreground changes at once, but the window's thread does the activation (WM_ACTIVATE, the focus)
        // only when it next takes its messages, as does a process still showing a new window: until then the
        // window is in front in name only. A message sent to that thread returns once it has taken them.
        DWORD_PTR ignored = 0;
        (void)SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof(thread);
        bool activated = GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &thread) &&
                         GetAncestor(thread.hwndActive, GA_ROOT) == window;
        if (GetForegroundWindow() == window && activated) {
            return ::testing::AssertionSuccess();
        }
        Sleep(20);
    }
    return ::testing::AssertionFailure()
           << "the test could not bring window " << window << " (class " << ClassName(window)
           << ") to the foreground; in front is " << GetForegroundWindow() << " (class "
           << ClassName(GetForegroundWindow()) << "): "
           << (refused ? "Windows' foreground lock refused SetForegroundWindow, even after the test pressed ALT "
                         "(or the system took no input: no interactive desktop?)"
                       : "SetForegroundWindow succeeded, but the window did not stay in front and active");
}

bool ForegroundLockHolds() {
    // AllowSetForegroundWindow fails exactly when the caller cannot set the foreground window; naming this process
    // itself hands the right to no one else.
    return !AllowSetForegroundWindow(GetCurrentProcessId());
}
