// Placement arithmetic from a table of plain values (the worked numbers, the inset and trimming boundaries,
// truncation toward zero), then the whole call on real windows with the system's own metrics.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "placement/placement.h"

namespace {

struct PlacementCase {
    const char* name;
    WORD position;
    LONG kind;
    int scrollBarWidth;
    int captionHeight;
    RECT dialog;
    RECT parent;
    int ok;
    LONG x;
    LONG y;
};

const RECT kDialog = {0, 0, 390, 160};
const RECT kParent = {100, 50, 900, 650};

// With a caption of 23 and a scroll bar of 17 the usable area is 100..883 wide; per kind its top, bottom and
// height are 50/650/600 (0, 1), 77/650/573 (2), 84/650/566 (3), 126/627/501 (4), 101/633/531 (5) and
// 96/627/531 (6). The cells read x 108, 296 or 485 and y from those.
const PlacementCase kCases[] = {
    // Every cell of a console, and everything not 1 to 9 in the centre.
    {"console 7", 7, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 108, 85},
    {"console 8", 8, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 296, 85},
    {"console 9", 9, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 485, 85},
    {"console 4", 4, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 108, 283},
    {"console 5", 5, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 296, 283},
    {"console 6", 6, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 485, 283},
    {"console 1", 1, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 108, 482},
    {"console 2", 2, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 296, 482},
    {"console 3", 3, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 485, 482},
    {"console 0", 0, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 296, 283},
    {"console 10", 10, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 296, 283},
    {"console 65535", 65535, PARENT_CONSOLE, 17, 23, kDialog, kParent, 1, 296, 283},

    // Each kind at top left, centre and bottom right: the moved edges and the reduced height.
    {"none 7", 7, PARENT_NONE, 17, 23, kDialog, kParent, 1, 108, 58},
    {"none 5", 5, PARENT_NONE, 17, 23, kDialog, kParent, 1, 296, 270},
    {"none 3", 3, PARENT_NONE, 17, 23, kDialog, kParent, 1, 485, 482},
    {"frame view 7", 7, PARENT_FRAME_VIEW, 17, 23, kDialog, kParent, 1, 108, 58},
    {"frame view 5", 5, PARENT_FRAME_VIEW, 17, 23, kDialog, kParent, 1, 296, 270},
    {"frame view 3", 3, PARENT_FRAME_VIEW, 17, 23, kDialog, kParent, 1, 485, 482},
    {"terminal host 7", 7, PARENT_TERMINAL_HOST, 17, 23, kDialog, kParent, 1, 108, 92},
    {"terminal host 5", 5, PARENT_TERMINAL_HOST, 17, 23, kDialog, kParent, 1, 296, 287},
    {"terminal host 3", 3, PARENT_TERMINAL_HOST, 17, 23, kDialog, kParent, 1, 485, 482},
    {"console main 7", 7, PARENT_CONSOLE_MAIN, 17, 23, kDialog, kParent, 1, 108, 134},
    {"console main 5", 5, PARENT_CONSOLE_MAIN, 17, 23, kDialog, kParent, 1, 296, 296},
    {"console main 3", 3, PARENT_CONSOLE_MAIN, 17, 23, kDialog, kParent, 1, 485, 459},
    {"virtual console 7", 7, PARENT_VIRTUAL_CONSOLE, 17, 23, kDialog, kParent, 1, 108, 109},
    // The middle uses the height reduced by the whole inset, 531, not bottom - top = 532.
    {"virtual console 5", 5, PARENT_VIRTUAL_CONSOLE, 17, 23, kDialog, kParent, 1, 296, 286},
    {"virtual console 3", 3, PARENT_VIRTUAL_CONSOLE, 17, 23, kDialog, kParent, 1, 485, 465},
    {"command frame 7", 7, PARENT_COMMAND_FRAME, 17, 23, kDialog, kParent, 1, 108, 104},
    {"command frame 5", 5, PARENT_COMMAND_FRAME, 17, 23, kDialog, kParent, 1, 296, 281},
    {"command frame 3", 3, PARENT_COMMAND_FRAME, 17, 23, kDialog, kParent, 1, 485, 459},
    {"unknown kind 7", 7, 7, 17, 23, kDialog, kParent, 1, 108, 58},
    {"negative kind 7", 7, -1, 17, 23, kDialog, kParent, 1, 108, 58},

    // The caption height of Wine: 6 * 19 / 5 = 22.
    {"console 9, caption 19", 9, PARENT_CONSOLE, 17, 19, kDialog, kParent, 1, 485, 80},

    // The inset applies when parent height + inset exceeds the dialog height, whether or not the dialog fits.
    {"inset skipped, 100 + 27 < 160", 9, PARENT_CONSOLE, 17, 23, kDialog, {100, 50, 900, 150}, 1, 485, 58},
    {"inset skipped, 133 + 27 = 160", 9, PARENT_CONSOLE, 17, 23, kDialog, {100, 50, 900, 183}, 1, 485, 58},
    {"inset applied, 134 + 27 > 160", 9, PARENT_CONSOLE, 17, 23, kDialog, {100, 50, 900, 184}, 1, 485, 85},
    {"inset applied, 150 + 27 > 160", 9, PARENT_CONSOLE, 17, 23, kDialog, {100, 50, 900, 200}, 1, 485, 85},
    // 150 - 27 = 123: 61 - 80 + 77.
    {"inset applied, middle", 5, PARENT_CONSOLE, 17, 23, kDialog, {100, 50, 900, 200}, 1, 296, 58},
    // Height 50 - 99 = -49 halves to -24 toward zero (not -25): -24 - 5 + 126.
    {"negative height truncates", 5, PARENT_CONSOLE_MAIN, 17, 23, {0, 0, 10, 10}, {100, 50, 900, 100}, 1, 486, 97},

    // Trimming only when the parent is wider than four scroll bars, and never with a zero width.
    {"60 wide, not trimmed", 9, PARENT_NONE, 17, 23, {0, 0, 20, 20}, {0, 0, 60, 100}, 1, 32, 8},
    {"68 wide, not trimmed", 9, PARENT_NONE, 17, 23, {0, 0, 20, 20}, {0, 0, 68, 100}, 1, 40, 8},
    {"69 wide, trimmed", 9, PARENT_NONE, 17, 23, {0, 0, 20, 20}, {0, 0, 69, 100}, 1, 24, 8},
    {"zero scroll bar", 9, PARENT_CONSOLE, 0, 23, kDialog, kParent, 1, 502, 85},
    // Halves taken one by one: 800 / 2 - 391 / 2 = 205, not (800 - 391) / 2 = 204.
    {"halves taken separately", 5, PARENT_NONE, 0, 23, {0, 0, 391, 161}, kParent, 1, 305, 270},

    // Nothing is clamped: a dialog larger than its parent starts left of and above it.
    {"dialog larger than parent", 5, PARENT_NONE, 17, 23, kDialog, {100, 50, 160, 90}, 1, -65, -10},
    {"parent at negative coordinates", 5, PARENT_NONE, 17, 23, kDialog, {-500, -300, -100, 0}, 1, -504, -230},
    {"dialog rectangle elsewhere", 7, PARENT_CONSOLE, 17, 23, {700, 700, 1090, 860}, kParent, 1, 108, 85},

    // Less than a pixel in any direction.
    {"dialog without width", 5, PARENT_NONE, 17, 23, {0, 0, 0, 160}, kParent, 0, 0, 0},
    {"dialog without height", 5, PARENT_NONE, 17, 23, {0, 0, 390, 0}, kParent, 0, 0, 0},
    {"parent without width", 5, PARENT_NONE, 17, 23, kDialog, {100, 50, 100, 650}, 0, 0, 0},
    {"parent without height", 5, PARENT_NONE, 17, 23, kDialog, {100, 50, 900, 50}, 0, 0, 0},
    {"inverted parent", 5, PARENT_NONE, 17, 23, kDialog, {900, 650, 100, 50}, 0, 0, 0},
};

TEST(PlacementArithmetic, Table) {
    for (const PlacementCase& c : kCases) {
        POINT topLeft = {-12345, -12345};
        int ok = ComputePlacement(c.position, c.kind, c.scrollBarWidth, c.captionHeight, c.dialog, c.parent, &topLeft);
        EXPECT_EQ(c.ok, ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(c.x, topLeft.x) << c.name;
            EXPECT_EQ(c.y, topLeft.y) << c.name;
        } else {
            EXPECT_EQ(-12345, topLeft.x) << c.name;
            EXPECT_EQ(-12345, topLeft.y) << c.name;
        }
    }
}

class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ =
            CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP | WS_VISIBLE, 100, 50, 800, 600, NULL, NULL, NULL, NULL);
        dialog_ = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, 0, 390, 160, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, parent_);
        ASSERT_NE(nullptr, dialog_);
        AppState.parentWindow = parent_;
    }
    void TearDown() override {
        DestroyWindow(dialog_);  // for a NULL one (never made, or destroyed by the test) the call just fails
        DestroyWindow(parent_);
    }

    RECT DialogRect() const {
        RECT rect = {};
        EXPECT_TRUE(GetWindowRect(dialog_, &rect));
        return rect;
    }

    HWND parent_ = NULL;
    HWND dialog_ = NULL;
};

