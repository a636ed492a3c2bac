// Starting and ending the window-owning helper processes.
#include "owner_process.h"

#include <string>

#include "test_folders.h"
#include "test_processes.h"
#include "window_search.h"

bool OwnerProcess::Start(const wchar_t* imageName, const wchar_t* className, const wchar_t* childClass) {
    std::wstring arguments = L"\"" + std::wstring(className) + L"\"";
    if (childClass != nullptr) {
        arguments += L" \"" + std::wstring(childClass) + L"\"";
    }
    if (StartProcess(TestProgramFolder() + L"\\" + imageName, arguments, &info) != ERROR_SUCCESS) {
        return false;
    }
    const bool visibleOnly = true;
    window = WaitForWindow({nullptr, nullptr, info.dwProcessId, NULL, visibleOnly}, 10000, info.hProcess);
    // The window is visible before the helper has finished showing it: until the helper waits for input, it may
    // still activate the window, behind the back of a test that has moved on.
    if (window != NULL && WaitForInputIdle(info.hProcess, 10000) != 0) {
        return false;
    }
    if (window != NULL && childClass != nullptr) {
        // The child is created just after the top-level window.
        for (int attempt = 0; attempt < 200 && FindWindowExW(window, NULL, childClass, NULL) == NULL; attempt++) {
            Sleep(20);
        }
        return FindWindowExW(window, NULL, childClass, NULL) != NULL;
    }
    return window != NULL;
}

void OwnerProcess::Stop() {
    EndProcess(&info, window, 5000);
    window = NULL;
}
