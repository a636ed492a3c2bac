// Message text of an error code from the system's message tables and the WinINet/WinHTTP modules.
#ifndef TESSIVAL_ERROR_TEXT_H
#define TESSIVAL_ERROR_TEXT_H

#include <windows.h>

// FormatMessageW flags: the system table alone, and a module's table searched before the system table. Inserts
// are left as they stand (no arguments are passed), and only the table's explicit line breaks are kept.
const DWORD MESSAGE_FLAGS_SYSTEM =
    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
const DWORD MESSAGE_FLAGS_MODULE = MESSAGE_FLAGS_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE;
static_assert(MESSAGE_FLAGS_SYSTEM == 0x12FF, "the system lookup's flags have always been 0x12FF");
static_assert(MESSAGE_FLAGS_MODULE == 0x1AFF, "the module lookup's flags have always been 0x1AFF");

// Fills buffer (TEXT_BUFFER_UNITS units) with the tidied text of code, ending in one "\n", or leaves it
// empty when no table knows the code. Returns -1 for a null buffer, else 0.
int FetchMessageText(DWORD code, WCHAR* buffer);

// Shows the text of code (or "Unknown error:  %d") in messageControl, the code in decimal in codeEdit and
// the numbers line in numbersControl; null windows are left alone. Returns 0.
int ShowErrorCode(DWORD code, HWND messageControl, HWND codeEdit, HWND numbersControl);

// The pieces FetchMessageText is made of, so that a message table of known texts can be run through them.
// TidyMessageText removes all trailing white space (iswspace) and appends one "\n" to a non-empty text; a text with no
// room left for the "\n" loses its last character (a whole surrogate pair) first. Returns the new length.
size_t TidyMessageText(WCHAR* buffer, size_t capacity);
// LookUpMessage with MESSAGE_FLAGS_MODULE on module, then TidyMessageText: one module's answer as
// FetchMessageText would show it.
int FetchModuleMessageText(DWORD code, HMODULE module, WCHAR* buffer);

// Frees wininetModule and winhttpModule; the entry point calls it at exit.
void FreeMessageModules();

#endif
