// Where the tests find things on disk: the running test program and its folder, the built Tessival.exe, and
// temporary folders of their own.
#ifndef TESSIVAL_TESTS_TEST_FOLDERS_H
#define TESSIVAL_TESTS_TEST_FOLDERS_H

#include <windows.h>

#include <string>

// The full path of the running test program.
std::wstring TestProgramPath();

// The folder of the running test program, without a trailing backslash; the helper programs and modules are
// built into it or below it.
std::wstring TestProgramFolder();

// The built program: the test programs live one folder below it (in a multi-configuration build, one folder
// below the same configuration's folder).
std::wstring TessivalExePath();

// Creates a folder in the temporary folder, named prefix followed by this process's id, and returns its path
// without a trailing backslash. Removing it again is the caller's.
std::wstring CreateTemporaryFolder(const wchar_t* prefix);

#endif
