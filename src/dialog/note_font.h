// The smaller font of the numbers line.
#ifndef TESSIVAL_NOTE_FONT_H
#define TESSIVAL_NOTE_FONT_H

#include <windows.h>

// A font at 9/10 of messageFont's size, or null when it has no weight or no face name.
HFONT CreateNoteFontFrom(const LOGFONTW* messageFont);

// The system's message font at 9/10 of its size, or null when none could be made. The caller deletes it.
HFONT CreateNoteFont();

#endif
