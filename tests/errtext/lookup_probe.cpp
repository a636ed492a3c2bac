// A program that looks codes up the way Tessival does, for the tests to run from a folder with planted DLLs.
//   lookup_probe OUTPUT CODE...   shows each code with ShowErrorCode and writes the texts to OUTPUT (UTF-16,
//                                 one text per code, each followed by a NUL)
//   lookup_probe /plain NAME      loads NAME with a plain LoadLibraryW, the unsafe way, for comparison
#include <windows.h>
#include <stdlib.h>

#include "app/app_state.h"
#include "errtext/error_text.h"

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && lstrcmpW(argv[1], L"/plain") == 0) {
        return LoadLibraryW(argv[2]) != NULL ? 0 : 2;
    }
    if (argc < 3) {
        return 3;
    }
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    HANDLE output = CreateFileW(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (edit == NULL || output == INVALID_HANDLE_VALUE) {
        return 4;
    }
    for (int i = 2; i < argc; i++) {
        WCHAR text[TEXT_BUFFER_UNITS + 1] = {};
        ShowErrorCode(wcstoul(argv[i], NULL, 0), edit, NULL, NULL);
        int length = GetWindowTextW(edit, text, _countof(text));
        DWORD written = 0;
        WriteFile(output, text, static_cast<DWORD>((length + 1) * sizeof(WCHAR)), &written, NULL);
    }
    CloseHandle(output);
    DestroyWindow(edit);
    FreeMessageModules();
    return 0;
}
