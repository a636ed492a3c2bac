// Message text lookup and display: tidying, the buffer edge on a message table of known texts, the lazy
// WinINet/WinHTTP loading with its retry, planted DLLs that must never run, and the three result controls.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>
#include <wchar.h>
#include <wctype.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "errtext/error_text.h"
#include "edge_messages.h"
#include "message_pump.h"
#include "message_texts.h"
#include "platform_support.h"
#include "registry_support.h"
#include "resource.h"
#include "test_folders.h"
#include "test_processes.h"
#include "window_classes.h"
#include "window_search.h"
#include "wine_dll_overrides.h"

namespace {

const WCHAR marker = 0x7777;  // fills buffers so that writes past their end show

// The system folder; mapped: the one this process's system modules really come from, which for a 32-bit test
// on 64-bit Windows (WOW64) is SysWOW64.
std::wstring SystemFolder(bool mapped = false) {
    WCHAR path[MAX_PATH] = {};
    BOOL wow64 = FALSE;
    UINT length = mapped && IsWow64Process(GetCurrentProcess(), &wow64) && wow64
                      ? GetSystemWow64DirectoryW(path, _countof(path))
                      : GetSystemDirectoryW(path, _countof(path));
    return std::wstring(path, length);
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The message module of a system DLL, mapped the one safe way, for computing expected texts.
HMODULE SystemModule(const wchar_t* name) {
    return LoadLibraryExW((SystemFolder() + L"\\" + name).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
}

// Whether the units of buffer (of size units) from index capacity on still hold the marker.
::testing::AssertionResult MarkerTailKept(const WCHAR* buffer, size_t capacity, size_t size) {
    for (size_t i = capacity; i < size; i++) {
        if (buffer[i] != marker) {
            return ::testing::AssertionFailure() << "written past the capacity " << capacity << " at " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

// FetchMessageText's text for code, or with a module FetchModuleMessageText's, from a buffer with a marked tail;
// checks the result, the tail and the terminator.
std::wstring Fetch(DWORD code, HMODULE module = NULL) {
    std::vector<WCHAR> buffer(TEXT_BUFFER_UNITS + 16, marker);
    EXPECT_EQ(0, module == NULL ? FetchMessageText(code, buffer.data())
                                : FetchModuleMessageText(code, module, buffer.data()));
    EXPECT_TRUE(MarkerTailKept(buffer.data(), TEXT_BUFFER_UNITS, buffer.size())) << "code " << code;
    std::wstring text(buffer.data(), wcsnlen(buffer.data(), TEXT_BUFFER_UNITS));
    EXPECT_LT(text.size(), static_cast<size_t>(TEXT_BUFFER_UNITS)) << "no terminator for code " << code;
    return text;
}

// Whether module maps the file whose path ends in tail, as the kernel names it (device form, no drive letter).
::testing::AssertionResult MapsFile(HMODULE module, const std::wstring& tail) {
    WCHAR path[MAX_PATH] = {};
    // Data-file handles carry flag bits in their low bits; the mapping starts at the aligned address.
    void* base = reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(module) & ~static_cast<ULONG_PTR>(3));
    std::wstring mapped(path, GetMappedFileNameW(GetCurrentProcess(), base, path, _countof(path)));
    if (mapped.size() >= tail.size() && _wcsicmp(mapped.c_str() + mapped.size() - tail.size(), tail.c_str()) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "maps " << mapped;
}

class ErrorText : public ::testing::Test {
protected:
    void SetUp() override {
        systemWininet_ = SystemModule(L"wininet.dll");
        ASSERT_NE(nullptr, systemWininet_);
        systemWinhttp_ = SystemModule(L"winhttp.dll");
        ASSERT_NE(nullptr, systemWinhttp_);
    }
    void TearDown() override {
        FreeMessageModules();
        for (HMODULE module : {systemWininet_, systemWinhttp_}) {
            if (module != NULL) {
                FreeLibrary(module);
            }
        }
    }

    // What FetchMessageText must give for a code of the WinINet range, from the real modules: WinINet's text,
    // or for a code WinINet lacks WinHTTP's.
    std::wstring ExpectedInRange(DWORD code) const {
        return TidiedMessageText(RawMessageText(code, MESSAGE_FLAGS_MODULE, systemWininet_));
    }
    std::wstring ExpectedFromWinHttp(DWORD code) const {
        return TidiedMessageText(RawMessageText(code, MESSAGE_FLAGS_MODULE, systemWinhttp_));
    }

    // A code of the range that the system's WinINet table lacks, so that its lookup goes on to WinHTTP: 12175
    // in Wine; Windows' table knows more, so there the first gap. 0 when the table has no gap.
    DWORD CodeWinInetLacks() const {
        if (RawMessageText(12175, MESSAGE_FLAGS_MODULE, systemWininet_).empty()) {
            return 12175;
        }
        for (DWORD code = 12000; code <= 12199; code++) {
            if (RawMessageText(code, MESSAGE_FLAGS_MODULE, systemWininet_).empty()) {
                return code;
            }
        }
        return 0;
    }

    HMODULE systemWininet_ = NULL;
    HMODULE systemWinhttp_ = NULL;
};

TEST_F(ErrorText, NullBufferDoesNothing) {
    EXPECT_EQ(-1, FetchMessageText(5, NULL));
    EXPECT_EQ(-1, FetchMessageText(12002, NULL));
    EXPECT_EQ(nullptr, AppState.wininetModule);
    EXPECT_EQ(nullptr, AppState.winhttpModule);
}

TEST_F(ErrorText, SystemCodesAreTidiedAndNeedNoModule) {
    const DWORD codes[] = {0, 2, 5, 87, 1223, 11999, 12200, 0x80004005u, 0x80070005u, 0xFFFFFFFFu, 0x7A5FFFFu};
    for (DWORD code : codes) {
        std::wstring text = Fetch(code);
        EXPECT_EQ(SystemMessageShown(code), text) << "code " << code;
        if (!text.empty()) {
            EXPECT_EQ(L'\n', text.back());
            ASSERT_GE(text.size(), 2u);
            EXPECT_FALSE(iswspace(text[text.size() - 2])) << "white space left before the line feed, code " << code;
        }
        EXPECT_EQ(nullptr, AppState.wininetModule) << "code " << code;
        EXPECT_EQ(nullptr, AppState.winhttpModule) << "code " << code;
    }
    // Code 0 has a text in every environment; 0x7A5FFFF has none.
    EXPECT_FALSE(Fetch(0).empty());
    EXPECT_TRUE(Fetch(0x7A5FFFFu).empty());
}

TEST_F(ErrorText, WinInetRangeLoadsModulesLazilyAndKeepsThem) {
    // 12002 is in WinINet's table (checked here, not assumed): WinHTTP is not needed for it.
    ASSERT_FALSE(ExpectedInRange(12002).empty());
    EXPECT_EQ(ExpectedInRange(12002), Fetch(12002));
    HMODULE wininet = AppState.wininetModule;
    EXPECT_NE(nullptr, wininet);
    EXPECT_EQ(nullptr, AppState.winhttpModule);

    // Both ends of the range take part; a code WinINet lacks goes on to WinHTTP.
    for (DWORD code : {12000u, 12199u, 12175u}) {
        bool winInetKnows = !RawMessageText(code, MESSAGE_FLAGS_MODULE, systemWininet_).empty();
        EXPECT_EQ(winInetKnows ? ExpectedInRange(code) : ExpectedFromWinHttp(code), Fetch(code)) << "code " << code;
        EXPECT_EQ(wininet, AppState.wininetModule) << "reloaded for code " << code;
        if (!winInetKnows) {
            EXPECT_NE(nullptr, AppState.winhttpModule) << "code " << code;
        }
    }
    HMODULE winhttp = AppState.winhttpModule;
    (void)Fetch(12175);
    EXPECT_EQ(winhttp, AppState.winhttpModule);
}

TEST_F(ErrorText, ModulesAreMappedFromTheSystemFolderAsData) {
    (void)Fetch(12002);
    ASSERT_NE(nullptr, AppState.wininetModule);
    std::wstring folder = SystemFolder(true).substr(2);  // without the drive letter
    EXPECT_TRUE(MapsFile(AppState.wininetModule, folder + L"\\wininet.dll"));
    // Mapped as data, not loaded as code: the loader does not know it.
    EXPECT_EQ(nullptr, GetModuleHandleW(L"wininet.dll"));

    const DWORD unknownToWinInet = CodeWinInetLacks();
    if (unknownToWinInet == 0) {
        GTEST_SKIP() << "this system's WinINet table has a text for every code of the range, so WinHTTP is never "
                        "loaded";
    }
    (void)Fetch(unknownToWinInet);
    ASSERT_NE(nullptr, AppState.winhttpModule) << "code " << unknownToWinInet;
    EXPECT_TRUE(MapsFile(AppState.winhttpModule, folder + L"\\winhttp.dll"));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"winhttp.dll"));
}

// The system's wininet.dll is moved aside for a while: the lookup must go on without it and load it again
// once it is back. Only a Wine prefix is a system folder a test may change; on Windows the program's load by
// full path leaves no other way to make the module go missing, so there the test skips.
class ErrorTextMissingModule : public ErrorText {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ErrorText::SetUp());
        if (!RunningUnderWine()) {
            GTEST_SKIP() << "moves wininet.dll out of the system folder, which a test does only in a Wine prefix";
        }
        original_ = SystemFolder() + L"\\wininet.dll";
        aside_ = original_ + L".aside";
        ASSERT_TRUE(MoveFileW(original_.c_str(), aside_.c_str())) << GetLastError();
        moved_ = true;
    }
    void TearDown() override {
        PutBack();
        ErrorText::TearDown();
    }
    void PutBack() {
        if (moved_) {
            moved_ = !MoveFileW(aside_.c_str(), original_.c_str());
        }
    }
    std::wstring original_;
    std::wstring aside_;
    bool moved_ = false;
};

TEST_F(ErrorTextMissingModule, LookupGoesOnAndTheLoadIsRetried) {
    std::wstring systemOnly = RawMessageText(12002, MESSAGE_FLAGS_SYSTEM, NULL);
    std::wstring text = Fetch(12002);
    EXPECT_EQ(nullptr, AppState.wininetModule);
    if (systemOnly.empty()) {
        // Nothing found without WinINet, so WinHTTP was asked.
        EXPECT_NE(nullptr, AppState.winhttpModule);
    }
    std::wstring expected = TidiedMessageText(systemOnly);
    EXPECT_EQ(expected.empty() ? ExpectedFromWinHttp(12002) : expected, text);

    // Codes outside the range do not retry the load.
    (void)Fetch(5);
    PutBack();
    ASSERT_FALSE(moved_);
    (void)Fetch(11999);
    EXPECT_EQ(nullptr, AppState.wininetModule);
    EXPECT_EQ(ExpectedInRange(12002), Fetch(12002));
    EXPECT_NE(nullptr, AppState.wininetModule);
}

// Planted copies of wininet.dll and winhttp.dll whose entry points leave a trace file when they run. What a test
// copies goes again afterwards, with the traces and with folder_ when the test made one.
class PlantedModules : public ErrorText {
protected:
    void TearDown() override {
        for (const std::wstring& path : created_) {
            DeleteFileW(path.c_str());
        }
        if (!folder_.empty()) {
            RemoveDirectoryW(folder_.c_str());
        }
        ErrorText::TearDown();
    }

    void Copy(const std::wstring& source, const std::wstring& target) {
        created_.push_back(target);
        ASSERT_TRUE(CopyFileW(source.c_str(), target.c_str(), FALSE)) << GetLastError();
    }
    void Plant(const std::wstring& folder) {
        for (const wchar_t* name : {L"wininet.dll", L"winhttp.dll"}) {
            created_.push_back(TracePath(folder, name));
            ASSERT_NO_FATAL_FAILURE(Copy(TestProgramFolder() + L"\\errtext\\trap\\" + name, folder + L"\\" + name));
        }
    }
    // The file the planted DLL of that name leaves beside itself when it runs.
    static std::wstring TracePath(const std::wstring& folder, const wchar_t* name) {
        return folder + L"\\" + name + L".ran";
    }
    // Whether the planted DLL of that name in folder ran, as its trace shows.
    static ::testing::AssertionResult Ran(const std::wstring& folder, const wchar_t* name) {
        const std::wstring trace = TracePath(folder, name);
        const bool found = FileExists(trace);
        return ::testing::AssertionResult(found) << "trace " << trace << (found ? " found" : " not found");
    }
    // Runs a program to its end and gives its exit code (-1: no start, or hung), with Wine's overrides for its
    // name in place so that a planted DLL is really in reach; childMode, when given, goes in TESSIVAL_LOOKUP_CHILD.
    static DWORD Run(const std::wstring& exe, const std::wstring& arguments, const wchar_t* childMode = NULL) {
        WineDllOverrides overrides;
        overrides.Apply(exe.substr(exe.find_last_of(L'\\') + 1), {L"wininet", L"winhttp"});
        std::wstring environment = childMode != NULL ? std::wstring(L"TESSIVAL_LOOKUP_CHILD=") + childMode : L"";
        PROCESS_INFORMATION process = {};
        DWORD code = STILL_ACTIVE;
        if (StartProcess(exe, arguments, &process, NULL, childMode != NULL ? environment.c_str() : NULL) ==
            ERROR_SUCCESS) {
            code = WaitForExit(process, 60000);
            EndProcess(&process, NULL, 0);
        }
        overrides.Restore();
        return code == STILL_ACTIVE ? static_cast<DWORD>(-1) : code;
    }
    static std::wstring ChildMode() {
        WCHAR mode[16] = {};
        DWORD length = GetEnvironmentVariableW(L"TESSIVAL_LOOKUP_CHILD", mode, _countof(mode));
        return length < _countof(mode) ? std::wstring(mode, length) : std::wstring();
    }
    // What ShowErrorCode puts into the message control for code.
    static std::wstring ShownText(DWORD code) {
        return ShownOrUnknown(code, Fetch(code));
    }

    std::vector<std::wstring> created_;
    std::wstring folder_;
};

// The part of the next test that runs in a second start of this test program, with the planted DLLs beside
// it; in an ordinary run it has nothing to do.
TEST_F(PlantedModules, ChildLookup) {
    std::wstring mode = ChildMode();
    if (mode.empty()) {
        GTEST_SKIP() << "runs only as a child of BesideTheTestProgramTheyNeverRun";
    }
    if (mode == L"plain") {
        ASSERT_NE(nullptr, LoadLibraryW(L"wininet.dll"));
        return;
    }
    // A code that WinINet lacks makes the lookup load WinHTTP too, beside which a planted winhttp.dll waits.
    const DWORD unknownToWinInet = CodeWinInetLacks();
    ASSERT_NE(0u, unknownToWinInet) << "no code of the range leads to WinHTTP here";
    for (DWORD code : {12002ul, unknownToWinInet, 12199ul}) {
        EXPECT_EQ(std::wstring::npos, Fetch(code).find(L"Planted")) << "code " << code;
    }
    EXPECT_EQ(ExpectedInRange(12002), Fetch(12002));
    EXPECT_NE(nullptr, AppState.wininetModule);
    EXPECT_NE(nullptr, AppState.winhttpModule);
}

TEST_F(PlantedModules, BesideTheTestProgramTheyNeverRun) {
    if (!ChildMode().empty()) {
        GTEST_SKIP() << "this run is that test's own child";
    }
    Plant(TestProgramFolder());
    const std::wstring self = TestProgramPath();
    EXPECT_EQ(0u, Run(self, L"--gtest_filter=PlantedModules.ChildLookup", L"lookup"));
    EXPECT_FALSE(Ran(TestProgramFolder(), L"wininet.dll"));
    EXPECT_FALSE(Ran(TestProgramFolder(), L"winhttp.dll"));

    // The trap is live: a plain load by the bare name, the way that was replaced, runs the planted DLL.
    EXPECT_EQ(0u, Run(self, L"--gtest_filter=PlantedModules.ChildLookup", L"plain"));
    EXPECT_TRUE(Ran(TestProgramFolder(), L"wininet.dll"));
}

TEST_F(PlantedModules, BesideAnotherProgramTheyNeverRun) {
    folder_ = CreateTemporaryFolder(L"tessival-planted-");
    std::wstring probe = folder_ + L"\\lookup_probe.exe";
    ASSERT_NO_FATAL_FAILURE(Copy(TestProgramFolder() + L"\\errtext\\lookup_probe.exe", probe));
    Plant(folder_);
    std::wstring output = folder_ + L"\\texts.out";
    created_.push_back(output);

    ASSERT_EQ(0u, Run(probe, L"\"" + output + L"\" 12002 12175 12199"));
    EXPECT_FALSE(Ran(folder_, L"wininet.dll"));
    EXPECT_FALSE(Ran(folder_, L"winhttp.dll"));

    HANDLE file = CreateFileW(output.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::wstring written(3 * (TEXT_BUFFER_UNITS + 1), L'\0');
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, &written[0], static_cast<DWORD>(written.size() * sizeof(WCHAR)), &read, NULL));
    CloseHandle(file);
    written.resize(read / sizeof(WCHAR));
    EXPECT_EQ(ShownText(12002) + L'\0' + ShownText(12175) + L'\0' + ShownText(12199) + L'\0', written);

    // The trap is live: a plain load by the bare name, the way that was replaced, runs the planted DLL.
    ASSERT_EQ(0u, Run(probe, L"/plain wininet.dll"));
    EXPECT_TRUE(Ran(folder_, L"wininet.dll"));
}

// A copy of the real program in a folder of its own beside the planted DLLs, as a user would start it from a
// downloads folder. Its Wine override, its settings key and its process are all undone afterwards.
class PlantedBesideTheProgram : public PlantedModules {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(PlantedModules::SetUp());
        // The dialog writes its settings when it closes: the user's own are set aside for the test.
        ASSERT_NO_FATAL_FAILURE(settings_.Save());
        folder_ = CreateTemporaryFolder(L"tessival-planted-");
        exe_ = folder_ + L"\\Tessival.exe";
        ASSERT_NO_FATAL_FAILURE(Copy(TessivalExePath(), exe_));
        Plant(folder_);
        // The copy's name gets Wine's overrides, so that the planted DLLs really are in reach.
        overrides_.Apply(L"Tessival.exe", {L"wininet", L"winhttp"});
        // Each start finds this window in front, not whatever was there (a CI runner's console to dock onto).
        front_ = CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, front_);
    }

    void TearDown() override {
        if (process_.hProcess != NULL) {  // after a failure: the copy's dialog is closed, or else its process ended
            std::vector<HWND> dialogs = FindDialogs(DIALOG_CAPTION, process_.dwProcessId);
            EndProcess(&process_, dialogs.empty() ? NULL : dialogs.front(), 5000);
        }
        DestroyWindow(front_);
        overrides_.Restore();
        settings_.Restore();
        PlantedModules::TearDown();
        if (!folder_.empty()) {
            EXPECT_FALSE(FileExists(folder_)) << "the copy's folder was left behind";
        }
    }

    // Starts the copy with code, reads what its dialog shows, closes it and waits for it to end.
    void ShowInCopy(DWORD code, std::wstring* shown) {
        ASSERT_TRUE(MakeForeground(front_));
        DWORD error = StartProcess(exe_, std::to_wstring(code), &process_, folder_.c_str());
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), error) << error;
        HWND dialog = WaitForVisibleDialog(DIALOG_CAPTION, process_, 15000);
        ASSERT_NE(nullptr, dialog) << "no dialog for code " << code;
        ASSERT_NE(nullptr, GetDlgItem(dialog, IDC_MESSAGE));
        // The dialog is visible with its text already set; the short wait only covers a slow first paint.
        PumpUntil([&] { return !ControlText(dialog, IDC_MESSAGE).empty(); }, 2000);
        *shown = ControlText(dialog, IDC_MESSAGE);
        EXPECT_TRUE(PostMessageW(dialog, WM_CLOSE, 0, 0));
        EXPECT_EQ(0u, WaitForExit(process_, 15000)) << "code " << code;
        EXPECT_FALSE(IsWindow(dialog));
        CloseProcessHandles(&process_);
    }

    std::wstring exe_;
    HWND front_ = NULL;
    PROCESS_INFORMATION process_ = {};
    WineDllOverrides overrides_;

    SettingsKeyBackup settings_{HKEY_CURRENT_USER, L"the planted-DLL test"};
};

