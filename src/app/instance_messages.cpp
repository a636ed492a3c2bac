// The sending side of the private messages, and what the receiving dialog lets through; the running dialog's
// procedure answers them.
#include "app/instance_messages.h"

#include <stdlib.h>

#include "app/app_state.h"
#include "app/system_module.h"

// Not declared for an XP target, and missing from XP's user32: looked up by name, with the signatures of Windows 7
// (for one window) and Vista (for the whole process).
typedef BOOL(WINAPI* WindowMessageFilterFunction)(HWND window, UINT message, DWORD action, void* changeFilter);
typedef BOOL(WINAPI* ProcessMessageFilterFunction)(UINT message, DWORD flag);
#define MESSAGE_FILTER_ALLOW 1  // MSGFLT_ALLOW of the first, MSGFLT_ADD of the second

// Windows drops the messages above WM_USER, and WM_CLOSE, that a process of a lower integrity level sends, so a
// dialog started as administrator would ignore every later start from a normal prompt, and /C from there. Letting
// these through is safe: the three private messages carry plain integers, which the handlers mask or range-check,
// and WM_CLOSE does no more than /C does. No pointer or text crosses, and nothing else is let through.
static const UINT messagesFromLowerIntegrity[] = {WM_LOOKUP_CODE, WM_SET_OPTIONS, WM_SET_POSITION, WM_CLOSE};

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

BOOL AllowHandOversFromLowerIntegrity(HWND dialog) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == NULL) {
        return 0;
    }
    WindowMessageFilterFunction allowForWindow =
        LookUpFunction<WindowMessageFilterFunction>(user32, "ChangeWindowMessageFilterEx");
    ProcessMessageFilterFunction allowForProcess =
        LookUpFunction<ProcessMessageFilterFunction>(user32, "ChangeWindowMessageFilter");
    BOOL allowed = 1;
    for (size_t i = 0; i < _countof(messagesFromLowerIntegrity); i++) {
        UINT message = messagesFromLowerIntegrity[i];
        BOOL done = 1;  // Windows XP has no integrity levels and needs neither
        if (allowForWindow != NULL) {
            done = allowForWindow(dialog, message, MESSAGE_FILTER_ALLOW, NULL);
        } else if (allowForProcess != NULL) {
            // Vista: for the whole process, and so for the About box too.
            done = allowForProcess(message, MESSAGE_FILTER_ALLOW);
        }
        if (!done) {
            allowed = 0;
        }
    }
    return allowed;
}
