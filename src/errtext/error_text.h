// Message text of an error code from the system's message tables and the WinINet/WinHTTP modules.
#ifndef TESSIVAL_ERROR_TEXT_H
#define TESSIVAL_ERROR_TEXT_H

#include <windows.h>

// Fills buffer (TEXT_BUFFER_UNITS units) with the tidied text of code, ending in one "\n", or leaves it
// empty when no table knows the code. Returns -1 for a null buffer, else 0.
int FetchMessageText(DWORD code, WCHAR* buffer);

// Shows the text of code (or "Unknown error:  %d") in messageControl, the code in decimal in codeEdit and
// the numbers line in numbersControl; null windows are left alone. Returns 0.
int ShowErrorCode(DWORD code, HWND messageControl, HWND codeEdit, HWND numbersControl);

#endif
