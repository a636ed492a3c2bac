// Bringing a window to the foreground, also over another program's window.
#ifndef TESSIVAL_FOREGROUND_H
#define TESSIVAL_FOREGROUND_H

#include <windows.h>

// The system-settings call ForceForeground makes; SystemParametersInfoW unless tests replace it to record
// the calls or make one fail.
typedef BOOL(WINAPI* SystemParametersInfoProc)(UINT action, UINT uiParam, PVOID pvParam, UINT winIni);
extern SystemParametersInfoProc ForegroundSystemParameters;

// Returns -1 for a null window, else 0 once the sequence ran.
int ForceForeground(HWND window);

#endif
