// Expected message texts, from FormatMessageW and a tidying of the tests' own.
#include "message_texts.h"

#include <wctype.h>

#include <vector>

#include "app/app_state.h"
#include "errtext/error_text.h"

std::wstring RawMessageText(DWORD code, DWORD flags, HMODULE source) {
    std::vector<WCHAR> buffer(TEXT_BUFFER_UNITS, 0);
    DWORD length = FormatMessageW(flags, source, code, 0, buffer.data(), TEXT_BUFFER_UNITS, NULL);
    return length == 0 ? std::wstring() : std::wstring(buffer.data(), length);
}

std::wstring TidiedMessageText(std::wstring text) {
    while (!text.empty() && iswspace(text.back())) {
        text.pop_back();
    }
    return text.empty() ? text : text + L"\n";
}

std::wstring SystemMessageShown(DWORD code) {
    return TidiedMessageText(RawMessageText(code, MESSAGE_FLAGS_SYSTEM, NULL));
}

std::wstring ShownOrUnknown(DWORD code, const std::wstring& found) {
    return found.empty() ? L"Unknown error:  " + std::to_wstring(static_cast<int>(code)) : found;
}
