// The About entry, the About box and the note font that dress the lookup dialog.
#include "dialog/about.h"

#include "app/app_state.h"
#include "app/system_module.h"
#include "resource.h"

#define ABOUT_WEB_TEXT L"http://www.ondrake.example/plugins/tessival.html"

BOOL AddAboutMenuItem(HWND dialog) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (menu == NULL) {
        return 0;
    }
    (void)wsprintfW(text, L"&About %s", PROGRAM_NAME);
    if (!InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, IDM_ABOUT, text)) {
        return 0;
    }
    (void)InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, NULL);
    return 1;
}

typedef int(WINAPI* ShellAboutFunction)(HWND owner, LPCWSTR title, LPCWSTR otherText, HICON icon);

void ShowAbout(HWND dialog) {
    WCHAR text[TEXT_BUFFER_UNITS] = {};
    // The shell splits the text at "#": the title before it, the first line of the box after it.
    (void)wsprintfW(text, L"About %s#%s  %u.%u.%u.%u  (%s)\n", PROGRAM_NAME, PROGRAM_NAME, VERSION_MAJOR, VERSION_MINOR,
                    VERSION_BUILD, VERSION_REVISION, PLATFORM_TEXT);
    // shell32 is mapped only for the About box, which few runs open.
    HMODULE shell = LoadSystemModule(L"shell32.dll", 0);
    if (shell == NULL) {
        return;
    }
    ShellAboutFunction shellAbout =
        reinterpret_cast<ShellAboutFunction>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellAboutW")));
    if (shellAbout != NULL) {
        (void)shellAbout(dialog, text, ABOUT_WEB_TEXT, NULL);
    }
    (void)FreeLibrary(shell);
}

LONG ScaleNoteFontMetric(LONG metric) {
    return metric * 9 / 10;
}

// The headers targeting XP describe the 500-byte record; Vista and later fill 504 bytes, ending in the
// padded-border width, and refuse the shorter size only on systems older than that.
struct NonClientMetrics504 {
    NONCLIENTMETRICSW metrics;
#if _WIN32_WINNT < 0x0600
    int paddedBorderWidth;
#endif
};
static_assert(sizeof(NonClientMetrics504) == 504, "the record must have its Vista size");

HFONT CreateNoteFontFrom(const LOGFONTW* messageFont) {
    if (messageFont->lfWeight == 0 || messageFont->lfFaceName[0] == L'\0') {
        return NULL;
    }
    // Escapement, orientation, underline and strike-out are not carried over.
    return CreateFontW(ScaleNoteFontMetric(messageFont->lfHeight), ScaleNoteFontMetric(messageFont->lfWidth), 0, 0,
                       messageFont->lfWeight, messageFont->lfItalic, 0, 0, messageFont->lfCharSet,
                       messageFont->lfOutPrecision, messageFont->lfClipPrecision, messageFont->lfQuality,
                       messageFont->lfPitchAndFamily, messageFont->lfFaceName);
}

HFONT CreateNoteFont() {
    NonClientMetrics504 record = {};
    record.metrics.cbSize = sizeof(record);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(record), &record, 0)) {
        return NULL;
    }
    return CreateNoteFontFrom(&record.metrics.lfMessageFont);
}
