// A helper process for the end-to-end tests: a console program in a console window of its own that, once the test
// has brought that window to the foreground, starts a program the way cmd.exe starts one typed at its prompt.
// Arguments: a title for the console, which the test finds its window by; the name of an event the test sets once it
// has judged; the program's path, and its arguments. The console stays until that event is set (or the wait runs
// out), so the test sees the dialog come forward over a console that still stands: were the console destroyed,
// Windows would activate the next window in Z order by itself. Its exit code is the started program's, or one of the
// codes below.
#include <windows.h>

#include <strsafe.h>

#define EXIT_USAGE 2
#define EXIT_NO_CONSOLE_WINDOW 3
#define EXIT_NEVER_IN_FRONT 4
#define EXIT_START_FAILED 5
#define EXIT_STILL_RUNNING 6
#define EXIT_NO_FOREGROUND_RIGHT 7
#define EXIT_NEVER_RELEASED 8

#define WAIT_MILLISECONDS 30000
#define POLL_MILLISECONDS 20
#define COMMAND_LINE_UNITS 32768

// Waits until the console is in front and this process may set the foreground. The console host hands that right to
// its processes only when its window takes the focus, which can be a moment after it became the foreground window.
// AllowSetForegroundWindow fails exactly when the caller cannot set the foreground window; naming this process itself
// hands the right to no one else.
static int WaitForTheForegroundRight(HWND console) {
    BOOL everInFront = FALSE;
    for (DWORD waited = 0; waited < WAIT_MILLISECONDS; waited += POLL_MILLISECONDS) {
        if (GetForegroundWindow() == console) {
            everInFront = TRUE;
            if (AllowSetForegroundWindow(GetCurrentProcessId())) {
                return 0;
            }
        }
        Sleep(POLL_MILLISECONDS);
    }
    return everInFront ? EXIT_NO_FOREGROUND_RIGHT : EXIT_NEVER_IN_FRONT;
}

// "program" arguments..., as cmd.exe passes a typed command on: the path quoted, so a folder with blanks stays whole.
static BOOL BuildCommandLine(int argc, wchar_t** argv, WCHAR* commandLine, size_t capacity) {
    if (FAILED(StringCchPrintfW(commandLine, capacity, L"\"%s\"", argv[3]))) {
        return FALSE;
    }
    for (int i = 4; i < argc; i++) {
        if (FAILED(StringCchCatW(commandLine, capacity, L" ")) ||
            FAILED(StringCchCatW(commandLine, capacity, argv[i]))) {
            return FALSE;
        }
    }
    return TRUE;
}

static int RunProgram(WCHAR* commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
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

int wmain(int argc, wchar_t** argv) {
    static WCHAR commandLine[COMMAND_LINE_UNITS];
    if (argc < 4 || !SetConsoleTitleW(argv[1]) || !BuildCommandLine(argc, argv, commandLine, _countof(commandLine))) {
        return EXIT_USAGE;
    }
    HANDLE released = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    if (released == NULL) {
        return EXIT_USAGE;
    }
    int code = EXIT_NO_CONSOLE_WINDOW;
    HWND console = GetConsoleWindow();
    if (console != NULL) {
        code = WaitForTheForegroundRight(console);
    }
    if (code == 0) {
        code = RunProgram(commandLine);
        if (WaitForSingleObject(released, WAIT_MILLISECONDS) != WAIT_OBJECT_0) {
            code = EXIT_NEVER_RELEASED;
        }
    }
    (void)CloseHandle(released);
    return code;
}
