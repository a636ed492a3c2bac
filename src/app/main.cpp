// Program entry: reads the command line into the program state and picks the run mode.
#include <windows.h>

#include "app/app_state.h"
#include "app/options.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandTail, int showCommand) {
    (void)previousInstance;
    (void)showCommand;
    RunRequest request = {};
    AppState.instance = instance;
    ApplyCommandLine(commandTail, &request);
    return 0;
}
