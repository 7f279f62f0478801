#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace {

TEST(ParseLeadingInt, AsTheRuntimeReadsIt) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"1000 Hz", 1000},
        {"  -42x", -42},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"\t12", 12},
        {"70.5", 70},
        {"0x10", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
        {"- 5", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(num::ParseLeadingInt(c.text), c.value) << c.text;
}

TEST(HasLeadingInt, DigitsAfterBlanksAndSign) {
    EXPECT_TRUE(num::HasLeadingInt(" -0"));
    EXPECT_TRUE(num::HasLeadingInt("5dB"));
    EXPECT_FALSE(num::HasLeadingInt("dB5"));
    EXPECT_FALSE(num::HasLeadingInt("+"));
    EXPECT_FALSE(num::HasLeadingInt(""));
    EXPECT_FALSE(num::HasLeadingInt(".5"));
}

TEST(ParseLeadingDecimal, Numbers) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"+3.5 dB", 3.5}, {"-3.51", -3.51}, {".5", 0.5},      {"5.", 5.0}, {"1e2", 100}, {"1e", 1},
        {"1e+", 1},       {"2E-1x", 0.2},   {"  0.0dB", 0.0}, {"-0", 0.0}, {"12,5", 12}, {"007", 7},
    };
    for (const auto& c : cases) {
        const auto v = num::ParseLeadingDecimal(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
}

TEST(ParseLeadingDecimal, RefusesNonNumbers) {
    for (const char* text :
         {"", "abc", "-", "+.", ".", "inf", "-inf", "INFINITY", "nan", "NaN(1)", "1e999", "-1e999"})
        EXPECT_FALSE(num::ParseLeadingDecimal(text).has_value()) << text;
    // Hex reads only its leading zero.
    EXPECT_EQ(num::ParseLeadingDecimal("0x1A"), 0.0);
}

TEST(Format, FixedAndPrintfStyle) {
    EXPECT_EQ(num::FormatFixed(3.5, 1), "3.5");
    EXPECT_EQ(num::FormatFixed(-0.05, 1), "-0.1");
    EXPECT_EQ(num::Format("%+.1f dB", 3.5), "+3.5 dB");
    EXPECT_EQ(num::Format("%d%%", 5), "5%");
    EXPECT_EQ(num::Format("%1.1f", 0.4), "0.4");
    const std::string longText(300, 'x');
    EXPECT_EQ(num::Format("%s!", longText.c_str()), longText + "!");
}

// Under a decimal-comma locale printf writes "3,5"; our formatting must not.
TEST(Format, IgnoresACommaLocale) {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        setenv("LOCPATH", "locales", 1);
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
            [[maybe_unused]] int rc = std::system(
                "mkdir -p locales && localedef -i de_DE -f UTF-8 locales/de_DE.UTF-8 >/dev/null 2>&1");
            if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
                GTEST_SKIP() << "no decimal-comma locale available";
        }
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    const std::string fixed = num::FormatFixed(3.5, 1);
    const std::string printed = num::Format("%.2f|%g", -1.25, 0.5);
    const auto parsed = num::ParseLeadingDecimal("3.5");
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(fixed, "3.5");
    EXPECT_EQ(printed, "-1.25|0.5");
    EXPECT_EQ(parsed, 3.5);
}

}  // namespace
