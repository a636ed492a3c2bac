// A helper process for the end-to-end tests: a console program in a console window of its own that, once the test
// has brought that window to the foreground and says go, starts a program the way cmd.exe starts one typed at its
// prompt. Arguments: a title for the console, which the test finds its window by, then the program's path and its
// arguments. It waits for the events "<title> go", before it starts the program, and "<title> judged", after the
// program has ended: the console stands until the test has judged, since once it is gone Windows activates the next
// window in Z order by itself. Its exit code is the started program's, or one of the codes below.
#include <windows.h>

#include <stdlib.h>
#include <strsafe.h>

#define EXIT_USAGE 2
#define EXIT_NO_CONSOLE_WINDOW 3
#define EXIT_NEVER_IN_FRONT 4
#define EXIT_START_FAILED 5
#define EXIT_STILL_RUNNING 6
#define EXIT_NO_FOREGROUND_RIGHT 7
#define EXIT_NEVER_RELEASED 8
#define EXIT_NEVER_TOLD_TO_GO 9

#define WAIT_MILLISECONDS 30000
#define POLL_MILLISECONDS 20
#define COMMAND_LINE_UNITS 32768

// Waits until the console is in front and this process may set the foreground. The console host hands that right to
// its processes only when its window takes the focus, which can be a moment after it became the foreground window.
// AllowSetForegroundWindow fails exactly when the caller cannot set the foreground window; naming this process itself
// grants no other process the right.
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
    if (FAILED(StringCchPrintfW(commandLine, capacity, L"\"%s\"", argv[2]))) {
        return FALSE;
    }
    for (int i = 3; i < argc; i++) {
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

// The event named "<title> <what>", which the test made; NULL when there is none.
static HANDLE OpenTestEvent(const wchar_t* title, const wchar_t* what) {
    WCHAR name[MAX_PATH] = {};
    if (FAILED(StringCchPrintfW(name, _countof(name), L"%s %s", title, what))) {
        return NULL;
    }
    return OpenEventW(SYNCHRONIZE, FALSE, name);
}

static void CloseIfOpen(HANDLE event) {
    if (event != NULL) {
        (void)CloseHandle(event);
    }
}

static int StartWhenTold(HANDLE go, HWND console, WCHAR* commandLine, HANDLE judged) {
    if (WaitForSingleObject(go, WAIT_MILLISECONDS) != WAIT_OBJECT_0) {
        return EXIT_NEVER_TOLD_TO_GO;
    }
    int code = WaitForTheForegroundRight(console);
    if (code != 0) {
        return code;
    }
    code = RunProgram(commandLine);
    if (WaitForSingleObject(judged, WAIT_MILLISECONDS) != WAIT_OBJECT_0) {
        return EXIT_NEVER_RELEASED;
    }
    return code;
}

int wmain(int argc, wchar_t** argv) {
    static WCHAR commandLine[COMMAND_LINE_UNITS];
    if (argc < 3 || !SetConsoleTitleW(argv[1]) || !BuildCommandLine(argc, argv, commandLine, _countof(commandLine))) {
        return EXIT_USAGE;
    }
    HANDLE go = OpenTestEvent(argv[1], L"go");
    HANDLE judged = OpenTestEvent(argv[1], L"judged");
    HWND console = GetConsoleWindow();
    int code = EXIT_USAGE;
    if (go != NULL && judged != NULL) {
        code = console != NULL ? StartWhenTold(go, console, commandLine, judged) : EXIT_NO_CONSOLE_WINDOW;
    }
    CloseIfOpen(go);
    CloseIfOpen(judged);
    return code;
}
