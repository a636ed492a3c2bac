// The lookup dialog on the real platform: start-up from the program state, Find, the check boxes, fading,
// colours, the system menu and About box, closing, and the note font.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "app/run_modes.h"
#include "app/system_module.h"
#include "dialog/about.h"
#include "dialog/integrity_level.h"
#include "dialog/note_font.h"
#include "dialog/main_dialog.h"
#include "message_pump.h"
#include "message_texts.h"
#include "placement/placement.h"
#include "platform_support.h"
#include "registry_support.h"
#include "resource.h"
#include "window_search.h"

namespace {

// IsDlgButtonChecked answers in UINT: compared as such, no signed/unsigned mix.
const UINT kChecked = BST_CHECKED;
const UINT kUnchecked = BST_UNCHECKED;
// Why the tests that hold Ctrl or Shift skip when the system takes no injected input.
const char kNoInput[] = "the system refused injected keyboard input (no interactive desktop?)";

// Each test starts without a settings key; the user's own key is set aside meanwhile and put back afterwards.
class Dialog : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.instance = GetModuleHandleW(NULL);
        ASSERT_NO_FATAL_FAILURE(settings_.Save());
    }
    void TearDown() override {
        DialogIntegrityLevel = ReadOwnIntegrityLevel;
        DialogMessageFilter = nullptr;
        DestroyWindow(dialog_);  // null handles are refused harmlessly
        DestroyWindow(parent_);
        DeleteObject(AppState.noteFont);
        ReleaseKeys();
        settings_.Restore();
    }

    // Creates and shows the dialog, in place of the one before.
    HWND Open() {
        DestroyWindow(dialog_);
        dialog_ = CreateDialogParamW(AppState.instance, MAKEINTRESOURCEW(IDD_LOOKUP), NULL, MainDlgProc, 0);
        EXPECT_NE(nullptr, dialog_);
        ShowWindow(dialog_, SW_SHOW);
        PumpMessagesFor(50);
        return dialog_;
    }

    HWND Item(int id) const {
        return GetDlgItem(dialog_, id);
    }

    RECT Rect() const {
        RECT rect = {};
        EXPECT_TRUE(GetWindowRect(dialog_, &rect));
        return rect;
    }

    BYTE Alpha() const {
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(dialog_, NULL, &alpha, &flags));
        EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);
        return alpha;
    }

    void Click(int id, bool checked) {
        SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }

    void TypeCode(const wchar_t* text) {
        EXPECT_TRUE(SetWindowTextW(Item(IDC_CODE), text));
    }

    void Find() {
        SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDC_FIND, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDC_FIND)));
    }

    // Presses or releases Ctrl and Shift, or the keys given; false when the system did not take them all.
    static bool PressKeys(bool down, const std::vector<WORD>& keys = {VK_CONTROL, VK_SHIFT}) {
        std::vector<INPUT> input(keys.size());
        for (size_t i = 0; i < keys.size(); i++) {
            input[i].type = INPUT_KEYBOARD;
            input[i].ki.wVk = keys[i];
            input[i].ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        }
        UINT sent = SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
        PumpMessagesFor(50);
        return sent == input.size();
    }
    void ReleaseKeys() {
        if (keysDown_) {
            PressKeys(false);
            keysDown_ = false;
        }
    }

    // A parent window of no recognised kind at (100, 100), 700 by 500, for the dialog to be placed on.
    void UseParentWindow() {
        parent_ =
            CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP | WS_VISIBLE, 100, 100, 700, 500, NULL, NULL, NULL, NULL);
        EXPECT_NE(nullptr, parent_);
        AppState.parentWindow = parent_;
    }

    HWND dialog_ = NULL;
    HWND parent_ = NULL;
    bool keysDown_ = false;
    SettingsKeyBackup settings_{HKEY_CURRENT_USER, L"the dialog tests"};
};

