// Foreground activation: the same-thread and cross-thread paths against windows of this thread, of another
// thread and of another process, the show command, and the two system settings, recorded through the
// settings seam (Wine keeps such settings per process and stubs the animation one).
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "app/app_state.h"
#include "owner_process.h"
#include "placement/foreground.h"
#include "platform_support.h"
#include "window_classes.h"

namespace {

struct SettingsCall {
    UINT action;
    UINT uiParam;
    ULONG_PTR value;  // the animation flag or the time-out passed to a SET; 0 for a GET
    UINT flags;
};

std::vector<SettingsCall> recordedCalls;
UINT failingAction = 0;    // a GET that fails when asked for
int reportedAnimate = -1;  // when not -1, the animation flag a GET reports

BOOL WINAPI RecordingSettings(UINT action, UINT uiParam, PVOID pvParam, UINT flags) {
    SettingsCall call = {action, uiParam, 0, flags};
    if (action == SPI_SETANIMATION) {
        const ANIMATIONINFO* info = static_cast<const ANIMATIONINFO*>(pvParam);
        EXPECT_EQ(sizeof(ANIMATIONINFO), info->cbSize);
        call.value = static_cast<ULONG_PTR>(info->iMinAnimate);
    } else if (action == SPI_SETFOREGROUNDLOCKTIMEOUT) {
        call.value = reinterpret_cast<ULONG_PTR>(pvParam);
    }
    recordedCalls.push_back(call);
    if (action == failingAction) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (reportedAnimate != -1) {
        // A reported animation flag is not the user's: the sets that follow are recorded only, or the "restore"
        // would leave the invented value in the session's setting on Windows.
        if (action == SPI_GETANIMATION) {
            static_cast<ANIMATIONINFO*>(pvParam)->iMinAnimate = reportedAnimate;
            return TRUE;
        }
        if (action == SPI_SETANIMATION) {
            return TRUE;
        }
    }
    return SystemParametersInfoW(action, uiParam, pvParam, flags);
}

DWORD ReadTimeout() {
    DWORD timeout = 0xDEADBEEF;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0));
    return timeout;
}

int ReadAnimation() {
    ANIMATIONINFO info = {sizeof(info), -1};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof(info), &info, 0));
    return info.iMinAnimate;
}

LRESULT CALLBACK QuittingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// An arbitrary time-out, so that a restore to it is told apart from one to 0.
const DWORD kTimeout = 54321;

class Foreground : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterTestClass(L"ForegroundTestWindow", QuittingWindowProc));
        window_ = CreateOwnWindow();
        ASSERT_NE(nullptr, window_);
        // Windows lets only a thread that may take the foreground change the time-out.
        ASSERT_TRUE(MakeForeground(window_));

        savedTimeout_ = ReadTimeout();
        savedAnimation_ = ReadAnimation();
        // Set without writing the profile: Wine keeps it within this process; Windows for the whole session,
        // until TearDown puts it back.
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                          reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(kTimeout)), 0));
        timeoutChanged_ = true;
        recordedCalls.clear();
        failingAction = 0;
        reportedAnimate = -1;
        ForegroundSystemParameters = RecordingSettings;
    }

    void TearDown() override {
        ForegroundSystemParameters = SystemParametersInfoW;
        if (otherThreadWindow_ != NULL) {
            EXPECT_TRUE(PostMessageW(otherThreadWindow_, WM_CLOSE, 0, 0)) << "the join below would wait for ever";
        }
        if (otherThread_.joinable()) {
            otherThread_.join();
        }
        owner_.Stop();
        // The user's time-out and animation setting, as they were before the test, whatever it did or failed to
        // do. On Windows both are the session's own; Wine's animation setting is a stub.
        if (timeoutChanged_) {
            (void)MakeForeground(window_);
            EXPECT_TRUE(SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                              reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(savedTimeout_)), 0))
                << "the foreground lock time-out was not put back to " << savedTimeout_;
            if (ReadAnimation() != savedAnimation_) {
                ANIMATIONINFO info = {sizeof(info), savedAnimation_};
                EXPECT_TRUE(SystemParametersInfoW(SPI_SETANIMATION, sizeof(info), &info, 0))
                    << "the animation setting was not put back to " << savedAnimation_;
            }
        }
        for (HWND window : windows_) {
            DestroyWindow(window);
        }
        UnregisterClassW(L"ForegroundTestWindow", GetModuleHandleW(NULL));
    }

    HWND CreateOwnWindow() {
        HWND window = CreateWindowExW(0, L"ForegroundTestWindow", L"own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300,
                                      200, NULL, NULL, GetModuleHandleW(NULL), NULL);
        EXPECT_NE(nullptr, window);
        windows_.push_back(window);
        return window;
    }

    // A window of a second thread of this process, in the foreground while the thread pumps its messages.
    void StartOtherThreadWindow() {
        HANDLE ready = CreateEventW(NULL, TRUE, FALSE, NULL);
        otherThread_ = std::thread([this, ready] {
            HWND window = CreateWindowExW(0, L"ForegroundTestWindow", L"other thread", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          400, 300, 300, 200, NULL, NULL, GetModuleHandleW(NULL), NULL);
            otherThreadWindow_ = window;
            if (window != NULL) {
                MakeForeground(window);
            }
            SetEvent(ready);
            MSG message;
            while (window != NULL && GetMessageW(&message, NULL, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
        });
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 10000));
        CloseHandle(ready);
        HWND other = otherThreadWindow_;
        ASSERT_NE(nullptr, other);
        ASSERT_EQ(other, GetForegroundWindow());
    }

    // The calls both paths make around the show sequence, given what the GETs report.
    static void ExpectCalls(bool crossThread, int animate, bool animationRead, bool timeoutRead) {
        std::vector<SettingsCall> expected = {{SPI_GETANIMATION, sizeof(ANIMATIONINFO), 0, 0}};
        if (animationRead) {
            expected.push_back({SPI_SETANIMATION, sizeof(ANIMATIONINFO), 0, 0});
        }
        expected.push_back({SPI_GETFOREGROUNDLOCKTIMEOUT, 0, 0, 0});
        if (crossThread && timeoutRead) {
            expected.push_back({SPI_SETFOREGROUNDLOCKTIMEOUT, 0, 0, SPIF_SENDCHANGE});
            expected.push_back({SPI_SETFOREGROUNDLOCKTIMEOUT, 0, kTimeout, SPIF_SENDCHANGE});
        }
        if (animationRead) {
            expected.push_back({SPI_SETANIMATION, sizeof(ANIMATIONINFO), static_cast<ULONG_PTR>(animate), 0});
        }
        ASSERT_EQ(expected.size(), recordedCalls.size());
        for (size_t i = 0; i < expected.size(); i++) {
            SCOPED_TRACE(testing::Message() << "call " << i);
            EXPECT_EQ(expected[i].action, recordedCalls[i].action);
            EXPECT_EQ(expected[i].uiParam, recordedCalls[i].uiParam);
            EXPECT_EQ(expected[i].value, recordedCalls[i].value);
            EXPECT_EQ(expected[i].flags, recordedCalls[i].flags);
        }
    }

    HWND window_ = NULL;
    std::vector<HWND> windows_;
    std::thread otherThread_;
    HWND volatile otherThreadWindow_ = NULL;
    OwnerProcess owner_;
    bool timeoutChanged_ = false;
    DWORD savedTimeout_ = 0;
    int savedAnimation_ = 0;
};

