// The one number grammar of the program: codes, option values, window handles.
#ifndef TESSIVAL_NUMBER_SYNTAX_H
#define TESSIVAL_NUMBER_SYNTAX_H

#include <windows.h>

// Parses unsigned decimal, "0x"/"x" hexadecimal or negative decimal into 32 bits. Returns 0 on success,
// -1 for no number (or trailing text when end is null), or the run-time library's errno on overflow.
// value and end are written only on success.
int ParseNumber(const WCHAR* text, const WCHAR** end, DWORD* value);

// Strips white space from both ends in place. Returns -1 for a null text, else 0.
int TrimBlanks(WCHAR* text);

// 1 for the characters that may separate an option letter from its value, ":" and "=".
int IsArgSeparator(WCHAR ch);

#endif
