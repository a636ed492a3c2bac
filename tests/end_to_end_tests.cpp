// The real Tessival.exe driven from another process, as a user's starts would drive it: the dialog mode,
// hand-overs to a running dialog, closing, the usage box, settings across starts, and parent windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "dialog/integrity_level.h"
#include "message_pump.h"
#include "message_texts.h"
#include "owner_process.h"
#include "placement/placement.h"
#include "platform_support.h"
#include "registry_support.h"
#include "resource.h"
#include "test_folders.h"
#include "test_processes.h"
#include "window_classes.h"
#include "window_search.h"

namespace {

const wchar_t kCaption[] = DIALOG_CAPTION;

bool IsChecked(HWND dialog, int id) {
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The window with the keyboard focus in another thread's input state.
HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : NULL;
}

// Types text as keystrokes through the system's input, to whatever has the focus, independent of the keyboard
// layout; false when the system took none of it.
bool TypeText(const wchar_t* text) {
    std::vector<INPUT> keys;
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        for (DWORD direction : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)}) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = *c;
            key.ki.dwFlags = KEYEVENTF_UNICODE | direction;
            keys.push_back(key);
        }
    }
    return SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) == keys.size();
}

// Starts exe with arguments one integrity level below this process's own, with a token built as Windows documents
// for a lower-integrity process: this process's own, duplicated, with a lower mandatory label. Empty when started,
// else why it could not be.
std::string StartOneIntegrityLevelLower(const std::wstring& exe,
                                        const std::wstring& arguments,
                                        PROCESS_INFORMATION* process) {
    const DWORD access = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ADJUST_DEFAULT | TOKEN_ASSIGN_PRIMARY;
    HANDLE own = NULL;
    HANDLE lowered = NULL;
    TOKEN_MANDATORY_LABEL lowerLevel = {{NULL, SE_GROUP_INTEGRITY}};
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[256];
    } level = {};
    DWORD size = 0;
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_MANDATORY_LABEL_AUTHORITY;
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::string why;
    auto failed = [&](const char* step) { why = std::string(step) + ", error " + std::to_string(GetLastError()); };
    if (!OpenProcessToken(GetCurrentProcess(), access, &own) ||
        !GetTokenInformation(own, TokenIntegrityLevel, &level, sizeof(level), &size)) {
        failed("the test's own integrity level cannot be read");
    } else {
        PSID ownLabel = level.label.Label.Sid;
        DWORD rid = *GetSidSubAuthority(ownLabel, *GetSidSubAuthorityCount(ownLabel) - 1);
        DWORD lower = rid >= SECURITY_MANDATORY_HIGH_RID ? SECURITY_MANDATORY_MEDIUM_RID : SECURITY_MANDATORY_LOW_RID;
        if (rid < SECURITY_MANDATORY_MEDIUM_RID) {
            why = "the test runs at integrity level " + std::to_string(rid) + ", with no ordinary level below it";
        } else if (!DuplicateTokenEx(own, access, NULL, SecurityImpersonation, TokenPrimary, &lowered) ||
                   !AllocateAndInitializeSid(&authority, 1, lower, 0, 0, 0, 0, 0, 0, 0, &lowerLevel.Label.Sid)) {
            failed("no copy of the test's token");
        } else if (!SetTokenInformation(lowered, TokenIntegrityLevel, &lowerLevel,
                                        sizeof(lowerLevel) + GetLengthSid(lowerLevel.Label.Sid))) {
            failed("the token's integrity level cannot be lowered");
        } else if (!CreateProcessAsUserW(lowered, NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                                         process)) {
            failed("CreateProcessAsUserW failed");
        }
    }
    for (HANDLE token : {own, lowered}) {
        if (token != NULL) {
            CloseHandle(token);
        }
    }
    if (lowerLevel.Label.Sid != NULL) {
        FreeSid(lowerLevel.Label.Sid);
    }
    return why;
}

