// Process starts, waits and ends for the tests and the benchmark.
#include "test_processes.h"

#include <stdio.h>
#include <wchar.h>

#include <vector>

#include "message_pump.h"

namespace {

// This process's environment block with one more variable.
std::vector<WCHAR> EnvironmentWith(const wchar_t* addition) {
    LPWCH current = GetEnvironmentStringsW();
    const WCHAR* end = current;
    while (*end != L'\0') {
        end += wcslen(end) + 1;
    }
    std::vector<WCHAR> environment(static_cast<const WCHAR*>(current), end);
    (void)FreeEnvironmentStringsW(current);
    environment.insert(environment.end(), addition, addition + wcslen(addition) + 1);  // with its terminator
    environment.push_back(L'\0');
    return environment;
}

}  // namespace

DWORD StartProcess(const std::wstring& exe,
                   const std::wstring& arguments,
                   PROCESS_INFORMATION* process,
                   const wchar_t* folder,
                   const wchar_t* environmentAddition,
                   DWORD creationFlags) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    std::vector<WCHAR> environment;
    if (environmentAddition != NULL) {
        environment = EnvironmentWith(environmentAddition);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            PumpMessagesFor(250);
        }
        // No application name: the quoted path that opens the command line names it, also where a caller
        // passes a path that only Wine's own conversion understands.
        if (CreateProcessW(NULL, &commandLine[0], NULL, NULL, FALSE, CREATE_UNICODE_ENVIRONMENT | creationFlags,
                           environment.empty() ? NULL : environment.data(), folder, &startup, process)) {
            return ERROR_SUCCESS;
        }
        error = GetLastError();
        fprintf(stderr, "CreateProcessW failed with error %lu\n", error);
    }
    return error;
}

DWORD WaitForExit(const PROCESS_INFORMATION& process, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
        PumpPendingMessages();
        if (GetTickCount() - start > milliseconds) {
            return STILL_ACTIVE;
        }
    }
    DWORD code = STILL_ACTIVE;
    (void)GetExitCodeProcess(process.hProcess, &code);
    return code;
}

void EndProcess(PROCESS_INFORMATION* process, HWND window, DWORD milliseconds) {
    if (process->hProcess == NULL) {
        return;
    }
    if (window != NULL) {
        (void)PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForExit(*process, milliseconds) == STILL_ACTIVE) {
        (void)TerminateProcess(process->hProcess, 1);
        (void)WaitForSingleObject(process->hProcess, 5000);
    }
    CloseProcessHandles(process);
}

void CloseProcessHandles(PROCESS_INFORMATION* process) {
    for (HANDLE handle : {process->hThread, process->hProcess}) {
        if (handle != NULL) {
            (void)CloseHandle(handle);
        }
    }
    *process = PROCESS_INFORMATION();
}
