// Where the test programs find the built Tessival.exe, and small waits that keep messages flowing.
#ifndef TESSIVAL_TESTS_PROGRAM_FILES_H
#define TESSIVAL_TESTS_PROGRAM_FILES_H

#include <windows.h>

#include <string>

// The folder of the running test program, with a trailing backslash.
std::wstring TestProgramFolder();

// The built program: the test programs live one folder below it (in a multi-configuration build, one folder
// below the same configuration's folder).
std::wstring TessivalExePath();

// Dispatches this thread's messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

// Dispatches messages until condition() holds or the time runs out; returns whether it held.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD milliseconds = 5000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) {
            return false;
        }
        PumpMessagesFor(10);
    }
    return true;
}

// The text of a window, whole.
std::wstring WindowText(HWND window);

// What the system's own message table says for code, tidied the way the program shows it: trailing white
// space removed and one line feed added; empty when the table has no text.
std::wstring SystemMessageShown(DWORD code);

#endif