TEST_F(PlantedBesideTheProgram, TheDialogShowsTheSystemTexts) {
    // 12002 is in the system's WinINet table (checked, not assumed); Wine's WinHTTP has no table for 12175,
    // so for it only the planted text is ruled out, and the dialog must agree with the lookup here.
    std::wstring winInetText = ExpectedInRange(12002);
    ASSERT_FALSE(winInetText.empty());
    const std::pair<DWORD, std::wstring> cases[] = {{12002, winInetText}, {12175, ShownText(12175)}};
    for (const auto& [code, expected] : cases) {
        // Each start is judged by its own traces.
        (void)DeleteFileW(TracePath(folder_, L"wininet.dll").c_str());
        (void)DeleteFileW(TracePath(folder_, L"winhttp.dll").c_str());
        std::wstring shown;
        ASSERT_NO_FATAL_FAILURE(ShowInCopy(code, &shown));
        EXPECT_EQ(std::wstring::npos, shown.find(L"Planted")) << "code " << code;
        EXPECT_EQ(expected, shown) << "code " << code;
        EXPECT_FALSE(Ran(folder_, L"wininet.dll")) << "code " << code;
        EXPECT_FALSE(Ran(folder_, L"winhttp.dll")) << "code " << code;
    }
}

// TidyMessageText over plain buffers: every trailing white space goes, one line feed comes, nothing is
// written past the capacity, and a text with no room left gives up its last character.
TEST(MessageTidying, Table) {
    struct {
        std::wstring input;
        size_t capacity;
        std::wstring expected;
    } cases[] = {
        {L"", 16, L""},
        {L"Text", 16, L"Text\n"},
        {L"Text \t\r\n\v\f", 16, L"Text\n"},
        {L"Text\n", 16, L"Text\n"},
        {L"Text\r\n\r\n", 16, L"Text\n"},
        {L" \t\r\n", 16, L""},
        {L"In ner\tspace ", 16, L"In ner\tspace\n"},
        {L"%1 stays %2", 16, L"%1 stays %2\n"},
        {L"a", 2, L""},                   // room for one character and the terminator: no line feed can follow
        {L"abc", 5, L"abc\n"},            // fills the capacity exactly
        {L"abcd", 5, L"abc\n"},           // no room: the last character goes
        {L"ab d", 5, L"ab\n"},            // and white space bared by that goes too
        {L"a   ", 5, L"a\n"},             // trimming alone makes room
        {L"   d", 5, L""},                // nothing left once the last character went
        {L"ab\xD83D\xDE00", 5, L"ab\n"},  // never half a surrogate pair
        {L"a\xD83D\xDE00", 5, L"a\xD83D\xDE00\n"},
    };
    for (const auto& c : cases) {
        std::vector<WCHAR> buffer(c.capacity + 8, marker);
        std::copy(c.input.begin(), c.input.end(), buffer.begin());
        buffer[c.input.size()] = 0;
        size_t length = TidyMessageText(buffer.data(), c.capacity);
        EXPECT_EQ(c.expected, std::wstring(buffer.data())) << "input of " << c.input.size() << " units";
        EXPECT_EQ(c.expected.size(), length);
        EXPECT_TRUE(MarkerTailKept(buffer.data(), c.capacity, buffer.size()));
    }
}

