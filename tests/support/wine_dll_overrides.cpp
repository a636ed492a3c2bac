// The per-program DLL overrides that let a planted DLL be found under Wine, and their removal.
#include "wine_dll_overrides.h"

#include <gtest/gtest.h>

#include "platform_support.h"

void WineDllOverrides::Apply(const std::wstring& imageName, const std::vector<std::wstring>& dllNames) {
    ASSERT_FALSE(applied_) << "applied twice without a restore";
    if (!RunningUnderWine()) {
        return;
    }
    appKey_ = L"Software\\Wine\\AppDefaults\\" + imageName;
    overridesKey_ = appKey_ + L"\\DllOverrides";
    names_ = dllNames;
    appKeyExisted_ = KeyExists(HKEY_CURRENT_USER, appKey_.c_str());
    overridesExisted_ = KeyExists(HKEY_CURRENT_USER, overridesKey_.c_str());
    saved_.clear();
    for (const std::wstring& name : names_) {
        saved_.push_back(ReadStoredValue(HKEY_CURRENT_USER, overridesKey_.c_str(), name.c_str()));
    }
    HKEY overrides = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, overridesKey_.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &overrides, NULL));
    applied_ = true;
    static const WCHAR order[] = L"native,builtin";
    for (const std::wstring& name : names_) {
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(overrides, name.c_str(), 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>(order), sizeof(order)));
    }
    RegCloseKey(overrides);
}

void WineDllOverrides::Restore() {
    if (!applied_) {
        return;
    }
    applied_ = false;
    HKEY overrides = NULL;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, overridesKey_.c_str(), 0, KEY_ALL_ACCESS, &overrides) == ERROR_SUCCESS) {
        for (size_t i = 0; i < names_.size(); i++) {
            const StoredValue& saved = saved_[i];
            if (saved.present) {
                (void)RegSetValueExW(overrides, names_[i].c_str(), 0, saved.type, saved.data.data(),
                                     static_cast<DWORD>(saved.data.size()));
            } else {
                (void)RegDeleteValueW(overrides, names_[i].c_str());
            }
        }
        RegCloseKey(overrides);
    }
    if (!overridesExisted_) {
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, overridesKey_.c_str()));
    }
    if (!appKeyExisted_) {
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, appKey_.c_str()));
    }
}
