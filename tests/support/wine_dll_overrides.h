// Wine loads its builtin wininet.dll and winhttp.dll even where a DLL of that name lies in the program's
// folder; a per-program DllOverrides key of "native,builtin" makes it search the way Windows does, so that a
// DLL a test plants there is really within reach. Windows needs no such key: outside Wine this does nothing.
#ifndef TESSIVAL_TESTS_WINE_DLL_OVERRIDES_H
#define TESSIVAL_TESTS_WINE_DLL_OVERRIDES_H

#include <windows.h>

#include <string>
#include <vector>

#include "registry_support.h"

// The overrides for one program, put back afterwards exactly as they were. Both report through GoogleTest;
// Restore() runs only after Apply(), so a TearDown can call it whatever SetUp got through.
class WineDllOverrides {
public:
    // Makes programs named imageName (the file name alone) prefer DLLs of the given names (without ".dll")
    // found in their search path to Wine's builtin ones.
    void Apply(const std::wstring& imageName, const std::vector<std::wstring>& dllNames);
    void Restore();

private:
    std::wstring appKey_;
    std::wstring overridesKey_;
    std::vector<std::wstring> names_;
    std::vector<StoredValue> saved_;
    bool appKeyExisted_ = false;
    bool overridesExisted_ = false;
    bool applied_ = false;
};

#endif
