#include "platform/runtime/Strings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/runtime/RuntimeError.h"
#include "tests/platform/forms/ErrorNumber.h"

namespace forms {
namespace {

TEST(Strings, LeftRightMidTakeWhatThereIs) {
    EXPECT_EQ(Left("abc", 2), "ab");
    EXPECT_EQ(Left("abc", 10), "abc");
    EXPECT_EQ(Left("abc", 0), "");
    EXPECT_EQ(Right("abc", 2), "bc");
    EXPECT_EQ(Right("abc", 10), "abc");
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 5, 10), "ef");
    EXPECT_EQ(Mid("abcdef", 7), "");
    EXPECT_EQ(Mid("abcdef", 99, 2), "");
    EXPECT_EQ(Mid("abcdef", 3), "cdef");
    EXPECT_EQ(ErrorNumber([] { Mid("abc", 0, 1); }), err::InvalidProcedureCall);
    EXPECT_EQ(ErrorNumber([] { Left("abc", -1); }), err::InvalidProcedureCall);
    EXPECT_EQ(ErrorNumber([] { Mid("abc", 1, -1); }), err::InvalidProcedureCall);
}

TEST(Strings, InStrFindsBinaryAndText) {
    struct Case {
        std::ptrdiff_t start;
        const char* text;
        const char* find;
        Compare compare;
        std::size_t expected;
    };
    const Case cases[] = {
        {1, "a<HTML>b", "<html>", Compare::Binary, 0},
        {1, "a<HTML>b", "<html>", Compare::Text, 2},
        {3, "abcabc", "abc", Compare::Binary, 4},
        {1, "abc", "", Compare::Binary, 1},
        {3, "abc", "", Compare::Binary, 3},
        {4, "abc", "a", Compare::Binary, 0},
        {9, "abc", "a", Compare::Binary, 0},
        {1, "", "", Compare::Binary, 0},
        {4, "abc", "", Compare::Binary, 0},
        {1, "x\xC3\x84x.JPG", "\xC3\xA4x.jpg", Compare::Text, 2},  // "xÄx.JPG" finds "äx.jpg"
        {1, "\xC3\xA4\xC3\xA4" "Ab", "ab", Compare::Text, 5},           // positions count bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << c.find);
        EXPECT_EQ(InStr(c.start, c.text, c.find, c.compare), c.expected);
    }
    EXPECT_EQ(InStr("C:\\a\\b", "\\"), 3u);
}

TEST(Strings, InStrRevFindsTheLastMatch) {
    EXPECT_EQ(InStrRev("C:\\a\\b.jpg", "\\"), 5u);
    EXPECT_EQ(InStrRev("C:\\a\\b.jpg", "\\", 4), 3u);
    EXPECT_EQ(InStrRev("abcabc", "abc", 5), 1u);
    EXPECT_EQ(InStrRev("abcabc", "abc", 6), 4u);
    EXPECT_EQ(InStrRev("abc", "x"), 0u);
    EXPECT_EQ(InStrRev("abc", "", 2), 2u);
    EXPECT_EQ(InStrRev("aXbxc", "x", 0, Compare::Text), 4u);
    EXPECT_EQ(InStrRev("\xC3\xA4X\xC3\xA4x", "\xC3\x84X", 0, Compare::Text), 4u);
}

TEST(Strings, CaseMappingCoversNonAscii) {
    EXPECT_EQ(LCase("AbC.JPG"), "abc.jpg");
    EXPECT_EQ(UCase("abc.jpg"), "ABC.JPG");
    EXPECT_EQ(LCase("\xC3\x84RGER"), "\xC3\xA4rger");  // ÄRGER
    EXPECT_EQ(UCase("\xC3\xA4"), "\xC3\x84");
    EXPECT_TRUE(TextEquals("Options", "OPTIONS"));
    EXPECT_FALSE(TextEquals("Options", "Option"));
    // Bytes that are not UTF-8 keep their value; ASCII letters still map.
    EXPECT_EQ(LCase("A\xFF" "B"), "a\xFF" "b");
}

TEST(Strings, TrimRemovesSpacesOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\r\n x \r\n"), "\r\n x \r\n");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
}

TEST(Strings, SplitKeepsEmptyParts) {
    EXPECT_EQ(Split("a  b    c", "  "), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(Split("abc", ","), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(Split("a,", ","), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(Split("", ",").empty());
    EXPECT_EQ(Split("a,b", ""), (std::vector<std::string>{"a,b"}));
}

TEST(Strings, WideRoundTrip) {
    const std::string text = "\xC3\xA4 \xE2\x82\xAC x";  // ä € x
    EXPECT_EQ(ToWide(text), L"\u00e4 \u20ac x");
    EXPECT_EQ(FromWide(ToWide(text)), text);
    EXPECT_EQ(ToWide(""), L"");
    // A character outside the basic plane takes two UTF-16 units; a reused buffer is resized to fit.
    std::wstring buffer(40, L'x');
    ToWide("\xF0\x9F\x98\x80", buffer);
    EXPECT_EQ(buffer, L"\U0001F600");
}

TEST(Strings, ValidTextInACodePage) {
    struct Case {
        std::string text;
        bool utf8;
    };
    const Case cases[] = {
        {"", true}, {"plain", true}, {"\xC3\xA4", true}, {"\xC3", false}, {"\xE4 older code page", false},
        {"\xC0\xAF", false},  // an over-long form
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidText(c.text, CP_UTF8), c.utf8) << c.text;
    EXPECT_TRUE(IsValidText("\xE4", 1252));
}

}  // namespace
}  // namespace forms
