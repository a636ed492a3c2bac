// The About entry of the system menu and the About box.
#ifndef TESSIVAL_ABOUT_H
#define TESSIVAL_ABOUT_H

#include <windows.h>

// Inserts "&About Tessival" and a separator before Close in dialog's system menu. Returns 1 when inserted.
BOOL AddAboutMenuItem(HWND dialog);

// Shows the shell's modal About box owned by dialog.
void ShowAbout(HWND dialog);

// Closes the About boxes that dialog owns, so that a closing dialog leaves none behind.
void CloseAboutBoxes(HWND dialog);

#endif