// Each test starts without settings keys: the user's own are set aside (as BothSettingsKeysBackup describes) and
// put back once the program's processes have ended.
class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (MachineSettingsLocked()) {
            GTEST_SKIP() << kMachineSettingsLocked;
        }
        ASSERT_NO_FATAL_FAILURE(settings_.Save());
        // A plain window of our own in the foreground, so that no parent is detected unless a test wants one.
        plain_ = CreateTestWindow(L"STATIC", L"plain", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
        MakeForeground(plain_);
        front_ = plain_;
    }

    void TearDown() override {
        for (HWND dialog : FindDialogs(kCaption)) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
        for (PROCESS_INFORMATION& process : processes_) {
            EndProcess(&process, NULL, 5000);
        }
        otherProgram_.Stop();
        for (HWND window : windows_) {
            DestroyWindow(window);
        }
        settings_.Restore();
        EXPECT_TRUE(FindDialogs(kCaption).empty()) << "a dialog was left behind";
    }

    // The dialog sits where the program's own arithmetic puts a dialog of its size on parent, for this host kind.
    void ExpectPlacedOn(HWND parent, WORD position, LONG kind) {
        RECT placed, parentRect;
        ASSERT_TRUE(GetWindowRect(dialog_, &placed));
        ASSERT_TRUE(GetWindowRect(parent, &parentRect));
        POINT expected = {};
        EXPECT_EQ(1, ComputePlacement(position, kind, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYCAPTION),
                                      placed, parentRect, &expected));
        EXPECT_EQ(expected.x, placed.left);
        EXPECT_EQ(expected.y, placed.top);
    }

    HWND CreateTestWindow(const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int cx, int cy) {
        HWND window = CreateWindowExW(0, className, title, style, x, y, cx, cy, NULL, NULL, NULL, NULL);
        EXPECT_NE(nullptr, window);
        windows_.push_back(window);
        return window;
    }

    // A window of a class registered here, made the foreground window, to stand for a terminal.
    HWND CreateHostWindow(const wchar_t* className) {
        (void)RegisterTestClass(className);  // already there for a second window of the class
        HWND host = CreateTestWindow(className, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 90, 820, 600);
        MakeForeground(host);
        front_ = host;
        PumpMessagesFor(50);
        return host;
    }

    PROCESS_INFORMATION Start(const std::wstring& arguments, const wchar_t* environmentAddition = NULL) {
        PROCESS_INFORMATION process = {};
        DWORD error = StartProcess(TessivalExePath(), arguments, &process, NULL, environmentAddition);
        EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), error) << "error " << error;
        if (error == ERROR_SUCCESS) {
            processes_.push_back(process);
        }
        return process;
    }

    // A start one integrity level below the test's own; empty, or why there was none.
    std::string StartLowered(const std::wstring& arguments, PROCESS_INFORMATION* process) {
        std::string why = StartOneIntegrityLevelLower(TessivalExePath(), arguments, process);
        if (why.empty()) {
            processes_.push_back(*process);
        }
        return why;
    }

    // The exit code of a start, once it has ended.
    DWORD Run(const std::wstring& arguments) {
        return WaitForExit(Start(arguments));
    }

    // Starts a dialog, kept in dialog_ (false when none came). Without /W: or a pinned place, the dialog docks onto
    // the window in front, so each start finds the test's own there: whatever was in front before is not the test's
    // choice (on a CI runner, the runner's own console).
    bool OpenDialog(const std::wstring& arguments, const wchar_t* environmentAddition = NULL) {
        EXPECT_TRUE(MakeForeground(front_)) << "the test's window did not come to the foreground";
        dialogProcess_ = Start(arguments, environmentAddition);
        dialog_ = WaitForVisibleDialog(kCaption, dialogProcess_, 5000);
        PumpMessagesFor(100);
        EXPECT_NE(nullptr, dialog_) << "no dialog for: " << arguments;
        return dialog_ != NULL;
    }

    // A second start that must hand over and end, leaving the one dialog.
    void SecondStart(const std::wstring& arguments) {
        EXPECT_EQ(0u, Run(arguments)) << arguments;
        EXPECT_EQ(1u, FindDialogs(kCaption).size()) << "a second dialog opened";
    }

    void CloseAndWait() {
        EXPECT_TRUE(PostMessageW(dialog_, WM_CLOSE, 0, 0));
        EXPECT_EQ(0u, WaitForExit(dialogProcess_));
    }

    // Another program's window in the foreground, as when the user works in an editor; false when the helper
    // did not come up or could not be brought forward.
    bool BringOtherProgramForward() {
        if (otherProgram_.window == NULL && !otherProgram_.Start(L"editor.exe", L"TessivalOtherProgram")) {
            return false;
        }
        return MakeForeground(otherProgram_.window);
    }

    HWND plain_ = NULL;
    HWND front_ = NULL;  // the window a dialog start finds in front: plain_, or the host a test made last
    OwnerProcess otherProgram_;
    HWND dialog_ = NULL;  // the dialog of the last OpenDialog
    PROCESS_INFORMATION dialogProcess_ = {};
    std::vector<PROCESS_INFORMATION> processes_;
    std::vector<HWND> windows_;
    BothSettingsKeysBackup settings_{L"the end-to-end tests"};
};

