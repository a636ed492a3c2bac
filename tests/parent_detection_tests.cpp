// Parent detection against real windows: classes in the foreground, the view search among descendants, windows
// of helper processes ("Afx:" ones with and without a "tcmd" image name; class names that differ only in case,
// which one process cannot register), and ConEmuHWND values.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "owner_process.h"
#include "placement/parent_detection.h"
#include "platform_support.h"
#include "window_classes.h"
#include "window_search.h"

namespace {

const wchar_t kAfxClass[] = L"Afx:00400000:b:00010003:00000006:00000000";
const wchar_t kViewClass[] = L"AfxFrameOrView140su";

// The access rights IsTcmdProcess asked for, in order.
std::vector<DWORD> openedWith;

HANDLE WINAPI RecordingOpenProcess(DWORD access, BOOL inheritHandle, DWORD processId) {
    openedWith.push_back(access);
    return OpenProcess(access, inheritHandle, processId);
}

class ParentDetection : public ::testing::Test {
protected:
    void SetUp() override {
        WCHAR value[1024] = {};
        DWORD length = GetEnvironmentVariableW(L"ConEmuHWND", value, _countof(value));
        hadConEmu_ = length > 0 && length < _countof(value);
        savedConEmu_ = value;
        SetEnvironmentVariableW(L"ConEmuHWND", NULL);
    }

    void TearDown() override {
        for (OwnerProcess& owner : owners_) {
            owner.Stop();
        }
        // Children go with their parents; destroying from the newest keeps that order harmless.
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
            if (IsWindow(*it)) {
                DestroyWindow(*it);
            }
        }
        for (const std::wstring& name : classes_) {
            UnregisterClassW(name.c_str(), GetModuleHandleW(NULL));
        }
        SetEnvironmentVariableW(L"ConEmuHWND", hadConEmu_ ? savedConEmu_.c_str() : NULL);
        TcmdOpenProcess = OpenProcess;
    }

    HWND Create(const wchar_t* className, HWND parent = NULL, bool visible = true) {
        if (RegisterTestClass(className)) {
            classes_.push_back(className);
        }
        DWORD style = (parent != NULL ? WS_CHILD : WS_OVERLAPPEDWINDOW) | (visible ? WS_VISIBLE : 0);
        HWND window = CreateWindowExW(0, className, L"test window", style, 50, 50, 300, 200, parent, NULL,
                                      GetModuleHandleW(NULL), NULL);
        EXPECT_NE(nullptr, window) << "class " << testing::PrintToString(std::wstring(className));
        windows_.push_back(window);  // TearDown passes over what is no window
        return window;
    }

    // A helper process's window in the foreground; null when it could not be arranged.
    HWND StartOwner(const wchar_t* imageName, const wchar_t* className, const wchar_t* childClass = nullptr) {
        owners_.emplace_back();
        OwnerProcess& owner = owners_.back();
        return owner.Start(imageName, className, childClass) && MakeForeground(owner.window) ? owner.window : NULL;
    }

    std::vector<HWND> windows_;
    std::vector<std::wstring> classes_;
    std::vector<OwnerProcess> owners_;
    bool hadConEmu_ = false;
    std::wstring savedConEmu_;
};

