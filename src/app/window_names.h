// Telling windows apart by their title and class name, as other programs' windows are told apart: a running
// lookup dialog, its About box, the hosts the dialog docks onto.
#ifndef TESSIVAL_WINDOW_NAMES_H
#define TESSIVAL_WINDOW_NAMES_H

#include <windows.h>

// How a class name is compared with the name asked for.
enum ClassMatch {
    CLASS_EXACT,     // every character, case included
    CLASS_ANY_CASE,  // every character, in any case
    CLASS_PREFIX     // the class name begins with the name, case included
};

// 1 when window's title is exactly title.
BOOL WindowTextIs(HWND window, const WCHAR* title);

// 1 when window's class name matches name as match says; an unreadable class matches nothing.
BOOL WindowClassIs(HWND window, const WCHAR* name, ClassMatch match);

// 1 when window has exactly this title and the dialog class, as a running dialog or its About box has.
BOOL IsDialogTitled(HWND window, const WCHAR* title);

#endif