TEST_F(Placement, EveryKindOnRealParent) {
    const int scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int captionHeight = GetSystemMetrics(SM_CYCAPTION);
    RECT parentRect = {};
    ASSERT_TRUE(GetWindowRect(parent_, &parentRect));
    for (LONG kind = PARENT_NONE; kind <= PARENT_COMMAND_FRAME; kind++) {
        const WORD positions[] = {9, 5, 1};
        for (WORD position : positions) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", position " << position);
            ASSERT_TRUE(SetWindowPos(dialog_, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW));
            RECT before = DialogRect();
            POINT expected = {};
            ASSERT_EQ(1,
                      ComputePlacement(position, kind, scrollBarWidth, captionHeight, before, parentRect, &expected));
            AppState.parentKind = kind;
            AppState.position = position;
            EXPECT_EQ(1, PlaceOnParent(dialog_));
            RECT after = DialogRect();
            EXPECT_EQ(expected.x, after.left);
            EXPECT_EQ(expected.y, after.top);
            EXPECT_EQ(390, after.right - after.left);
            EXPECT_EQ(160, after.bottom - after.top);
            EXPECT_TRUE(IsWindowVisible(dialog_));
        }
    }
}

// Worked by hand for the metrics this environment reports (Wine: scroll bar 17, caption 19).
TEST_F(Placement, HandCheckedWithWineMetrics) {
    if (GetSystemMetrics(SM_CXVSCROLL) != 17 || GetSystemMetrics(SM_CYCAPTION) != 19) {
        GTEST_SKIP() << "metrics differ from Wine's";
    }
    // Right edge 900 - 17 = 883: x = 883 - 390 - 8; console band 6 * 19 / 5 = 22: y = 50 + 22 + 8.
    AppState.parentKind = PARENT_CONSOLE;
    AppState.position = 9;
    EXPECT_EQ(1, PlaceOnParent(dialog_));
    EXPECT_EQ(485, DialogRect().left);
    EXPECT_EQ(80, DialogRect().top);
    // Command frame: top 50 + 38, bottom 650 - 19, height 600 - 57 = 543: y = 271 - 80 + 88.
    AppState.parentKind = PARENT_COMMAND_FRAME;
    AppState.position = 5;
    EXPECT_EQ(1, PlaceOnParent(dialog_));
    EXPECT_EQ(296, DialogRect().left);
    EXPECT_EQ(279, DialogRect().top);
}