// Exact comparisons refuse longer names, prefixes refuse shorter ones, and an "Afx:" window of a process
// that is not tcmd (this test program) is no parent. A kind from before is replaced either way.
TEST_F(ParentDetection, ForegroundClassGivesTheKind) {
    const struct {
        const wchar_t* className;
        LONG kind;  // PARENT_NONE: no parent
    } cases[] = {{L"XTPMainFrame", PARENT_FRAME_VIEW},
                 {L"ConsoleWindowClass", PARENT_CONSOLE},
                 {L"CASCADIA_HOSTING_WINDOW_CLASS", PARENT_TERMINAL_HOST},
                 {L"Console_2_Main", PARENT_CONSOLE_MAIN},
                 {L"TCMD32:PARENT", PARENT_COMMAND_FRAME},
                 {L"ConsoleWindowClassX", PARENT_NONE},
                 {L"ConsoleWindow", PARENT_NONE},
                 {L"XTPMainFrame2", PARENT_NONE},
                 {L"TCMD32:PARENTS", PARENT_NONE},
                 {L"Console_2_Main ", PARENT_NONE},
                 {L"Afx", PARENT_NONE},
                 {kAfxClass, PARENT_NONE},
                 {L"PseudoConsoleWindow", PARENT_NONE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "class " << testing::PrintToString(std::wstring(c.className)));
        HWND window = Create(c.className);
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(MakeForeground(window));
        AppState.parentKind = 99;
        EXPECT_EQ(c.kind != PARENT_NONE ? window : NULL, DetectParentWindow());
        EXPECT_EQ(c.kind, AppState.parentKind);
    }
}

TEST_F(ParentDetection, FailureAfterSuccessLeavesNoKind) {
    HWND console = Create(L"ConsoleWindowClass");
    ASSERT_TRUE(MakeForeground(console));
    ASSERT_EQ(console, DetectParentWindow());
    ASSERT_EQ(PARENT_CONSOLE, AppState.parentKind);
    ASSERT_TRUE(MakeForeground(Create(L"SomethingElse")));
    EXPECT_EQ(nullptr, DetectParentWindow());
    EXPECT_EQ(PARENT_NONE, AppState.parentKind);
}

TEST_F(ParentDetection, FrameWithoutViewIsItself) {
    HWND frame = Create(L"XTPMainFrame");
    // Near misses of the view prefix: one unit short, and a different case of an unrelated class.
    ASSERT_NE(nullptr, Create(L"AfxFrameOrVie", frame));
    ASSERT_NE(nullptr, Create(L"afxFrameOrViewX", frame));
    ASSERT_NE(nullptr, Create(kViewClass, frame, false));
    ASSERT_TRUE(MakeForeground(frame));
    EXPECT_EQ(frame, DetectParentWindow());
    EXPECT_EQ(PARENT_FRAME_VIEW, AppState.parentKind);
}

TEST_F(ParentDetection, FirstVisibleViewIsChosen) {
    HWND frame = Create(L"XTPMainFrame");
    HWND hidden = Create(kViewClass, frame, false);
    HWND visible = Create(L"AfxFrameOrView140", frame);
    HWND later = Create(kViewClass, frame);
    // The test relies on children being enumerated in the order they were created.
    ASSERT_EQ(hidden, GetWindow(frame, GW_CHILD));
    ASSERT_EQ(visible, GetWindow(hidden, GW_HWNDNEXT));
    ASSERT_EQ(later, GetWindow(visible, GW_HWNDNEXT));
    ASSERT_TRUE(MakeForeground(frame));
    EXPECT_EQ(visible, DetectParentWindow());
    EXPECT_EQ(PARENT_FRAME_VIEW, AppState.parentKind);
}

// Descendants count, not only children; a view counts as visible only when its ancestors are too.
TEST_F(ParentDetection, ViewSearchCoversDescendants) {
    HWND frame = Create(L"XTPMainFrame");
    HWND hiddenPanel = Create(L"PanelClass", frame, false);
    ASSERT_NE(nullptr, Create(kViewClass, hiddenPanel));
    HWND panel = Create(L"PanelClass", frame);
    HWND nested = Create(kViewClass, panel);
    ASSERT_TRUE(MakeForeground(frame));
    EXPECT_EQ(nested, DetectParentWindow());
    EXPECT_EQ(PARENT_FRAME_VIEW, AppState.parentKind);
}