TEST_F(Dialog, StartsWithoutACode) {
    AppState.noteFont = CreateNoteFont();
    Open();
    EXPECT_EQ(std::wstring(DIALOG_CAPTION), WindowText(dialog_));
    EXPECT_EQ(255, Alpha());
    EXPECT_EQ(L"", WindowText(Item(IDC_CODE)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_FIND)));
    EXPECT_EQ(kUnchecked, IsDlgButtonChecked(dialog_, IDC_TOPMOST));
    EXPECT_EQ(kUnchecked, IsDlgButtonChecked(dialog_, IDC_FADE));
    EXPECT_EQ(kUnchecked, IsDlgButtonChecked(dialog_, IDC_PIN));
    EXPECT_EQ(0, GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(nullptr, AppState.smallIcon);
    EXPECT_NE(nullptr, AppState.largeIcon);
    EXPECT_EQ(reinterpret_cast<LRESULT>(AppState.smallIcon), SendMessageW(dialog_, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(AppState.largeIcon), SendMessageW(dialog_, WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(nullptr, AppState.noteFont);
    EXPECT_EQ(reinterpret_cast<LRESULT>(AppState.noteFont), SendMessageW(Item(IDC_NUMBERS), WM_GETFONT, 0, 0));
    EXPECT_EQ(Item(IDC_CODE), GetFocus());
}

TEST_F(Dialog, StartsWithTheCommandLineCodeAndOptions) {
    AppState.haveCommandCode = 1;
    AppState.commandCode = 5;
    AppState.alwaysOnTop = 1;
    AppState.fadeWhenInactive = 1;
    Open();
    EXPECT_EQ(SystemMessageShown(5), WindowText(Item(IDC_MESSAGE)));
    EXPECT_EQ(L"5", WindowText(Item(IDC_CODE)));
    EXPECT_EQ(L"5    0x05", WindowText(Item(IDC_NUMBERS)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_FIND)));
    EXPECT_EQ(kChecked, IsDlgButtonChecked(dialog_, IDC_TOPMOST));
    EXPECT_EQ(kChecked, IsDlgButtonChecked(dialog_, IDC_FADE));
    EXPECT_NE(0, GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Written back in unsigned decimal.
    AppState.commandCode = 0xFFFFFFFFu;
    Open();
    EXPECT_EQ(L"4294967295", WindowText(Item(IDC_CODE)));
    EXPECT_EQ(L"4294967295    0xFFFFFFFF", WindowText(Item(IDC_NUMBERS)));
}

TEST_F(Dialog, PlacedOnItsParentUnlessPinned) {
    UseParentWindow();
    AppState.position = 7;
    Open();
    // Top left of a parent given without a kind: 8 pixels in, no insets.
    EXPECT_EQ(108, Rect().left);
    EXPECT_EQ(108, Rect().top);

    AppState.pinned = 1;
    AppState.pinX = 37;
    AppState.pinY = 41;
    Open();
    EXPECT_EQ(37, Rect().left);
    EXPECT_EQ(41, Rect().top);
    EXPECT_EQ(kChecked, IsDlgButtonChecked(dialog_, IDC_PIN));
}

TEST_F(Dialog, PinBoxShowsTheGlyphFromWindows10On) {
    AppState.osVersion.dwMajorVersion = 10;
    Open();
    EXPECT_EQ(L"\xD83D\xDCCC", WindowText(Item(IDC_PIN)));
    AppState.osVersion.dwMajorVersion = 6;
    Open();
    EXPECT_EQ(L"&Pin", WindowText(Item(IDC_PIN)));
}

TEST_F(Dialog, FindLooksUpTypedCodesAndKeepsTheTextAsTyped) {
    Open();
    TypeCode(L"  0x5  ");
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_FIND)));
    Find();
    EXPECT_EQ(SystemMessageShown(5), WindowText(Item(IDC_MESSAGE)));
    EXPECT_EQ(L"5    0x05", WindowText(Item(IDC_NUMBERS)));
    EXPECT_EQ(L"  0x5  ", WindowText(Item(IDC_CODE)));

    TypeCode(L"-1");
    Find();
    EXPECT_EQ(L"-1", WindowText(Item(IDC_CODE)));
    EXPECT_EQ(L"4294967295    0xFFFFFFFF", WindowText(Item(IDC_NUMBERS)));
}

TEST_F(Dialog, FindOnBadTextClearsEverything) {
    for (const wchar_t* bad : {L"12abc", L"hello", L"5 6", L"+5"}) {
        Open();
        TypeCode(L"5");
        Find();
        ASSERT_NE(L"", WindowText(Item(IDC_MESSAGE)));
        TypeCode(bad);
        Find();
        EXPECT_EQ(L"", WindowText(Item(IDC_MESSAGE))) << bad;
        EXPECT_EQ(L"", WindowText(Item(IDC_NUMBERS))) << bad;
        EXPECT_EQ(L"", WindowText(Item(IDC_CODE))) << bad;
        EXPECT_FALSE(IsWindowEnabled(Item(IDC_FIND))) << bad;
    }
}

