#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <string>

#include "platform/lang.h"

namespace {

TEST(ParseLeadingInt, SaturatesAndStopsAtTheFirstNonDigit) {
    // clang-format off
    const struct { const char* text; int value; bool has; } cases[] = {
        {"1000 Hz", 1000, true}, {"  -42x", -42, true}, {"+7", 7, true}, {"abc", 0, false}, {"", 0, false},
        {"-", 0, false}, {"70.5", 70, true}, {"0x10", 0, true}, {"2147483647", INT_MAX, true},
        {"2147483648", INT_MAX, true}, {"-2147483648", INT_MIN, true}, {"-2147483649", INT_MIN, true},
        {"18446744073709551621", INT_MAX, true},  // 2^64 + 5 must not wrap
        {"-99999999999999999999999", INT_MIN, true}, {"- 5", 0, false}, {".5", 0, false}, {" -0", 0, true}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(num::ParseLeadingInt(c.text), c.value) << "value of \"" << c.text << "\"";
        EXPECT_EQ(num::HasLeadingInt(c.text), c.has) << "whether \"" << c.text << "\" starts with a number";
    }
}

TEST(ParseLeadingDecimal, NumbersAndRefusals) {
    const std::pair<const char*, double> numbers[] = {
        {"+3.5 dB", 3.5}, {"-3.51", -3.51}, {".5", 0.5},  {"5.", 5.0}, {"1e2", 100}, {"1e+", 1},
        {"2E-1x", 0.2},   {"  0.0dB", 0.0}, {"12,5", 12}, {"007", 7},  {"0x1A", 0},
    };
    for (const auto& [text, value] : numbers) EXPECT_EQ(num::ParseLeadingDecimal(text), value) << text;
    for (const char* text :
         {"", "abc", "-", "+.", "inf", "-inf", "INFINITY", "nan", "NaN(1)", "1e999", "-1e999"})
        EXPECT_FALSE(num::ParseLeadingDecimal(text).has_value()) << text;
}

// printf under a decimal-comma locale writes "3,5"
TEST(Format, FixedPrintfStyleAndIgnoresACommaLocale) {
    EXPECT_EQ(num::FormatFixed(-0.05, 1), "-0.1");
    EXPECT_EQ(num::Format("%d%%", 5), "5%");
    const std::string longText(300, 'x');
    EXPECT_EQ(num::Format("%s!", longText.c_str()), longText + "!");
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        setenv("LOCPATH", "locales", 1);
        [[maybe_unused]] int rc = std::system(
            "mkdir -p locales && localedef -i de_DE -f UTF-8 locales/de_DE.UTF-8 >/dev/null 2>&1");
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no decimal-comma locale";
    }
    const std::string decimalPoint = std::localeconv()->decimal_point;
    const std::string got = num::FormatFixed(3.5, 1) + "|" + num::Format("%+.2f|%g", -1.25, 0.5);
    const auto parsed = num::ParseLeadingDecimal("3.5");
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(decimalPoint, ",");
    EXPECT_EQ(got, "3.5|-1.25|0.5");
    EXPECT_EQ(parsed, 3.5);
}

TEST(LangPick, ClampedIndexThenEnglishThenChinese) {
    const char* const five[] = {"zh", "en", "th", "vi", "id"};
    const char* const three[] = {"zh", "en", "th"};
    const char* const holes[] = {"zh", nullptr, "th", nullptr, "id"};
    const char* const noEnglish[] = {"zh", nullptr};
    // clang-format off
    const struct { const char* const* table; std::size_t size; int language; const char* expected; } cases[] = {
        {five, 5, 4, "id"},  {five, 5, 5, "zh"},      {five, 5, -1, "zh"},
        {three, 3, 2, "th"}, {three, 3, 3, "en"},     {holes, 5, 3, "zh"},
        {holes, 5, 4, "id"}, {noEnglish, 2, 3, "zh"}, {five, 0, 1, ""},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(std::string(lang::Pick(c.table, c.size, c.language)), c.expected)
            << c.size << " " << c.language;
    EXPECT_EQ(std::string(lang::Pick(three, 4)), "en");
    for (auto [in, out] : {std::pair{0, 0}, {4, 4}, {-1, lang::kChinese}, {5, lang::kChinese}})
        EXPECT_EQ(lang::Clamp(in), out) << in;
}

}  // namespace
