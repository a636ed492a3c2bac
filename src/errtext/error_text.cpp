// Message text of an error code: the system table, plus the WinINet and WinHTTP tables for their codes,
// tidied to one line ending in a single line feed; and the filling of the dialog's result controls.
#include <windows.h>
#include <stdlib.h>
#include <strsafe.h>
#include <wctype.h>

#include "app/app_state.h"
#include "app/system_module.h"
#include "errtext/error_text.h"

// WinINet's codes, 12000 to 12199.
const DWORD WININET_FIRST_CODE = 12000;
const DWORD WININET_CODE_COUNT = 200;

// The unsigned difference puts codes below the range far above its end, so one comparison tests both ends.
static BOOL IsInWinInetRange(DWORD code) {
    return code - WININET_FIRST_CODE < WININET_CODE_COUNT;
}

// Loads fileName from the system directory (never from the program's folder).
static HMODULE LoadMessageModule(const WCHAR* fileName) {
    // Only the message table is wanted, so the module is mapped as data and never executed.
    return LoadSystemModule(fileName, LOAD_LIBRARY_AS_DATAFILE);
}

void FreeMessageModules() {
    if (AppState.wininetModule != NULL) {
        (void)FreeLibrary(AppState.wininetModule);
        AppState.wininetModule = NULL;
    }
    if (AppState.winhttpModule != NULL) {
        (void)FreeLibrary(AppState.winhttpModule);
        AppState.winhttpModule = NULL;
    }
}

// FormatMessageW with flags and source (null: the system table) for code, into buffer of TEXT_BUFFER_UNITS units;
// returns the length it gave.
static DWORD LookUpMessage(DWORD code, DWORD flags, HMODULE source, WCHAR* buffer) {
    DWORD length = FormatMessageW(flags, source, code, 0, buffer, TEXT_BUFFER_UNITS, NULL);
    // A failed call may leave a partial text behind (a message longer than the buffer, for one).
    if (length == 0) {
        buffer[0] = 0;
    }
    return length;
}

static size_t TrimTrailingSpace(WCHAR* buffer, size_t length) {
    while (length > 0 && iswspace(buffer[length - 1])) {
        buffer[--length] = 0;
    }
    return length;
}

size_t TidyMessageText(WCHAR* buffer, size_t capacity) {
    if (capacity < 2) {
        return 0;
    }
    size_t length = 0;
    while (length < capacity && buffer[length] != 0) {
        length++;
    }
    if (length == capacity) {
        // Never terminated: keep what fits and still leave room for the terminator.
        buffer[--length] = 0;
    }
    length = TrimTrailingSpace(buffer, length);
    if (length == 0) {
        return 0;
    }
    if (length + 1 >= capacity) {
        // No room for the line feed: give up the last character rather than the one-line-feed ending, and
        // never half of a surrogate pair.
        buffer[--length] = 0;
        if (length > 0 && IS_HIGH_SURROGATE(buffer[length - 1])) {
            buffer[--length] = 0;
        }
        length = TrimTrailingSpace(buffer, length);
        if (length == 0) {
            return 0;
        }
    }
    buffer[length++] = L'\n';
    buffer[length] = 0;
    return length;
}

int FetchModuleMessageText(DWORD code, HMODULE module, WCHAR* buffer) {
    if (buffer == NULL) {
        return -1;
    }
    (void)LookUpMessage(code, MESSAGE_FLAGS_MODULE, module, buffer);
    (void)TidyMessageText(buffer, TEXT_BUFFER_UNITS);
    return 0;
}

int FetchMessageText(DWORD code, WCHAR* buffer) {
    if (buffer == NULL) {
        return -1;
    }
    BOOL inRange = IsInWinInetRange(code);
    DWORD flags = MESSAGE_FLAGS_SYSTEM;
    HMODULE source = NULL;
    if (inRange) {
        // A failed load leaves the field null, so the next code in the range tries again.
        if (AppState.wininetModule == NULL) {
            AppState.wininetModule = LoadMessageModule(L"wininet.dll");
        }
        if (AppState.wininetModule != NULL) {
            flags = MESSAGE_FLAGS_MODULE;
            source = AppState.wininetModule;
        }
    }
    DWORD length = LookUpMessage(code, flags, source, buffer);
    if ((length == 0 || buffer[0] == 0) && inRange) {
        if (AppState.winhttpModule == NULL) {
            AppState.winhttpModule = LoadMessageModule(L"winhttp.dll");
        }
        if (AppState.winhttpModule != NULL) {
            (void)LookUpMessage(code, MESSAGE_FLAGS_MODULE, AppState.winhttpModule, buffer);
        }
    }
    (void)TidyMessageText(buffer, TEXT_BUFFER_UNITS);
    return 0;
}

int ShowErrorCode(DWORD code, HWND messageControl, HWND codeEdit, HWND numbersControl) {
    WCHAR buffer[TEXT_BUFFER_UNITS] = {};
    (void)FetchMessageText(code, buffer);
    if (buffer[0] == 0) {
        // %d on purpose: the fallback shows the code as a signed number, 0xFFFFFFFF as -1.
        (void)wsprintfW(buffer, L"Unknown error:  %d", static_cast<int>(code));
    }
    (void)SetWindowTextW(messageControl, buffer);
    if (codeEdit != NULL) {
        (void)wsprintfW(buffer, L"%u", code);
        (void)SetWindowTextW(codeEdit, buffer);
    }
    if (numbersControl != NULL) {
        (void)wsprintfW(buffer, L"%u    0x%02X", code, code);
        (void)SetWindowTextW(numbersControl, buffer);
    }
    return 0;
}