TEST_F(Dialog, FindIsEnabledExactlyWhileTheCodeFieldHoldsText) {
    Open();
    const std::pair<const wchar_t*, bool> steps[] = {{L"   ", false}, {L"\t", false}, {L" 7", true},
                                                     {L"", false},    {L"x", true},   {L" \r\n ", false}};
    for (const auto& [text, enabled] : steps) {
        TypeCode(text);
        EXPECT_EQ(enabled, IsWindowEnabled(Item(IDC_FIND)) != FALSE) << "\"" << text << "\"";
    }
}

TEST_F(Dialog, TopmostClickMovesTheDialogBetweenBands) {
    Open();
    Click(IDC_TOPMOST, true);
    EXPECT_EQ(1, AppState.alwaysOnTop);
    EXPECT_NE(0, GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Click(IDC_TOPMOST, false);
    EXPECT_EQ(0, AppState.alwaysOnTop);
    EXPECT_EQ(0, GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Dialog, FadingFollowsActivationWhileEnabled) {
    AppState.fadeAlpha = 0x1C8;  // only the low byte, 200, is applied
    Open();
    SendMessageW(dialog_, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(255, Alpha()) << "fading is off";

    Click(IDC_FADE, true);
    EXPECT_EQ(1, AppState.fadeWhenInactive);
    SendMessageW(dialog_, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);
    EXPECT_EQ(200, Alpha());
    SendMessageW(dialog_, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(255, Alpha());
    SendMessageW(dialog_, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(200, Alpha());

    // Clearing the box makes the dialog opaque at once and keeps it so.
    Click(IDC_FADE, false);
    EXPECT_EQ(0, AppState.fadeWhenInactive);
    EXPECT_EQ(255, Alpha());
    SendMessageW(dialog_, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(255, Alpha());
}

TEST_F(Dialog, FocusReturnsToTheCodeFieldWhenReactivated) {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    for (BOOL fading : {FALSE, TRUE}) {
        AppState.fadeWhenInactive = fading;
        Open();
        EXPECT_TRUE(MakeForeground(dialog_));
        PumpMessagesFor(50);
        ASSERT_EQ(Item(IDC_CODE), GetFocus());
        EXPECT_TRUE(MakeForeground(other));
        PumpMessagesFor(50);
        EXPECT_TRUE(MakeForeground(dialog_));
        PumpMessagesFor(50);
        EXPECT_EQ(Item(IDC_CODE), GetFocus()) << "fading " << fading;
    }
    DestroyWindow(other);
}

TEST_F(Dialog, OnlyTheNumbersLineIsGrey) {
    Open();
    HDC context = GetDC(Item(IDC_NUMBERS));
    SetBkMode(context, OPAQUE);
    SetTextColor(context, RGB(1, 2, 3));
    LRESULT brush = SendMessageW(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                 reinterpret_cast<LPARAM>(Item(IDC_NUMBERS)));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)), brush);
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), GetTextColor(context));
    EXPECT_EQ(TRANSPARENT, GetBkMode(context));
    ReleaseDC(Item(IDC_NUMBERS), context);

    // The label and the read-only message box keep the default colours.
    for (HWND other : {GetWindow(Item(IDC_CODE), GW_HWNDPREV), Item(IDC_MESSAGE)}) {
        context = GetDC(other);
        SetTextColor(context, RGB(1, 2, 3));
        EXPECT_EQ(0, MainDlgProc(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                 reinterpret_cast<LPARAM>(other)));
        EXPECT_EQ(RGB(1, 2, 3), GetTextColor(context));
        ReleaseDC(other, context);
    }
}

TEST_F(Dialog, SystemMenuEndsWithAboutSeparatorAndClose) {
    Open();
    HMENU menu = GetSystemMenu(dialog_, FALSE);
    ASSERT_NE(nullptr, menu);
    int count = GetMenuItemCount(menu);
    int about = -1;
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == IDM_ABOUT) {
            EXPECT_EQ(-1, about) << "one About entry";
            about = i;
        }
    }
    ASSERT_GE(about, 0);
    ASSERT_LT(about + 2, count);
    WCHAR text[64] = {};
    GetMenuStringW(menu, about, text, _countof(text), MF_BYPOSITION);
    EXPECT_EQ(std::wstring(L"&") + ABOUT_CAPTION, text);
    EXPECT_NE(0u, GetMenuState(menu, about + 1, MF_BYPOSITION) & MF_SEPARATOR);
    // Directly before Close, the last entry; Wine's menu goes on with a separator and its own About entry.
    EXPECT_EQ(static_cast<UINT>(SC_CLOSE), GetMenuItemID(menu, about + 2));
    const UINT wineAbout = SC_SCREENSAVE + 1;  // SC_ABOUTWINE in Wine's headers
    const bool wineEnd = count - 1 == about + 4 && GetMenuItemID(menu, count - 1) == wineAbout;
    EXPECT_TRUE(count - 1 == about + 2 || WineAllows(wineEnd)) << "Close is not the last entry";
}