TEST_F(EndToEnd, StartWithACodeShowsIt) {
    ASSERT_TRUE(OpenDialog(L"5"));
    EXPECT_EQ(SystemMessageShown(5), ControlText(dialog_, IDC_MESSAGE));
    EXPECT_EQ(L"5", ControlText(dialog_, IDC_CODE));
    EXPECT_EQ(L"5    0x05", ControlText(dialog_, IDC_NUMBERS));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_FIND)));
    // The test prefix reports Windows 10 through RtlGetVersion (GetVersionExW says 6.2 without a manifest
    // entry), so the pin box shows the pushpin.
    OSVERSIONINFOEXW reported = {};
    ASSERT_TRUE(RealOsVersion(&reported));
    EXPECT_EQ(reported.dwMajorVersion >= 10 ? L"\xD83D\xDCCC" : L"&Pin", ControlText(dialog_, IDC_PIN));
    CloseAndWait();
}

TEST_F(EndToEnd, SecondStartHandsOverACode) {
    ASSERT_TRUE(OpenDialog(L""));
    EXPECT_EQ(L"", ControlText(dialog_, IDC_CODE));
    EXPECT_TRUE(MakeForeground(plain_));
    SecondStart(L"0x80004005");
    EXPECT_EQ(L"2147500037", ControlText(dialog_, IDC_CODE));
    EXPECT_EQ(L"2147500037    0x80004005", ControlText(dialog_, IDC_NUMBERS));
    EXPECT_EQ(dialog_, GetForegroundWindow()) << "the dialog brings itself forward";

    // Again while another program's window is in front: Windows' foreground lock guards that program, and the
    // dialog must still come forward with the code. Wine has no such lock, so there this shows the hand-over
    // and the activation across processes, not the lock overcome.
    ASSERT_TRUE(BringOtherProgramForward()) << "the helper's window did not come to the foreground";
    SecondStart(L"-1");
    EXPECT_EQ(L"4294967295", ControlText(dialog_, IDC_CODE));
    EXPECT_EQ(L"4294967295    0xFFFFFFFF", ControlText(dialog_, IDC_NUMBERS));
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog_; }))
        << "foreground " << GetForegroundWindow() << ", dialog " << dialog_ << ", other program "
        << otherProgram_.window;
}

TEST_F(EndToEnd, SecondStartHandsOverOptions) {
    ASSERT_TRUE(OpenDialog(L"/T"));
    EXPECT_TRUE(IsTopmost(dialog_));
    EXPECT_TRUE(IsChecked(dialog_, IDC_TOPMOST));

    SecondStart(L"/N:it");
    EXPECT_FALSE(IsTopmost(dialog_));
    EXPECT_FALSE(IsChecked(dialog_, IDC_TOPMOST));
    EXPECT_FALSE(IsChecked(dialog_, IDC_FADE));

    SecondStart(L"/I /A:100");
    EXPECT_TRUE(IsChecked(dialog_, IDC_FADE));
    // Fading takes the handed-over opacity once another window is active.
    EXPECT_TRUE(MakeForeground(plain_));
    BYTE alpha = 0;
    EXPECT_TRUE(PumpUntil([&] { return GetLayeredWindowAttributes(dialog_, NULL, &alpha, NULL) && alpha == 100; }))
        << "alpha " << static_cast<int>(alpha);
    SecondStart(L"/T");
    EXPECT_TRUE(IsTopmost(dialog_));
    EXPECT_TRUE(PumpUntil([&] { return GetLayeredWindowAttributes(dialog_, NULL, &alpha, NULL) && alpha == 255; }));
}

TEST_F(EndToEnd, SecondStartWithoutArgumentsBringsTheDialogForward) {
    ASSERT_TRUE(OpenDialog(L"7"));
    EXPECT_TRUE(MakeForeground(plain_));
    PumpMessagesFor(50);
    ASSERT_EQ(plain_, GetForegroundWindow());
    SecondStart(L"");
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog_; }));
    EXPECT_EQ(L"7", ControlText(dialog_, IDC_CODE)) << "nothing was sent";
}

// Exit codes of console_start.exe for a scenario that could not be set up: its console window was never in front,
// or was, but never gave it the right to set the foreground.
const DWORD kConsoleNeverInFront = 4;
const DWORD kConsoleGaveNoForegroundRight = 7;