TEST(MessageTidying, SmallestCapacities) {
    // An unterminated buffer is cut to its capacity, never read or written past it.
    WCHAR full[6] = {L'a', L'b', L'c', L'd', marker, marker};
    EXPECT_EQ(3u, TidyMessageText(full, 4));
    EXPECT_EQ(std::wstring(L"ab\n"), std::wstring(full));
    EXPECT_TRUE(MarkerTailKept(full, 4, _countof(full)));
}

TEST(MessageTidying, EveryWhiteSpaceCharacterIsTrimmed) {
    int whiteSpaceCount = 0;
    for (unsigned unit = 1; unit < 0x10000; unit++) {
        WCHAR c = static_cast<WCHAR>(unit);
        if (IS_SURROGATE_PAIR(c, c) || IS_HIGH_SURROGATE(c) || IS_LOW_SURROGATE(c)) {
            continue;
        }
        WCHAR buffer[8] = {L'x', c, c, 0};
        std::wstring expected = iswspace(c) ? std::wstring(L"x\n") : std::wstring{L'x', c, c, L'\n'};
        ASSERT_EQ(expected.size(), TidyMessageText(buffer, _countof(buffer))) << "unit " << unit;
        ASSERT_EQ(expected, std::wstring(buffer)) << "unit " << unit;
        whiteSpaceCount += iswspace(c) ? 1 : 0;
    }
    EXPECT_GE(whiteSpaceCount, 6);  // at least space, tab, line feed, vertical tab, form feed, carriage return
}

