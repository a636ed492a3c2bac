// The resources of the built program, read back from Tessival.exe field by field: the dialog template,
// the icon group and its images, the version block and the manifest.
#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>
#include <wchar.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "test_folders.h"
#include "resource.h"

namespace {

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExW(TessivalExePath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        FreeLibrary(module_);
    }
    void SetUp() override {
        ASSERT_NE(nullptr, module_) << "cannot open the built program";
    }

    static std::vector<BYTE> Load(LPCWSTR type, LPCWSTR name) {
        HRSRC found = FindResourceExW(module_, type, name, kEnglishUs);
        EXPECT_NE(nullptr, found) << "resource missing in language 1033";
        if (found == NULL) {
            return {};
        }
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
        return std::vector<BYTE>(data, data + SizeofResource(module_, found));
    }

    static HMODULE module_;
};
HMODULE Resources::module_ = NULL;

// Reads a template or version block front to back.
class Reader {
public:
    explicit Reader(const std::vector<BYTE>& data) : data_(data) {}
    // The next field, of type T (BYTE, WORD, short or DWORD); 0 past the end.
    template <typename T>
    T Next() {
        T value = 0;
        Copy(&value, sizeof(value));
        return value;
    }
    std::wstring String() {
        std::wstring text;
        for (WORD unit = Next<WORD>(); unit != 0 && offset_ <= data_.size(); unit = Next<WORD>()) {
            text.push_back(static_cast<wchar_t>(unit));
        }
        return text;
    }
    // A name or an ordinal, as the template stores them; ordinals come back as "#n".
    std::wstring NameOrOrdinal() {
        WORD first = Next<WORD>();
        if (first == 0xFFFF) {
            return L"#" + std::to_wstring(Next<WORD>());
        }
        if (first == 0) {
            return L"";
        }
        offset_ -= 2;
        return String();
    }
    void Align(size_t to) {
        offset_ = (offset_ + to - 1) / to * to;
    }
    size_t Offset() const {
        return offset_;
    }
    void Seek(size_t offset) {
        offset_ = offset;
    }

private:
    void Copy(void* out, size_t size) {
        if (offset_ + size <= data_.size()) {
            memcpy(out, &data_[offset_], size);
        }
        offset_ += size;
    }
    const std::vector<BYTE>& data_;
    size_t offset_ = 0;
};

