// The registry settings against the real registry: the option set taken whole or not at all, the type and
// size check, the range replacements, the pinned position and its on-screen test, writes under the per-user
// root only, key tree deletion, and random value sets against an independent model of the rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/app_state.h"
#include "settings/settings.h"
#include "registry_support.h"

namespace {

void DeleteValue(HKEY root, const wchar_t* name) {
    HKEY key = NULL;
    if (RegOpenKeyExW(root, SETTINGS_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, name);
        RegCloseKey(key);
    }
}

// Values no load may produce, so that a field LoadSettings should not touch shows any change.
void ScrambleState() {
    ResetAppState();
    AppState.alwaysOnTop = 77;
    AppState.fadeWhenInactive = 78;
    AppState.fadeAlpha = 79;
    AppState.position = 80;
    AppState.pinned = 81;
    AppState.pinX = 82;
    AppState.pinY = 83;
}

bool StateIsScrambled() {
    return AppState.alwaysOnTop == 77 && AppState.fadeWhenInactive == 78 && AppState.fadeAlpha == 79 &&
           AppState.position == 80 && AppState.pinned == 81 && AppState.pinX == 82 && AppState.pinY == 83;
}

// Sets the settings keys of both roots aside (as BothSettingsKeysBackup describes) and puts them back afterwards,
// whatever the test did; keeps a visible window whose rectangle holds the pinned points the tests store.
class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        if (MachineSettingsLocked()) {
            GTEST_SKIP() << kMachineSettingsLocked;
        }
        ASSERT_NO_FATAL_FAILURE(backups_.Save());
        machineWritable_ = backups_.MachineWritable();
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"pin target", WS_POPUP | WS_VISIBLE,
                                  200, 200, 200, 200, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, window_);
        ASSERT_TRUE(GetWindowRect(window_, &windowRect_));
    }

    void TearDown() override {
        if (window_ != NULL) {
            DestroyWindow(window_);
        }
        backups_.Restore();
    }

    // True when the on-screen test would find a window at the point of a stored corner.
    bool OnWindow(DWORD x, DWORD y) const {
        return PtInRect(&windowRect_, POINT{static_cast<LONG>(x + 10u), static_cast<LONG>(y + 10u)}) != FALSE;
    }

    // The roots this run may write: the per-user one, and the machine-wide one with administrator rights.
    int RootCount() const {
        return machineWritable_ ? 2 : 1;
    }

    bool machineWritable_ = false;
    HKEY roots_[2] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
    BothSettingsKeysBackup backups_{L"the settings tests"};
    HWND window_ = NULL;
    RECT windowRect_ = {};
};

TEST_F(Settings, NoKeyLeavesTheState) {
    ScrambleState();
    EXPECT_EQ(0, LoadSettings(HKEY_CURRENT_USER));
    EXPECT_EQ(0, LoadSettings(HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(StateIsScrambled());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY));
}

TEST_F(Settings, OptionValuesAndRanges) {
    struct {
        DWORD top, fade, alpha, position;
        BOOL expectedTop, expectedFade;
        DWORD expectedAlpha;
        WORD expectedPosition;
    } cases[] = {
        {0, 0, 224, 9, 0, 0, 224, 9},
        {1, 1, 48, 0, 1, 1, 48, 0},
        {2, 7, 240, 4, 2, 7, 240, 4},
        {0, 0, 47, 6, 0, 0, 224, 6},
        {0, 0, 241, 5, 0, 0, 224, 9},
        {0, 0, 0, 10, 0, 0, 224, 9},
        {0, 0, 0xFFFFFFFFu, 65539, 0, 0, 224, 9},
        {0xFFFFFFFFu, 0, 100, 0xFFFFFFFFu, -1, 0, 100, 9},
        {0, 0, 0x100 + 100, 3, 0, 0, 224, 3},
    };
    for (const auto& c : cases) {
        WriteOptionSettings(HKEY_CURRENT_USER, c.top, c.fade, c.alpha, c.position);
        ScrambleState();
        ASSERT_EQ(1, LoadSettings(HKEY_CURRENT_USER)) << "alpha " << c.alpha << ", position " << c.position;
        EXPECT_EQ(c.expectedTop, AppState.alwaysOnTop);
        EXPECT_EQ(c.expectedFade, AppState.fadeWhenInactive);
        EXPECT_EQ(c.expectedAlpha, AppState.fadeAlpha) << "alpha " << c.alpha;
        EXPECT_EQ(c.expectedPosition, AppState.position) << "position " << c.position;
        // No "X"/"Y": not pinned, and the corner cleared.
        EXPECT_EQ(0, AppState.pinned);
        EXPECT_EQ(0, AppState.pinX);
        EXPECT_EQ(0, AppState.pinY);
    }
}