// The message table of known texts, looked up through the same lookup and tidying as the real modules.
class KnownTexts : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW((TestProgramFolder() + L"\\errtext\\edge_messages.dll").c_str(), NULL,
                                 LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_) << GetLastError();
    }
    void TearDown() override {
        if (module_ != NULL) {
            FreeLibrary(module_);
        }
    }
    HMODULE module_ = NULL;
};

TEST_F(KnownTexts, RawLengthsAroundTheBuffer) {
    // The table holds what it should: the lengths FormatMessageW reports for the long texts.
    EXPECT_EQ(1021u, RawMessageText(EDGE_LENGTH_1021, MESSAGE_FLAGS_MODULE, module_).size());
    EXPECT_EQ(1022u, RawMessageText(EDGE_LENGTH_1022, MESSAGE_FLAGS_MODULE, module_).size());
    EXPECT_EQ(1023u, RawMessageText(EDGE_LENGTH_1023, MESSAGE_FLAGS_MODULE, module_).size());
    EXPECT_EQ(1023u, RawMessageText(EDGE_LENGTH_1023_SURROGATE_LAST, MESSAGE_FLAGS_MODULE, module_).size());
    EXPECT_EQ(0u, RawMessageText(EDGE_LENGTH_1024, MESSAGE_FLAGS_MODULE, module_).size());
    EXPECT_EQ(0u, RawMessageText(EDGE_LENGTH_1500, MESSAGE_FLAGS_MODULE, module_).size());
}