TEST_F(ParentDetection, FrameViewCallbackStopsOnlyAtVisibleView) {
    HWND frame = Create(L"XTPMainFrame");
    HWND hidden = Create(kViewClass, frame, false);
    HWND other = Create(L"PanelClass", frame);
    HWND view = Create(kViewClass, frame);
    HWND found = NULL;
    EXPECT_TRUE(FindFrameViewProc(hidden, reinterpret_cast<LPARAM>(&found)));
    EXPECT_TRUE(FindFrameViewProc(other, reinterpret_cast<LPARAM>(&found)));
    EXPECT_EQ(nullptr, found);
    EXPECT_FALSE(FindFrameViewProc(view, reinterpret_cast<LPARAM>(&found)));
    EXPECT_EQ(view, found);
}

// Windows of other processes: an "Afx:" one counts only in a process whose image is tcmd, and gives its view
// when it has one; a recognised class is found, but written in lower case it matches nothing.
TEST_F(ParentDetection, WindowsOfOtherProcesses) {
    const struct {
        const wchar_t* image;
        const wchar_t* className;
        const wchar_t* viewClass;  // a child expected as the parent
        LONG kind;                 // PARENT_NONE: no parent
    } cases[] = {
        {L"TCMDowner.exe", kAfxClass, nullptr, PARENT_FRAME_VIEW},
        {L"TCMDowner.exe", kAfxClass, kViewClass, PARENT_FRAME_VIEW},
        {L"editor.exe", kAfxClass, nullptr, PARENT_NONE},
        {L"editor.exe", L"ConsoleWindowClass", nullptr, PARENT_CONSOLE},
        {L"editor.exe", L"consolewindowclass", nullptr, PARENT_NONE},
        {L"editor.exe", L"xtpmainframe", nullptr, PARENT_NONE},
        {L"TCMDowner.exe", L"afx:00400000:b:00010003:00000006:00000000", nullptr, PARENT_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image << ", class " << c.className);
        HWND window = StartOwner(c.image, c.className, c.viewClass);
        ASSERT_NE(nullptr, window);
        WCHAR seen[64] = {};
        ASSERT_NE(0u, RealGetWindowClassW(window, seen, _countof(seen)));
        ASSERT_STREQ(c.className, seen);
        HWND parent = c.viewClass != nullptr ? FindWindowExW(window, NULL, c.viewClass, NULL) : window;
        ASSERT_NE(nullptr, parent);
        AppState.parentKind = 99;
        EXPECT_EQ(c.kind != PARENT_NONE ? parent : NULL, DetectParentWindow());
        EXPECT_EQ(c.kind, AppState.parentKind);
        owners_.back().Stop();
    }
}

// The image name decides. XP knows only the full query right, which later versions refuse where they would grant
// the limited one; Wine grants either, so the right asked for is recorded.
TEST_F(ParentDetection, TcmdProcessByImageName) {
    HWND tcmdWindow = StartOwner(L"TCMDowner.exe", kAfxClass);
    ASSERT_NE(nullptr, tcmdWindow);
    HWND otherWindow = StartOwner(L"editor.exe", kAfxClass);
    ASSERT_NE(nullptr, otherWindow);
    HWND own = Create(L"PanelClass");
    // The major version, and the right asked for.
    const std::pair<DWORD, DWORD> cases[] = {{5, PROCESS_QUERY_INFORMATION},
                                             {6, PROCESS_QUERY_LIMITED_INFORMATION},
                                             {10, PROCESS_QUERY_LIMITED_INFORMATION}};
    TcmdOpenProcess = RecordingOpenProcess;
    for (const auto& [major, access] : cases) {
        SCOPED_TRACE(testing::Message() << "major version " << major);
        AppState.osVersion.dwMajorVersion = major;
        openedWith.clear();
        EXPECT_EQ(1, IsTcmdProcess(tcmdWindow));
        EXPECT_EQ(0, IsTcmdProcess(otherWindow));
        EXPECT_EQ(0, IsTcmdProcess(own));
        EXPECT_EQ(0, IsTcmdProcess(NULL));
        EXPECT_EQ(std::vector<DWORD>(3, access), openedWith) << "one opening for each window, none for NULL";
    }
}

