// Taking the foreground from another program's window at once: without the minimise/restore animation and
// past the foreground lock, each switched off only for the length of one call.
#include <windows.h>

#include "placement/foreground.h"

SystemParametersInfoProc ForegroundSystemParameters = SystemParametersInfoW;

static void Raise(HWND window, int showCommand) {
    (void)BringWindowToTop(window);
    (void)ShowWindow(window, showCommand);
    (void)SetForegroundWindow(window);
}

int ForceForeground(HWND window) {
    ANIMATIONINFO savedAnimation = {};
    ANIMATIONINFO noAnimation = {};
    BOOL haveAnimation;
    DWORD savedTimeout = 0;
    BOOL haveTimeout;
    int showCommand;
    DWORD foregroundThread;
    DWORD currentThread;

    if (window == NULL) {
        return -1;
    }
    foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), NULL);
    currentThread = GetCurrentThreadId();

    savedAnimation.cbSize = sizeof(savedAnimation);
    noAnimation.cbSize = sizeof(noAnimation);
    noAnimation.iMinAnimate = 0;
    haveAnimation = ForegroundSystemParameters(SPI_GETANIMATION, sizeof(savedAnimation), &savedAnimation, 0);
    // Switched off only when it can be put back: otherwise the user's setting would stay off for good.
    if (haveAnimation) {
        (void)ForegroundSystemParameters(SPI_SETANIMATION, sizeof(noAnimation), &noAnimation, 0);
    }
    // An unread time-out is left alone rather than set to 0 and "restored" as 0 with a broadcast.
    haveTimeout = ForegroundSystemParameters(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &savedTimeout, 0);

    showCommand = IsZoomed(window) ? SW_MAXIMIZE : SW_RESTORE;

    if (foregroundThread != currentThread) {
        // Sharing the foreground thread's input state is what lets SetForegroundWindow succeed.
        (void)AttachThreadInput(foregroundThread, currentThread, TRUE);
        if (haveTimeout) {
            (void)ForegroundSystemParameters(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, NULL, SPIF_SENDCHANGE);
        }
        (void)AllowSetForegroundWindow(GetCurrentProcessId());
        Raise(window, showCommand);
        if (haveTimeout) {
            // The value travels in the pointer argument.
            (void)ForegroundSystemParameters(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                             reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(savedTimeout)),
                                             SPIF_SENDCHANGE);
        }
        (void)AttachThreadInput(foregroundThread, currentThread, FALSE);
    } else {
        Raise(window, showCommand);
    }

    if (haveAnimation) {
        (void)ForegroundSystemParameters(SPI_SETANIMATION, sizeof(savedAnimation), &savedAnimation, 0);
    }
    return 0;
}