TEST_F(Settings, IncompleteOptionSetTakesNothing) {
    for (const wchar_t* missing : kOptionNames) {
        WriteOptionSettings(HKEY_CURRENT_USER, 1, 1, 100, 3);
        WriteCornerSettings(HKEY_CURRENT_USER, 0xFFFFD8F0u, 0xFFFFD8F0u);  // off screen, yet neither read nor deleted
        DeleteValue(HKEY_CURRENT_USER, missing);
        ScrambleState();
        EXPECT_EQ(0, LoadSettings(HKEY_CURRENT_USER)) << "without " << missing;
        EXPECT_TRUE(StateIsScrambled()) << "without " << missing;
        EXPECT_TRUE(ReadSetting(HKEY_CURRENT_USER, kPinXName).present) << "without " << missing;
        EXPECT_TRUE(ReadSetting(HKEY_CURRENT_USER, kPinYName).present) << "without " << missing;
    }
}

// Every value of a wrong type or size: an option value spoils the whole set, a corner value the pin.
TEST_F(Settings, WrongTypesAndSizes) {
    const BYTE eight[8] = {100, 0, 0, 0, 0, 0, 0, 0};
    const BYTE bigEndian[4] = {0, 0, 0, 100};
    struct {
        const char* what;
        DWORD type;
        const void* data;
        DWORD size;
    } forms[] = {
        {"REG_SZ of four bytes", REG_SZ, L"5", 4},
        {"REG_SZ", REG_SZ, L"200", 8},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, L"200", 8},
        {"REG_MULTI_SZ", REG_MULTI_SZ, L"200\0", 10},
        {"REG_BINARY of four bytes", REG_BINARY, eight, 4},
        {"REG_NONE of four bytes", REG_NONE, eight, 4},
        {"REG_QWORD", REG_QWORD, eight, 8},
        {"REG_DWORD_BIG_ENDIAN", REG_DWORD_BIG_ENDIAN, bigEndian, 4},
        {"REG_DWORD of 0 bytes", REG_DWORD, eight, 0},
        {"REG_DWORD of 3 bytes", REG_DWORD, eight, 3},
        {"REG_DWORD of 8 bytes", REG_DWORD, eight, 8},
    };
    for (const auto& form : forms) {
        for (int i = 0; i < 6; i++) {
            const wchar_t* name = kValueNames[i];
            WriteOptionSettings(HKEY_CURRENT_USER, 1, 1, 100, 3);
            WriteCornerSettings(HKEY_CURRENT_USER, 200, 200);
            WriteSettingValue(HKEY_CURRENT_USER, name, form.type, form.data, form.size);
            ScrambleState();
            if (i < 4) {
                EXPECT_EQ(0, LoadSettings(HKEY_CURRENT_USER)) << form.what << " as " << name;
                EXPECT_TRUE(StateIsScrambled()) << form.what << " as " << name;
                EXPECT_TRUE(StoredDwordIs(HKEY_CURRENT_USER, kPinXName, 200)) << form.what << " as " << name;
                continue;
            }
            EXPECT_EQ(1, LoadSettings(HKEY_CURRENT_USER)) << form.what << " as " << name;
            EXPECT_EQ(0, AppState.pinned) << form.what << " as " << name;
            EXPECT_EQ(0, AppState.pinX);
            EXPECT_EQ(0, AppState.pinY);
            EXPECT_EQ(100u, AppState.fadeAlpha);
            EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, kPinXName).present) << form.what << " as " << name;
            EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, kPinYName).present) << form.what << " as " << name;
        }
    }
}