TEST_F(Foreground, NullWindowTouchesNothing) {
    EXPECT_EQ(-1, ForceForeground(NULL));
    EXPECT_TRUE(recordedCalls.empty());
}

TEST_F(Foreground, SameThreadLeavesTimeoutAlone) {
    ASSERT_TRUE(MakeForeground(CreateOwnWindow()));
    reportedAnimate = 1;
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
    ExpectCalls(false, 1, true, true);
    EXPECT_EQ(kTimeout, ReadTimeout());
}

TEST_F(Foreground, OtherThreadInForeground) {
    ASSERT_NO_FATAL_FAILURE(StartOtherThreadWindow());
    reportedAnimate = 1;
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
    ExpectCalls(true, 1, true, true);
    EXPECT_EQ(kTimeout, ReadTimeout());
}

TEST_F(Foreground, OtherProcessInForeground) {
    ASSERT_TRUE(owner_.Start(L"editor.exe", L"ForegroundOwnerWindow"));
    ASSERT_TRUE(MakeForeground(owner_.window));
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
    ExpectCalls(true, ReadAnimation(), true, true);
    EXPECT_EQ(kTimeout, ReadTimeout());
}

// Through the real settings call: both settings read the same afterwards as before.
TEST_F(Foreground, SettingsEndAsTheyBegan) {
    ForegroundSystemParameters = SystemParametersInfoW;
    const int animation = ReadAnimation();
    ASSERT_NO_FATAL_FAILURE(StartOtherThreadWindow());
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
    EXPECT_EQ(kTimeout, ReadTimeout());
    // Wine's animation setting is a stub, so this half only bites on Windows; the recording seam above
    // checks the animation calls themselves.
    EXPECT_EQ(animation, ReadAnimation());
}

TEST_F(Foreground, MaximisedStaysMaximised) {
    ShowWindow(window_, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(window_));
    ASSERT_NO_FATAL_FAILURE(StartOtherThreadWindow());
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_TRUE(IsZoomed(window_));
    EXPECT_EQ(window_, GetForegroundWindow());

    // Also on the same-thread path.
    ASSERT_TRUE(MakeForeground(CreateOwnWindow()));
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_TRUE(IsZoomed(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
}

TEST_F(Foreground, MinimisedIsRestored) {
    RECT normal = {};
    ASSERT_TRUE(GetWindowRect(window_, &normal));
    ShowWindow(window_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window_));
    ASSERT_NO_FATAL_FAILURE(StartOtherThreadWindow());
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_FALSE(IsIconic(window_));
    EXPECT_FALSE(IsZoomed(window_));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
    RECT restored = {};
    ASSERT_TRUE(GetWindowRect(window_, &restored));
    EXPECT_TRUE(EqualRect(&normal, &restored));
}

// An animation setting that could not be read is not switched off, since it could not be put back.
TEST_F(Foreground, UnreadAnimationIsNotTouched) {
    failingAction = SPI_GETANIMATION;
    ASSERT_NO_FATAL_FAILURE(StartOtherThreadWindow());
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
    ExpectCalls(true, 0, false, true);
    EXPECT_EQ(kTimeout, ReadTimeout());
}

// A time-out that could not be read is neither set to 0 nor "restored" to 0.
TEST_F(Foreground, UnreadTimeoutIsNotTouched) {
    failingAction = SPI_GETFOREGROUNDLOCKTIMEOUT;
    reportedAnimate = 1;
    ASSERT_NO_FATAL_FAILURE(StartOtherThreadWindow());
    EXPECT_EQ(0, ForceForeground(window_));
    EXPECT_EQ(window_, GetForegroundWindow());
    ExpectCalls(true, 1, true, false);
    EXPECT_EQ(kTimeout, ReadTimeout());
}

}  // namespace
