// Loading a system DLL by its full path, so that a DLL of the same name beside the program never loads.
#ifndef TESSIVAL_SYSTEM_MODULE_H
#define TESSIVAL_SYSTEM_MODULE_H

#include <windows.h>

// LoadLibraryExW of fileName in the system directory with flags. Returns null when it cannot.
HMODULE LoadSystemModule(const WCHAR* fileName, DWORD flags);

// The function name of module, as a pointer of type Function, or null: for what the program must not import,
// because Windows XP lacks it or because its DLL is mapped only when needed.
template <typename Function>
Function LookUpFunction(HMODULE module, const char* name) {
    // Through void*, which converts to any function pointer without a warning about the types.
    return module == NULL ? NULL : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The same for a function that the headers declare: its type is the declaration's, so the two cannot drift apart.
#define LOOK_UP_DECLARED(module, function) LookUpFunction<decltype(&function)>(module, #function)

#endif