TEST_F(Settings, PinnedPositionOnAndOffScreen) {
    struct {
        bool writeX, writeY;
        DWORD x, y;
        bool pinned;
    } cases[] = {
        {true, true, 200, 200, true},                   // (210, 210) lies on the test window
        {true, true, 380, 380, true},                   // (390, 390), still inside
        {true, true, 0xFFFFB1E0u, 0xFFFFB1E0u, false},  // -20000: no window there
        {true, true, 200, 0xFFFFB1E0u, false},
        {true, true, 0x7FFFFFFAu, 200, false},  // X + 10 wraps to a far negative coordinate
        {true, false, 200, 0, false},
        {false, true, 0, 200, false},
        {false, false, 0, 0, false},
    };
    ASSERT_EQ(nullptr, WindowFromPoint(POINT{-19990, -19990}));
    for (const auto& c : cases) {
        WriteOptionSettings(HKEY_CURRENT_USER, 0, 0, 224, 9);
        WriteCornerSettings(HKEY_CURRENT_USER, c.x, c.y);
        if (!c.writeX) {
            DeleteValue(HKEY_CURRENT_USER, kPinXName);
        }
        if (!c.writeY) {
            DeleteValue(HKEY_CURRENT_USER, kPinYName);
        }
        ScrambleState();
        ASSERT_EQ(1, LoadSettings(HKEY_CURRENT_USER));
        EXPECT_EQ(c.pinned ? 1 : 0, AppState.pinned) << c.x << ", " << c.y;
        EXPECT_EQ(c.pinned ? static_cast<LONG>(c.x) : 0, AppState.pinX);
        EXPECT_EQ(c.pinned ? static_cast<LONG>(c.y) : 0, AppState.pinY);
        EXPECT_EQ(c.pinned, ReadSetting(HKEY_CURRENT_USER, kPinXName).present) << c.x << ", " << c.y;
        EXPECT_EQ(c.pinned, ReadSetting(HKEY_CURRENT_USER, kPinYName).present) << c.x << ", " << c.y;
    }
}

