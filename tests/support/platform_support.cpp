// Wine detection, the reported version and the tests' own way to the foreground.
#include "platform_support.h"

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != NULL && GetProcAddress(ntdll, "wine_get_version") != NULL;
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

bool MakeForeground(HWND window) {
    for (int attempt = 0; attempt < 50; attempt++) {
        if (GetForegroundWindow() != window && !SetForegroundWindow(window)) {
            // Windows' foreground lock refuses a process that neither owns the foreground nor had the last input
            // (a test that typed into another program's window, say); sharing the input state of the foreground
            // thread for the call lifts it. Wine has no such lock, so it never comes here.
            DWORD self = GetCurrentThreadId();
            DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), NULL);
            if (foregroundThread != 0 && foregroundThread != self && AttachThreadInput(self, foregroundThread, TRUE)) {
                (void)BringWindowToTop(window);
                (void)SetForegroundWindow(window);
                (void)AttachThreadInput(self, foregroundThread, FALSE);
            }
        }
        // The foreground changes at once, but the window's thread does the activation (WM_ACTIVATE, the focus)
        // only when it next takes its messages, as does a process still showing a new window: until then the
        // window is in front in name only. A message sent to that thread returns once it has taken them.
        DWORD_PTR ignored = 0;
        (void)SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        if (GetForegroundWindow() == window) {
            return true;
        }
        Sleep(20);
    }
    return false;
}