// The About box is modal: a timer of the dialog that owns it looks for it while the box's own message loop runs,
// notes its title and closes it.
HWND aboutBox = NULL;
std::wstring aboutTitle;

void CALLBACK CloseAboutBox(HWND owner, UINT, UINT_PTR, DWORD) {
    if (aboutBox == NULL) {
        aboutBox = FindOwnedDialog(owner);
    }
    if (aboutBox != NULL && aboutTitle.empty()) {
        aboutTitle = WindowText(aboutBox);
        PostMessageW(aboutBox, WM_COMMAND, IDOK, 0);
    }
}

TEST_F(Dialog, AboutEntryOpensTheAboutBox) {
    Open();
    aboutBox = NULL;
    aboutTitle.clear();
    UINT_PTR timer = SetTimer(dialog_, 1, 50, CloseAboutBox);
    ASSERT_NE(0u, timer) << "nothing would close the modal box";
    SendMessageW(dialog_, WM_SYSCOMMAND, IDM_ABOUT, 0);
    KillTimer(dialog_, timer);
    ASSERT_NE(nullptr, aboutBox);
    if (RunningUnderWine()) {
        // Wine does not split the text at "#": it puts "About " before the whole of it.
        EXPECT_EQ(0u, aboutTitle.find(std::wstring(L"About ") + ABOUT_CAPTION + L"#" + VERSION_LINE + L"  ("))
            << aboutTitle;
    } else {
        // Windows titles the box with the part before "#".
        EXPECT_EQ(ABOUT_CAPTION, aboutTitle);
    }
    EXPECT_FALSE(IsWindow(aboutBox));
    EXPECT_TRUE(IsWindowVisible(dialog_));
}

// Windows 7's message filter of one window, which says, when told to allow or block a message, what it did before.
// Not declared for an XP target: CHANGEFILTERSTRUCT and the function, looked up by name.
struct FilterChange {
    DWORD cbSize, extStatus;
};
const DWORD kAllow = 1, kDisallow = 2;  // MSGFLT_ALLOW, MSGFLT_DISALLOW
// What allowing reports: MSGFLTINFO_NONE (the window's filter did not let the message through before) or
// MSGFLTINFO_ALREADYALLOWED_FORWND (it did); what blocking reports when it did not: _ALREADYDISALLOWED_FORWND.
const DWORD kWasNotAllowed = 0, kWasAllowed = 1, kWasDisallowed = 2;
const DWORD kMediumPlus = 0x2100;  // SECURITY_MANDATORY_MEDIUM_PLUS_RID, which MinGW's headers lack
const UINT kHandOversAndClose[] = {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_CLOSE};

// The level the dialog reads in place of its own, or that none can be read (as on Windows XP).
bool givenLevelReadable = false;
DWORD givenLevel = 0;

int ReadGivenLevel(DWORD* level) {
    *level = givenLevel;
    return givenLevelReadable ? 1 : 0;
}

// Each message and action the dialog asks its filter for, in order.
std::vector<std::pair<UINT, DWORD>> filterCalls;

BOOL WINAPI NoteFilterCall(HWND, UINT message, DWORD action, void*) {
    filterCalls.emplace_back(message, action);
    return TRUE;
}

