// Program entry: finds a running dialog, reads the settings and the command line, and runs the mode asked for.
#include <windows.h>

#include "app/app_state.h"
#include "app/options.h"
#include "app/run_modes.h"
#include "settings/settings.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandTail, int showCommand) {
    (void)previousInstance;
    (void)showCommand;
    // Before anything else, so that the search never sees a dialog of this run.
    HWND runningDialog = NULL;
    (void)EnumWindows(FindRunningDialogProc, reinterpret_cast<LPARAM>(&runningDialog));

    RunRequest request = {};
    AppState.instance = instance;
    (void)ReadOsVersion();
    if (!LoadSettings(HKEY_LOCAL_MACHINE)) {
        (void)LoadSettings(HKEY_CURRENT_USER);
    }
    ApplyCommandLine(commandTail, &request);
    if (request.usageRequested) {
        (void)ShowUsage(request.usageWithVersion);
    } else {
        RunRequestedMode(runningDialog, &request);
    }
    ReleaseProcessHandles();
    return 0;
}
