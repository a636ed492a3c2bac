// Loading a system DLL by its full path, so that a DLL of the same name beside the program never loads.
#ifndef TESSIVAL_SYSTEM_MODULE_H
#define TESSIVAL_SYSTEM_MODULE_H

#include <windows.h>

// LoadLibraryExW of fileName in the system directory with flags. Returns null when it cannot.
HMODULE LoadSystemModule(const WCHAR* fileName, DWORD flags);

#endif
