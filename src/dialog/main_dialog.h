// The lookup dialog's procedure, which the entry point runs the dialog template with.
#ifndef TESSIVAL_MAIN_DIALOG_H
#define TESSIVAL_MAIN_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Windows 7's ChangeWindowMessageFilterEx, which XP's user32 lacks: the dialog looks it up by name while this is null,
// as it is unless tests put a function here to see what the dialog lets through (Wine's own keeps no record of it).
typedef BOOL(WINAPI* WindowMessageFilterProc)(HWND window, UINT message, DWORD action, void* changeFilter);
extern WindowMessageFilterProc DialogMessageFilter;

#endif
