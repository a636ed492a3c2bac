// An independent model of the number grammar and the option pass, written from their rules, for the
// randomized tests to compare the program against.
#ifndef TESSIVAL_TESTS_GRAMMAR_MODEL_H
#define TESSIVAL_TESTS_GRAMMAR_MODEL_H

#include <windows.h>

#include <string>
#include <vector>

struct NumberModel {
    int result;       // 0, -1 or ERANGE
    DWORD value;      // meaningful when result is 0
    size_t endIndex;  // where the number stopped, when result is 0
    bool certain;     // false when a non-ASCII digit makes the outcome the run-time library's own choice
};

NumberModel ModelParseNumber(const std::wstring& text, bool withEnd);

struct OptionModelState {
    DWORD commandCode = 0xFFFFFFFFu;
    BOOL haveCommandCode = 0;
    WORD position = 9;
    DWORD fadeAlpha = 224;
    BOOL alwaysOnTop = 0;
    BOOL fadeWhenInactive = 0;
    HWND parentWindow = NULL;
    DWORD optionMask = 0;
    BOOL positionGiven = 0;
    BOOL closeRequested = 0;
    BOOL usageRequested = 0;
    BOOL usageWithVersion = 0;
    bool certain = true;
};

void ModelOptionPass(const std::vector<std::wstring>& arguments, OptionModelState* state);

#endif
