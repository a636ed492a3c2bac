// Paths and message pumping for the tests that drive real windows and the built program.
#include "program_files.h"

#include <wctype.h>

std::wstring TestProgramFolder() {
    WCHAR path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring TessivalExePath() {
    std::wstring folder = TestProgramFolder();
    folder.pop_back();
    std::wstring parent = folder.substr(0, folder.find_last_of(L'\\') + 1);
    std::wstring beside = parent + L"Tessival.exe";
    if (GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return beside;
    }
    // Visual Studio's generators build each configuration into a folder of that name, both for the tests and
    // for the program one level up: tests\MinSizeRel\ and MinSizeRel\.
    std::wstring configuration = folder.substr(parent.size());
    parent.pop_back();
    return parent.substr(0, parent.find_last_of(L'\\') + 1) + configuration + L"\\Tessival.exe";
}

void PumpMessagesFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], length + 1));
    return text;
}

std::wstring SystemMessageShown(DWORD code) {
    WCHAR buffer[4096] = {};
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    if (!FormatMessageW(flags, NULL, code, 0, buffer, 4096, NULL)) {
        return L"";
    }
    std::wstring text(buffer);
    while (!text.empty() && iswspace(text.back())) {
        text.pop_back();
    }
    return text.empty() ? text : text + L"\n";
}
