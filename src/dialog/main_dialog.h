// The lookup dialog's procedure, which the entry point runs the dialog template with.
#ifndef TESSIVAL_MAIN_DIALOG_H
#define TESSIVAL_MAIN_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
