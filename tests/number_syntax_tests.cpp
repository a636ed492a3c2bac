// The number grammar: every form and range end, the end contract, and a randomized comparison with an
// independent model of the rules.
#include <windows.h>

#include <errno.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/number_syntax.h"
#include "grammar_model.h"

namespace {

const DWORD kUntouched = 0xA5A5A5A5u;

struct ParseCase {
    const wchar_t* text;
    int result;
    DWORD value;
    int endOffset = -1;  // with an end pointer, where it points; -1: left as it was
};

TEST(NumberSyntax, FormsAndRangesWithoutEnd) {
    const ParseCase cases[] = {
        {L"0", 0, 0},
        {L"42", 0, 42},
        {L"0x1F", 0, 31},
        {L"0X1f", 0, 31},
        {L"x1f", 0, 31},
        {L"X1F", 0, 31},
        {L"0x0x10", 0, 16},
        {L"x0x10", 0, 16},
        {L"4294967295", 0, 0xFFFFFFFFu},
        {L"0xFFFFFFFF", 0, 0xFFFFFFFFu},
        {L"4294967296", ERANGE, kUntouched},
        {L"0x100000000", ERANGE, kUntouched},
        {L"99999999999999999999999", ERANGE, kUntouched},
        {L"-1", 0, 0xFFFFFFFFu},
        {L"-5", 0, 0xFFFFFFFBu},
        {L"-0", 0, 0},
        {L"-2147483648", 0, 0x80000000u},
        {L"-2147483649", ERANGE, kUntouched},
        {L"007", 0, 7},
        {L"", -1, kUntouched},
        {L"   ", -1, kUntouched},
        {L" 5", -1, kUntouched},
        {L"5 ", -1, kUntouched},
        {L"+5", -1, kUntouched},
        {L"-x5", -1, kUntouched},
        {L"-0x10", -1, kUntouched},
        {L"0x", -1, kUntouched},
        {L"0xg", -1, kUntouched},
        {L"x", -1, kUntouched},
        {L"0x0x", -1, kUntouched},
        {L"xg", -1, kUntouched},
        {L"12abc", -1, kUntouched},
        {L"abc", -1, kUntouched},
        {L"-", -1, kUntouched},
    };
    for (const ParseCase& c : cases) {
        DWORD value = kUntouched;
        EXPECT_EQ(c.result, ParseNumber(c.text, NULL, &value)) << "text: \"" << c.text << "\"";
        EXPECT_EQ(c.value, value) << "text: \"" << c.text << "\"";
    }
}

TEST(NumberSyntax, EndReceivesTheFirstCharacterAfterTheNumber) {
    const ParseCase cases[] = {
        {L"0x", 0, 0, 1},  // decimal 0, the x left over
        {L"0xg", 0, 0, 1},
        {L"12abc", 0, 12, 2},
        {L"42", 0, 42, 2},  // end at the terminator
        {L"0x1F:3", 0, 31, 4},
        {L"-0x10", 0, 0, 2},  // minus zero, x10 left over
        {L"7 ", 0, 7, 1},
        // A failure leaves the end as it was.
        {L"4294967296:1", ERANGE, kUntouched},
        {L"", -1, kUntouched},
        {L":5", -1, kUntouched},
    };
    for (const ParseCase& c : cases) {
        const wchar_t sentinel[] = L"sentinel";
        const WCHAR* end = sentinel;
        DWORD value = kUntouched;
        EXPECT_EQ(c.result, ParseNumber(c.text, &end, &value)) << "text: \"" << c.text << "\"";
        EXPECT_EQ(c.value, value) << "text: \"" << c.text << "\"";
        EXPECT_EQ(c.endOffset < 0 ? sentinel : c.text + c.endOffset, end) << "text: \"" << c.text << "\"";
    }
}

TEST(NumberSyntax, MissingArgumentsFail) {
    DWORD value = kUntouched;
    EXPECT_EQ(-1, ParseNumber(NULL, NULL, &value));
    EXPECT_EQ(kUntouched, value);
    EXPECT_EQ(-1, ParseNumber(L"5", NULL, NULL));
    const WCHAR* end = NULL;
    EXPECT_EQ(-1, ParseNumber(L"5", &end, NULL));
    EXPECT_EQ(NULL, end);
}

TEST(NumberSyntax, SeparatorsAreColonAndEqualsOnly) {
    EXPECT_EQ(1, IsArgSeparator(L':'));
    EXPECT_EQ(1, IsArgSeparator(L'='));
    for (WCHAR ch : {L';', L' ', L'\0', L'-', static_cast<WCHAR>(0xFF1A), static_cast<WCHAR>(0x013A),
                     static_cast<WCHAR>(0x3D3A)}) {
        EXPECT_EQ(0, IsArgSeparator(ch)) << static_cast<int>(ch);
    }
}

// Runs TrimBlanks on text placed in a buffer whose units past the terminator hold a marker.
std::wstring Trim(const std::wstring& text) {
    std::wstring buffer = text;
    buffer.push_back(L'\0');
    buffer.append(16, L'#');
    EXPECT_EQ(0, TrimBlanks(&buffer[0]));
    EXPECT_EQ(std::wstring(16, L'#'), buffer.substr(text.size() + 1)) << "written past the terminator";
    return std::wstring(buffer.c_str());
}

TEST(NumberSyntax, TrimBlanksStripsEveryKindOfWhiteSpace) {
    EXPECT_EQ(L"42", Trim(L"\t 42 \r\n"));
    EXPECT_EQ(L"", Trim(L"    "));
    EXPECT_EQ(L"", Trim(L""));
    EXPECT_EQ(L"a b", Trim(L"a b"));
    EXPECT_EQ(L"x", Trim(L"\v\fx\v\f"));
    EXPECT_EQ(L"0x5", Trim(L"  0x5  "));
    EXPECT_EQ(L"7", Trim(L"7\n"));
    // Beyond ASCII (a no-break and an ideographic space), the run-time library's classification decides.
    for (const std::wstring wide : {L"\u00A0", L"\u3000"}) {
        const std::wstring kept = iswspace(wide[0]) ? L"" : wide;
        EXPECT_EQ(kept + L"9" + kept, Trim(wide + L"9" + wide));
    }
    EXPECT_EQ(-1, TrimBlanks(NULL));
}

TEST(NumberSyntax, TrimmedTextParses) {
    WCHAR text[] = L"\t 0x5 \r\n";
    ASSERT_EQ(0, TrimBlanks(text));
    DWORD value = 0;
    EXPECT_EQ(0, ParseNumber(text, NULL, &value));
    EXPECT_EQ(5u, value);
}

std::string Units(const std::wstring& text) {
    std::string out;
    char unit[8];
    for (size_t i = 0; i < text.size() && i < 64; ++i) {
        wsprintfA(unit, "%04X ", static_cast<unsigned>(text[i]));
        out += unit;
    }
    return out;
}

// Random UTF-16 texts built from the characters the grammar cares about, lone surrogates, non-ASCII digits
// and spaces, and arbitrary units, some of them 1,024 units long and more.
std::wstring RandomText(std::mt19937& random) {
    static const wchar_t interesting[] = {L'0',   L'1',   L'7',   L'9',   L'x',   L'X',   L'-',   L'+',
                                          L' ',   L'\t',  L'a',   L'F',   L'g',   L':',   L'=',   L'/',
                                          0x0660, 0x0669, 0xFF10, 0xFF19, 0x00A0, 0x3000, 0xD800, 0xDC00,
                                          0xDBFF, 0xDFFF, 0x2001, 0x00B2, 0x0131, 0x212A};
    std::uniform_int_distribution<int> pick(0, 99);
    // Mostly short texts, some longer, a few past 1,024 units.
    const int shape = pick(random);
    const size_t shortest = shape < 80 ? 0 : shape < 95 ? 15 : 1020;
    const size_t longest = shape < 80 ? 14 : shape < 95 ? 200 : 5000;
    std::wstring text(std::uniform_int_distribution<size_t>(shortest, longest)(random), L'\0');
    for (wchar_t& unit : text) {
        const int kind = pick(random);
        if (kind < 55) {
            unit = static_cast<wchar_t>(L'0' + pick(random) % 10);
        } else if (kind < 90) {
            unit = interesting[pick(random) % (sizeof(interesting) / sizeof(interesting[0]))];
        } else {
            unit = static_cast<wchar_t>(std::uniform_int_distribution<int>(1, 0xFFFF)(random));
        }
    }
    return text;
}

TEST(NumberSyntax, RandomTextsAgreeWithTheModel) {
    std::mt19937 random(20261207);
    int compared = 0;
    for (int i = 0; i < 40000; ++i) {
        std::wstring text = RandomText(random);
        bool withEnd = (i % 2) == 0;
        // Copy into a buffer with a marker after it: the parser must not write into its text.
        std::wstring buffer = text + L'\0' + L"####";
        DWORD value = kUntouched;
        const WCHAR* end = NULL;
        int result = ParseNumber(buffer.c_str(), withEnd ? &end : NULL, &value);
        ASSERT_EQ(text + L'\0' + L"####", buffer);
        if (result != 0) {
            ASSERT_EQ(kUntouched, value);
            ASSERT_EQ(NULL, end);
        } else if (withEnd) {
            ASSERT_GT(end, buffer.c_str()) << "success converts at least one character";
            ASSERT_LE(end, buffer.c_str() + text.size());
        }
        NumberModel model = ModelParseNumber(text, withEnd);
        if (!model.certain) {
            continue;
        }
        ++compared;
        ASSERT_EQ(model.result, result) << Units(text) << "length " << text.size();
        if (result == 0) {
            ASSERT_EQ(model.value, value) << Units(text);
            if (withEnd) {
                ASSERT_EQ(model.endIndex, static_cast<size_t>(end - buffer.c_str())) << Units(text);
            }
        }
    }
    EXPECT_GT(compared, 30000);
}

}  // namespace
