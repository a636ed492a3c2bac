// Starting and ending the window-owning helper processes built next to the test programs.
#ifndef TESSIVAL_TESTS_OWNER_PROCESS_H
#define TESSIVAL_TESTS_OWNER_PROCESS_H

#include <windows.h>
#include <stdlib.h>

#include <string>

#include "platform_support.h"  // MakeForeground, for the helper's window

// A running helper and its top-level window; Stop() is safe to call more than once.
struct OwnerProcess {
    PROCESS_INFORMATION info = {};
    HWND window = NULL;

    // Starts imageName (next to this test program) with the window class and an optional child class, and
    // waits until its top-level window exists. Returns false when the helper did not come up.
    bool Start(const wchar_t* imageName, const wchar_t* className, const wchar_t* childClass = nullptr) {
        WCHAR self[MAX_PATH] = {};
        if (GetModuleFileNameW(NULL, self, _countof(self)) == 0) {
            return false;
        }
        std::wstring path(self);
        path.erase(path.find_last_of(L'\\') + 1);
        path += imageName;
        std::wstring commandLine = L"\"" + path + L"\" \"" + className + L"\"";
        if (childClass != nullptr) {
            commandLine += L" \"" + std::wstring(childClass) + L"\"";
        }
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) {
            return false;
        }
        for (int attempt = 0; attempt < 200 && window == NULL; attempt++) {
            if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0) {
                return false;
            }
            EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(this));
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

    void Stop() {
        if (info.hProcess == NULL) {
            return;
        }
        if (window != NULL) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, 5000);
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        info = PROCESS_INFORMATION{};
        window = NULL;
    }

private:
    static BOOL CALLBACK FindOwnWindow(HWND candidate, LPARAM self) {
        OwnerProcess* owner = reinterpret_cast<OwnerProcess*>(self);
        DWORD processId = 0;
        GetWindowThreadProcessId(candidate, &processId);
        if (processId == owner->info.dwProcessId && IsWindowVisible(candidate)) {
            owner->window = candidate;
            return FALSE;
        }
        return TRUE;
    }
};

#endif
