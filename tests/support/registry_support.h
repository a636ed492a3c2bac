// Registry helpers for the tests: key checks, stored values, and setting the user's own Tessival settings
// aside while a test writes its own.
#ifndef TESSIVAL_TESTS_REGISTRY_SUPPORT_H
#define TESSIVAL_TESTS_REGISTRY_SUPPORT_H

#include <windows.h>

#include <vector>

bool KeyExists(HKEY root, const wchar_t* path);

// Whether this process may create keys under HKEY_LOCAL_MACHINE\Software (its 32-bit view under WOW64, as for
// the program): on Windows only with administrator rights, under Wine always. Asking changes nothing.
bool MachineSettingsWritable();

// The reason a test that writes machine-wide settings gives when it skips.
extern const char kNeedsAdministrator[];

// Vista's tree functions, looked up by name; NULL where the system lacks them.
typedef LONG(WINAPI* RegCopyTreeFunction)(HKEY, LPCWSTR, HKEY);
typedef LONG(WINAPI* RegDeleteTreeFunction)(HKEY, LPCWSTR);
RegCopyTreeFunction CopyTree();
RegDeleteTreeFunction DeleteTree();

// A value as stored: present or not, its type and its bytes.
struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

// The value name of the key path under root, whatever its size.
StoredValue ReadStoredValue(HKEY root, const wchar_t* path, const wchar_t* name);

// Moves the settings key of one root (with everything below it) to backupPath for the length of a test, and
// puts it back afterwards: exactly as it was, or not at all when there was none. Both report through
// GoogleTest; call Save() inside ASSERT_NO_FATAL_FAILURE. Restore() runs once per Save() and only after one, so
// a TearDown can call it whatever SetUp got through.
class SettingsKeyBackup {
public:
    SettingsKeyBackup(HKEY root, const wchar_t* backupPath) : root_(root), backupPath_(backupPath) {}

    // Afterwards the settings key is absent.
    void Save();
    // Deletes whatever the test left in the settings key and puts the original back; removes Software\Ondrake
    // too when it did not exist before Save().
    void Restore();

private:
    HKEY root_;
    const wchar_t* backupPath_;
    bool saved_ = false;
    bool keyExisted_ = false;
    bool vendorExisted_ = false;
};

#endif
