// Registry helpers for the tests: key checks, stored values, and setting the user's own Tessival settings
// aside while a test writes its own.
#ifndef TESSIVAL_TESTS_REGISTRY_SUPPORT_H
#define TESSIVAL_TESTS_REGISTRY_SUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"

// The names of the stored settings, written apart from the program's own: the option set (taken whole or not at all,
// in WriteOptionSettings' order), then the pinned corner.
const wchar_t kTopmostName[] = L"Always on top";
const wchar_t kFadeName[] = L"Fade when inactive";
const wchar_t kAlphaName[] = L"Alpha";
const wchar_t kPositionName[] = L"Position on parent";
const wchar_t kPinXName[] = L"X";
const wchar_t kPinYName[] = L"Y";
const wchar_t* const kOptionNames[] = {kTopmostName, kFadeName, kAlphaName, kPositionName};
const wchar_t* const kValueNames[] = {kTopmostName, kFadeName, kAlphaName, kPositionName, kPinXName, kPinYName};

bool KeyExists(HKEY root, const wchar_t* path);

// Whether this process may create keys under HKEY_LOCAL_MACHINE\Software (its 32-bit view under WOW64, as for
// the program): on Windows only with administrator rights, under Wine always. Asking changes nothing.
bool MachineSettingsWritable();

// The reason a test that writes machine-wide settings gives when it skips.
extern const char kNeedsAdministrator[];

// Whether machine-wide settings are deployed where this process cannot set them aside (on Windows, without
// administrator rights): they would decide every start, so a test that needs the settings of its own skips,
// giving kMachineSettingsLocked.
bool MachineSettingsLocked();
extern const char kMachineSettingsLocked[];

// Vista's tree functions, looked up by name: CopyTree is NULL, and DeleteTree fails with ERROR_PROC_NOT_FOUND,
// where the system lacks them.
typedef LONG(WINAPI* RegCopyTreeFunction)(HKEY, LPCWSTR, HKEY);
RegCopyTreeFunction CopyTree();
LONG DeleteTree(HKEY root, const wchar_t* path);

// A value as stored: present or not, its type and its bytes.
struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

// The value name of the key path under root, whatever its size.
StoredValue ReadStoredValue(HKEY root, const wchar_t* path, const wchar_t* name);

// The same for a value of the settings key.
StoredValue ReadSetting(HKEY root, const wchar_t* name);

// Whether the settings key of root holds name as a REG_DWORD of four bytes equal to expected; the result says what
// is stored (its type and value, or that it is missing) either way.
::testing::AssertionResult StoredDwordIs(HKEY root, const wchar_t* name, DWORD expected);

// Whether the settings key of root holds the six values, the option set and then the pinned corner, each as
// StoredDwordIs says; the result names every one that is not, with what is stored.
::testing::AssertionResult
StoredSettingsAre(HKEY root, DWORD topmost, DWORD fade, DWORD alpha, DWORD position, DWORD x, DWORD y);

// Writes a value into the settings key of root, creating the key; reports failures through GoogleTest.
void WriteSettingValue(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size);
void WriteSettingDword(HKEY root, const wchar_t* name, DWORD value);

// The four values of the option set, and the pinned corner "X" and "Y", each as a REG_DWORD.
void WriteOptionSettings(HKEY root, DWORD topmost, DWORD fade, DWORD alpha, DWORD position);
void WriteCornerSettings(HKEY root, DWORD x, DWORD y);

// Moves the settings key of one root (with everything below it) aside for the length of a test, into a sibling
// named after the tests that saved it (savedBy), and puts it back afterwards: exactly as it was, or not at all
// when there was none. Both report through GoogleTest; call Save() inside ASSERT_NO_FATAL_FAILURE. Restore() runs
// once per Save() and only after one, so a TearDown can call it whatever SetUp got through.
class SettingsKeyBackup {
public:
    SettingsKeyBackup(HKEY root, const wchar_t* savedBy)
        : root_(root), backupPath_(std::wstring(SETTINGS_KEY L" (saved by ") + savedBy + L")") {}

    // Afterwards the settings key is absent.
    void Save();
    // Deletes whatever the test left in the settings key and puts the original back; removes Software\Ondrake
    // too when it did not exist before Save().
    void Restore();

private:
    HKEY root_;
    std::wstring backupPath_;
    bool saved_ = false;
    bool keyExisted_ = false;
    bool vendorExisted_ = false;
};

// The settings keys of both roots set aside for a test: the per-user one always, the machine-wide one where
// this process may write it. Elsewhere that one stays as it is: absent, it changes nothing; deployed, it is
// what MachineSettingsLocked() reports, and the test skips. Save() and Restore() as for one key.
class BothSettingsKeysBackup {
public:
    explicit BothSettingsKeysBackup(const wchar_t* savedBy)
        : keys_{{HKEY_CURRENT_USER, savedBy}, {HKEY_LOCAL_MACHINE, savedBy}} {}
    void Save();
    void Restore();
    // Whether Save() set the machine-wide key aside, so that the test may write its own there.
    bool MachineWritable() const {
        return machineWritable_;
    }

private:
    SettingsKeyBackup keys_[2];
    bool machineWritable_ = false;
};

#endif
