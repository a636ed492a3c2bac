// Placing the dialog on its parent at a keypad position, clear of the parent's scroll bar and of the bands
// that each kind of host window draws at its top and bottom.
#include <windows.h>

#include "app/app_state.h"
#include "placement/placement.h"

// Where each keypad position sits: column and row, 0 the left or top edge, 1 the centre, 2 the right or bottom
// edge. 0 and 5 are both the centre; anything past the keypad is centred too.
enum KeypadPlace { PLACE_NEAR = 0, PLACE_CENTRE = 1, PLACE_FAR = 2 };
static const struct {
    BYTE column;
    BYTE row;
} keypadCells[POSITION_HIGHEST + 1] = {
    {PLACE_CENTRE, PLACE_CENTRE},                                                           // 0
    {PLACE_NEAR, PLACE_FAR},      {PLACE_CENTRE, PLACE_FAR},    {PLACE_FAR, PLACE_FAR},     // 1 2 3
    {PLACE_NEAR, PLACE_CENTRE},   {PLACE_CENTRE, PLACE_CENTRE}, {PLACE_FAR, PLACE_CENTRE},  // 4 5 6
    {PLACE_NEAR, PLACE_NEAR},     {PLACE_CENTRE, PLACE_NEAR},   {PLACE_FAR, PLACE_NEAR},    // 7 8 9
};

// The bands each kind of host draws at its top and bottom, in fractions of the caption height: the height the
// dialog loses, and the part of it taken off the top and off the bottom.
struct CaptionFraction {
    BYTE numerator;
    BYTE denominator;
};
static const struct {
    CaptionFraction inset;
    CaptionFraction top;
    CaptionFraction bottom;
} hostBands[PARENT_COMMAND_FRAME + 1] = {
    {{0, 1}, {0, 1}, {0, 1}},    // none
    {{0, 1}, {0, 1}, {0, 1}},    // frame view
    {{6, 5}, {6, 5}, {0, 1}},    // console
    {{3, 2}, {3, 2}, {0, 1}},    // terminal host
    {{13, 3}, {10, 3}, {1, 1}},  // console main
    // The two shifts can round to one pixel less than the inset; the height drops by the whole inset.
    {{3, 1}, {9, 4}, {3, 4}},  // virtual console
    {{3, 1}, {2, 1}, {1, 1}},  // command frame
};

static int OfCaption(CaptionFraction fraction, int captionHeight) {
    return fraction.numerator * captionHeight / fraction.denominator;
}

// The start of a dialog of the given size along one axis of the parent's usable span.
static int PlaceAlong(int place, LONG spanStart, LONG spanEnd, int usableSize, int dialogSize) {
    if (place == PLACE_NEAR) {
        return spanStart + PLACE_MARGIN;
    }
    if (place == PLACE_FAR) {
        return spanEnd - dialogSize - PLACE_MARGIN;
    }
    return usableSize / 2 - dialogSize / 2 + spanStart;
}

int ComputePlacement(WORD position,
                     LONG parentKind,
                     int scrollBarWidth,
                     int captionHeight,
                     RECT dialog,
                     RECT parent,
                     POINT* topLeft) {
    int dialogWidth;
    int dialogHeight;
    int usableWidth;
    int usableHeight;
    int inset = 0;
    int topShift = 0;
    int bottomShift = 0;

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

    if (parentKind >= PARENT_NONE && parentKind <= PARENT_COMMAND_FRAME) {
        inset = OfCaption(hostBands[parentKind].inset, captionHeight);
        topShift = OfCaption(hostBands[parentKind].top, captionHeight);
        bottomShift = OfCaption(hostBands[parentKind].bottom, captionHeight);
    }
    // The sum, not the difference, is compared: a short parent keeps its bands only if the dialog is taller.
    if (inset != 0 && usableHeight + inset > dialogHeight) {
        parent.top += topShift;
        parent.bottom -= bottomShift;
        usableHeight -= inset;
    }

    int column = PLACE_CENTRE;
    int row = PLACE_CENTRE;
    if (IsKeypadPosition(position)) {
        column = keypadCells[position].column;
        row = keypadCells[position].row;
    }
    topLeft->x = PlaceAlong(column, parent.left, parent.right, usableWidth, dialogWidth);
    topLeft->y = PlaceAlong(row, parent.top, parent.bottom, usableHeight, dialogHeight);
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