TEST_F(Dialog, LetsOnlyHandOversAndCloseThroughFromLowerIntegrity) {
    // Under Wine every process reads High and the platform's filter keeps nothing, so the rule is checked at levels
    // given to the dialog, through a filter that notes what it is asked.
    const struct {
        const char* name;
        bool readable;
        DWORD level;
        bool opens;
    } levels[] = {{"System", true, SECURITY_MANDATORY_SYSTEM_RID, true},
                  {"High", true, SECURITY_MANDATORY_HIGH_RID, true},
                  {"Medium Plus", true, kMediumPlus, true},
                  {"Medium", true, SECURITY_MANDATORY_MEDIUM_RID, false},
                  {"Low", true, SECURITY_MANDATORY_LOW_RID, false},
                  {"none readable", false, SECURITY_MANDATORY_HIGH_RID, false}};
    DialogIntegrityLevel = ReadGivenLevel;
    DialogMessageFilter = NoteFilterCall;
    for (const auto& row : levels) {
        givenLevelReadable = row.readable;
        givenLevel = row.level;
        filterCalls.clear();
        Open();
        std::vector<std::pair<UINT, DWORD>> expected;
        for (UINT message : kHandOversAndClose) {
            if (row.opens) {
                expected.emplace_back(message, kAllow);
            }
        }
        EXPECT_EQ(expected, filterCalls) << "level " << row.name;
    }
    DialogIntegrityLevel = ReadOwnIntegrityLevel;
    DialogMessageFilter = nullptr;

    // Only Windows shows the platform's own filter, at the level this test, and so the dialog, really runs at.
    WindowMessageFilterProc filter =
        LookUpFunction<WindowMessageFilterProc>(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx");
    if (filter == nullptr) {
        GTEST_SKIP() << "this platform has no message filter for a window (Windows 7 and later have)";
    }
    DWORD level = 0;
    ASSERT_EQ(1, ReadOwnIntegrityLevel(&level)) << "a platform with a window's message filter has integrity levels";
    if (RunningUnderWine()) {
        // Wine gives every process High, whatever its token was made with.
        EXPECT_EQ(static_cast<DWORD>(SECURITY_MANDATORY_HIGH_RID), level);
    }
    const bool aboveMedium = level > static_cast<DWORD>(SECURITY_MANDATORY_MEDIUM_RID);
    printf("This test runs at integrity level 0x%04lX: %s\n", static_cast<unsigned long>(level),
           aboveMedium ? "above Medium, so the dialog must let the four messages through"
                       : "Medium or below, so the dialog must let none through");
    // That this platform keeps a window's filter: a message allowed twice was allowed before the second time.
    HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, probe) << "error " << GetLastError();
    FilterChange change = {sizeof(change), 0};
    bool kept = filter(probe, WM_USER + 9, kAllow, &change) && filter(probe, WM_USER + 9, kAllow, &change) &&
                change.extStatus == kWasAllowed;
    // Some messages below WM_USER pass whatever the filter says, so what allowing WM_CLOSE reports, the first time and
    // again, is taken from the platform itself.
    FilterChange closeFirst = {sizeof(closeFirst), 0}, closeAgain = {sizeof(closeAgain), 0};
    kept = kept && filter(probe, WM_CLOSE, kAllow, &closeFirst) && filter(probe, WM_CLOSE, kAllow, &closeAgain);
    EXPECT_TRUE(DestroyWindow(probe));
    if (!kept) {
        GTEST_SKIP() << "this platform keeps no message filter for a window (Windows 7 and later do, above Low "
                        "integrity); the rule was checked at each level given to the dialog";
    }
    Open();
    // Nothing else: the dialog manager's own messages at WM_USER and above, and the next private number.
    const UINT others[] = {WM_USER + 0, WM_USER + 4, WM_APP + 1};
    for (UINT message : others) {
        EXPECT_TRUE(filter(dialog_, message, kDisallow, &change));
        EXPECT_EQ(kWasDisallowed, change.extStatus) << "message " << message;
    }
    for (UINT message : kHandOversAndClose) {
        DWORD wasAllowed = message == WM_CLOSE ? closeAgain.extStatus : kWasAllowed;
        DWORD wasNotAllowed = message == WM_CLOSE ? closeFirst.extStatus : kWasNotAllowed;
        EXPECT_TRUE(filter(dialog_, message, kAllow, &change));
        EXPECT_EQ(aboveMedium ? wasAllowed : wasNotAllowed, change.extStatus) << "message " << message;
    }
}

// Stand-in boxes of the dialog class that note the WM_CLOSE they receive, in closedBoxes.
std::vector<HWND> closedBoxes;

