#include "platform/lang.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kFive[] = {"zh", "en", "th", "vi", "id"};
const char* const kThree[] = {"zh", "en", "th"};
const char* const kTwo[] = {"zh", "en"};
const char* const kHoles[] = {"zh", nullptr, "th", nullptr, "id"};
const char* const kNoEnglish[] = {"zh", nullptr};

TEST(LangPick, TablesAndFallbacks) {
    const struct {
        const char* const* table;
        std::size_t size;
        int language;
        const char* expected;
    } cases[] = {
        {kFive, 5, 0, "zh"},    {kFive, 5, 4, "id"},  {kFive, 5, 5, "zh"},  {kFive, 5, -1, "zh"},
        {kFive, 5, 1000, "zh"}, {kThree, 3, 2, "th"}, {kThree, 3, 3, "en"}, {kThree, 3, 4, "en"},
        {kTwo, 2, 4, "en"},     {kHoles, 5, 3, "zh"}, {kHoles, 5, 4, "id"}, {kNoEnglish, 2, 3, "zh"},
        {kFive, 0, 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(lang::Pick(c.table, c.size, c.language)), c.expected)
            << c.size << " " << c.language;
    EXPECT_EQ(std::string(lang::Pick(kThree, 4)), "en");
}

TEST(LangClamp, OutOfRangeIsChinese) {
    for (int l : {0, 1, 2, 3, 4}) EXPECT_EQ(lang::Clamp(l), l);
    for (int l : {-1, 5, 99}) EXPECT_EQ(lang::Clamp(l), lang::kChinese);
}

}  // namespace
