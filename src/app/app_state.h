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

struct AppStateRecord {
    DWORD commandCode;           // error code given on the command line
    WORD position;               // 0..9 on the parent, laid out like a numeric keypad (0 and 5: centre)
    DWORD fadeAlpha;             // opacity while faded; only the low byte is applied
    OSVERSIONINFOEXW osVersion;  // the running Windows version
    HINSTANCE instance;          // our own module, for the icons
    HMODULE wininetModule;       // message table source, loaded on first need
    HMODULE winhttpModule;       // message table source, loaded on first need
    HICON smallIcon;             // dialog icons, destroyed at exit
    HICON largeIcon;
    HFONT noteFont;        // 90 % message font of the numbers line, deleted at exit
    BOOL haveCommandCode;  // commandCode came from the command line (0xFFFFFFFF is a valid code)
    LONG pinX;             // remembered top-left corner of the dialog, screen pixels
    LONG pinY;
    BOOL pinned;            // pinX/pinY are valid: open there instead of on a parent
    HWND parentWindow;      // the window the dialog is placed on
    LONG parentKind;        // a ParentKind value describing parentWindow
    BOOL alwaysOnTop;       // kept above other windows
    BOOL fadeWhenInactive;  // translucent (fadeAlpha) while not active
};

extern AppStateRecord AppState;

// Restores every field to its value at process start; the tests need a clean record per case.
void ResetAppState();

// Working text buffers are fixed arrays of this many UTF-16 units.
#define TEXT_BUFFER_UNITS 1024

#define PROGRAM_NAME L"Tessival"
#ifdef _WIN64
#define PLATFORM_TEXT L"x64"
#else
#define PLATFORM_TEXT L"x86"
#endif
// The run-time caption ends in a space and U+2001 (EM QUAD), unlike the template's title, so that only a
// dialog that finished its start-up counts as a running one.
#define DIALOG_CAPTION L"Windows Error Lookup \x2001"
#define DIALOG_CLASS L"#32770"
#define SETTINGS_KEY L"Software\\Ondrake\\Tessival"

#endif