// The user's scenario on Windows itself: a code typed in a console while the dialog runs behind it. The console is in
// front, so of the two processes only the second start may set the foreground ("The calling process was started by
// the foreground process", SetForegroundWindow's Remarks); the dialog's process meets none of those conditions, and
// comes forward only if the start hands the right on with AllowSetForegroundWindow. The test proves that first, on
// the dialog itself: the same request from this process, which hands it no right, must leave the console in front.
// Without the grant, the start's request is that same request, and this fails. It judges while the console still
// stands: once the console is gone, Windows activates the next window in Z order by itself, the dialog, and a missing
// grant would pass unseen. Wine has no foreground lock, so there this shows that the code arrives from a real console
// and that the dialog brings itself forward.
TEST_F(EndToEnd, CodeTypedInAConsoleBringsTheDialogForward) {
    ASSERT_TRUE(OpenDialog(L""));
    const std::wstring title = L"Tessival test console " + std::to_wstring(GetCurrentProcessId());
    typedef std::unique_ptr<void, decltype(&CloseHandle)> Event;
    Event go(CreateEventW(NULL, TRUE, FALSE, (title + L" go").c_str()), CloseHandle);
    Event judged(CreateEventW(NULL, TRUE, FALSE, (title + L" judged").c_str()), CloseHandle);
    ASSERT_TRUE(go && judged) << "error " << GetLastError();
    PROCESS_INFORMATION console = {};
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), StartProcess(TestProgramFolder() + L"\\console_start.exe",
                                                              L"\"" + title + L"\" \"" + TessivalExePath() + L"\" 0x10",
                                                              &console, NULL, NULL, CREATE_NEW_CONSOLE));
    processes_.push_back(console);
    WindowQuery byTitle;
    byTitle.titlePart = title.c_str();
    HWND consoleWindow = WaitForWindow(byTitle, 10000, console.hProcess);
    if (consoleWindow == NULL) {
        GTEST_SKIP() << "not proven: a new console opened no console window (exit code " << WaitForExit(console, 0)
                     << ")";
    }
    ASSERT_TRUE(MakeForeground(consoleWindow)) << "the console window must be in front when the code is typed";
    if (!RunningUnderWine()) {
        // The code message of a second start, from a process that hands the dialog no right.
        (void)SendMessageW(dialog_, WM_USER + 1, 5, 1);
        if (PumpUntil([&] { return GetForegroundWindow() == dialog_; }, 500)) {
            GTEST_SKIP() << "not proven: the dialog came forward over the console on a request that handed it no "
                            "right, so Windows' foreground lock does not hold for it here";
        }
        ASSERT_EQ(consoleWindow, GetForegroundWindow()) << "the console did not stay in front";
    }
    ASSERT_TRUE(SetEvent(go.get()));
    ASSERT_TRUE(PumpUntil(
        [&] { return ControlText(dialog_, IDC_CODE) == L"16" || WaitForExit(console, 0) != STILL_ACTIVE; }, 30000));
    DWORD early = WaitForExit(console, 0);
    if (early == kConsoleNeverInFront) {
        // A terminal that hosts the console shows it in a window of its own, with the same title.
        GTEST_SKIP() << "not proven: the console's own window was never in front, though the window titled as the "
                        "console was";
    }
    if (early == kConsoleGaveNoForegroundRight) {
        GTEST_SKIP() << "not proven: the console was in front, but its process never held the right to set the "
                        "foreground";
    }
    ASSERT_EQ(STILL_ACTIVE, early) << "console_start.exe ended before the test judged";
    EXPECT_EQ(L"16", ControlText(dialog_, IDC_CODE));
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog_; }))
        << "foreground " << GetForegroundWindow() << ", dialog " << dialog_ << ", console " << consoleWindow;
    EXPECT_TRUE(IsWindow(consoleWindow)) << "judged after the console was gone";
    EXPECT_TRUE(SetEvent(judged.get()));
    EXPECT_EQ(0u, WaitForExit(console)) << "exit code of console_start.exe, which is Tessival's once started";
}