TEST_F(Resources, DialogTemplate) {
    std::vector<BYTE> data = Load(RT_DIALOG, MAKEINTRESOURCEW(IDD_LOOKUP));
    ASSERT_FALSE(data.empty());
    Reader read(data);
    EXPECT_EQ(1, read.Next<WORD>()) << "extended template version";
    EXPECT_EQ(0xFFFF, read.Next<WORD>());
    EXPECT_EQ(0u, read.Next<DWORD>()) << "help id";
    EXPECT_EQ(0x00080000u, read.Next<DWORD>()) << "extended style";
    EXPECT_EQ(0x80CA0AC8u, read.Next<DWORD>()) << "style";
    EXPECT_EQ(8, read.Next<WORD>()) << "items";
    EXPECT_EQ(0, read.Next<short>());
    EXPECT_EQ(0, read.Next<short>());
    EXPECT_EQ(255, read.Next<WORD>());
    EXPECT_EQ(77, read.Next<WORD>());
    EXPECT_EQ(L"", read.NameOrOrdinal()) << "menu";
    EXPECT_EQ(L"", read.NameOrOrdinal()) << "class";
    EXPECT_EQ(DIALOG_TITLE, read.String());
    EXPECT_EQ(8, read.Next<WORD>()) << "points";
    EXPECT_EQ(400, read.Next<WORD>()) << "weight";
    EXPECT_EQ(0, read.Next<BYTE>()) << "italic";
    EXPECT_EQ(1, read.Next<BYTE>()) << "character set";
    EXPECT_EQ(L"MS Shell Dlg", read.String());

    const struct {
        const wchar_t* className;
        DWORD id;
        const wchar_t* text;
        DWORD style;
        short x, y, cx, cy;
    } items[] = {
        {L"#130", 0xFFFFFFFFu, L"&Error:", 0x50020200, 7, 6, 24, 14},
        {L"#129", IDC_CODE, L"", 0x50811080, 35, 6, 53, 14},
        {L"#128", IDC_FIND, L"&Find", 0x50010001, 100, 6, 38, 14},
        {L"#128", IDC_TOPMOST, L"Always on &Top", 0x50010003, 150, 4, 70, 9},
        {L"#128", IDC_FADE, L"Fade when &Inactive", 0x50010003, 150, 15, 78, 9},
        {L"#128", IDC_PIN, L"&Pin", 0x50010003, 222, 4, 26, 9},
        {L"#129", IDC_MESSAGE, L"", 0x50A10804, 7, 30, 241, 37},
        {L"#130", IDC_NUMBERS, L"", 0x50020002, 9, 67, 237, 10},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.id);
        read.Align(4);
        EXPECT_EQ(0u, read.Next<DWORD>()) << "help id";
        EXPECT_EQ(0u, read.Next<DWORD>()) << "extended style";
        EXPECT_EQ(item.style, read.Next<DWORD>());
        EXPECT_EQ(item.x, read.Next<short>());
        EXPECT_EQ(item.y, read.Next<short>());
        EXPECT_EQ(item.cx, read.Next<short>());
        EXPECT_EQ(item.cy, read.Next<short>());
        EXPECT_EQ(item.id, read.Next<DWORD>());
        EXPECT_EQ(item.className, read.NameOrOrdinal());
        EXPECT_EQ(item.text, read.NameOrOrdinal());
        EXPECT_EQ(0, read.Next<WORD>()) << "creation data";
    }
    EXPECT_LE(read.Offset(), data.size());
    EXPECT_GE(read.Offset() + 3, data.size()) << "nothing after the eighth item";
}

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(Resources, IconGroupOfFiveAlphaDibs) {
    std::vector<BYTE> data = Load(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP));
    ASSERT_EQ(6 + 5 * sizeof(GroupEntry), data.size());
    Reader read(data);
    EXPECT_EQ(0, read.Next<WORD>());
    EXPECT_EQ(1, read.Next<WORD>()) << "icon";
    EXPECT_EQ(5, read.Next<WORD>());
    const struct {
        int size;
        DWORD bytes;
        WORD id;
    } expected[] = {{48, 9640, 1}, {32, 4264, 2}, {16, 1128, 3}, {64, 16936, 4}, {24, 2440, 5}};
    const GroupEntry* entries = reinterpret_cast<const GroupEntry*>(&data[6]);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(expected[i].size);
        const GroupEntry& entry = entries[i];
        EXPECT_EQ(expected[i].size, entry.width);
        EXPECT_EQ(expected[i].size, entry.height);
        EXPECT_EQ(0, entry.colourCount);
        EXPECT_EQ(0, entry.reserved);
        EXPECT_EQ(1, entry.planes);
        EXPECT_EQ(32, entry.bitCount);
        EXPECT_EQ(expected[i].bytes, entry.bytes);
        EXPECT_EQ(expected[i].id, entry.id);

        std::vector<BYTE> image = Load(RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_EQ(expected[i].bytes, image.size());
        BITMAPINFOHEADER header;
        memcpy(&header, image.data(), sizeof(header));
        EXPECT_EQ(40u, header.biSize) << "a DIB, not PNG";
        EXPECT_EQ(expected[i].size, header.biWidth);
        EXPECT_EQ(expected[i].size * 2, header.biHeight);
        EXPECT_EQ(32, header.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
        // Real alpha: some pixels transparent, some opaque.
        bool transparent = false, opaque = false;
        for (int p = 0; p < expected[i].size * expected[i].size; ++p) {
            BYTE alpha = image[40 + p * 4 + 3];
            transparent |= alpha == 0;
            opaque |= alpha == 255;
        }
        EXPECT_TRUE(transparent && opaque);
    }
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

TEST_F(Resources, TheGroupIsTheProgramIcon) {
    std::vector<ULONG_PTR> groups;
    EnumResourceNamesW(module_, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_EQ(1u, groups.size());
    EXPECT_EQ(static_cast<ULONG_PTR>(IDI_APP), groups[0]);
    HICON icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(nullptr, icon);
    DestroyIcon(icon);
}

// One node of a version block: its key, its value (also as text, for a text value) and its children.
struct VersionNode {
    std::wstring key;
    std::wstring text;
    std::vector<BYTE> value;
    std::vector<VersionNode> children;
};

VersionNode ParseVersionNode(const std::vector<BYTE>& data, size_t offset) {
    Reader read(data);
    read.Seek(offset);
    VersionNode node;
    WORD length = read.Next<WORD>();
    WORD valueLength = read.Next<WORD>();
    WORD type = read.Next<WORD>();
    node.key = read.String();
    read.Align(4);
    size_t valueBytes = type == 1 ? valueLength * 2 : valueLength;
    if (valueBytes > 0 && read.Offset() + valueBytes <= data.size()) {
        node.value.assign(data.begin() + read.Offset(), data.begin() + read.Offset() + valueBytes);
        if (type == 1) {
            // Read within the value: whether its length counts a terminator differs between resource compilers.
            node.text.assign(reinterpret_cast<const wchar_t*>(node.value.data()), valueBytes / sizeof(wchar_t));
            node.text.resize(wcsnlen(node.text.c_str(), node.text.size()));
        }
    }
    read.Seek(read.Offset() + valueBytes);
    read.Align(4);
    while (read.Offset() < offset + length && read.Offset() < data.size()) {
        size_t child = read.Offset();
        WORD childLength = *reinterpret_cast<const WORD*>(&data[child]);
        if (childLength == 0) {
            break;
        }
        node.children.push_back(ParseVersionNode(data, child));
        read.Seek(child + childLength);
        read.Align(4);
    }
    return node;
}

TEST_F(Resources, VersionBlock) {
    std::vector<BYTE> data = Load(RT_VERSION, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(data.empty());
    VersionNode root = ParseVersionNode(data, 0);
    EXPECT_EQ(L"VS_VERSION_INFO", root.key);
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), root.value.size());
    VS_FIXEDFILEINFO fixed;
    memcpy(&fixed, root.value.data(), sizeof(fixed));
    EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
    EXPECT_EQ(0x00010000u, fixed.dwStrucVersion);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(VERSION_MINOR, VERSION_MAJOR)), fixed.dwFileVersionMS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(VERSION_REVISION, VERSION_BUILD)), fixed.dwFileVersionLS);
    EXPECT_EQ(fixed.dwFileVersionMS, fixed.dwProductVersionMS);
    EXPECT_EQ(fixed.dwFileVersionLS, fixed.dwProductVersionLS);
    EXPECT_EQ(0u, fixed.dwFileFlagsMask);
    EXPECT_EQ(0u, fixed.dwFileFlags);
    EXPECT_EQ(0x00040004u, fixed.dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed.dwFileType);
    EXPECT_EQ(0u, fixed.dwFileSubtype);
    EXPECT_EQ(0u, fixed.dwFileDateMS);
    EXPECT_EQ(0u, fixed.dwFileDateLS);

    ASSERT_EQ(2u, root.children.size());
    const VersionNode& strings = root.children[0];
    EXPECT_EQ(L"StringFileInfo", strings.key);
    ASSERT_EQ(1u, strings.children.size());
    const VersionNode& table = strings.children[0];
    EXPECT_EQ(L"040904b0", table.key);
    const std::wstring productVersion = std::wstring(VERSION_TEXT_W) + L"  (" + PLATFORM_TEXT + L")";
    const struct {
        const wchar_t* key;
        const wchar_t* value;  // null: checked below
    } expected[] = {
        {L"FileDescription", L"Tessival utility"},
        {L"FileVersion", VERSION_TEXT_W},
        {L"CompanyName", NULL},
        {L"InternalName", L"Tessival"},
        {L"LegalCopyright", NULL},
        {L"OriginalFilename", L"Tessival.exe"},
        {L"ProductName", L"Tessival utility"},
        {L"ProductVersion", productVersion.c_str()},
        {L"Build", NULL},
        {L"Built On", NULL},
    };
    ASSERT_EQ(10u, table.children.size());
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(expected[i].key, table.children[i].key);
        if (expected[i].value != NULL) {
            EXPECT_EQ(expected[i].value, table.children[i].text) << i;
        } else {
            EXPECT_FALSE(table.children[i].text.empty()) << i;
        }
    }
    // "YYYY-MM-DD HH:MM:SS": with every digit made a 0, the build time has this one shape.
    std::wstring shape = table.children[8].text;
    auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    std::replace_if(shape.begin(), shape.end(), isDigit, L'0');
    EXPECT_EQ(L"0000-00-00 00:00:00", shape) << table.children[8].text;

    const VersionNode& variables = root.children[1];
    EXPECT_EQ(L"VarFileInfo", variables.key);
    ASSERT_EQ(1u, variables.children.size());
    EXPECT_EQ(L"Translation", variables.children[0].key);
    const BYTE translation[] = {0x09, 0x04, 0xB0, 0x04};
    EXPECT_EQ(std::vector<BYTE>(translation, translation + 4), variables.children[0].value);
}

