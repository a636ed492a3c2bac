// Registry helpers shared by the tests that touch the settings key or other keys of the real registry.
#include "registry_support.h"

#include <gtest/gtest.h>
#include <string.h>

#include <iterator>
#include <string>

#include "app/system_module.h"

const wchar_t vendorKey[] = L"Software\\Ondrake";

const char kNeedsAdministrator[] =
    "writes the machine-wide settings under HKEY_LOCAL_MACHINE, which takes administrator rights on Windows";

const char kMachineSettingsLocked[] =
    "machine-wide settings are deployed here, and only an administrator can set them aside";

static bool Opens(HKEY root, const wchar_t* path, REGSAM access) {
    HKEY key = NULL;
    if (RegOpenKeyExW(root, path, 0, access, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool KeyExists(HKEY root, const wchar_t* path) {
    return Opens(root, path, KEY_READ);
}

bool MachineSettingsWritable() {
    return Opens(HKEY_LOCAL_MACHINE, L"Software", KEY_CREATE_SUB_KEY);
}

bool MachineSettingsLocked() {
    return !MachineSettingsWritable() && KeyExists(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
}

// The tree functions make the tests' backups simple; the program itself does without them (Windows XP lacks
// them), so they are looked up rather than imported.
RegCopyTreeFunction CopyTree() {
    return LookUpFunction<RegCopyTreeFunction>(GetModuleHandleW(L"advapi32.dll"), "RegCopyTreeW");
}

LONG DeleteTree(HKEY root, const wchar_t* path) {
    typedef LONG(WINAPI * RegDeleteTreeFunction)(HKEY, LPCWSTR);
    RegDeleteTreeFunction deleteTree =
        LookUpFunction<RegDeleteTreeFunction>(GetModuleHandleW(L"advapi32.dll"), "RegDeleteTreeW");
    return deleteTree != nullptr ? deleteTree(root, path) : ERROR_PROC_NOT_FOUND;
}

StoredValue ReadStoredValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    StoredValue value;
    HKEY key = NULL;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key, name, NULL, &value.type, NULL, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExW(key, name, NULL, &value.type, value.data.data(), &size) == ERROR_SUCCESS) {
            value.present = true;
            value.data.resize(size);
        }
    }
    RegCloseKey(key);
    return value;
}

StoredValue ReadSetting(HKEY root, const wchar_t* name) {
    return ReadStoredValue(root, SETTINGS_KEY, name);
}

::testing::AssertionResult StoredDwordIs(HKEY root, const wchar_t* name, DWORD expected) {
    StoredValue value = ReadSetting(root, name);
    if (!value.present) {
        return ::testing::AssertionFailure() << "\"" << name << "\" is missing";
    }
    DWORD number = 0;
    const bool fourBytes = value.data.size() == sizeof(number);
    if (fourBytes) {
        memcpy(&number, value.data.data(), sizeof(number));
    }
    return ::testing::AssertionResult(value.type == REG_DWORD && fourBytes && number == expected)
           << "\"" << name << "\" is stored as type " << value.type << ", "
           << (fourBytes ? "value " + std::to_string(number) : std::to_string(value.data.size()) + " bytes")
           << "; expected REG_DWORD (" << REG_DWORD << "), value " << expected;
}

::testing::AssertionResult
StoredSettingsAre(HKEY root, DWORD topmost, DWORD fade, DWORD alpha, DWORD position, DWORD x, DWORD y) {
    const DWORD expected[] = {topmost, fade, alpha, position, x, y};
    static_assert(std::size(expected) == std::size(kValueNames), "one value for each name");
    std::string wrong;
    for (size_t i = 0; i < std::size(kValueNames); ++i) {
        ::testing::AssertionResult stored = StoredDwordIs(root, kValueNames[i], expected[i]);
        if (!stored) {
            wrong += (wrong.empty() ? "" : "; ") + std::string(stored.message());
        }
    }
    return wrong.empty() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << wrong;
}

void WriteSettingValue(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    LONG written = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, written);
}

void WriteSettingDword(HKEY root, const wchar_t* name, DWORD value) {
    WriteSettingValue(root, name, REG_DWORD, &value, sizeof(value));
}

void WriteOptionSettings(HKEY root, DWORD topmost, DWORD fade, DWORD alpha, DWORD position) {
    WriteSettingDword(root, kTopmostName, topmost);
    WriteSettingDword(root, kFadeName, fade);
    WriteSettingDword(root, kAlphaName, alpha);
    WriteSettingDword(root, kPositionName, position);
}

void WriteCornerSettings(HKEY root, DWORD x, DWORD y) {
    WriteSettingDword(root, kPinXName, x);
    WriteSettingDword(root, kPinYName, y);
}

void SettingsKeyBackup::Save() {
    ASSERT_FALSE(saved_) << "saved twice without a restore";
    ASSERT_NE(nullptr, CopyTree());
    // A backup left by a run that never restored holds the user's settings: never copy over it.
    ASSERT_FALSE(KeyExists(root_, backupPath_.c_str())) << "an earlier backup is still there";
    vendorExisted_ = KeyExists(root_, vendorKey);
    keyExisted_ = KeyExists(root_, SETTINGS_KEY);
    if (keyExisted_) {
        HKEY backup = NULL;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(root_, backupPath_.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &backup, NULL));
        LONG copied = CopyTree()(root_, SETTINGS_KEY, backup);
        RegCloseKey(backup);
        if (copied != ERROR_SUCCESS) {
            // The original is untouched: drop the partial copy and leave nothing to restore.
            (void)DeleteTree(root_, backupPath_.c_str());
            FAIL() << "copying the settings key failed: " << copied;
        }
    }
    // From here on Restore() has a complete backup to go back to, even if the deletion stops half-way.
    saved_ = true;
    if (keyExisted_) {
        ASSERT_EQ(ERROR_SUCCESS, DeleteTree(root_, SETTINGS_KEY));
    }
}

void SettingsKeyBackup::Restore() {
    if (!saved_) {
        return;
    }
    saved_ = false;
    // Absent when the test wrote nothing, which is fine.
    (void)DeleteTree(root_, SETTINGS_KEY);
    if (keyExisted_) {
        HKEY restored = NULL;
        LONG copied = RegCreateKeyExW(root_, SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &restored, NULL);
        if (copied == ERROR_SUCCESS) {
            copied = CopyTree()(root_, backupPath_.c_str(), restored);
            RegCloseKey(restored);
        }
        // On failure the backup stays where it is, so that the user's settings are not lost with it.
        EXPECT_EQ(ERROR_SUCCESS, copied) << "the settings were not put back; they are still in the backup key";
        if (copied == ERROR_SUCCESS) {
            (void)DeleteTree(root_, backupPath_.c_str());
        }
    }
    if (!vendorExisted_) {
        (void)DeleteTree(root_, vendorKey);
    }
    EXPECT_EQ(keyExisted_, KeyExists(root_, SETTINGS_KEY));
}

void BothSettingsKeysBackup::Save() {
    machineWritable_ = MachineSettingsWritable();
    ASSERT_NO_FATAL_FAILURE(keys_[0].Save());
    if (machineWritable_) {
        ASSERT_NO_FATAL_FAILURE(keys_[1].Save());
    }
}

void BothSettingsKeysBackup::Restore() {
    for (SettingsKeyBackup& key : keys_) {
        key.Restore();
    }
}