TEST_F(KnownTexts, ShownAsTidiedWithinTheBuffer) {
    const std::wstring a1021(1021, L'A');
    const std::wstring a1022(1022, L'A');
    auto endingIn = [](const std::wstring& base, WCHAR last) {
        return iswspace(last) ? base + L"\n" : base + last + L"\n";
    };
    const std::pair<DWORD, std::wstring> cases[] = {
        {EDGE_LENGTH_1021, a1021 + L"\n"},
        {EDGE_LENGTH_1022, a1022 + L"\n"},  // the line feed takes the last unit before the terminator
        {EDGE_LENGTH_1023, a1022 + L"\n"},  // no room for the line feed: the final "Z" gives way
        {EDGE_LENGTH_1023_SPACE_LAST, a1022 + L"\n"},
        {EDGE_LENGTH_1023_SPACE_BEFORE_LAST, a1021 + L"\n"},
        {EDGE_LENGTH_1023_SURROGATE_LAST, a1021 + L"\n"},
        {EDGE_LENGTH_1024, L""},
        {EDGE_LENGTH_1500, L""},
        {EDGE_ONE_LINE, L"Plain text\n"},
        {EDGE_TWO_LINES, L"First line second line\n"},
        {EDGE_END_SPACES, L"Ends in spaces\n"},
        {EDGE_END_TAB, L"Ends in a tab\n"},
        {EDGE_END_VERTICAL_TAB, L"Ends in a vertical tab\n"},
        {EDGE_END_FORM_FEED, L"Ends in a form feed\n"},
        {EDGE_END_CARRIAGE_RETURN, L"Ends in a carriage return\n"},
        {EDGE_END_HARD_BREAKS, L"Ends in hard line breaks\n"},
        {EDGE_END_MIXED, L"Ends in a mix\n"},
        {EDGE_END_IDEOGRAPHIC_SPACE, endingIn(L"Ends in an ideographic space", 0x3000)},
        {EDGE_END_NO_BREAK_SPACE, endingIn(L"Ends in a no-break space", 0x00A0)},
        {EDGE_INNER_SPACE, L"Inner\twhite  space stays\n"},
        {EDGE_WHITE_ONLY, L""},
        {EDGE_INSERTS, L"Insert %1 and %2!d! stay as written\n"},
        {EDGE_INSERTS + 0x100, L""},  // in neither this table nor the system's
    };
    for (const auto& [id, expected] : cases) {
        EXPECT_EQ(expected, Fetch(id, module_)) << "message " << std::hex << id;
    }
    EXPECT_EQ(-1, FetchModuleMessageText(EDGE_ONE_LINE, module_, NULL));
}

