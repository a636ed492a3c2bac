// The run modes of a start: usage box, hand-over to a running dialog, closing running dialogs, or the
// lookup dialog itself.
#ifndef TESSIVAL_RUN_MODES_H
#define TESSIVAL_RUN_MODES_H

#include <windows.h>

#include "app/options.h"

// EnumWindows callback: stores the first running lookup dialog through lParam (HWND*) and stops there.
BOOL CALLBACK FindRunningDialogProc(HWND window, LPARAM lParam);

// Shows the usage box. Returns 0.
int ShowUsage(BOOL withVersion);

// Fills AppState.osVersion, preferring RtlGetVersion, which does not depend on the manifest. 1 when filled.
BOOL ReadOsVersion();

// Everything a start does after its command line was applied, up to the end of the dialog.
void RunRequestedMode(HWND runningDialog, const RunRequest* request);

// Frees the modules, icons and font that live for the whole run.
void ReleaseProcessHandles();

#endif
