// Bringing a window to the foreground, also over another program's window.
#ifndef TESSIVAL_FOREGROUND_H
#define TESSIVAL_FOREGROUND_H

#include <windows.h>

// Returns -1 for a null window, else 0 once the sequence ran.
int ForceForeground(HWND window);

#endif
