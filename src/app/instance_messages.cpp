// The sending side of the private messages; the running dialog's procedure answers them.
#include "app/instance_messages.h"

#include "app/app_state.h"

WPARAM BuildOptionsWParam(BOOL alwaysOnTop, BOOL fadeWhenInactive, DWORD fadeAlpha, DWORD optionMask) {
    WPARAM value = 0;
    if (optionMask & OPT_ALPHA) {
        value |= fadeAlpha & FADE_ALPHA_MASK;
    }
    if (alwaysOnTop) {
        value |= OPT_TOPMOST;
    }
    if (fadeWhenInactive) {
        value |= OPT_FADE;
    }
    return value;
}

void HandOverRequest(HWND runningDialog, const RunRequest* request) {
    // Windows lets a process take the foreground only when it is in front, was started from there or had the last
    // input. This start has that right (the console it was typed in passed it on); the running dialog, which comes
    // forward when it handles a message, has not, unless it is handed on before the first send.
    DWORD dialogProcess = 0;
    (void)GetWindowThreadProcessId(runningDialog, &dialogProcess);
    if (dialogProcess != 0) {
        (void)AllowSetForegroundWindow(dialogProcess);
    }
    // Each send waits until the dialog has handled the message, so they arrive in this order.
    if (AppState.haveCommandCode) {
        (void)SendMessageW(runningDialog, WM_LOOKUP_CODE, AppState.commandCode, 1);
    }
    if (request->optionMask != 0) {
        WPARAM options = BuildOptionsWParam(AppState.alwaysOnTop, AppState.fadeWhenInactive, AppState.fadeAlpha,
                                            request->optionMask);
        (void)SendMessageW(runningDialog, WM_SET_OPTIONS, options, request->optionMask);
    }
    if (request->positionGiven) {
        (void)SendMessageW(runningDialog, WM_SET_POSITION, AppState.position, 0);
    }
}
