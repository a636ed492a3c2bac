// Message pumping for tests that wait on other processes or on their own windows.
#include "message_pump.h"

void PumpPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void PumpMessagesFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        PumpPendingMessages();
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}