TEST_F(Settings, StalePinIsDeletedUnderTheRootItWasReadFrom) {
    if (!machineWritable_) {
        GTEST_SKIP() << kNeedsAdministrator;
    }
    WriteOptionSettings(HKEY_LOCAL_MACHINE, 1, 0, 150, 7);
    WriteCornerSettings(HKEY_LOCAL_MACHINE, 0xFFFFB1E0u, 0xFFFFB1E0u);
    WriteOptionSettings(HKEY_CURRENT_USER, 0, 1, 60, 1);
    WriteCornerSettings(HKEY_CURRENT_USER, 0xFFFFB1E0u, 0xFFFFB1E0u);

    ASSERT_EQ(1, LoadSettings(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(1, AppState.alwaysOnTop);
    EXPECT_EQ(150u, AppState.fadeAlpha);
    EXPECT_EQ(7, AppState.position);
    EXPECT_EQ(0, AppState.pinned);
    EXPECT_FALSE(ReadSetting(HKEY_LOCAL_MACHINE, kPinXName).present);
    EXPECT_FALSE(ReadSetting(HKEY_LOCAL_MACHINE, kPinYName).present);
    EXPECT_TRUE(ReadSetting(HKEY_CURRENT_USER, kPinXName).present);
    EXPECT_TRUE(ReadSetting(HKEY_CURRENT_USER, kPinYName).present);
}

TEST_F(Settings, SaveWritesUnderTheCurrentUserOnly) {
    AppState.alwaysOnTop = 2;
    AppState.fadeWhenInactive = 1;
    AppState.fadeAlpha = 0;  // what an instance message may leave; written as held
    AppState.position = 3;
    EXPECT_EQ(1, SaveSettings(window_, TRUE));
    EXPECT_TRUE(StoredSettingsAre(HKEY_CURRENT_USER, 2, 1, 0, 3, static_cast<DWORD>(windowRect_.left),
                                  static_cast<DWORD>(windowRect_.top)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, SETTINGS_KEY));

    // Read back: 2 stays 2, 0 becomes 224, the pin holds.
    ResetAppState();
    ASSERT_EQ(1, LoadSettings(HKEY_CURRENT_USER));
    EXPECT_EQ(2, AppState.alwaysOnTop);
    EXPECT_EQ(224u, AppState.fadeAlpha);
    EXPECT_EQ(3, AppState.position);
    EXPECT_EQ(1, AppState.pinned);
    EXPECT_EQ(windowRect_.left, AppState.pinX);
    EXPECT_EQ(windowRect_.top, AppState.pinY);
}

TEST_F(Settings, SaveWithoutPinForgetsTheCornerUnderTheCurrentUserOnly) {
    if (!machineWritable_) {
        GTEST_SKIP() << kNeedsAdministrator;
    }
    for (HKEY root : roots_) {
        WriteCornerSettings(root, 200, 200);
    }
    AppState.position = 5;  // saved as held, though a load turns it into 9
    EXPECT_EQ(1, SaveSettings(window_, FALSE));
    EXPECT_TRUE(StoredDwordIs(HKEY_CURRENT_USER, kPositionName, 5));
    EXPECT_TRUE(StoredDwordIs(HKEY_CURRENT_USER, kAlphaName, 224));
    EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, kPinXName).present);
    EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, kPinYName).present);
    EXPECT_TRUE(ReadSetting(HKEY_LOCAL_MACHINE, kPinXName).present);
    EXPECT_TRUE(ReadSetting(HKEY_LOCAL_MACHINE, kPinYName).present);

    // Pin checked but no window rectangle to take: the corner is forgotten as well.
    WriteCornerSettings(HKEY_CURRENT_USER, 200, 200);
    EXPECT_EQ(1, SaveSettings(NULL, TRUE));
    EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, kPinXName).present);
    EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, kPinYName).present);
}

TEST_F(Settings, NegativeCornerRoundTrips) {
    // A left edge just left of the screen, as on a monitor placed left of the primary one; -5 keeps the
    // probe point (5, Y + 10) on the one screen this test has, so the pin survives the reload.
    for (int x : {-5, -150}) {
        HWND left = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"left", WS_POPUP | WS_VISIBLE, x, 500,
                                    300, 100, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, left);
        RECT rect = {};
        ASSERT_TRUE(GetWindowRect(left, &rect));
        ASSERT_EQ(x, rect.left);
        EXPECT_EQ(1, SaveSettings(left, TRUE));
        DestroyWindow(left);
        EXPECT_TRUE(StoredDwordIs(HKEY_CURRENT_USER, kPinXName, static_cast<DWORD>(x)));
        EXPECT_TRUE(StoredDwordIs(HKEY_CURRENT_USER, kPinYName, 500));
        // Read back as the same negative number while a window is there; discarded once none is.
        HWND probe = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"probe", WS_POPUP | WS_VISIBLE, 0,
                                     500, 100, 100, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, probe);
        bool reachable = WindowFromPoint(POINT{x + 10, 510}) != NULL;
        ResetAppState();
        EXPECT_EQ(1, LoadSettings(HKEY_CURRENT_USER));
        EXPECT_EQ(reachable ? 1 : 0, AppState.pinned) << x;
        EXPECT_EQ(reachable ? x : 0, AppState.pinX) << x;
        EXPECT_EQ(reachable ? 500 : 0, AppState.pinY) << x;
        DestroyWindow(probe);
        EXPECT_TRUE(reachable || x != -5);
    }
}

