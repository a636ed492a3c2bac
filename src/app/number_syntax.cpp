// Number syntax shared by the command line, the code field and the ConEmu handle variable.
#include "app/number_syntax.h"

#include <errno.h>
#include <stdlib.h>
#include <wchar.h>
#include <wctype.h>

int ParseNumber(const WCHAR* text, const WCHAR** end, DWORD* value) {
    if (text == NULL || value == NULL) {
        return -1;
    }
    errno = 0;
    WCHAR* stop = NULL;
    const WCHAR* start = text;
    DWORD result = 0;
    // The tests short-circuit, so nothing past the terminator is read. wcstoul skips white space and signs,
    // but each form has already made sure that a digit comes first.
    if (text[0] == L'0' && towupper(text[1]) == L'X' && iswxdigit(text[2])) {
        start = text + 2;
        result = wcstoul(start, &stop, 16);
    } else if (towupper(text[0]) == L'X' && iswxdigit(text[1])) {
        start = text + 1;
        result = wcstoul(start, &stop, 16);
    } else if (iswdigit(text[0])) {
        result = wcstoul(text, &stop, 10);
    } else if (text[0] == L'-' && iswdigit(text[1])) {
        result = static_cast<DWORD>(wcstol(text, &stop, 10));
    } else {
        return -1;
    }
    if (errno != 0) {
        return errno;
    }
    // The classification may call a character a digit that the conversion does not take (a non-ASCII digit,
    // or a second "0x" with nothing after it): nothing converted is no number.
    if (stop == start) {
        return -1;
    }
    if (*stop != L'\0' && end == NULL) {
        return -1;
    }
    *value = result;
    if (end != NULL) {
        *end = stop;
    }
    return 0;
}

int TrimBlanks(WCHAR* text) {
    if (text == NULL) {
        return -1;
    }
    int first = -1;
    int last = -1;
    for (int i = 0; text[i] != L'\0'; ++i) {
        if (!iswspace(text[i])) {
            if (first < 0) {
                first = i;
            }
            last = i;
        }
    }
    if (first < 0) {
        text[0] = L'\0';
        return 0;
    }
    text[last + 1] = L'\0';
    if (first > 0) {
        // Terminator included.
        memmove(text, text + first, (last + 2 - first) * sizeof(WCHAR));
    }
    return 0;
}

int IsArgSeparator(WCHAR ch) {
    return (ch == L':' || ch == L'=') ? 1 : 0;
}