// The three result controls, each a window of a class that logs the texts set on it, in order.
std::vector<std::pair<int, std::wstring>> setTexts;

LRESULT CALLBACK LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        setTexts.emplace_back(static_cast<int>(GetWindowLongPtrW(window, GWLP_ID)),
                              reinterpret_cast<const WCHAR*>(lParam));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ResultControls : public ::testing::Test {
protected:
    void SetUp() override {
        // Registered by the first test of the suite; the later ones find it there.
        (void)RegisterTestClass(L"TessivalLoggingText", LoggingProc);
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, parent_);
        for (int id = 1; id <= 3; id++) {
            controls_[id - 1] = CreateWindowExW(0, L"TessivalLoggingText", L"before", WS_CHILD, 0, 0, 10, 10, parent_,
                                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), NULL, NULL);
            ASSERT_NE(nullptr, controls_[id - 1]);
        }
        setTexts.clear();
    }
    void TearDown() override {
        DestroyWindow(parent_);
        FreeMessageModules();
    }
    HWND parent_ = NULL;
    HWND controls_[3] = {};
};

TEST_F(ResultControls, MessageCodeAndNumbersInThatOrder) {
    struct {
        DWORD code;
        const wchar_t* decimal;
        const wchar_t* numbers;
    } cases[] = {
        {0, L"0", L"0    0x00"},
        {5, L"5", L"5    0x05"},
        {255, L"255", L"255    0xFF"},
        {256, L"256", L"256    0x100"},
        {12002, L"12002", L"12002    0x2EE2"},
        {0x80004005u, L"2147500037", L"2147500037    0x80004005"},
        {0xFFFFFFFFu, L"4294967295", L"4294967295    0xFFFFFFFF"},
        {0x7A5FFFFu, L"128319487", L"128319487    0x7A5FFFF"},
    };
    for (const auto& c : cases) {
        setTexts.clear();
        std::wstring message = ShownOrUnknown(c.code, Fetch(c.code));
        EXPECT_EQ(0, ShowErrorCode(c.code, controls_[0], controls_[1], controls_[2]));
        ASSERT_EQ(3u, setTexts.size()) << "code " << c.code;
        EXPECT_EQ(1, setTexts[0].first);
        EXPECT_EQ(message, setTexts[0].second);
        EXPECT_EQ(2, setTexts[1].first);
        EXPECT_EQ(c.decimal, setTexts[1].second);
        EXPECT_EQ(3, setTexts[2].first);
        EXPECT_EQ(c.numbers, setTexts[2].second);
    }
    // A code no table has, with only the message control given.
    setTexts.clear();
    EXPECT_EQ(0, ShowErrorCode(0x7A5FFFFu, controls_[0], NULL, NULL));
    ASSERT_EQ(1u, setTexts.size());
    EXPECT_EQ(1, setTexts[0].first);
    EXPECT_EQ(L"Unknown error:  128319487", setTexts[0].second);
}

TEST_F(ResultControls, NullWindowsAreLeftAlone) {
    EXPECT_EQ(0, ShowErrorCode(5, controls_[0], NULL, controls_[2]));
    ASSERT_EQ(2u, setTexts.size());
    EXPECT_EQ(1, setTexts[0].first);
    EXPECT_EQ(3, setTexts[1].first);
    EXPECT_EQ(L"5    0x05", setTexts[1].second);
    EXPECT_EQ(L"before", WindowText(controls_[1]));

    setTexts.clear();
    EXPECT_EQ(0, ShowErrorCode(0xFFFFFFFFu, controls_[0], controls_[1], NULL));
    ASSERT_EQ(2u, setTexts.size());
    EXPECT_EQ(1, setTexts[0].first);
    EXPECT_EQ(2, setTexts[1].first);
    EXPECT_EQ(L"4294967295", setTexts[1].second);
}

}  // namespace