// Back in the dialog after another program's window was active, typing goes to the code field, also when another
// control had the focus before: the dialog keeps WM_ACTIVATE to itself, so the dialog manager saves no control on
// deactivation, and on the return the dialog's own focus handling picks the code field. Left to the dialog
// manager, the focus would go back to the Fade box, where typed digits do nothing.
TEST_F(EndToEnd, TypingReachesTheCodeFieldAfterAnotherProgramWasActive) {
    ASSERT_TRUE(OpenDialog(L""));
    HWND codeField = GetDlgItem(dialog_, IDC_CODE);
    DWORD dialogThread = GetWindowThreadProcessId(dialog_, NULL);
    ASSERT_TRUE(MakeForeground(dialog_));
    ASSERT_TRUE(PumpUntil([&] { return FocusOf(dialogThread) == codeField; })) << "no focus on the code field at first";
    HWND fadeBox = GetDlgItem(dialog_, IDC_FADE);
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(fadeBox), TRUE);
    ASSERT_TRUE(PumpUntil([&] { return FocusOf(dialogThread) == fadeBox; })) << "the Fade box did not take the focus";
    ASSERT_TRUE(BringOtherProgramForward()) << "the helper's window did not come to the foreground";

    // Back, as with a click on the dialog's caption or Alt+Tab.
    ASSERT_TRUE(MakeForeground(dialog_));
    EXPECT_TRUE(PumpUntil([&] { return FocusOf(dialogThread) == codeField; }))
        << "focus " << FocusOf(dialogThread) << ", code field " << codeField << ", Fade box " << fadeBox;
    if (!TypeText(L"42")) {
        GTEST_SKIP() << "the system refused injected keyboard input (no interactive desktop?)";
    }
    EXPECT_TRUE(PumpUntil([&] { return ControlText(dialog_, IDC_CODE) == L"42"; }))
        << "the code field holds \"" << ControlText(dialog_, IDC_CODE) << "\"";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_FIND)));
}

TEST_F(EndToEnd, PositionIsHandedOverAndParentIsNot) {
    HWND host = CreateHostWindow(L"ConsoleWindowClass");
    ASSERT_TRUE(OpenDialog(L"/P:7"));
    ExpectPlacedOn(host, 7, PARENT_CONSOLE);

    // Placed on its own parent at the handed-over position.
    HWND other = CreateTestWindow(L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 300, 300);
    SecondStart(L"/W:" + HandleNumber(other) + L":1 /P:3");
    ExpectPlacedOn(host, 3, PARENT_CONSOLE);
    // With a position alone both sides activate the dialog. Wine, unlike Windows, gives a thread a fresh input
    // state when the sender detaches from the dialog's thread, so there the foreground may end empty instead.
    bool inFront = PumpUntil([&] { return GetForegroundWindow() == dialog_; });
    EXPECT_TRUE(inFront || WineAllows(GetForegroundWindow() == NULL))
        << "foreground " << GetForegroundWindow() << ", dialog " << dialog_;

    // A pinned dialog takes no parent, though a console is in front when it starts: a handed-over position then
    // leaves it where it is pinned, and pinned.
    CloseAndWait();
    WriteCornerSettings(HKEY_CURRENT_USER, 200, 150);
    ASSERT_TRUE(OpenDialog(L""));
    ASSERT_TRUE(IsChecked(dialog_, IDC_PIN));
    EXPECT_TRUE(MakeForeground(host));
    SecondStart(L"/P:3");
    RECT pinned = {};
    ASSERT_TRUE(GetWindowRect(dialog_, &pinned));
    EXPECT_EQ(200, pinned.left);
    EXPECT_EQ(150, pinned.top);
    EXPECT_TRUE(IsChecked(dialog_, IDC_PIN)) << "the handed-over position took the pin away";
}

TEST_F(EndToEnd, UsageBoxWhileADialogRunsSendsNothing) {
    ASSERT_TRUE(OpenDialog(L"5"));
    EXPECT_TRUE(MakeForeground(plain_));
    PROCESS_INFORMATION usage = Start(L"/? 6");
    HWND box = WaitForVisibleDialog(PROGRAM_NAME, usage, 5000);
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(PostMessageW(box, WM_COMMAND, IDOK, 0));
    EXPECT_EQ(0u, WaitForExit(usage));
    EXPECT_EQ(L"5", ControlText(dialog_, IDC_CODE));
    EXPECT_NE(dialog_, GetForegroundWindow());
}

const wchar_t kUsage[] =
    L"Display the text for a Windows error code.\n\nTESSIVAL /A: /C /I /N: /P: /T /W: n\n\n"
    L"\t/A:\tset the \u2018faded\u2019 transparency level\n\t/C\tclose any open Tessival dialogs\n"
    L"\t/I\tenable fading when the dialog is not active\n\t/N:\tdisable features:\n\t\t    I  fading\n"
    L"\t\t    T  topmost\n\t/P:\tposition on parent window (0\u20139)\n\t/T\tkeep the dialog on top of other windows\n"
    L"\t/W:\tparent window\u2019s handle\n\n\tn\tthe Windows error code to look up\n\n"
    L"n may be decimal, or hexadecimal with a leading 0x.\n";

