// A build step for Microsoft's message compiler, which reads Unicode sources only as UTF-16: rewrites a UTF-8
// text file as UTF-16 little-endian with a byte-order mark and CR LF line ends, as Notepad saves "Unicode".
//   utf16_text INPUT OUTPUT
#include <windows.h>
#include <stdio.h>

static int Fail(const wchar_t* what, const wchar_t* path) {
    fwprintf(stderr, L"utf16_text: cannot %ls %ls (error %lu)\n", what, path, GetLastError());
    return 1;
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: utf16_text INPUT OUTPUT\n");
        return 2;
    }
    HANDLE input = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (input == INVALID_HANDLE_VALUE) {
        return Fail(L"open", argv[1]);
    }
    DWORD size = GetFileSize(input, NULL);
    char* bytes = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size + 1));
    DWORD read = 0;
    BOOL readAll = bytes != NULL && ReadFile(input, bytes, size, &read, NULL) && read == size;
    CloseHandle(input);
    if (!readAll) {
        return Fail(L"read", argv[1]);
    }
    // Invalid UTF-8 fails here rather than turning into replacement characters in a test's expected text.
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size), NULL, 0);
    if (size > 0 && units == 0) {
        return Fail(L"convert", argv[1]);
    }
    WCHAR* converted = static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, (static_cast<SIZE_T>(units) + 1) * 2));
    // Room for the mark and a CR before every LF.
    WCHAR* text = static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, (2 * static_cast<SIZE_T>(units) + 1) * 2));
    if (converted == NULL || text == NULL) {
        return Fail(L"convert", argv[1]);
    }
    (void)MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size), converted, units);
    int length = 0;
    text[length++] = 0xFEFF;
    for (int i = 0; i < units; i++) {
        if (converted[i] == L'\n' && (i == 0 || converted[i - 1] != L'\r')) {
            text[length++] = L'\r';
        }
        text[length++] = converted[i];
    }
    HANDLE output = CreateFileW(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (output == INVALID_HANDLE_VALUE) {
        return Fail(L"create", argv[2]);
    }
    DWORD written = 0;
    DWORD bytesToWrite = static_cast<DWORD>(length * sizeof(WCHAR));
    BOOL wroteAll = WriteFile(output, text, bytesToWrite, &written, NULL) && written == bytesToWrite;
    CloseHandle(output);
    return wroteAll ? 0 : Fail(L"write", argv[2]);
}
