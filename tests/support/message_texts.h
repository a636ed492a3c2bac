// Message texts as the tests expect them, computed apart from the program: what FormatMessageW gives, and
// that text tidied the way the program shows it.
#ifndef TESSIVAL_TESTS_MESSAGE_TEXTS_H
#define TESSIVAL_TESTS_MESSAGE_TEXTS_H

#include <windows.h>

#include <string>

// The text FormatMessageW itself gives for code with flags and source, in a buffer of the program's size and
// before any tidying; empty when it fails.
std::wstring RawMessageText(DWORD code, DWORD flags, HMODULE source);

// A raw text as the dialog should show it: trailing white space removed and one line feed added; empty when
// nothing else is left.
std::wstring TidiedMessageText(std::wstring text);

// What the system's own message table says for code, tidied; empty when the table has no text.
std::wstring SystemMessageShown(DWORD code);

// What the message control shows for code when its looked-up text is found: that text, or else the fallback with
// the code as a signed number.
std::wstring ShownOrUnknown(DWORD code, const std::wstring& found);

#endif
