// The command-line option pass: turns the arguments into program state and a request for the run.
#ifndef TESSIVAL_OPTIONS_H
#define TESSIVAL_OPTIONS_H

#include <windows.h>

// Bits of optionMask: which dialog options the command line set. They double as the bit positions of
// the on/off values in the wParam of the options message sent to a running dialog.
#define OPT_TOPMOST 0x400
#define OPT_FADE 0x800
#define OPT_ALPHA 0x1000

// What one run was asked to do besides the fields it set in AppState.
struct RunRequest {
    DWORD optionMask;     // OPT_* bits of the options the command line set
    BOOL positionGiven;   // /P: set a valid position
    BOOL closeRequested;  // /C: close running dialogs
    BOOL usageRequested;  // /? or /H ended the pass
    BOOL usageWithVersion;
};

// Applies each argument in order. Arguments in the dash form are rewritten in place ("-t" becomes "/t").
void ApplyArguments(WCHAR** arguments, int count, RunRequest* request);

// Splits the command-line tail with the platform's splitter and applies it. Does nothing for a null tail.
void ApplyCommandLine(const WCHAR* commandTail, RunRequest* request);

#endif
