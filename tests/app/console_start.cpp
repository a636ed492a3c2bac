// A helper process for the end-to-end tests: a console program in a console window of its own that, once the test
// has brought that window to the foreground, starts a command line the way cmd.exe starts a program typed at its
// prompt. Arguments: a title for the console, which the test finds its window by, and the command line. Its exit
// code is the started program's, or one of the codes below.
#include <windows.h>

#define EXIT_USAGE 2
#define EXIT_NO_CONSOLE_WINDOW 3
#define EXIT_NEVER_IN_FRONT 4
#define EXIT_START_FAILED 5
#define EXIT_STILL_RUNNING 6

#define WAIT_MILLISECONDS 30000
#define POLL_MILLISECONDS 20

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 || !SetConsoleTitleW(argv[1])) {
        return EXIT_USAGE;
    }
    HWND console = GetConsoleWindow();
    if (console == NULL) {
        return EXIT_NO_CONSOLE_WINDOW;
    }
    // The user types the command while the console is in front; so the start waits for the test to put it there.
    for (DWORD waited = 0; GetForegroundWindow() != console; waited += POLL_MILLISECONDS) {
        if (waited >= WAIT_MILLISECONDS) {
            return EXIT_NEVER_IN_FRONT;
        }
        Sleep(POLL_MILLISECONDS);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(NULL, argv[2], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        return EXIT_START_FAILED;
    }
    DWORD code = EXIT_STILL_RUNNING;
    if (WaitForSingleObject(process.hProcess, WAIT_MILLISECONDS) == WAIT_OBJECT_0) {
        (void)GetExitCodeProcess(process.hProcess, &code);
    }
    (void)CloseHandle(process.hThread);
    (void)CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