// Each call starts from the parent's current rectangle.
TEST_F(Placement, FollowsMovedParent) {
    AppState.parentKind = PARENT_NONE;
    AppState.position = 7;
    ASSERT_EQ(1, PlaceOnParent(dialog_));
    EXPECT_EQ(108, DialogRect().left);
    EXPECT_EQ(58, DialogRect().top);
    ASSERT_TRUE(SetWindowPos(parent_, NULL, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_EQ(1, PlaceOnParent(dialog_));
    EXPECT_EQ(308, DialogRect().left);
    EXPECT_EQ(208, DialogRect().top);
}

TEST_F(Placement, UnusableParentLeavesDialogAlone) {
    ASSERT_TRUE(SetWindowPos(dialog_, NULL, 11, 22, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    AppState.position = 5;

    // On no monitor.
    ASSERT_TRUE(SetWindowPos(parent_, NULL, -20000, -20000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_EQ(nullptr, MonitorFromWindow(parent_, MONITOR_DEFAULTTONULL));
    EXPECT_EQ(0, PlaceOnParent(dialog_));

    // Destroyed since it was detected, and none at all.
    ASSERT_TRUE(DestroyWindow(parent_));
    parent_ = NULL;
    EXPECT_EQ(0, PlaceOnParent(dialog_));
    AppState.parentWindow = NULL;
    EXPECT_EQ(0, PlaceOnParent(dialog_));

    EXPECT_EQ(11, DialogRect().left);
    EXPECT_EQ(22, DialogRect().top);
    EXPECT_FALSE(IsWindowVisible(dialog_));
}

TEST_F(Placement, DialogWithoutSizeIsNotMoved) {
    ASSERT_TRUE(SetWindowPos(dialog_, NULL, 11, 22, 0, 0, SWP_NOZORDER));
    AppState.position = 5;
    EXPECT_EQ(0, PlaceOnParent(dialog_));
    EXPECT_EQ(11, DialogRect().left);
    EXPECT_EQ(22, DialogRect().top);
}

}  // namespace
