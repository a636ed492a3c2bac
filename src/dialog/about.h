// The About entry of the system menu, the About box and the smaller font of the numbers line.
#ifndef TESSIVAL_ABOUT_H
#define TESSIVAL_ABOUT_H

#include <windows.h>

// Inserts "&About Tessival" and a separator before Close in dialog's system menu. Returns 1 when inserted.
BOOL AddAboutMenuItem(HWND dialog);

// Shows the shell's modal About box owned by dialog.
void ShowAbout(HWND dialog);

// 9/10 of a message-font height or width, truncated toward zero.
LONG ScaleNoteFontMetric(LONG metric);

// A font at 9/10 of messageFont's size, or null when it has no weight or no face name.
HFONT CreateNoteFontFrom(const LOGFONTW* messageFont);

// The system's message font at 9/10 of its size, or null when none could be made. The caller deletes it.
HFONT CreateNoteFont();

#endif
