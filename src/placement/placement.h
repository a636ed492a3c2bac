// Moving the dialog onto its parent window at one of nine keypad positions.
#ifndef TESSIVAL_PLACEMENT_H
#define TESSIVAL_PLACEMENT_H

#include <windows.h>

// Distance of the dialog from the edges of the parent's usable area, in pixels.
#define PLACE_MARGIN 8

// The arithmetic of the placement over plain values: the top-left corner for a dialog rectangle on a parent
// rectangle of the given kind, with the scroll-bar width and caption height of the system. Returns 1 and
// fills topLeft, or 0 when the dialog or the usable area is less than a pixel wide or high.
int ComputePlacement(WORD position,
                     LONG parentKind,
                     int scrollBarWidth,
                     int captionHeight,
                     RECT dialog,
                     RECT parent,
                     POINT* topLeft);

// Places dialog on AppState.parentWindow at AppState.position, with the insets of AppState.parentKind.
// Returns 1 when the dialog was moved.
int PlaceOnParent(HWND dialog);

#endif
