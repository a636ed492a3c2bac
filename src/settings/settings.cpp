// The registry settings: the option set and the pinned position under Software\Ondrake\Tessival, read from
// a root the caller chooses and written under HKEY_CURRENT_USER only.
#include <windows.h>
#include <stdlib.h>

#include "app/app_state.h"
#include "settings/settings.h"

static const WCHAR alwaysOnTopName[] = L"Always on top";
static const WCHAR fadeName[] = L"Fade when inactive";
static const WCHAR alphaName[] = L"Alpha";
static const WCHAR positionName[] = L"Position on parent";
static const WCHAR pinXName[] = L"X";
static const WCHAR pinYName[] = L"Y";

// Reads a value only when it is a REG_DWORD of exactly four bytes. Type and size start afresh for every
// query: a size left over from an earlier, longer value would let the platform write past *value.
static BOOL QueryDword(HKEY key, const WCHAR* name, DWORD* value) {
    DWORD data = 0;
    DWORD type = 0;
    DWORD size = sizeof(data);
    LONG status = RegQueryValueExW(key, name, NULL, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data)) {
        return FALSE;
    }
    *value = data;
    return TRUE;
}

static BOOL SetDword(HKEY key, const WCHAR* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

// How far inside a pinned top-left corner a window of some screen must be found.
const DWORD PIN_PROBE_INSET = 10;

static BOOL IsPinnedCornerOnScreen(DWORD x, DWORD y) {
    // 32-bit wrap-around rather than signed overflow for corners near the ends of the range.
    POINT probe = {static_cast<LONG>(x + PIN_PROBE_INSET), static_cast<LONG>(y + PIN_PROBE_INSET)};
    return WindowFromPoint(probe) != NULL;
}

int ForgetPinnedPosition(HKEY root) {
    HKEY key = NULL;
    if (RegOpenKeyExW(root, SETTINGS_KEY, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) {
        return 0;
    }
    int deleted = 0;
    if (RegDeleteValueW(key, pinXName) == ERROR_SUCCESS) {
        deleted++;
    }
    if (RegDeleteValueW(key, pinYName) == ERROR_SUCCESS) {
        deleted++;
    }
    (void)RegCloseKey(key);
    return deleted;
}

int LoadSettings(HKEY root) {
    HKEY key = NULL;
    if (RegOpenKeyExW(root, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD alwaysOnTop = 0;
    DWORD fade = 0;
    DWORD alpha = 0;
    DWORD position = 0;
    // Every value is queried even after a failure; the set is still taken whole or not at all.
    BOOL complete = TRUE;
    complete &= QueryDword(key, alwaysOnTopName, &alwaysOnTop);
    complete &= QueryDword(key, fadeName, &fade);
    complete &= QueryDword(key, alphaName, &alpha);
    complete &= QueryDword(key, positionName, &position);
    if (!IsFadeAlphaInRange(alpha)) {
        alpha = FADE_ALPHA_DEFAULT;
    }
    // A stored centre (5) is not restored; the default position is.
    if (!IsKeypadPosition(position) || position == POSITION_CENTRE) {
        position = POSITION_DEFAULT;
    }

    DWORD x = 0;
    DWORD y = 0;
    BOOL pinValid = FALSE;
    if (complete) {
        // A corner with one value missing, or no longer on any screen, is forgotten rather than kept for later.
        pinValid = QueryDword(key, pinXName, &x) && QueryDword(key, pinYName, &y) && IsPinnedCornerOnScreen(x, y);
        if (!pinValid) {
            (void)ForgetPinnedPosition(root);
        }
    }
    (void)RegCloseKey(key);
    if (!complete) {
        return 0;
    }
    AppState.alwaysOnTop = static_cast<BOOL>(alwaysOnTop);
    AppState.fadeWhenInactive = static_cast<BOOL>(fade);
    AppState.fadeAlpha = alpha;
    AppState.position = static_cast<WORD>(position);
    AppState.pinned = pinValid;
    AppState.pinX = pinValid ? static_cast<LONG>(x) : 0;
    AppState.pinY = pinValid ? static_cast<LONG>(y) : 0;
    return 1;
}

int SaveSettings(HWND dialog, BOOL pinChecked) {
    DWORD position = AppState.position;
    HKEY key = NULL;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL,
                        &key, NULL) != ERROR_SUCCESS) {
        return 0;
    }
    // Each write is made even after one failed.
    int result = 1;
    if (!SetDword(key, alwaysOnTopName, static_cast<DWORD>(AppState.alwaysOnTop))) {
        result = 0;
    }
    if (!SetDword(key, fadeName, static_cast<DWORD>(AppState.fadeWhenInactive))) {
        result = 0;
    }
    if (!SetDword(key, alphaName, AppState.fadeAlpha)) {
        result = 0;
    }
    if (!SetDword(key, positionName, position)) {
        result = 0;
    }
    RECT rect = {};
    if (pinChecked && result == 1 && GetWindowRect(dialog, &rect)) {
        // Signed coordinates go in as their 32-bit patterns; a failed write here only loses the pin.
        (void)SetDword(key, pinXName, static_cast<DWORD>(rect.left));
        (void)SetDword(key, pinYName, static_cast<DWORD>(rect.top));
    } else {
        (void)ForgetPinnedPosition(HKEY_CURRENT_USER);
    }
    (void)RegCloseKey(key);
    return result;
}

// Works through key handles rather than full paths: root may be any open key, and each level opens its
// children by name relative to itself, so no path is ever built and trees of any depth or path length go.
int DeleteKeyTree(HKEY root, const WCHAR* subKeyPath) {
    HKEY key = NULL;
    if (RegOpenKeyExW(root, subKeyPath, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        WCHAR name[TEXT_BUFFER_UNITS] = {};
        DWORD nameLength = _countof(name);
        DWORD index = 0;
        while (RegEnumKeyExW(key, index, name, &nameLength, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
            // A deleted child shifts the indices, so start over; an undeletable one is passed over.
            if (DeleteKeyTree(key, name) == 0) {
                index = 0;
            } else {
                index++;
            }
            name[0] = 0;
            nameLength = _countof(name);
        }
        (void)RegCloseKey(key);
    }
    return RegDeleteKeyW(root, subKeyPath) == ERROR_SUCCESS ? 0 : 1;
}
