// The option pass: order and matching, values and ranges, the /W forms with a real window, and generated
// argument arrays against an independent model.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "app/options.h"
#include "grammar_model.h"
#include "window_search.h"

namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, window_);
    }
    void TearDown() override {
        DestroyWindow(window_);
    }

    // Applies a list of arguments the way the splitter would hand them over, onto the state as it is.
    static RunRequest ApplyOnto(std::vector<std::wstring> arguments) {
        RunRequest request = {};
        std::vector<WCHAR*> pointers;
        for (std::wstring& argument : arguments) {
            pointers.push_back(&argument[0]);
        }
        ApplyArguments(pointers.data(), static_cast<int>(pointers.size()), &request);
        return request;
    }

    // The same from the defaults.
    static RunRequest Apply(std::vector<std::wstring> arguments) {
        ResetAppState();
        return ApplyOnto(arguments);
    }

    HWND window_ = NULL;
};

TEST_F(Options, AlphaRangeAndForms) {
    struct {
        const wchar_t* argument;
        bool taken;
        DWORD alpha;
    } cases[] = {
        {L"/A:48", true, 48},     {L"/A:240", true, 240},  {L"/A:47", false, 224},  {L"/A:241", false, 224},
        {L"/A:", false, 224},     {L"/A:-5", false, 224},  {L"/A:0xF0", true, 240}, {L"/Axe0", true, 224},
        {L"/a=200", true, 200},   {L"/A200", true, 200},   {L"-A:200", true, 200},  {L"/A::200", false, 224},
        {L"/A: 200", false, 224}, {L"/About", false, 224},
    };
    for (const auto& c : cases) {
        RunRequest request = Apply({c.argument});
        EXPECT_EQ(c.taken ? OPT_ALPHA : 0u, request.optionMask) << c.argument;
        EXPECT_EQ(c.alpha, AppState.fadeAlpha) << c.argument;
    }
}

TEST_F(Options, PositionRange) {
    struct {
        const wchar_t* argument;
        bool taken;
        WORD position;
    } cases[] = {
        {L"/P:0", true, 0},   {L"/P:9", true, 9},   {L"/p=5", true, 5}, {L"/P3", true, 3},
        {L"/P:10", false, 9}, {L"/P:-1", false, 9}, {L"/P:", false, 9}, {L"/P:x", false, 9},
    };
    for (const auto& c : cases) {
        RunRequest request = Apply({c.argument});
        EXPECT_EQ(c.taken ? 1 : 0, request.positionGiven) << c.argument;
        EXPECT_EQ(c.position, AppState.position) << c.argument;
        EXPECT_EQ(0u, request.optionMask) << c.argument;
    }
}

TEST_F(Options, WholeOptionsMatchOnlyWhole) {
    RunRequest request = Apply({L"/Close", L"/Ix", L"/T:1"});
    EXPECT_EQ(0, request.closeRequested);
    EXPECT_EQ(0u, request.optionMask);
    EXPECT_EQ(0, AppState.fadeWhenInactive);
    EXPECT_EQ(0, AppState.alwaysOnTop);
    request = ApplyOnto({L"/c", L"/i", L"/t"});
    EXPECT_EQ(1, request.closeRequested);
    EXPECT_EQ(static_cast<DWORD>(OPT_FADE | OPT_TOPMOST), request.optionMask);
    EXPECT_EQ(1, AppState.fadeWhenInactive);
    EXPECT_EQ(1, AppState.alwaysOnTop);
}

TEST_F(Options, DisableLettersAndTheirOrder) {
    RunRequest request = Apply({L"/T", L"/N:T"});
    EXPECT_EQ(0, AppState.alwaysOnTop);
    EXPECT_EQ(static_cast<DWORD>(OPT_TOPMOST), request.optionMask);

    request = Apply({L"/N:T", L"/T"});
    EXPECT_EQ(1, AppState.alwaysOnTop);

    ResetAppState();
    AppState.alwaysOnTop = 1;
    AppState.fadeWhenInactive = 1;
    request = ApplyOnto({L"/N:it"});
    EXPECT_EQ(0, AppState.alwaysOnTop);
    EXPECT_EQ(0, AppState.fadeWhenInactive);
    EXPECT_EQ(static_cast<DWORD>(OPT_FADE | OPT_TOPMOST), request.optionMask);

    ResetAppState();
    AppState.alwaysOnTop = 1;
    request = ApplyOnto({L"/N:xyz", L"/N", L"/N:"});
    EXPECT_EQ(0u, request.optionMask);
    EXPECT_EQ(1, AppState.alwaysOnTop);

    request = Apply({L"/NI"});  // no separator: the value starts at the third character
    EXPECT_EQ(static_cast<DWORD>(OPT_FADE), request.optionMask);
}