TEST(TcmdImagePath, LastComponentDecides) {
    const struct {
        const wchar_t* path;
        int expected;
    } cases[] = {
        {L"\\Device\\HarddiskVolume2\\Tools\\TCMD.EXE", 1},
        {L"C:tcmd.exe", 1},
        {L"a/b:tcmdx", 1},
        {L"TcMd2.exe", 1},
        {L"tcmd", 1},
        {L"C:\\tcmd\\editor.exe", 0},
        {L"C:\\tools\\xtcmd.exe", 0},
        {L"C:\\tools\\tcm", 0},
        {L"C:\\tcmd\\", 0},
        {L"tcmd:", 0},
        {L"", 0},
        {nullptr, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, IsTcmdImagePath(c.path))
            << testing::PrintToString(std::wstring(c.path != nullptr ? c.path : L"(null)"));
    }
}

TEST_F(ParentDetection, VirtualConsoleNeedsItsOwnHandleInConEmuHWND) {
    HWND console = Create(L"VirtualConsoleClass");
    HWND another = Create(L"PanelClass");
    ASSERT_TRUE(MakeForeground(console));
    const struct {
        std::wstring value;  // empty: unset
        bool found;
    } cases[] = {
        {L"", false},
        {HandleNumber(console), true},
        {L"0x" + HandleNumber(console, true), true},
        {L"x" + HandleNumber(console, true), true},
        {HandleNumber(another), false},
        {HandleNumber(console) + L" ", false},
        {L"0x" + HandleNumber(console, true) + L"h", false},
        {L"not a number", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "ConEmuHWND " << testing::PrintToString(c.value));
        SetEnvironmentVariableW(L"ConEmuHWND", c.value.empty() ? NULL : c.value.c_str());
        AppState.parentKind = PARENT_CONSOLE;
        EXPECT_EQ(c.found ? console : NULL, DetectParentWindow());
        EXPECT_EQ(c.found ? PARENT_VIRTUAL_CONSOLE : PARENT_NONE, AppState.parentKind);
        EXPECT_EQ(c.found ? 1 : 0, IsConEmuWindow(console));
    }
    ASSERT_TRUE(SetEnvironmentVariableW(L"ConEmuHWND", HandleNumber(console).c_str()));
    EXPECT_EQ(0, IsConEmuWindow(NULL));
}

// Any case matches. The system keeps a class name in the spelling that registered it first, and one process cannot
// register two spellings of a name, so a helper process registers another case before this one registers the exact
// spelling; that the other case can be read back is checked before it is relied on.
TEST_F(ParentDetection, PseudoConsoleInAnyCase) {
    const wchar_t otherCase[] = L"pseudoconsoleWINDOW";
    HWND lower = StartOwner(L"editor.exe", otherCase);
    ASSERT_NE(nullptr, lower);
    WCHAR seen[64] = {};
    ASSERT_NE(0u, RealGetWindowClassW(lower, seen, _countof(seen)));
    HWND upper = Create(L"PseudoConsoleWindow");
    HWND longer = Create(L"PseudoConsoleWindowX");
    ASSERT_NE(nullptr, upper);
    EXPECT_EQ(1, IsPseudoConsoleWindow(upper));
    EXPECT_EQ(0, IsPseudoConsoleWindow(longer));
    EXPECT_EQ(0, IsPseudoConsoleWindow(NULL));
    ASSERT_TRUE(MakeForeground(lower));
    EXPECT_EQ(nullptr, DetectParentWindow());
    EXPECT_EQ(PARENT_NONE, AppState.parentKind);
    if (std::wstring(seen) != otherCase) {
        GTEST_SKIP() << "the helper's class reads as " << seen << ": another process of this session registered "
                     << "that spelling first, so no other case can be seen";
    }
    EXPECT_EQ(1, IsPseudoConsoleWindow(lower));
}

}  // namespace