TEST_F(Settings, ForgetPinnedPositionCounts) {
    if (!machineWritable_) {
        GTEST_SKIP() << kNeedsAdministrator;
    }
    EXPECT_EQ(0, ForgetPinnedPosition(HKEY_CURRENT_USER));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY));  // never created here
    WriteCornerSettings(HKEY_CURRENT_USER, 1, 2);
    WriteSettingDword(HKEY_CURRENT_USER, kAlphaName, 100);
    WriteSettingDword(HKEY_LOCAL_MACHINE, kPinYName, 2);
    EXPECT_EQ(2, ForgetPinnedPosition(HKEY_CURRENT_USER));
    EXPECT_TRUE(ReadSetting(HKEY_CURRENT_USER, kAlphaName).present);
    EXPECT_EQ(0, ForgetPinnedPosition(HKEY_CURRENT_USER));
    EXPECT_EQ(1, ForgetPinnedPosition(HKEY_LOCAL_MACHINE));
}

// Builds a tree under path: depth levels of children named name, each with a value, and width children
// of the top key.
void BuildTree(HKEY root, const std::wstring& path, int depth, const std::wstring& name, int width) {
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    DWORD data = 1;
    RegSetValueExW(key, L"value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    for (int i = 0; i < width; i++) {
        HKEY child = NULL;
        std::wstring childName = L"child " + std::to_wstring(i);
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(key, childName.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &child, NULL));
        RegSetValueExW(child, L"value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
        RegCloseKey(child);
    }
    for (int level = 0; level < depth; level++) {
        HKEY child = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(key, name.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &child, NULL));
        RegSetValueExW(child, L"value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
        RegCloseKey(key);
        key = child;
    }
    RegCloseKey(key);
}

TEST_F(Settings, DeleteKeyTreeShapes) {
    EXPECT_EQ(1, DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY));  // nothing to delete

    const std::wstring longName(255, L'n');  // the longest key name the registry allows
    struct {
        const char* what;
        int depth;
        std::wstring name;
        int width;
    } shapes[] = {
        {"values only", 0, L"", 0},
        {"wide", 0, L"", 300},
        {"deep", 100, L"level", 0},
        // Full paths of 255-character names pass 1,024 characters at the fourth level and reach about 8,000.
        {"long paths", 30, longName, 3},
    };
    for (const auto& shape : shapes) {
        BuildTree(HKEY_CURRENT_USER, SETTINGS_KEY, shape.depth, shape.name, shape.width);
        WriteSettingDword(HKEY_CURRENT_USER, kAlphaName, 100);
        BuildTree(HKEY_CURRENT_USER, L"Software\\Ondrake\\Sibling", 2, L"kept", 2);
        EXPECT_EQ(0, DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY)) << shape.what;
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY)) << shape.what;
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Ondrake\\Sibling\\kept\\kept")) << shape.what;
        DeleteTree(HKEY_CURRENT_USER, L"Software\\Ondrake\\Sibling");
    }
    // The per-user root only: the machine-wide key stays.
    if (!machineWritable_) {
        GTEST_SKIP() << kNeedsAdministrator;
    }
    WriteSettingDword(HKEY_LOCAL_MACHINE, kAlphaName, 100);
    BuildTree(HKEY_CURRENT_USER, SETTINGS_KEY, 3, L"x", 3);
    EXPECT_EQ(0, DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY));
    EXPECT_TRUE(ReadSetting(HKEY_LOCAL_MACHINE, kAlphaName).present);
}

// The rules of loading, written down independently: what LoadSettings must leave in the state and the key.
struct ModelValue {
    bool valid;  // present as a REG_DWORD of four bytes
    DWORD value;
};

struct ModelOutcome {
    int result;
    bool stateTouched;
    BOOL top, fade;
    DWORD alpha;
    WORD position;
    BOOL pinned;
    LONG pinX, pinY;
    bool cornerKept;  // "X" and "Y" stay as they were (otherwise both are gone)
};

ModelOutcome ModelLoad(const ModelValue options[4], ModelValue x, ModelValue y, bool onWindow) {
    ModelOutcome out = {};
    bool complete = options[0].valid && options[1].valid && options[2].valid && options[3].valid;
    if (!complete) {
        out.cornerKept = true;
        return out;
    }
    out.result = 1;
    out.stateTouched = true;
    out.top = static_cast<BOOL>(options[0].value);
    out.fade = static_cast<BOOL>(options[1].value);
    out.alpha = (options[2].value >= 48 && options[2].value <= 240) ? options[2].value : 224;
    DWORD position = options[3].value;
    out.position = static_cast<WORD>((position <= 9 && position != 5) ? position : 9);
    out.pinned = (x.valid && y.valid && onWindow) ? 1 : 0;
    out.pinX = out.pinned ? static_cast<LONG>(x.value) : 0;
    out.pinY = out.pinned ? static_cast<LONG>(y.value) : 0;
    out.cornerKept = out.pinned != 0;
    return out;
}

