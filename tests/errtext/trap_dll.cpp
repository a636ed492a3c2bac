// A planted wininet.dll or winhttp.dll: if its entry point ever runs it leaves a file beside itself (its own
// path followed by ".ran"), the trace the tests look for.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        WCHAR path[MAX_PATH + 8] = {};
        DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcatW(path, L".ran");
            HANDLE trace = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (trace != INVALID_HANDLE_VALUE) {
                CloseHandle(trace);
            }
        }
    }
    return TRUE;
}
