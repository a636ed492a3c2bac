// The lookup dialog's procedure and the helpers that others call.
#ifndef TESSIVAL_MAIN_DIALOG_H
#define TESSIVAL_MAIN_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the Always-on-Top box from AppState.alwaysOnTop and moves the dialog into or out of the topmost band.
void ApplyTopmost(HWND dialog);

// TRUE when the window's text is empty or white space only.
BOOL IsWindowTextBlank(HWND window);

#endif