TEST_F(Options, UsageRequestEndsThePass) {
    struct {
        const wchar_t* argument;
        BOOL withVersion;
    } cases[] = {
        {L"/?", 0},  {L"/h", 0},  {L"/H", 0},    {L"/??", 1}, {L"/?H", 1}, {L"/?h", 1},
        {L"/Hh", 1}, {L"/h?", 1}, {L"/Help", 0}, {L"-?", 0},  {L"-h?", 1},
    };
    for (const auto& c : cases) {
        RunRequest request = Apply({L"/T", c.argument, L"/I", L"5"});
        EXPECT_EQ(1, request.usageRequested) << c.argument;
        EXPECT_EQ(c.withVersion, request.usageWithVersion) << c.argument;
        EXPECT_EQ(1, AppState.alwaysOnTop) << "arguments before it still apply";
        EXPECT_EQ(0, AppState.fadeWhenInactive) << "arguments after it are not examined";
        EXPECT_EQ(0, AppState.haveCommandCode);
    }
}

TEST_F(Options, DashFormAndNegativeCodes) {
    RunRequest request = Apply({L"-t", L"-I", L"-A:200", L"-5"});
    EXPECT_EQ(1, AppState.alwaysOnTop);
    EXPECT_EQ(1, AppState.fadeWhenInactive);
    EXPECT_EQ(200u, AppState.fadeAlpha);
    EXPECT_EQ(static_cast<DWORD>(OPT_TOPMOST | OPT_FADE | OPT_ALPHA), request.optionMask);
    EXPECT_EQ(1, AppState.haveCommandCode);
    EXPECT_EQ(0xFFFFFFFBu, AppState.commandCode);
}

TEST_F(Options, FirstParsedCodeWins) {
    Apply({L"5", L"6"});
    EXPECT_EQ(5u, AppState.commandCode);

    Apply({L"12ab", L"7"});
    EXPECT_EQ(7u, AppState.commandCode);

    Apply({L"C:\\Program Files\\Tessival.exe", L"/Z", L"+3", L"x10"});
    EXPECT_EQ(1, AppState.haveCommandCode);
    EXPECT_EQ(16u, AppState.commandCode);

    Apply({L"C:\\Tessival.exe"});
    EXPECT_EQ(0, AppState.haveCommandCode);
    EXPECT_EQ(0xFFFFFFFFu, AppState.commandCode);
}

TEST_F(Options, ParentWindowForms) {
    const std::wstring h = HandleNumber(window_);
    Apply({L"/W:" + h});
    EXPECT_EQ(window_, AppState.parentWindow);
    EXPECT_EQ(9, AppState.position);

    RunRequest request = Apply({L"/W:" + h + L":3"});
    EXPECT_EQ(window_, AppState.parentWindow);
    EXPECT_EQ(3, AppState.position);
    EXPECT_EQ(0, request.positionGiven);

    for (const std::wstring& tail : {std::wstring(L":12"), std::wstring(L":3x")}) {
        Apply({L"/W:" + h + tail});
        EXPECT_EQ(window_, AppState.parentWindow) << tail;
        EXPECT_EQ(9, AppState.position) << tail;
    }
    for (const std::wstring& tail : {std::wstring(L":"), std::wstring(L";3"), std::wstring(L" ")}) {
        Apply({L"/W:" + h + tail});
        EXPECT_EQ(NULL, AppState.parentWindow) << tail;
    }

    // A later /W with trailing text clears what an earlier one set.
    Apply({L"/W=" + h, L"/W:0x0z"});
    EXPECT_EQ(NULL, AppState.parentWindow);

    // 0 names no window and nothing follows it.
    ResetAppState();
    AppState.parentWindow = window_;
    ApplyOnto({L"/W:0"});
    EXPECT_EQ(window_, AppState.parentWindow);

    // The same handle in hexadecimal, and a handle that does not parse.
    Apply({L"/wx" + HandleNumber(window_, true)});
    EXPECT_EQ(window_, AppState.parentWindow);
    ApplyOnto({L"/W:junk"});
    EXPECT_EQ(window_, AppState.parentWindow);
}

TEST_F(Options, CommandLineIsSplitLikeTheShell) {
    RunRequest request = {};
    ApplyCommandLine(L"\"/A:100\" /t 0x10 /P:2", &request);
    EXPECT_EQ(100u, AppState.fadeAlpha);
    EXPECT_EQ(1, AppState.alwaysOnTop);
    EXPECT_EQ(16u, AppState.commandCode);
    EXPECT_EQ(2, AppState.position);
    EXPECT_EQ(1, request.positionGiven);

    ResetAppState();
    request = RunRequest();
    ApplyCommandLine(NULL, &request);
    ApplyCommandLine(L"", &request);  // only the program's own path
    EXPECT_EQ(0u, request.optionMask);
    EXPECT_EQ(0, AppState.haveCommandCode);
}