LRESULT CALLBACK StandInBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        closedBoxes.push_back(window);
        return 0;
    }
    WNDPROC classProcedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    return CallWindowProcW(classProcedure, window, message, wParam, lParam);
}

// A stand-in box titled title and owned by owner, which notes the WM_CLOSE it receives.
HWND CreateStandInBox(const wchar_t* title, HWND owner) {
    HWND box = CreateWindowExW(0, L"#32770", title, WS_POPUP, 0, 0, 50, 50, owner, NULL, NULL, NULL);
    EXPECT_NE(0, SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandInBoxProc)));
    return box;
}

// WM_CLOSE, which the dialog manager turns into Cancel, and the close box or Alt+F4, which reach it only through
// the default handling of WM_SYSCOMMAND. The closing dialog also closes the About box it owns, which a /C from a lower
// integrity level cannot reach.
TEST_F(Dialog, ClosingSavesTheSettingsAndClosesTheAboutBox) {
    const std::pair<UINT, WPARAM> closings[] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& [message, wParam] : closings) {
        SCOPED_TRACE(testing::Message() << "message " << message << ", wParam " << wParam);
        (void)DeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY);
        AppState.alwaysOnTop = 1;
        AppState.fadeAlpha = 100;
        AppState.position = 3;
        Open();
        Click(IDC_PIN, true);
        const RECT rect = Rect();
        // Owned and titled as the About box; owned with another title; titled so, but not owned.
        const std::pair<const wchar_t*, HWND> boxes[] = {
            {ABOUT_CAPTION, dialog_}, {ABOUT_CAPTION L" ", dialog_}, {ABOUT_CAPTION, NULL}};
        std::vector<HWND> windows;
        for (const auto& [title, owner] : boxes) {
            windows.push_back(CreateStandInBox(title, owner));
        }
        closedBoxes.clear();
        SendMessageW(dialog_, message, wParam, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog_); }));
        EXPECT_EQ(std::vector<HWND>{windows[0]}, closedBoxes) << "only the About box that the dialog owns";
        for (HWND window : windows) {
            EXPECT_TRUE(DestroyWindow(window));
        }
        EXPECT_TRUE(StoredSettingsAre(HKEY_CURRENT_USER, 1, 0, 100, 3, static_cast<DWORD>(rect.left),
                                      static_cast<DWORD>(rect.top)));
    }
}

TEST_F(Dialog, EscapeSavesAndCtrlShiftWipesTheKey) {
    Open();
    SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY));
    EXPECT_TRUE(StoredDwordIs(HKEY_CURRENT_USER, kAlphaName, 224));
    EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, kPinXName).present) << "Pin clear: no position";

    // A subkey below ours goes too.
    HKEY sub = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Ondrake\\Tessival\\Extra", 0, NULL, 0,
                                             KEY_WRITE, NULL, &sub, NULL));
    RegCloseKey(sub);
    Open();
    // Wiping closes the dialog's About box too, as saving does.
    HWND box = CreateStandInBox(ABOUT_CAPTION, dialog_);
    closedBoxes.clear();
    keysDown_ = true;
    if (!PressKeys(true)) {
        GTEST_SKIP() << kNoInput;
    }
    SendMessageW(dialog_, WM_COMMAND, IDOK, 0);
    ReleaseKeys();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Ondrake"));
    EXPECT_EQ(std::vector<HWND>{box}, closedBoxes) << "the About box was left open";
    EXPECT_TRUE(DestroyWindow(box));
}

TEST_F(Dialog, OneOfCtrlAndShiftStillSaves) {
    const WORD heldKeys[] = {VK_SHIFT, VK_CONTROL};
    for (WORD held : heldKeys) {
        (void)DeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY);
        ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY));
        Open();
        if (!PressKeys(true, {held})) {
            GTEST_SKIP() << kNoInput;
        }
        SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(PressKeys(false, {held}));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY)) << "key held: " << held;
    }
}

