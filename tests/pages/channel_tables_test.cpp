#include <gtest/gtest.h>

#include <cmath>

#include "pages/channel_frames.h"
#include "pages/channel_preset.h"
#include "tests/pages/hex.h"

using testhex::Hex;

namespace {

TEST(ChannelFrames, LimiterGateFbcCrossoverGolden) {
    chan::EffectBlockValues damp100;
    damp100.damp = 100;  // sent as 100 - damp
    const struct {
        const char* name;
        ZemCmd::Cmd frame;
        const char* hex;
    } cases[] = {
        // clang-format off
        // release 90 x 32 = 0x0B40, limit -34 -> 0x1E
        {"main limiter", chan::LimiterFrame(chan::kMainLimiter, {-34, 90, 32, 100}), "A5 0E F1 18 04 00 00 5A 00 40 0B 1E 64 E7"},
        {"noise gate", chan::NoiseGateFrame(-40, -80), "A5 0F F1 12 01 02 47 01 47 01 00 00 00 00 4A"},
        {"FBC mode 1", chan::FbcFrame(1), "A5 0B F1 08 02 01 03 64 07 00 1A"},
        {"FBC mode 3", chan::FbcFrame(3), "A5 0B F1 08 02 01 03 64 01 00 14"},
        {"FBC mode 9, past the rows: the nearest one", chan::FbcFrame(9), "A5 0B F1 08 02 01 03 64 01 00 14"},
        {"FBC mode -1", chan::FbcFrame(-1), "A5 0B F1 08 02 00 03 64 0A 00 1C"},
        {"crossover 100 Hz", chan::CrossoverFrame(100, 0), "A5 11 F1 0A 09 00 0B 50 5F 64 00 32 00 08 00 04 00"},
        {"crossover 299 Hz", chan::CrossoverFrame(299, 0), "A5 11 F1 0A 09 00 0B 50 5F 2B 01 32 00 08 00 04 00"},
        {"effect block, damp 100", chan::EffectBlockFrame(damp100), "A5 16 F1 0D 01 08 00 5A 64 C8 00 1E 64 28 3C 64 00 64 64 32 32 BE"},
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(Hex(c.frame), c.hex) << c.name;
}

TEST(NoiseGate, AmplitudeTableAndClamp) {
    // 32768 x 10^(-i/20), the last five stepping down to 0
    EXPECT_EQ(chan::kNoiseGateAmplitude[0], 32767);
    for (int i = 76; i <= 80; ++i) EXPECT_EQ(chan::kNoiseGateAmplitude[static_cast<std::size_t>(i)], 80 - i);
    for (int i = 1; i < 70; ++i)
        EXPECT_NEAR(chan::kNoiseGateAmplitude[static_cast<std::size_t>(i)],
                    32768.0 * std::pow(10.0, -i / 20.0), 2.0)
            << i;
    for (auto [level, amplitude] :
         {std::pair{-81, 0}, {-200, 0}, {-80, 0}, {-40, 327}, {0, 32767}, {12, 32767}})
        EXPECT_EQ(chan::NoiseGateAmplitude(level), amplitude) << "level " << level << " db";
}

TEST(Fbc, ModeFromPresetValues) {
    // clang-format off
    const struct { const char* name; int on, level, step, mode; } cases[] = {
        {"step 4", 1, 100, 4, 2},  {"step 7", 1, 100, 7, 1}, {"step 1", 1, 100, 1, 3},
        {"step 10", 1, 100, 10, 0}, {"off", 0, 100, 7, 0}, {"other on and level", 5, 99, 7, 0}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(chan::FbcModeFromValues(c.on, c.level, c.step, 0), c.mode) << c.name;
}

using chan::Lines;

TEST(PresetSections, NamesPiecesAndExactCounts) {
    EXPECT_TRUE(chan::IsSectionName("[Main ALC]", "[main alc]"));
    for (const char* other : {"[main alc] ", "[main alc]\r", "[main al]"})
        EXPECT_FALSE(chan::IsSectionName(other, "[main alc]")) << other;
    using V = std::vector<std::string>;
    for (const auto& [text, pieces] :
         {std::pair<const char*, V>{"1,,2,", {"1", "2"}}, {",a,", {"a"}}, {"", {}}, {",,,", {}}})
        EXPECT_EQ(chan::SplitPieces(text), pieces) << "pieces of \"" << text << '"';
    EXPECT_EQ(*chan::IntPieces("x,-3,7y, 8", 4), (std::vector<int>{0, -3, 7, 8})) << "leading integers, else 0";
    EXPECT_FALSE(chan::IntPieces("1,2,3,4,5", 4)) << "one piece too many";
    EXPECT_FALSE(chan::IntPieces("1,2,3", 4)) << "one piece too few";
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

TEST(PresetSections, AValueLineMissingLeavesTheValueAndTheNextSectionAlone) {
    chan::SliderBank bank;
    bank.Add(chan::LimiterSliders());
    EXPECT_FALSE(chan::LoadSlidersSection({"[main alc]", "[main mute]", "1"}, "[main alc]",
                                          chan::AccessOf(bank), chan::LimiterIds()));
    EXPECT_FALSE(chan::LoadMuteSection({"[main mute]", "[next]", "2"}, "[main mute]", 3).has_value())
        << "a header was read as the mute word 0";
    EXPECT_FALSE(chan::LoadWholeLineSection({"[effect echo high pass]", "[effect echo low pass]", "900"},
                                            "[effect echo high pass]", chan::AccessOf(bank),
                                            chan::id::kLimit));
    EXPECT_EQ(chan::LoadMuteSection({"[main mute]", "[next]", "[main mute]", "1"}, "[main mute]", 3), 1);
}

TEST(PresetSections, MuteIsMaskedToThePagesBits) {
    // clang-format off
    const struct { const char* line; int mask; std::optional<int> expected; } cases[] = {
        {"3", 3, 3}, {"2", 3, 2}, {"255", 3, 3}, {"7", 1, 1}, {"-1", 1, 1}, {"1,2", 3, std::nullopt},
        {"x", 3, 0}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(chan::LoadMuteSection({"[surround mute]", c.line}, "[surround mute]", c.mask), c.expected)
            << "line \"" << c.line << "\", page mask " << c.mask;
    EXPECT_EQ(chan::MuteSection("[mid mute]", 1), "\n[mid mute]\n1\n");
}

TEST(SliderTable, ValueTextsAndEffectTable) {
    using chan::ValueText;
    // clang-format off
    const struct { ValueText format; int pos; const char* text; } cases[] = {
        {ValueText::LowPassHz, 20000, "OFF"}, {ValueText::GateStart, -81, "Off"}, {ValueText::GateStart, -80, "-80db"},
        {ValueText::Attack, 2, "Atk x 2"}, {ValueText::Percent, 5, "5%"}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(chan::FormatValue(c.format, c.pos), c.text)
            << "format " << static_cast<int>(c.format) << " at " << c.pos;
    chan::SliderBank bank;
    bank.Add(chan::EffectSliders());
    EXPECT_EQ(bank.Ids().size(), 17u);
    for (const auto& s : chan::EffectSliders()) {
        EXPECT_LE(s.min, s.def) << "slider " << s.id << ": default below the range";
        EXPECT_LE(s.def, s.max) << "slider " << s.id << ": default above the range";
        const bool echoIn = s.id == chan::fx::kEchoInDry || s.id == chan::fx::kEchoInReverb;
        EXPECT_EQ(s.captions.size() == 3, echoIn)
            << "slider " << s.id << ": three captions exactly on the echo-in sliders";
    }
    EXPECT_EQ(bank.Set(chan::fx::kEchoLowPass, 100), 5000);
    EXPECT_EQ(bank.Set(12345, 1), 0);
}

}  // namespace
