// Placing the dialog on its parent at a keypad position, clear of the parent's scroll bar and of the bands
// that each kind of host window draws at its top and bottom.
#include <windows.h>

#include "app/app_state.h"
#include "placement/placement.h"

int ComputePlacement(WORD position,
                     LONG parentKind,
                     int scrollBarWidth,
                     int captionHeight,
                     RECT dialog,
                     RECT parent,
                     POINT* topLeft) {
    const int cap = captionHeight;
    int dialogWidth;
    int dialogHeight;
    int usableWidth;
    int usableHeight;
    int inset = 0;
    int topShift = 0;
    int bottomShift = 0;
    int x;
    int y;

    if (topLeft == NULL) {
        return 0;
    }
    // A narrow parent keeps its full width: it may have no room for a scroll bar at all.
    if (scrollBarWidth != 0 && parent.right - parent.left > 4 * scrollBarWidth) {
        parent.right -= scrollBarWidth;
    }
    dialogWidth = dialog.right - dialog.left;
    dialogHeight = dialog.bottom - dialog.top;
    usableWidth = parent.right - parent.left;
    usableHeight = parent.bottom - parent.top;
    if (dialogWidth < 1 || dialogHeight < 1 || usableWidth < 1 || usableHeight < 1) {
        return 0;
    }

    switch (parentKind) {
        case PARENT_CONSOLE:
            inset = 6 * cap / 5;
            topShift = inset;
            break;
        case PARENT_TERMINAL_HOST:
            inset = 3 * cap / 2;
            topShift = inset;
            break;
        case PARENT_CONSOLE_MAIN:
            inset = 13 * cap / 3;
            topShift = 10 * cap / 3;
            bottomShift = cap;
            break;
        case PARENT_VIRTUAL_CONSOLE:
            // The two shifts can round to one pixel less than the inset; the height drops by the whole inset.
            inset = 3 * cap;
            topShift = 9 * cap / 4;
            bottomShift = (3 * cap) / 4;
            break;
        case PARENT_COMMAND_FRAME:
            inset = 3 * cap;
            topShift = 2 * cap;
            bottomShift = cap;
            break;
        default:
            break;
    }
    // The sum, not the difference, is compared: a short parent keeps its bands only if the dialog is taller.
    if (inset != 0 && usableHeight + inset > dialogHeight) {
        parent.top += topShift;
        parent.bottom -= bottomShift;
        usableHeight -= inset;
    }

    switch (position) {
        case 1:
        case 4:
        case 7:
            x = parent.left + PLACE_MARGIN;
            break;
        case 3:
        case 6:
        case 9:
            x = parent.right - dialogWidth - PLACE_MARGIN;
            break;
        default:
            x = usableWidth / 2 - dialogWidth / 2 + parent.left;
            break;
    }
    switch (position) {
        case 7:
        case 8:
        case 9:
            y = parent.top + PLACE_MARGIN;
            break;
        case 1:
        case 2:
        case 3:
            y = parent.bottom - dialogHeight - PLACE_MARGIN;
            break;
        default:
            y = usableHeight / 2 - dialogHeight / 2 + parent.top;
            break;
    }
    topLeft->x = x;
    topLeft->y = y;
    return 1;
}

int PlaceOnParent(HWND dialog) {
    const WORD position = AppState.position;
    const LONG kind = AppState.parentKind;
    const HWND parent = AppState.parentWindow;
    const int scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int captionHeight = GetSystemMetrics(SM_CYCAPTION);
    RECT dialogRect = {};
    RECT parentRect = {};
    POINT topLeft = {};

    if (MonitorFromWindow(parent, MONITOR_DEFAULTTONULL) == NULL) {
        return 0;
    }
    if (!GetWindowRect(dialog, &dialogRect) || !GetWindowRect(parent, &parentRect)) {
        return 0;
    }
    if (!ComputePlacement(position, kind, scrollBarWidth, captionHeight, dialogRect, parentRect, &topLeft)) {
        return 0;
    }
    return SetWindowPos(dialog, NULL, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW) ? 1 : 0;
}
