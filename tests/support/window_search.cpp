// One search over the top-level windows serves every finder of the tests and the benchmark.
#include "window_search.h"

#include <strsafe.h>

#include "message_pump.h"

const wchar_t kDialogClass[] = L"#32770";

namespace {

struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
};

// The cheap tests first: the title of another process's window and its class take a trip to the server each.
bool Matches(HWND window, const WindowQuery& query) {
    if (query.processId != 0) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != query.processId) {
            return false;
        }
    }
    if (query.owner != NULL && GetWindow(window, GW_OWNER) != query.owner) {
        return false;
    }
    if (query.visibleOnly && !IsWindowVisible(window)) {
        return false;
    }
    if (query.className != nullptr && ClassName(window) != query.className) {
        return false;
    }
    if (query.titlePart != nullptr && WindowText(window).find(query.titlePart) == std::wstring::npos) {
        return false;
    }
    return query.title == nullptr || WindowText(window) == query.title;
}

BOOL CALLBACK CollectMatching(HWND window, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    if (Matches(window, *search->query)) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::wstring ClassName(HWND window) {
    WCHAR name[257] = {};  // the longest class name the system allows
    UINT length = RealGetWindowClassW(window, name, _countof(name));
    return std::wstring(name, length);
}

std::vector<HWND> FindWindows(const WindowQuery& query) {
    Search search = {&query, {}};
    (void)EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> FindDialogs(const wchar_t* title, DWORD processId) {
    return FindWindows({title, kDialogClass, processId});
}

HWND FindOwnedDialog(HWND owner) {
    std::vector<HWND> found = FindWindows({nullptr, kDialogClass, 0, owner});
    return found.empty() ? NULL : found.front();
}

HWND WaitForWindow(const WindowQuery& query, DWORD milliseconds, HANDLE process, DWORD pollMilliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = FindWindows(query);
        if (!found.empty()) {
            return found.front();
        }
        if (GetTickCount() - start > milliseconds ||
            (process != NULL && WaitForSingleObject(process, 0) == WAIT_OBJECT_0)) {
            return NULL;
        }
        PumpPendingMessages();
        // Wakes early for a message to dispatch.
        (void)MsgWaitForMultipleObjects(0, NULL, FALSE, pollMilliseconds, QS_ALLINPUT);
    }
}

HWND WaitForVisibleDialog(const wchar_t* title,
                          const PROCESS_INFORMATION& process,
                          DWORD milliseconds,
                          DWORD pollMilliseconds) {
    const bool visibleOnly = true;
    return WaitForWindow({title, kDialogClass, process.dwProcessId, NULL, visibleOnly}, milliseconds, process.hProcess,
                         pollMilliseconds);
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], length + 1));
    return text;
}

std::wstring ControlText(HWND dialog, int id) {
    WCHAR text[2048] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(GetDlgItem(dialog, id), WM_GETTEXT, _countof(text), reinterpret_cast<LPARAM>(text),
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, 5000, &copied)) {
        return std::wstring();
    }
    return text;
}

std::wstring HandleNumber(HWND window, bool hexadecimal) {
    WCHAR text[16] = {};
    (void)StringCchPrintfW(text, _countof(text), hexadecimal ? L"%X" : L"%u",
                           static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}
