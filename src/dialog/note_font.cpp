// The smaller font of the numbers line, made from the system's message font.
#include "dialog/note_font.h"

// 9/10 of a message-font height or width, truncated toward zero.
static LONG ScaleNoteFontMetric(LONG metric) {
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
