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

bool SendKey(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return SendInput(1, &input, sizeof(input)) == 1;
}

// Waits, for a second at most, until the system has taken ALT's press or release, as GetAsyncKeyState shows.
bool AltTaken(bool down) {
    for (int waited = 0; waited < 1000; waited += 10) {
        if (((GetAsyncKeyState(VK_MENU) & 0x8000) != 0) == down) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

// SetForegroundWindow with the unlock that LockSetForegroundWindow's documentation names: "The system automatically
// enables calls to SetForegroundWindow if the user presses the ALT key". Keyboard input goes to the window in front,
// so the press reaches whatever was in front, and the release, sent once the change is made, the window asked for:
// the program under test is left with no input of the test's, unless it was asked for. A key between them that means
// nothing (0xE8 is unassigned) keeps a lone ALT from opening a menu, which would block every later foreground change.
bool SetForegroundWithAlt(HWND window) {
    const WORD meaningless = 0xE8;
    if (!SendKey(VK_MENU, true)) {
        return false;
    }
    bool set = AltTaken(true) && SetForegroundWindow(window);
    bool masked = SendKey(meaningless, true) && SendKey(meaningless, false);
    bool released = SendKey(VK_MENU, false) && AltTaken(false);
    return set && masked && released;
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
        // The foreground thread's (0): a console reports its client as its owner, not the host that draws it.
        GUITHREADINFO foreground = {};
        foreground.cbSize = sizeof(foreground);
        bool activated = GetGUIThreadInfo(0, &foreground) && foreground.hwndActive == window;
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
