// Moving the dialog onto its parent window at one of nine keypad positions.
#ifndef TESSIVAL_PLACEMENT_H
#define TESSIVAL_PLACEMENT_H

#include <windows.h>

// Places dialog on AppState.parentWindow at AppState.position, with the insets of AppState.parentKind.
// Returns 1 when the dialog was moved.
int PlaceOnParent(HWND dialog);

#endif
