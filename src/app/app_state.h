// The one program-wide state record and the program's identity constants. Every subsystem reads and
// writes these fields directly, on the one GUI thread.
#ifndef TESSIVAL_APP_STATE_H
#define TESSIVAL_APP_STATE_H

#include <windows.h>

#include "version.h"

// What kind of host window the dialog is placed on; chooses the insets of the placement.
enum ParentKind {
    PARENT_NONE = 0,
    PARENT_FRAME_VIEW = 1,
    PARENT_CONSOLE = 2,
    PARENT_TERMINAL_HOST = 3,
    PARENT_CONSOLE_MAIN = 4,
    PARENT_VIRTUAL_CONSOLE = 5,
    PARENT_COMMAND_FRAME = 6
};

// Limits of the options, the same for the command line, the settings store and the running dialog.
const DWORD FADE_ALPHA_LOWEST = 48;
const DWORD FADE_ALPHA_HIGHEST = 240;
const DWORD FADE_ALPHA_DEFAULT = 224;
const DWORD FADE_ALPHA_MASK = 0xFF;  // the alpha's byte, in a packed options value and for the layered window
const WORD POSITION_HIGHEST = 9;     // positions 0..9 are laid out like a numeric keypad; 0 and 5 are the centre
const WORD POSITION_CENTRE = 5;
const WORD POSITION_DEFAULT = 9;  // top right

inline BOOL IsFadeAlphaInRange(DWORD alpha) {
    return alpha >= FADE_ALPHA_LOWEST && alpha <= FADE_ALPHA_HIGHEST;
}

// Takes the widest value a position arrives in (a WPARAM), so that no high bits are cut off before the check.
inline BOOL IsKeypadPosition(ULONG_PTR position) {
    return position <= POSITION_HIGHEST;
}

// Each field starts at the value it has when the process starts.
struct AppStateRecord {
    DWORD commandCode = 0xFFFFFFFFu;       // error code given on the command line
    WORD position = POSITION_DEFAULT;      // keypad position on the parent
    DWORD fadeAlpha = FADE_ALPHA_DEFAULT;  // opacity while faded; only the low byte is applied
    OSVERSIONINFOEXW osVersion = {};       // the running Windows version
    HINSTANCE instance = NULL;             // our own module, for the icons
    HMODULE wininetModule = NULL;          // message table source, loaded on first need
    HMODULE winhttpModule = NULL;          // message table source, loaded on first need
    HICON smallIcon = NULL;                // dialog icons, destroyed at exit
    HICON largeIcon = NULL;
    HFONT noteFont = NULL;         // 90 % message font of the numbers line, deleted at exit
    BOOL haveCommandCode = FALSE;  // commandCode came from the command line (0xFFFFFFFF is valid)
    LONG pinX = 0;                 // remembered top-left corner of the dialog, screen pixels
    LONG pinY = 0;
    BOOL pinned = FALSE;            // pinX/pinY are valid: open there instead of on a parent
    HWND parentWindow = NULL;       // the window the dialog is placed on
    LONG parentKind = PARENT_NONE;  // a ParentKind value describing parentWindow
    BOOL alwaysOnTop = FALSE;       // kept above other windows
    BOOL fadeWhenInactive = FALSE;  // translucent (fadeAlpha) while not active
};

extern AppStateRecord AppState;

// Restores every field to its value at process start; the tests need a clean record per case.
void ResetAppState();

// Working text buffers are fixed arrays of this many UTF-16 units.
#define TEXT_BUFFER_UNITS 1024

#define DIALOG_CLASS L"#32770"
#define SETTINGS_KEY L"Software\\Ondrake\\Tessival"

#endif
