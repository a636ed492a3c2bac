// Private messages from a second start of the program to the running lookup dialog. They carry plain
// integers only, so they cross the process boundary unchanged.
#ifndef TESSIVAL_INSTANCE_MESSAGES_H
#define TESSIVAL_INSTANCE_MESSAGES_H

#include <windows.h>

#include "app/options.h"

// The numbers are the ones every other copy of the program sends, so they stay, although a dialog also knows
// WM_USER + 1 and + 2 as DM_SETDEFID and DM_REPOSITION: the procedure answers them before the dialog manager does.
#define WM_LOOKUP_CODE (WM_USER + 1)   // wParam: the code; lParam: 1, not read
#define WM_SET_OPTIONS (WM_USER + 2)   // wParam: option values; lParam: optionMask
#define WM_SET_POSITION (WM_USER + 3)  // wParam: the position 0..9; lParam: 0

// The wParam of WM_SET_OPTIONS: the low byte of fadeAlpha when the mask holds OPT_ALPHA, and the on/off
// values of topmost and fading at the bit positions of their mask bits.
WPARAM BuildOptionsWParam(BOOL alwaysOnTop, BOOL fadeWhenInactive, DWORD fadeAlpha, DWORD optionMask);

// Sends the request of this run to the running dialog: code, options, position, each when it was given, after
// passing this start's right to take the foreground on to the dialog's process.
void HandOverRequest(HWND runningDialog, const RunRequest* request);

#endif