TEST_F(EndToEnd, UsageBoxText) {
    const std::wstring versionLine = std::wstring(L"\n\t\t\t\t") + VERSION_LINE + L" (" + PLATFORM_TEXT + L")\n";
    const struct {
        const wchar_t* arguments;
        std::wstring text;
    } cases[] = {{L"/?", kUsage}, {L"-h", kUsage}, {L"/??", kUsage + versionLine}, {L"/Hh", kUsage + versionLine}};
    for (const auto& c : cases) {
        PROCESS_INFORMATION process = Start(c.arguments);
        HWND box = WaitForVisibleDialog(PROGRAM_NAME, process, 5000);
        ASSERT_NE(nullptr, box) << c.arguments;
        EXPECT_EQ(c.text, ControlText(box, 0xFFFF));
        EXPECT_TRUE(PostMessageW(box, WM_COMMAND, IDOK, 0));
        EXPECT_EQ(0u, WaitForExit(process));
        EXPECT_TRUE(FindDialogs(kCaption).empty());
    }
}

// Stand-in windows with a given title, of the dialog class unless said otherwise: the ones WM_CLOSE reached, and
// what they all received (the private messages and WM_CLOSE), in order.
std::vector<HWND> closedStandIns;
using Received = std::tuple<UINT, WPARAM, LPARAM>;
std::vector<Received> standInLog;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || (message >= WM_USER + 1 && message <= WM_USER + 3)) {
        standInLog.emplace_back(message, wParam, lParam);
    }
    if (message == WM_CLOSE) {
        closedStandIns.push_back(window);
        return 0;
    }
    // Everything else goes to the procedure of the stand-in's class, whichever that is.
    WNDPROC classProcedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    return CallWindowProcW(classProcedure, window, message, wParam, lParam);
}

// A window of this thread with a dialog's title, recording what arrives; the fixture destroys it.
class EndToEndWithStandIns : public EndToEnd {
protected:
    HWND CreateStandIn(const wchar_t* title, const wchar_t* className = kDialogClass) {
        HWND window = CreateTestWindow(className, title, WS_POPUP | WS_VISIBLE, 5, 5, 100, 60);
        EXPECT_NE(0, SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandInProc)));
        return window;
    }
};

bool WasClosed(HWND window) {
    return std::find(closedStandIns.begin(), closedStandIns.end(), window) != closedStandIns.end();
}

TEST_F(EndToEndWithStandIns, CloseEndsEveryDialogAndAboutBox) {
    ASSERT_TRUE(OpenDialog(L"5"));
    closedStandIns.clear();
    HWND secondDialog = CreateStandIn(kCaption);
    HWND about = CreateStandIn(ABOUT_CAPTION);
    HWND lookalike = CreateStandIn(DIALOG_TITLE);  // the template's title: not a running dialog
    HWND otherAbout = CreateStandIn(ABOUT_CAPTION L" ");
    // The exact titles on windows of another class: no dialogs, so not Tessival's.
    HWND captionOfOtherClass = CreateStandIn(kCaption, L"STATIC");
    HWND aboutOfOtherClass = CreateStandIn(ABOUT_CAPTION, L"STATIC");
    EXPECT_EQ(0u, Run(L"/C"));
    EXPECT_EQ(0u, WaitForExit(dialogProcess_)) << "the running dialog ended";
    EXPECT_TRUE(WasClosed(secondDialog));
    EXPECT_TRUE(WasClosed(about));
    EXPECT_FALSE(WasClosed(lookalike));
    EXPECT_FALSE(WasClosed(otherAbout));
    EXPECT_FALSE(WasClosed(captionOfOtherClass));
    EXPECT_FALSE(WasClosed(aboutOfOtherClass));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY)) << "closing saved the settings";
}

TEST_F(EndToEnd, CloseWithNothingRunningJustEnds) {
    EXPECT_EQ(0u, Run(L"/c"));
    EXPECT_TRUE(FindDialogs(kCaption).empty());
}

