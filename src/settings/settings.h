// The options and the pinned position in the registry key Software\Ondrake\Tessival.
#ifndef TESSIVAL_SETTINGS_H
#define TESSIVAL_SETTINGS_H

#include <windows.h>

// Takes the whole option set (and a pinned position that is still on screen) from root into AppState.
// Returns 1 when the option set was read and taken, 0 when nothing changed.
int LoadSettings(HKEY root);

// Writes the options under HKEY_CURRENT_USER, and the dialog's top-left corner when pinChecked is non-zero.
// Returns 1 when all four option values were written.
int SaveSettings(HWND dialog, BOOL pinChecked);

// Deletes the values "X" and "Y" under root. Returns how many were deleted.
int ForgetPinnedPosition(HKEY root);

// Deletes subKeyPath under root with everything below it. Returns 0 when the key was deleted, 1 when not.
int DeleteKeyTree(HKEY root, const WCHAR* subKeyPath);

#endif
