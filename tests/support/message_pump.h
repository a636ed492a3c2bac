// Keeping this thread's windows answering while a test waits: other processes send to them (a second start
// sends to the stand-in dialogs and waits for the answer), and windows of the test's own need their messages.
#ifndef TESSIVAL_TESTS_MESSAGE_PUMP_H
#define TESSIVAL_TESTS_MESSAGE_PUMP_H

#include <windows.h>

// Dispatches the messages waiting for this thread, and returns.
void PumpPendingMessages();

// Dispatches this thread's messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

// Dispatches messages until condition() holds or the time runs out; returns whether it held.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD milliseconds = 5000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) {
            return false;
        }
        PumpMessagesFor(10);
    }
    return true;
}

#endif