TEST_F(EndToEndWithStandIns, CloseAfterHandingOverACode) {
    ASSERT_TRUE(OpenDialog(L""));
    EXPECT_EQ(0u, Run(L"5 /C"));
    EXPECT_EQ(0u, WaitForExit(dialogProcess_));

    // The same with a stand-in dialog that records what arrives, and in which order.
    standInLog.clear();
    CreateStandIn(kCaption);
    EXPECT_EQ(0u, Run(L"0x10 /C"));
    const std::vector<Received> expected = {{WM_USER + 1, 16, 1}, {WM_CLOSE, 0, 0}};
    EXPECT_EQ(expected, standInLog);
}

// A dialog started as administrator, and a later start from a normal prompt: Windows drops the messages above WM_USER
// and WM_CLOSE that a lower integrity level sends, unless the dialog lets them through. Wine has no integrity levels
// for window messages, so there the test skips where it proves the boundary.
TEST_F(EndToEndWithStandIns, HandOverAndCloseReachADialogOfAHigherIntegrityLevel) {
    // First, that the boundary is real: a lowered start's WM_USER + 1 must not reach a window of the test that lets
    // nothing through.
    standInLog.clear();
    HWND standIn = CreateStandIn(kCaption);
    PROCESS_INFORMATION lowered = {};
    std::string why = StartLowered(L"5", &lowered);
    if (!why.empty()) {
        GTEST_SKIP() << "no start one integrity level lower: " << why;
    }
    ASSERT_EQ(0u, WaitForExit(lowered)) << "the lowered start did not hand over to the stand-in and end";
    if (!standInLog.empty()) {
        GTEST_SKIP() << "this platform does not isolate integrity levels: a lowered start's WM_USER + 1 reached a "
                        "window that lets nothing through";
    }
    EXPECT_TRUE(DestroyWindow(standIn));

    // The dialog runs at the test's level. Only above Medium does it let the lower start through: an ordinary dialog
    // keeps Windows' default, and a Low start drives nothing.
    DWORD level = 0;
    ASSERT_EQ(1, ReadOwnIntegrityLevel(&level));
    ASSERT_TRUE(OpenDialog(L""));
    ASSERT_EQ("", StartLowered(L"0x10", &lowered));
    EXPECT_EQ(0u, WaitForExit(lowered));
    if (level <= static_cast<DWORD>(SECURITY_MANDATORY_MEDIUM_RID)) {
        EXPECT_EQ(L"", ControlText(dialog_, IDC_CODE)) << "a lower start reached an ordinary dialog";
        ASSERT_EQ("", StartLowered(L"/C", &lowered));
        EXPECT_EQ(0u, WaitForExit(lowered));
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(dialogProcess_.hProcess, 1000))
            << "a lower start closed an ordinary dialog";
        return;
    }
    EXPECT_EQ(L"16", ControlText(dialog_, IDC_CODE)) << "the handed-over code did not arrive";

    // /C closes the dialog and the About box it owns.
    EXPECT_TRUE(PostMessageW(dialog_, WM_SYSCOMMAND, IDM_ABOUT, 0));
    HWND about = NULL;
    EXPECT_TRUE(PumpUntil([&] { return (about = FindOwnedDialog(dialog_)) != NULL; })) << "no About box";
    ASSERT_EQ("", StartLowered(L"/C", &lowered));
    EXPECT_EQ(0u, WaitForExit(lowered));
    EXPECT_EQ(0u, WaitForExit(dialogProcess_)) << "the dialog or its About box stayed open";
}

TEST_F(EndToEndWithStandIns, HandOverSendsCodeOptionsAndPositionInOrder) {
    standInLog.clear();
    CreateStandIn(kCaption);
    HWND other = CreateTestWindow(L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 300, 300);
    EXPECT_EQ(0u, Run(L"/W:" + HandleNumber(other) + L":4 /P:1 /T /A:100 /N:i 5"));
    // Options: topmost on, fading off, alpha 100, all three named in the mask; the parent is never sent.
    const std::vector<Received> expected = {
        {WM_USER + 1, 5, 1}, {WM_USER + 2, 0x400 | 100, 0x1C00}, {WM_USER + 3, 1, 0}};
    EXPECT_EQ(expected, standInLog);

    // A position inside /W alone is not handed over, and neither is anything else.
    standInLog.clear();
    EXPECT_EQ(0u, Run(L"/W:" + HandleNumber(other) + L":4"));
    EXPECT_TRUE(standInLog.empty());
}

