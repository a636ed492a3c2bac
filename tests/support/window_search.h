// Finding top-level windows by title, class, process or owner (the lookup dialogs, About and usage boxes, the
// helper programs' windows), waiting for one to appear, reading window and control texts, also across processes,
// and writing a handle as a user would.
#ifndef TESSIVAL_TESTS_WINDOW_SEARCH_H
#define TESSIVAL_TESTS_WINDOW_SEARCH_H

#include <windows.h>

#include <string>
#include <vector>

// The dialog manager's window class: the lookup dialog, its About box and the usage box all have it.
extern const wchar_t kDialogClass[];

// What a search asks of a top-level window, brace-initialized in this order; a field left out matches any window.
struct WindowQuery {
    const wchar_t* title = nullptr;      // the exact title
    const wchar_t* className = nullptr;  // the exact class name, case included
    DWORD processId = 0;
    HWND owner = NULL;
    bool visibleOnly = false;
    const wchar_t* titlePart = nullptr;  // a text the title holds (a console's title may gain "Administrator: ")
};

// Every top-level window the query matches, in Z order.
std::vector<HWND> FindWindows(const WindowQuery& query);

// The windows of the dialog class titled title, of one process or (0) of any.
std::vector<HWND> FindDialogs(const wchar_t* title, DWORD processId = 0);

// A window of the dialog class that owner owns (its About box), or NULL.
HWND FindOwnedDialog(HWND owner);

// Waits until the query matches a window and gives the first, or NULL when the time ran out or process (when
// given) ended first. This thread's messages keep flowing; the query is tried every pollMilliseconds.
HWND WaitForWindow(const WindowQuery& query, DWORD milliseconds, HANDLE process = NULL, DWORD pollMilliseconds = 10);

// The same for a visible window of the dialog class titled title, of the given process.
HWND WaitForVisibleDialog(const wchar_t* title,
                          const PROCESS_INFORMATION& process,
                          DWORD milliseconds,
                          DWORD pollMilliseconds = 10);

// The class name of a window, empty when it cannot be read.
std::wstring ClassName(HWND window);

// The text of a window, whole.
std::wstring WindowText(HWND window);

// The text of a dialog's control, asked for by message so that it works for another process's dialog too;
// empty when the control does not answer.
std::wstring ControlText(HWND dialog, int id);

// A window's handle as a user writes it after /W: or in ConEmuHWND: in decimal, or in hexadecimal (capitals, no
// prefix). Handles are 32 bits wide in every process, 64-bit ones included.
std::wstring HandleNumber(HWND window, bool hexadecimal = false);

#endif