TEST_F(Settings, RandomValueSetsFollowTheRules) {
    std::mt19937 random(20240611);
    const DWORD interesting[] = {0,   1,   2,   3,   4,   5,   6,     9,           10,          47,         48,
                                 100, 224, 240, 241, 255, 256, 65539, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};
    const BYTE junk[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const DWORD badTypes[] = {REG_SZ, REG_BINARY, REG_QWORD, REG_DWORD_BIG_ENDIAN, REG_NONE, REG_DWORD};
    const int caseCount = 4000;
    for (int n = 0; n < caseCount; n++) {
        HKEY root = roots_[random() % RootCount()];
        ModelValue values[6] = {};
        for (int i = 0; i < 6; i++) {
            DeleteValue(root, kValueNames[i]);
            unsigned kind = random() % 20;  // 0-2 missing, 3-5 malformed, else a REG_DWORD
            if (kind < 3) {
                continue;
            }
            if (kind < 6) {
                DWORD type = badTypes[random() % _countof(badTypes)];
                DWORD size = random() % 9;
                if (type != REG_DWORD && random() % 2 == 0) {
                    size = 4;  // the right size under the wrong type
                }
                if (type == REG_DWORD && size == 4) {
                    size = 3;
                }
                WriteSettingValue(root, kValueNames[i], type, junk, size);
                continue;
            }
            DWORD value;
            if (i >= 4) {
                // A corner either well on the test window or far from every screen.
                bool onTarget = random() % 3 != 0;
                value = onTarget
                            ? 190 + random() % 200
                            : (random() % 2 ? 0x80000000u + random() % 0x7FFF0000u : 100000u + random() % 0x7FF00000u);
            } else {
                value =
                    random() % 3 == 0 ? static_cast<DWORD>(random()) : interesting[random() % _countof(interesting)];
            }
            values[i] = {true, value};
            WriteSettingDword(root, kValueNames[i], value);
        }
        StoredValue xBefore = ReadSetting(root, kPinXName);
        StoredValue yBefore = ReadSetting(root, kPinYName);
        ModelOutcome expected = ModelLoad(values, values[4], values[5], OnWindow(values[4].value, values[5].value));

        ScrambleState();
        int result = LoadSettings(root);
        std::string context = "case " + std::to_string(n);
        ASSERT_EQ(expected.result, result) << context;
        if (!expected.stateTouched) {
            ASSERT_TRUE(StateIsScrambled()) << context;
        } else {
            ASSERT_EQ(expected.top, AppState.alwaysOnTop) << context;
            ASSERT_EQ(expected.fade, AppState.fadeWhenInactive) << context;
            ASSERT_EQ(expected.alpha, AppState.fadeAlpha) << context;
            ASSERT_EQ(expected.position, AppState.position) << context;
            ASSERT_EQ(expected.pinned, AppState.pinned) << context;
            ASSERT_EQ(expected.pinX, AppState.pinX) << context;
            ASSERT_EQ(expected.pinY, AppState.pinY) << context;
        }
        StoredValue xAfter = ReadSetting(root, kPinXName);
        StoredValue yAfter = ReadSetting(root, kPinYName);
        if (expected.cornerKept) {
            ASSERT_EQ(xBefore.present, xAfter.present) << context;
            ASSERT_EQ(xBefore.data, xAfter.data) << context;
            ASSERT_EQ(yBefore.present, yAfter.present) << context;
            ASSERT_EQ(yBefore.data, yAfter.data) << context;
        } else {
            ASSERT_FALSE(xAfter.present) << context;
            ASSERT_FALSE(yAfter.present) << context;
        }
    }
}

}  // namespace
