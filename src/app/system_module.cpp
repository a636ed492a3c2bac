// System DLLs that the program loads itself, always from the system directory.
#include "app/system_module.h"

#include <stdlib.h>
#include <strsafe.h>

#include "app/app_state.h"

HMODULE LoadSystemModule(const WCHAR* fileName, DWORD flags) {
    WCHAR path[TEXT_BUFFER_UNITS] = {};
    UINT length = GetSystemDirectoryW(path, _countof(path));
    if (length == 0 || length >= _countof(path)) {
        return NULL;
    }
    // A bare name would let the loader pick up a DLL of that name from the program's own folder (a
    // downloads folder, say) and run its entry point here.
    if (FAILED(StringCchCatW(path, _countof(path), L"\\")) || FAILED(StringCchCatW(path, _countof(path), fileName))) {
        return NULL;
    }
    return LoadLibraryExW(path, NULL, flags);
}
