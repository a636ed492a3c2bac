// Paths of the test program, the built program and the tests' temporary folders.
#include "test_folders.h"

std::wstring TestProgramPath() {
    WCHAR path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(NULL, path, _countof(path));
    return std::wstring(path, length);
}

std::wstring TestProgramFolder() {
    std::wstring path = TestProgramPath();
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring TessivalExePath() {
    std::wstring folder = TestProgramFolder();
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

std::wstring CreateTemporaryFolder(const wchar_t* prefix) {
    WCHAR temp[MAX_PATH] = {};
    DWORD length = GetTempPathW(_countof(temp), temp);
    std::wstring folder = std::wstring(temp, length) + prefix + std::to_wstring(GetCurrentProcessId());
    // One left by an earlier run that ended early is used as it is.
    (void)CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}