TEST(InstanceMessages, OptionsWParamLayout) {
    const struct {
        BOOL topmost, fade;
        DWORD alpha, mask;
        WPARAM expected;
    } cases[] = {
        {0, 0, 224, 0, 0},
        {0, 0, 224, OPT_ALPHA, 0xE0},
        {1, 0, 224, OPT_TOPMOST, 0x400},
        {0, 1, 224, OPT_FADE, 0x800},
        {1, 1, 0x1F0, OPT_ALPHA, 0xCF0},  // on/off bits whatever the mask; only the low byte of alpha
        {2, 7, 48, OPT_ALPHA | OPT_FADE | OPT_TOPMOST, 0xC30},
        {1, 1, 240, OPT_TOPMOST, 0xC00},  // alpha only with its mask bit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, BuildOptionsWParam(c.topmost, c.fade, c.alpha, c.mask)) << c.mask;
    }
}

// Generated arguments: option letters with every separator and random values, codes and junk.
std::wstring RandomArgument(std::mt19937& random, const std::wstring& handle) {
    static const wchar_t* const heads[] = {L"/A", L"/a", L"-A", L"/C", L"/c", L"/W", L"/w",  L"/I", L"-i", L"/N",
                                           L"/P", L"/p", L"/T", L"-t", L"/H", L"/?", L"-?",  L"/",  L"",   L"-",
                                           L"/Z", L"x",  L"X",  L"0x", L"-",  L"+",  L"/Ix", L"/Tt"};
    static const wchar_t* const values[] = {L"",    L":",    L"=",          L"0",      L"5",      L"9",  L"10",
                                            L"48",  L"240",  L"241",        L"0xF0",   L"-1",     L"it", L"TI",
                                            L"xyz", L"12ab", L"4294967296", L"0x0x10", L" ",      L";3", L"?",
                                            L"h",   L"H",    L"\x0660",     L"\xD800", L"\xFF19", L":3", L":12"};
    std::uniform_int_distribution<int> pick(0, 1000);
    std::wstring argument = heads[pick(random) % (sizeof(heads) / sizeof(heads[0]))];
    int parts = pick(random) % 4;
    for (int i = 0; i < parts; ++i) {
        if (pick(random) % 5 == 0) {
            argument += handle;
        } else {
            argument += values[pick(random) % (sizeof(values) / sizeof(values[0]))];
        }
    }
    if (pick(random) % 200 == 0) {
        argument.append(1100 + pick(random), static_cast<wchar_t>(L'0' + pick(random) % 10));
    }
    return argument;
}

TEST_F(Options, GeneratedArgumentArraysAgreeWithTheModel) {
    std::mt19937 random(7121);
    const std::wstring handle = HandleNumber(window_);
    int compared = 0;
    for (int round = 0; round < 6000; ++round) {
        size_t count = (round % 100 == 0) ? 2000 + round % 1000 : static_cast<size_t>(random() % 8);
        // Each argument sits in a buffer with a marker after it; only the dash may be rewritten in place.
        std::vector<std::wstring> arguments, buffers;
        for (size_t i = 0; i < count; ++i) {
            arguments.push_back(RandomArgument(random, handle));
            buffers.push_back(arguments.back() + L'\0' + L"##");
        }
        std::vector<WCHAR*> pointers;
        for (std::wstring& buffer : buffers) {
            pointers.push_back(&buffer[0]);
        }
        ResetAppState();
        RunRequest request = {};
        ApplyArguments(pointers.data(), static_cast<int>(pointers.size()), &request);
        for (size_t i = 0; i < arguments.size(); ++i) {
            ASSERT_EQ(L'\0', buffers[i][arguments[i].size()]);
            ASSERT_EQ(L"##", buffers[i].substr(arguments[i].size() + 1));
            if (!arguments[i].empty()) {
                ASSERT_EQ(arguments[i].substr(1), buffers[i].substr(1, arguments[i].size() - 1));
            }
        }

        OptionModelState model;
        ModelOptionPass(arguments, &model);
        if (!model.certain) {
            continue;
        }
        ++compared;
        std::string shown;
        for (const std::wstring& argument : arguments) {
            for (wchar_t c : argument)
                shown += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
            shown += " | ";
        }
        ASSERT_EQ(model.commandCode, AppState.commandCode) << "round " << round << ": " << shown;
        ASSERT_EQ(model.haveCommandCode, AppState.haveCommandCode) << "round " << round;
        ASSERT_EQ(model.position, AppState.position) << "round " << round;
        ASSERT_EQ(model.fadeAlpha, AppState.fadeAlpha) << "round " << round;
        ASSERT_EQ(model.alwaysOnTop, AppState.alwaysOnTop) << "round " << round;
        ASSERT_EQ(model.fadeWhenInactive, AppState.fadeWhenInactive) << "round " << round;
        ASSERT_EQ(model.parentWindow, AppState.parentWindow) << "round " << round;
        ASSERT_EQ(model.optionMask, request.optionMask) << "round " << round;
        ASSERT_EQ(model.positionGiven, request.positionGiven) << "round " << round;
        ASSERT_EQ(model.closeRequested, request.closeRequested) << "round " << round;
        ASSERT_EQ(model.usageRequested, request.usageRequested) << "round " << round;
        ASSERT_EQ(model.usageWithVersion, request.usageWithVersion) << "round " << round;
    }
    EXPECT_GT(compared, 4000);
}

}  // namespace
