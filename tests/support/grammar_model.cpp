// The grammar as a reader of its rules would implement it: character tests on a std::wstring and 64-bit
// arithmetic for the digit runs, sharing no code with the program.
#include "grammar_model.h"

#include <errno.h>
#include <wctype.h>

#include <algorithm>

static wchar_t At(const std::wstring& s, size_t i) {
    return i < s.size() ? s[i] : L'\0';
}

static int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

static bool IsAsciiDigitOf(wchar_t c, int base) {
    int d = DigitValue(c);
    return d >= 0 && d < base;
}

// The library's classification decides the form; a non-ASCII character that it calls a digit is beyond
// what the rules state.
static bool LibraryCallsDigit(wchar_t c, int base) {
    if (c < 0x80) {
        return false;
    }
    // Some run-time libraries convert every Unicode decimal digit, also in base 16.
    return iswdigit(c) != 0 || (base == 16 && iswxdigit(c) != 0);
}

static wchar_t Upper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
}

NumberModel ModelParseNumber(const std::wstring& text, bool withEnd) {
    NumberModel m = {-1, 0, 0, true};
    size_t start;
    int base;
    bool negative = false;
    wchar_t c0 = At(text, 0), c1 = At(text, 1), c2 = At(text, 2);
    if (c0 == L'0' && Upper(c1) == L'X' && iswxdigit(c2)) {
        start = 2, base = 16;
    } else if (Upper(c0) == L'X' && iswxdigit(c1)) {
        start = 1, base = 16;
    } else if (iswdigit(c0)) {
        start = 0, base = 10;
    } else if (c0 == L'-' && iswdigit(c1)) {
        start = 1, base = 10, negative = true;
    } else {
        return m;
    }
    size_t i = start;
    // Base 16 conversion takes one further "0x" as a prefix, and converts nothing when no digit follows it.
    if (base == 16 && At(text, i) == L'0' && Upper(At(text, i + 1)) == L'X') {
        if (LibraryCallsDigit(At(text, i + 2), base)) {
            m.certain = false;
            return m;
        }
        if (!IsAsciiDigitOf(At(text, i + 2), 16)) {
            return m;
        }
        i += 2;
    }
    unsigned long long magnitude = 0;
    size_t digits = 0;
    while (IsAsciiDigitOf(At(text, i), base)) {
        magnitude = magnitude * base + DigitValue(At(text, i));
        if (magnitude > 0x1FFFFFFFFull) {
            magnitude = 0x1FFFFFFFFull;  // saturate: already out of range
        }
        ++i, ++digits;
    }
    if (LibraryCallsDigit(At(text, i), base)) {
        m.certain = false;  // a non-ASCII digit: whether the conversion takes it is the library's choice
        return m;
    }
    if (digits == 0) {
        return m;  // nothing converted
    }
    if (negative ? magnitude > 0x80000000ull : magnitude > 0xFFFFFFFFull) {
        m.result = ERANGE;
        return m;
    }
    if (i < text.size() && !withEnd) {
        return m;
    }
    m.result = 0;
    m.value = negative ? static_cast<DWORD>(0 - magnitude) : static_cast<DWORD>(magnitude);
    m.endIndex = i;
    return m;
}

static std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
    }
    return s;
}

static std::wstring ValueOf(const std::wstring& arg) {
    size_t from = 2;
    if (At(arg, 2) == L':' || At(arg, 2) == L'=')
        from = 3;
    // Parenthesised: the Windows SDK's windows.h defines a min macro (MinGW's leaves C++ alone).
    return arg.substr((std::min)(from, arg.size()));
}

static bool Number(const std::wstring& text, DWORD* value, OptionModelState* state) {
    NumberModel n = ModelParseNumber(text, false);
    if (!n.certain)
        state->certain = false;
    if (n.result != 0)
        return false;
    *value = n.value;
    return true;
}

static void ModelParent(const std::wstring& value, OptionModelState* state) {
    NumberModel n = ModelParseNumber(value, true);
    if (!n.certain)
        state->certain = false;
    if (n.result != 0)
        return;
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(n.value)));
    if (IsWindow(window))
        state->parentWindow = window;
    std::wstring rest = value.substr(n.endIndex);
    if (rest.empty())
        return;
    if (rest[0] == L':' && rest.size() > 1 && iswdigit(rest[1])) {
        DWORD position;
        if (Number(rest.substr(1), &position, state) && position < 10)
            state->position = static_cast<WORD>(position);
        return;
    }
    state->parentWindow = NULL;
}

void ModelOptionPass(const std::vector<std::wstring>& arguments, OptionModelState* state) {
    for (std::wstring arg : arguments) {
        if (At(arg, 0) == L'-' && (iswalpha(At(arg, 1)) || At(arg, 1) == L'?'))
            arg[0] = L'/';
        std::wstring lower = Lower(arg);
        wchar_t letter = (At(arg, 0) == L'/') ? Upper(At(arg, 1)) : L'\0';
        if ((At(arg, 0) == L'/' && At(arg, 1) == L'?') || letter == L'H') {
            state->usageRequested = 1;
            state->usageWithVersion = (At(arg, 2) == L'?' || Upper(At(arg, 2)) == L'H');
            return;
        }
        DWORD value;
        if (letter == L'A') {
            if (Number(ValueOf(arg), &value, state) && value >= 48 && value <= 240) {
                state->fadeAlpha = value;
                state->optionMask |= 0x1000;
            }
        } else if (lower == L"/c") {
            state->closeRequested = 1;
        } else if (letter == L'W') {
            ModelParent(ValueOf(arg), state);
        } else if (lower == L"/i") {
            state->fadeWhenInactive = 1;
            state->optionMask |= 0x800;
        } else if (letter == L'N') {
            for (wchar_t c : ValueOf(arg)) {
                if (Upper(c) == L'I')
                    state->fadeWhenInactive = 0, state->optionMask |= 0x800;
                if (Upper(c) == L'T')
                    state->alwaysOnTop = 0, state->optionMask |= 0x400;
            }
        } else if (letter == L'P') {
            if (Number(ValueOf(arg), &value, state) && value < 10) {
                state->position = static_cast<WORD>(value);
                state->positionGiven = 1;
            }
        } else if (lower == L"/t") {
            state->alwaysOnTop = 1;
            state->optionMask |= 0x400;
        } else if (!state->haveCommandCode && Number(arg, &value, state)) {
            state->commandCode = value;
            state->haveCommandCode = 1;
        }
    }
}