TEST_F(Resources, ManifestAsksOnlyForTheInvokersRights) {
    std::vector<BYTE> data = Load(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    const char expected[] =
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
        "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
        "    <security>\r\n"
        "      <requestedPrivileges>\r\n"
        "        <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>\r\n"
        "      </requestedPrivileges>\r\n"
        "    </security>\r\n"
        "  </trustInfo>\r\n"
        "</assembly>\r\n";
    EXPECT_EQ(std::string(expected), std::string(data.begin(), data.end()));
    std::vector<ULONG_PTR> manifests;
    EnumResourceNamesW(module_, MAKEINTRESOURCEW(24), CollectName, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(1u, manifests.size()) << "no second, default manifest";
}

TEST_F(Resources, EveryResourceIsUsEnglishOnly) {
    const std::pair<LPCWSTR, LPCWSTR> resources[] = {{RT_DIALOG, MAKEINTRESOURCEW(IDD_LOOKUP)},
                                                     {RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APP)},
                                                     {RT_VERSION, MAKEINTRESOURCEW(1)},
                                                     {MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1)},
                                                     {RT_ICON, MAKEINTRESOURCEW(1)},
                                                     {RT_ICON, MAKEINTRESOURCEW(5)}};
    for (const auto& [type, name] : resources) {
        std::vector<WORD> languages;
        EnumResourceLanguagesW(module_, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(std::vector<WORD>{kEnglishUs}, languages);
    }
}

}  // namespace