// The requests of later starts, as the running dialog receives them.
TEST_F(Dialog, OptionsMessageTakesOnlyWhatItsMaskNames) {
    AppState.alwaysOnTop = 1;
    AppState.fadeWhenInactive = 1;
    Open();
    EXPECT_TRUE(SetLayeredWindowAttributes(dialog_, 0, 90, LWA_ALPHA));
    // Alpha alone: bits 10 and 11 say "off" but are not read.
    SendMessageW(dialog_, WM_SET_OPTIONS, 0x7B, OPT_ALPHA);
    EXPECT_EQ(0x7Bu, AppState.fadeAlpha);
    EXPECT_EQ(1, AppState.alwaysOnTop);
    EXPECT_EQ(1, AppState.fadeWhenInactive);
    EXPECT_NE(0, GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(90, Alpha()) << "only the fade option makes the dialog opaque";

    // Topmost off.
    SendMessageW(dialog_, WM_SET_OPTIONS, OPT_FADE, OPT_TOPMOST);
    EXPECT_EQ(0, AppState.alwaysOnTop);
    EXPECT_EQ(kUnchecked, IsDlgButtonChecked(dialog_, IDC_TOPMOST));
    EXPECT_EQ(0, GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(0x7Bu, AppState.fadeAlpha);

    // Fading, either way, makes the dialog opaque at once.
    for (WPARAM fade : {static_cast<WPARAM>(0), static_cast<WPARAM>(OPT_FADE)}) {
        EXPECT_TRUE(SetLayeredWindowAttributes(dialog_, 0, 90, LWA_ALPHA));
        SendMessageW(dialog_, WM_SET_OPTIONS, fade | OPT_TOPMOST | 0x30, OPT_FADE);
        EXPECT_EQ(fade ? 1 : 0, AppState.fadeWhenInactive);
        EXPECT_EQ(fade ? kChecked : kUnchecked, IsDlgButtonChecked(dialog_, IDC_FADE));
        EXPECT_EQ(255, Alpha());
        EXPECT_EQ(0, AppState.alwaysOnTop) << "topmost bit set, but not in the mask";
        EXPECT_EQ(0x7Bu, AppState.fadeAlpha);
    }
    EXPECT_EQ(dialog_, GetForegroundWindow());
}

TEST_F(Dialog, LookupMessageShowsTheCodeInEveryField) {
    Open();
    TypeCode(L"  0x5 ");
    SendMessageW(dialog_, WM_LOOKUP_CODE, 0xFFFFFFFFu, 1);
    EXPECT_EQ(L"4294967295", WindowText(Item(IDC_CODE)));
    EXPECT_EQ(L"4294967295    0xFFFFFFFF", WindowText(Item(IDC_NUMBERS)));
    EXPECT_EQ(ShownOrUnknown(0xFFFFFFFFu, SystemMessageShown(0xFFFFFFFFu)), WindowText(Item(IDC_MESSAGE)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_FIND)));
    EXPECT_EQ(dialog_, GetForegroundWindow());
}

TEST_F(Dialog, PositionMessageMovesOnlyADialogWithAParent) {
    // No parent (a pinned dialog): nothing moves, the box stays checked.
    AppState.pinned = 1;
    AppState.pinX = 30;
    AppState.pinY = 40;
    Open();
    SendMessageW(dialog_, WM_SET_POSITION, 7, 0);
    EXPECT_EQ(30, Rect().left);
    EXPECT_EQ(kChecked, IsDlgButtonChecked(dialog_, IDC_PIN));
    EXPECT_EQ(9, AppState.position);

    UseParentWindow();
    Open();
    SendMessageW(dialog_, WM_SET_POSITION, 10, 0);
    EXPECT_EQ(30, Rect().left) << "10 is no position";
    EXPECT_EQ(kChecked, IsDlgButtonChecked(dialog_, IDC_PIN));

    SendMessageW(dialog_, WM_SET_POSITION, 7, 0);
    EXPECT_EQ(108, Rect().left);
    EXPECT_EQ(108, Rect().top);
    EXPECT_EQ(7, AppState.position);
    EXPECT_EQ(kUnchecked, IsDlgButtonChecked(dialog_, IDC_PIN));
    EXPECT_EQ(1, AppState.pinned) << "only the box is cleared";
    EXPECT_EQ(dialog_, GetForegroundWindow());
}

TEST(RunModes, OsVersionComesFromRtlGetVersion) {
    EXPECT_EQ(1, ReadOsVersion());
    OSVERSIONINFOEXW direct = {};
    ASSERT_TRUE(RealOsVersion(&direct));
    EXPECT_EQ(284u, AppState.osVersion.dwOSVersionInfoSize);
    EXPECT_EQ(direct.dwMajorVersion, AppState.osVersion.dwMajorVersion);
    EXPECT_EQ(direct.dwMinorVersion, AppState.osVersion.dwMinorVersion);
    EXPECT_EQ(direct.dwBuildNumber, AppState.osVersion.dwBuildNumber);
}

// What a font the program made describes; the font is deleted.
LOGFONTW FontOf(HFONT font) {
    LOGFONTW made = {};
    EXPECT_EQ(static_cast<int>(sizeof(made)), GetObjectW(font, sizeof(made), &made));
    DeleteObject(font);
    return made;
}

TEST(NoteFont, NineTenthsTruncatedTowardZero) {
    const std::pair<LONG, LONG> cases[] = {{-12, -10}, {-15, -13}, {0, 0},     {12, 10},
                                           {15, 13},   {-1, 0},    {-19, -17}, {-2000000, -1800000}};
    LOGFONTW message = {};
    message.lfWeight = FW_NORMAL;
    (void)lstrcpynW(message.lfFaceName, L"Tahoma", _countof(message.lfFaceName));
    for (const auto& [metric, scaled] : cases) {
        message.lfHeight = metric;
        message.lfWidth = -metric;
        HFONT font = CreateNoteFontFrom(&message);
        ASSERT_NE(nullptr, font) << metric;
        LOGFONTW made = FontOf(font);
        EXPECT_EQ(scaled, made.lfHeight) << metric;
        EXPECT_EQ(-scaled, made.lfWidth) << metric;
    }
}

TEST(NoteFont, OnlyAFontWithWeightAndFaceIsScaled) {
    LOGFONTW message = {};
    message.lfHeight = -12;
    message.lfWidth = 0;
    message.lfWeight = FW_NORMAL;
    message.lfItalic = TRUE;
    message.lfUnderline = TRUE;
    message.lfStrikeOut = TRUE;
    message.lfEscapement = 900;
    message.lfCharSet = DEFAULT_CHARSET;
    message.lfQuality = CLEARTYPE_QUALITY;
    message.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    (void)lstrcpynW(message.lfFaceName, L"Tahoma", _countof(message.lfFaceName));
    HFONT font = CreateNoteFontFrom(&message);
    ASSERT_NE(nullptr, font);
    LOGFONTW made = FontOf(font);
    EXPECT_EQ(-10, made.lfHeight);
    EXPECT_EQ(0, made.lfWidth);
    EXPECT_EQ(FW_NORMAL, made.lfWeight);
    EXPECT_EQ(TRUE, made.lfItalic);
    EXPECT_EQ(0, made.lfUnderline);
    EXPECT_EQ(0, made.lfStrikeOut);
    EXPECT_EQ(0, made.lfEscapement);
    EXPECT_EQ(CLEARTYPE_QUALITY, made.lfQuality);
    EXPECT_EQ(VARIABLE_PITCH | FF_SWISS, made.lfPitchAndFamily);
    EXPECT_STREQ(L"Tahoma", made.lfFaceName);

    message.lfWeight = 0;
    EXPECT_EQ(nullptr, CreateNoteFontFrom(&message));
    message.lfWeight = FW_NORMAL;
    message.lfFaceName[0] = L'\0';
    EXPECT_EQ(nullptr, CreateNoteFontFrom(&message));
}

TEST(NoteFont, MadeFromTheMessageFont) {
    struct {
        NONCLIENTMETRICSW metrics;
        int paddedBorderWidth;
    } record = {};
    record.metrics.cbSize = 504;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 504, &record, 0));
    const LOGFONTW& message = record.metrics.lfMessageFont;
    HFONT font = CreateNoteFont();
    ASSERT_NE(nullptr, font);
    LOGFONTW made = FontOf(font);
    EXPECT_EQ(message.lfHeight * 9 / 10, made.lfHeight);
    EXPECT_EQ(message.lfWidth * 9 / 10, made.lfWidth);
    EXPECT_EQ(message.lfWeight, made.lfWeight);
    EXPECT_EQ(message.lfItalic, made.lfItalic);
    EXPECT_EQ(0, made.lfUnderline);
    EXPECT_EQ(0, made.lfStrikeOut);
    EXPECT_EQ(message.lfCharSet, made.lfCharSet);
    EXPECT_EQ(message.lfQuality, made.lfQuality);
    EXPECT_EQ(message.lfPitchAndFamily, made.lfPitchAndFamily);
    EXPECT_STREQ(message.lfFaceName, made.lfFaceName);
}

}  // namespace