TEST_F(EndToEndWithStandIns, LookalikesAreNotRunningDialogs) {
    // The template's title, and the run-time caption on a window of another class.
    CreateStandIn(DIALOG_TITLE);
    CreateStandIn(kCaption, L"STATIC");
    ASSERT_TRUE(OpenDialog(L"5")) << "the second start opened its own dialog";
    CloseAndWait();
}

TEST_F(EndToEnd, SettingsSurviveAcrossStartsAndTheMachineKeyComesFirst) {
    ASSERT_TRUE(OpenDialog(L"/T /I /A:77"));
    CloseAndWait();
    ASSERT_TRUE(OpenDialog(L""));
    EXPECT_TRUE(IsTopmost(dialog_));
    EXPECT_TRUE(IsChecked(dialog_, IDC_FADE));

    // A second start's alpha comes in one value with the on/off bits; only the alpha is kept, and stored.
    SecondStart(L"/T /I /A:100");
    CloseAndWait();
    EXPECT_TRUE(StoredDwordIs(HKEY_CURRENT_USER, kAlphaName, 100));
    ASSERT_TRUE(OpenDialog(L""));
    EXPECT_TRUE(IsChecked(dialog_, IDC_FADE)) << "the stored options were taken";
    EXPECT_TRUE(MakeForeground(plain_));
    BYTE alpha = 0;
    EXPECT_TRUE(PumpUntil([&] { return GetLayeredWindowAttributes(dialog_, NULL, &alpha, NULL) && alpha == 100; }))
        << "alpha " << static_cast<int>(alpha);
    CloseAndWait();

    if (!settings_.MachineWritable()) {
        GTEST_SKIP() << kNeedsAdministrator;
    }
    WriteOptionSettings(HKEY_LOCAL_MACHINE, 0, 0, 224, 9);
    ASSERT_TRUE(OpenDialog(L""));
    EXPECT_FALSE(IsTopmost(dialog_)) << "the machine-wide key wins";
    EXPECT_FALSE(IsChecked(dialog_, IDC_FADE));
    CloseAndWait();
}

TEST_F(EndToEnd, DialogIsPlacedOnEveryRecognisedHost) {
    const struct {
        const wchar_t* className;
        LONG kind;
        bool needsConEmu;
    } hosts[] = {{L"ConsoleWindowClass", PARENT_CONSOLE, false},
                 {L"CASCADIA_HOSTING_WINDOW_CLASS", PARENT_TERMINAL_HOST, false},
                 {L"Console_2_Main", PARENT_CONSOLE_MAIN, false},
                 {L"VirtualConsoleClass", PARENT_VIRTUAL_CONSOLE, true},
                 {L"TCMD32:PARENT", PARENT_COMMAND_FRAME, false},
                 {L"XTPMainFrame", PARENT_FRAME_VIEW, false}};
    for (const auto& host : hosts) {
        SCOPED_TRACE(host.className);
        HWND window = CreateHostWindow(host.className);
        const std::wstring environment = L"ConEmuHWND=0x" + HandleNumber(window, true);
        ASSERT_TRUE(OpenDialog(L"/P:1", host.needsConEmu ? environment.c_str() : NULL));
        ExpectPlacedOn(window, 1, host.kind);
        CloseAndWait();
        DestroyWindow(window);
    }
}

TEST_F(EndToEnd, UnusableWindowsAreRejectedAndDetectionTakesOver) {
    HWND hidden = CreateTestWindow(L"STATIC", L"hidden", WS_POPUP, 500, 500, 300, 300);
    // In another case than the usual one, which the program takes all the same.
    (void)RegisterTestClass(L"pseudoconsoleWINDOW");
    HWND pseudoConsole = CreateTestWindow(L"pseudoconsoleWINDOW", L"pseudo", WS_POPUP | WS_VISIBLE, 500, 500, 300, 300);
    HWND offScreen = CreateTestWindow(L"STATIC", L"off screen", WS_POPUP | WS_VISIBLE, -9000, -9000, 300, 300);
    ASSERT_EQ(nullptr, MonitorFromWindow(offScreen, MONITOR_DEFAULTTONULL));
    HWND console = CreateHostWindow(L"ConsoleWindowClass");  // in front for each start, and so detected instead
    for (HWND rejected : {hidden, offScreen, pseudoConsole, GetDesktopWindow()}) {
        ASSERT_TRUE(OpenDialog(L"/W:" + HandleNumber(rejected) + L" /P:9"));
        ExpectPlacedOn(console, 9, PARENT_CONSOLE);
        CloseAndWait();
    }
}

}  // namespace
