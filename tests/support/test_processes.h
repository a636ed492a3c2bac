// Starting the programs a test or the benchmark drives, waiting for them with this thread's messages flowing,
// and ending them.
#ifndef TESSIVAL_TESTS_TEST_PROCESSES_H
#define TESSIVAL_TESTS_TEST_PROCESSES_H

#include <windows.h>

#include <string>

// Starts exe (a full path) with arguments, in folder (NULL: this process's current folder), with
// environmentAddition ("NAME=value"; NULL: none) added to this process's environment and the further creation
// flags given (CREATE_NEW_CONSOLE, say). Returns ERROR_SUCCESS, or the error of the last try: Wine has been seen to
// refuse a process start once under load, so a refused start is tried again.
DWORD StartProcess(const std::wstring& exe,
                   const std::wstring& arguments,
                   PROCESS_INFORMATION* process,
                   const wchar_t* folder = NULL,
                   const wchar_t* environmentAddition = NULL,
                   DWORD creationFlags = 0);

// Waits for process to end, keeping this thread's windows answering meanwhile; returns its exit code, or
// STILL_ACTIVE when the time ran out.
DWORD WaitForExit(const PROCESS_INFORMATION& process, DWORD milliseconds = 15000);

// Ends a started process for good: asks window (when given) to close, waits for the process, terminates it
// when it does not end in time, and closes its handles. Does nothing for a process that was never started.
void EndProcess(PROCESS_INFORMATION* process, HWND window, DWORD milliseconds = 5000);

// Closes the handles of a process that has ended, and clears the record.
void CloseProcessHandles(PROCESS_INFORMATION* process);

#endif
