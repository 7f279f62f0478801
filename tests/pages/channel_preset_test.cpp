#include "pages/channel_preset.h"

#include <gtest/gtest.h>

namespace {

using chan::Lines;

TEST(PresetSections, NameMatchIgnoresAsciiCaseOnly) {
    EXPECT_TRUE(chan::IsSectionName("[MAIN ALC]", "[main alc]"));
    EXPECT_TRUE(chan::IsSectionName("[Main Alc]", "[main alc]"));
    EXPECT_FALSE(chan::IsSectionName("[main alc] ", "[main alc]"));
    EXPECT_FALSE(chan::IsSectionName("[main alc]\r", "[main alc]"));
    EXPECT_FALSE(chan::IsSectionName("[main al]", "[main alc]"));
}

TEST(PresetSections, SplitDropsEmptyPieces) {
    EXPECT_EQ(chan::SplitPieces("1,,2,"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(chan::SplitPieces(",a,"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(chan::SplitPieces("").empty());
    EXPECT_TRUE(chan::SplitPieces(",,,").empty());
}

TEST(PresetSections, IntPiecesNeedExactCount) {
    EXPECT_EQ(*chan::IntPieces("10,30,4,50", 4), (std::vector<int>{10, 30, 4, 50}));
    EXPECT_EQ(*chan::IntPieces("x,-3,7y, 8", 4), (std::vector<int>{0, -3, 7, 8}));
    EXPECT_FALSE(chan::IntPieces("1,2,3,4,5", 4));
    EXPECT_FALSE(chan::IntPieces("1,2,3", 4));
}

chan::SliderBank LimiterBank() {
    chan::SliderBank bank;
    bank.Add(chan::LimiterSliders());
    return bank;
}

TEST(PresetSections, LimiterRoundTripAndClamp) {
    auto bank = LimiterBank();
    EXPECT_EQ(chan::SlidersSection("[main alc]", chan::AccessOf(bank), chan::LimiterIds()),
              "\n[main alc]\n20,50,2,5\n");
    const Lines lines = {"[MAIN ALC]", "10,30,4,50", "[main alc]", "1,2,3,4,5"};
    EXPECT_TRUE(chan::LoadSlidersSection(lines, "[main alc]", chan::AccessOf(bank), chan::LimiterIds()));
    EXPECT_EQ(chan::SlidersSection("[main alc]", chan::AccessOf(bank), chan::LimiterIds()),
              "\n[main alc]\n10,30,4,50\n");
    // Out-of-range values are clamped like the track bar does.
    chan::LoadSlidersSection({"[main alc]", "100,0,99,-5"}, "[main alc]", chan::AccessOf(bank),
                             chan::LimiterIds());
    EXPECT_EQ(chan::SlidersSection("[main alc]", chan::AccessOf(bank), chan::LimiterIds()),
              "\n[main alc]\n20,1,32,0\n");
}

TEST(PresetSections, SectionOnLastLineIsIgnored) {
    auto bank = LimiterBank();
    EXPECT_FALSE(chan::LoadSlidersSection({"x", "[main alc]"}, "[main alc]", chan::AccessOf(bank),
                                          chan::LimiterIds()));
    EXPECT_FALSE(chan::LoadMuteSection({"[main mute]"}, "[main mute]", 3).has_value());
}

TEST(PresetSections, MuteIsMaskedToThePagesBits) {
    struct {
        const char* line;
        int mask;
        std::optional<int> expected;
    } cases[] = {
        {"3", 3, 3}, {"2", 3, 2}, {"255", 3, 3}, {"7", 1, 1}, {"-1", 1, 1}, {"1,2", 3, std::nullopt},
        {"x", 3, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chan::LoadMuteSection({"[surround mute]", c.line}, "[surround mute]", c.mask), c.expected)
            << c.line;
    EXPECT_EQ(chan::MuteSection("[mid mute]", 1), "\n[mid mute]\n1\n");
}

TEST(PresetSections, WholeLineInteger) {
    chan::SliderBank bank;
    bank.Add(chan::EffectSliders());
    const Lines lines = {"[effect echo high pass]", "abc", "[EFFECT REVERB HIGH PASS]", "5000"};
    chan::LoadWholeLineSection(lines, "[effect echo high pass]", chan::AccessOf(bank),
                               chan::fx::kEchoHighPass);
    chan::LoadWholeLineSection(lines, "[effect reverb high pass]", chan::AccessOf(bank),
                               chan::fx::kReverbHighPass);
    EXPECT_EQ(bank.Get(chan::fx::kEchoHighPass), 20);
    EXPECT_EQ(bank.Get(chan::fx::kReverbHighPass), 1000);
}

TEST(SliderTable, ValueTexts) {
    using chan::ValueText;
    EXPECT_EQ(chan::FormatValue(ValueText::HighPassHz, 20), "OFF");
    EXPECT_EQ(chan::FormatValue(ValueText::HighPassHz, 30), "30Hz");
    EXPECT_EQ(chan::FormatValue(ValueText::LowPassHz, 20000), "OFF");
    EXPECT_EQ(chan::FormatValue(ValueText::LowPassHz, 10000), "10000Hz");
    EXPECT_EQ(chan::FormatValue(ValueText::GateStart, -81), "Off");
    EXPECT_EQ(chan::FormatValue(ValueText::GateStart, -80), "-80db");
    EXPECT_EQ(chan::FormatValue(ValueText::Attack, 2), "Atk x 2");
    EXPECT_EQ(chan::FormatValue(ValueText::Percent, 5), "5%");
    EXPECT_EQ(chan::FormatValue(ValueText::Ms, 90), "90ms");
}

TEST(SliderTable, EffectDefaultsMatchTheBlockFrame) {
    chan::SliderBank bank;
    bank.Add(chan::EffectSliders());
    EXPECT_EQ(bank.Ids().size(), 17u);
    for (const auto& s : chan::EffectSliders()) {
        EXPECT_LE(s.min, s.def) << s.id;
        EXPECT_LE(s.def, s.max) << s.id;
        EXPECT_EQ(s.captions.size() == 3, s.id == chan::fx::kEchoInDry || s.id == chan::fx::kEchoInReverb)
            << s.id;
    }
    EXPECT_EQ(bank.Set(chan::fx::kEchoLowPass, 100), 5000);
    EXPECT_EQ(bank.Set(12345, 1), 0);
}

}  // namespace
