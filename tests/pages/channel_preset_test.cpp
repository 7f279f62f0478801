#include "pages/channel_preset.h"

#include <gtest/gtest.h>

namespace {

using chan::Lines;

TEST(PresetSections, NamesPiecesAndExactCounts) {
    EXPECT_TRUE(chan::IsSectionName("[Main ALC]", "[main alc]"));
    for (const char* other : {"[main alc] ", "[main alc]\r", "[main al]"})
        EXPECT_FALSE(chan::IsSectionName(other, "[main alc]")) << other;
    using V = std::vector<std::string>;
    for (const auto& [text, pieces] :
         {std::pair<const char*, V>{"1,,2,", {"1", "2"}}, {",a,", {"a"}}, {"", {}}, {",,,", {}}})
        EXPECT_EQ(chan::SplitPieces(text), pieces) << text;
    EXPECT_EQ(*chan::IntPieces("x,-3,7y, 8", 4), (std::vector<int>{0, -3, 7, 8}));
    EXPECT_FALSE(chan::IntPieces("1,2,3,4,5", 4));
    EXPECT_FALSE(chan::IntPieces("1,2,3", 4));
}

TEST(PresetSections, SlidersLaterSectionWinsClampedAndLastLineIgnored) {
    chan::SliderBank bank;
    bank.Add(chan::LimiterSliders());
    auto load = [&](const Lines& lines) {
        return chan::LoadSlidersSection(lines, "[main alc]", chan::AccessOf(bank), chan::LimiterIds());
    };
    auto text = [&] { return chan::SlidersSection("[main alc]", chan::AccessOf(bank), chan::LimiterIds()); };
    EXPECT_EQ(text(), "\n[main alc]\n20,50,2,5\n");
    EXPECT_TRUE(load({"[MAIN ALC]", "10,30,4,50", "[main alc]", "1,2,3,4,5"}));
    EXPECT_EQ(text(), "\n[main alc]\n10,30,4,50\n");
    load({"[main alc]", "100,0,99,-5"});  // clamped like the track bar
    EXPECT_EQ(text(), "\n[main alc]\n20,1,32,0\n");
    EXPECT_FALSE(load({"x", "[main alc]"}));
    EXPECT_FALSE(chan::LoadMuteSection({"[main mute]"}, "[main mute]", 3).has_value());
}

TEST(PresetSections, MuteIsMaskedToThePagesBits) {
    // clang-format off
    const struct { const char* line; int mask; std::optional<int> expected; } cases[] = {
        {"3", 3, 3}, {"2", 3, 2}, {"255", 3, 3}, {"7", 1, 1}, {"-1", 1, 1}, {"1,2", 3, std::nullopt},
        {"x", 3, 0}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(chan::LoadMuteSection({"[surround mute]", c.line}, "[surround mute]", c.mask), c.expected)
            << c.line;
    EXPECT_EQ(chan::MuteSection("[mid mute]", 1), "\n[mid mute]\n1\n");
}

TEST(SliderTable, ValueTextsAndEffectTable) {
    using chan::ValueText;
    // clang-format off
    const struct { ValueText format; int pos; const char* text; } cases[] = {
        {ValueText::LowPassHz, 20000, "OFF"}, {ValueText::GateStart, -81, "Off"}, {ValueText::GateStart, -80, "-80db"},
        {ValueText::Attack, 2, "Atk x 2"}, {ValueText::Percent, 5, "5%"}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(chan::FormatValue(c.format, c.pos), c.text);
    chan::SliderBank bank;
    bank.Add(chan::EffectSliders());
    EXPECT_EQ(bank.Ids().size(), 17u);
    for (const auto& s : chan::EffectSliders()) {
        EXPECT_TRUE(s.min <= s.def && s.def <= s.max) << s.id;
        EXPECT_EQ(s.captions.size() == 3, s.id == chan::fx::kEchoInDry || s.id == chan::fx::kEchoInReverb)
            << s.id;
    }
    EXPECT_EQ(bank.Set(chan::fx::kEchoLowPass, 100), 5000);
    EXPECT_EQ(bank.Set(12345, 1), 0);
}

}  // namespace
