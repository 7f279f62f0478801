// The shared text helpers: ASCII-only case folding and splitting that drops empty pieces.
#include "platform/ascii_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

TEST(AsciiLower, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(ascii::Lower('A'), 'a');
    EXPECT_EQ(ascii::Lower('Z'), 'z');
    EXPECT_EQ(ascii::Lower('a'), 'a');
    EXPECT_EQ(ascii::Lower('@'), '@') << "the byte before 'A'";
    EXPECT_EQ(ascii::Lower('['), '[') << "the byte after 'Z'";
    EXPECT_EQ(ascii::Lower('\xC3'), '\xC3') << "a UTF-8 lead byte must stay as it is";
    EXPECT_EQ(ascii::Lower("[Main ALC] Ü"), "[main alc] Ü") << "only ASCII letters fold";
}

TEST(AsciiEqualIgnoringCase, MatchesWholeTextsWhateverTheirAsciiCase) {
    EXPECT_TRUE(ascii::EqualIgnoringCase("[Bass EQ]", "[bass eq]"));
    EXPECT_TRUE(ascii::EqualIgnoringCase("", "")) << "two empty texts are equal";
    EXPECT_TRUE(ascii::EqualIgnoringCase("\xC3\xA9", "\xC3\xA9")) << "equal UTF-8 bytes";
}

TEST(AsciiEqualIgnoringCase, RefusesTextsThatDifferInAnythingButAsciiCase) {
    struct Case {
        const char* name;
        std::string a;
        std::string b;
    };
    const Case cases[] = {
        {"prefix only", "[bass eq]", "[bass eq"},
        {"trailing blank is not trimmed", "[bass eq] ", "[bass eq]"},
        {"leading blank is not trimmed", " [bass eq]", "[bass eq]"},
        {"one side empty", "", "x"},
        // Latin-1 'É' (0xC9) and 'é' (0xE9) differ by the same bit as ASCII letters; they must not match.
        {"non-ASCII byte is not folded", "\xC9", "\xE9"},
        {"UTF-8 letters differing in case", "\xC3\x89", "\xC3\xA9"},
        {"'@' is not the upper case of '`'", "@", "`"},
        {"'[' is not the upper case of '{'", "[", "{"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ascii::EqualIgnoringCase(c.a, c.b));
        EXPECT_FALSE(ascii::EqualIgnoringCase(c.b, c.a)) << "the compare must be symmetric";
    }
}

struct SplitCase {
    const char* name;
    std::string text;
    Pieces pieces;
};

class AsciiSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(AsciiSplit, KeepsOnlyNonEmptyPiecesInOrder) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(ascii::Split(c.text, ','), c.pieces) << "text \"" << c.text << "\"";
    Pieces appended{"kept"};
    ascii::SplitInto(appended, c.text, ",");
    Pieces expected{"kept"};
    expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
    EXPECT_EQ(appended, expected) << "SplitInto appends the same pieces after what `out` held";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AsciiSplit,
    testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"OnlySeparators", ",,,", {}},
                    SplitCase{"NoSeparator", "abc", {"abc"}}, SplitCase{"Plain", "1,2,3", {"1", "2", "3"}},
                    SplitCase{"EmptyPieceInside", "1,,2", {"1", "2"}},
                    SplitCase{"SeparatorAtStart", ",1,2", {"1", "2"}},
                    SplitCase{"SeparatorAtEnd", "1,2,", {"1", "2"}},
                    SplitCase{"BlanksAreKept", " 1 , 2", {" 1 ", " 2"}},
                    SplitCase{"NonAsciiBytesKept", "\xC3\xA9,\xFF", {"\xC3\xA9", "\xFF"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(AsciiSplitInto, MultiByteSeparatorIsSkippedWhole) {
    Pieces out;
    ascii::SplitInto(out, "a\r\nb\r\n\r\nc", "\r\n");
    EXPECT_EQ(out, (Pieces{"a", "b", "c"}));
}

TEST(AsciiSplitInto, EmptySeparatorGivesTheWholeText) {
    Pieces out;
    ascii::SplitInto(out, "a,b", "");
    EXPECT_EQ(out, (Pieces{"a,b"}));
    ascii::SplitInto(out, "", "");
    EXPECT_EQ(out, (Pieces{"a,b"})) << "an empty text adds no piece";
}

TEST(AsciiSplit, SplitsOnTheGivenSeparatorOnly) {
    EXPECT_EQ(ascii::Split("a,b\nc\n", '\n'), (Pieces{"a,b", "c"}));
}

}  // namespace
