#include "pages/channel_frames.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/pages/hex.h"

using testhex::Hex;

namespace {

struct LimiterCase {
    const char* name;
    chan::LimiterTarget target;
    chan::LimiterValues values;
    const char* expected;
};

class LimiterFrameTest : public ::testing::TestWithParam<LimiterCase> {};

TEST_P(LimiterFrameTest, GoldenBytes) {
    const auto& c = GetParam();
    EXPECT_EQ(Hex(chan::LimiterFrame(c.target, c.values)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, LimiterFrameTest,
    ::testing::Values(
        LimiterCase{"MainReset", chan::kMainLimiter, {}, "A5 0E F1 18 04 00 00 32 00 64 00 54 05 AF"},
        LimiterCase{"MidReset", chan::kMidLimiter, {}, "A5 0E F1 18 04 00 03 32 00 64 00 54 05 B2"},
        LimiterCase{"SurroundReset", chan::kSurroundLimiter, {}, "A5 0E F1 18 04 00 04 32 00 64 00 54 05 B3"},
        LimiterCase{"BassReset", chan::kBassLimiter, {}, "A5 0E F1 18 04 00 02 32 00 64 00 54 05 B1"},
        LimiterCase{"MicReset", chan::kMicLimiter, {}, "A5 0E F1 18 02 01 01 32 00 64 00 54 05 AF"},
        // Longest release 90 x 32 = 2880 = 0x0B40; limit -34 -> 0x1E.
        LimiterCase{
            "Extremes", chan::kMainLimiter, {-34, 90, 32, 100}, "A5 0E F1 18 04 00 00 5A 00 40 0B 1E 64 E7"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoiseGate, TableEndsAndShape) {
    EXPECT_EQ(chan::kNoiseGateAmplitude[0], 32767);
    EXPECT_EQ(chan::kNoiseGateAmplitude[80], 0);
    // The last five step down by one to 0.
    for (int i = 76; i <= 80; ++i) EXPECT_EQ(chan::kNoiseGateAmplitude[static_cast<std::size_t>(i)], 80 - i);
    // Elsewhere the entries lie within a few units of 32768 x 10^(-i/20).
    for (int i = 1; i < 70; ++i) {
        const double ideal = 32768.0 * std::pow(10.0, -i / 20.0);
        EXPECT_NEAR(chan::kNoiseGateAmplitude[static_cast<std::size_t>(i)], ideal, 2.0) << "index " << i;
    }
}

TEST(NoiseGate, AmplitudeIsClampedToTheTable) {
    EXPECT_EQ(chan::NoiseGateAmplitude(-81), 0);
    EXPECT_EQ(chan::NoiseGateAmplitude(-200), 0);
    EXPECT_EQ(chan::NoiseGateAmplitude(-80), 0);
    EXPECT_EQ(chan::NoiseGateAmplitude(-40), 327);
    EXPECT_EQ(chan::NoiseGateAmplitude(0), 32767);
    EXPECT_EQ(chan::NoiseGateAmplitude(12), 32767);
}

struct GateCase {
    int start, release;
    const char* expected;
};
class NoiseGateFrameTest : public ::testing::TestWithParam<GateCase> {};
TEST_P(NoiseGateFrameTest, GoldenBytes) {
    const auto& c = GetParam();
    EXPECT_EQ(Hex(chan::NoiseGateFrame(c.start, c.release)), c.expected);
}
INSTANTIATE_TEST_SUITE_P(Pages, NoiseGateFrameTest,
                         ::testing::Values(GateCase{-60, -20, "A5 0F F1 12 01 02 20 00 20 00 CC 0C CC 0C AA"},
                                           // Reset: gate off sends amplitude 0 and byte 4 = 0.
                                           GateCase{-81, -20, "A5 0F F1 12 00 02 00 00 00 00 CC 0C CC 0C 69"},
                                           GateCase{-40, -80,
                                                    "A5 0F F1 12 01 02 47 01 47 01 00 00 00 00 4A"}));

TEST(Fbc, FramesPerMode) {
    EXPECT_EQ(Hex(chan::FbcFrame(0)), "A5 0B F1 08 02 00 03 64 0A 00 1C");
    EXPECT_EQ(Hex(chan::FbcFrame(1)), "A5 0B F1 08 02 01 03 64 07 00 1A");
    EXPECT_EQ(Hex(chan::FbcFrame(2)), "A5 0B F1 08 02 01 03 64 04 00 17");
    EXPECT_EQ(Hex(chan::FbcFrame(3)), "A5 0B F1 08 02 01 03 64 01 00 14");
    // A mode outside the list is taken as the nearest one, never read past the rows.
    EXPECT_EQ(Hex(chan::FbcFrame(9)), Hex(chan::FbcFrame(3)));
    EXPECT_EQ(Hex(chan::FbcFrame(-1)), Hex(chan::FbcFrame(0)));
}

TEST(Fbc, ModeFromPresetValues) {
    EXPECT_EQ(chan::FbcModeFromValues(1, 100, 4, 0), 2);
    EXPECT_EQ(chan::FbcModeFromValues(1, 100, 7, 0), 1);
    EXPECT_EQ(chan::FbcModeFromValues(1, 100, 1, 0), 3);
    EXPECT_EQ(chan::FbcModeFromValues(1, 100, 10, 0), 0);
    EXPECT_EQ(chan::FbcModeFromValues(0, 100, 7, 0), 0);
    EXPECT_EQ(chan::FbcModeFromValues(5, 99, 7, 0), 0);
}

TEST(EffectBlock, Golden) {
    EXPECT_EQ(Hex(chan::EffectBlockFrame({})),
              "A5 16 F1 0D 01 08 46 5A 64 C8 00 1E 64 28 3C 64 00 64 64 32 32 04");
    chan::EffectBlockValues v;
    v.echoDelay = 500;
    v.damp = 0;
    const auto f = chan::EffectBlockFrame(v);
    EXPECT_EQ(f[9], 0xF4);
    EXPECT_EQ(f[10], 0x01);
    EXPECT_EQ(f[6], 100);
    EXPECT_EQ(f[21], f.CheckSum());
    v.damp = 100;
    EXPECT_EQ(chan::EffectBlockFrame(v)[6], 0);
}

TEST(Crossover, FlatAtTheTopAndSlopeInQ) {
    EXPECT_EQ(Hex(chan::CrossoverFrame(100, 0)), "A5 11 F1 0A 09 00 0B 50 5F 64 00 32 00 08 00 04 00");
    EXPECT_EQ(Hex(chan::CrossoverFrame(300, 1)), "A5 11 F1 0A 09 00 0B 00 64 2C 01 46 00 08 00 04 00");
    EXPECT_EQ(Hex(chan::CrossoverFrame(299, 0)), "A5 11 F1 0A 09 00 0B 50 5F 2B 01 32 00 08 00 04 00");
}

TEST(BandMarks, OutOfPageGivesNoFrame) {
    ZemCmd::EqFrame base;
    EXPECT_FALSE(chan::MarkBandFrame(base, 7, 7, chan::kMainMarks).has_value());
    EXPECT_FALSE(chan::MarkBandFrame(base, -1, 7, chan::kMainMarks).has_value());
    EXPECT_TRUE(chan::MarkBandFrame(base, 6, 7, chan::kMainMarks).has_value());
}

TEST(BandMarks, MarksAndSeal) {
    // Base band-1 frame of a reset page at 200 Hz: enabled, 0 dB, Q 1.0, peaking.
    ZemCmd::EqFrame base;
    const int raw[] = {0xA5, 0x11, 0xF1, 0x0A, 0x01, 0x01, 0x01, 0x00, 0x64,
                       0xC8, 0x00, 0x64, 0x00, 0xFF, 0x00, 0x00, 0x00};
    for (int i = 0; i < 17; ++i) base[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(raw[i]);
    struct {
        chan::BandMarks marks;
        const char* expected;
    } cases[] = {
        {chan::kMainMarks, "A5 11 F1 0A 09 01 0F 00 64 C8 00 64 00 03 00 00 5D"},
        {chan::kMidMarks, "A5 11 F1 0A 09 01 0B 00 64 C8 00 64 00 04 00 00 5A"},
        {chan::kSurroundMarks, "A5 11 F1 0A 09 01 0B 00 64 C8 00 64 00 30 00 00 86"},
        {chan::kBassMarks, "A5 11 F1 0A 09 01 0B 00 64 C8 00 64 00 08 00 00 5E"},
        {chan::kEffectMarks, "A5 11 F1 0A 0F 01 0B 00 64 C8 00 64 00 FF 00 00 5B"},
        {chan::kMusicMarks, "A5 11 F1 0A 03 01 13 00 64 C8 00 64 00 03 00 00 5B"},
        {chan::kMicMarks, "A5 11 F1 0A 05 01 23 00 64 C8 00 64 00 01 00 00 6B"},
    };
    for (const auto& c : cases) EXPECT_EQ(Hex(*chan::MarkBandFrame(base, 1, 9, c.marks)), c.expected);
}

// Music band 0 at reset: off at 20 Hz, gain -24 (0x5AA0) replaced by the slope's field, Q 0.7.
ZemCmd::EqFrame MusicBand0(int hz, bool steep) {
    ZemCmd::EqFrame base;
    base[5] = 0;
    base[6] = hz == 20 ? 0 : 1;
    chan::PutLe16(base, 7, 0x5AA0);
    chan::PutLe16(base, 9, static_cast<unsigned>(hz));
    chan::PutLe16(base, 11, 70);
    base[13] = 0xFF;
    auto f = *chan::MarkBandFrame(base, 0, 9, chan::kMusicMarks);
    chan::ApplyMusicSlope(f, 0, 8, steep);
    return f;
}

TEST(MusicSlope, Band0CarriesTheSlope) {
    EXPECT_EQ(Hex(MusicBand0(20, false)), "A5 11 F1 0A 03 00 12 50 5F 14 00 46 00 03 00 00 D2");
    EXPECT_EQ(Hex(MusicBand0(120, true), 9), "A5 11 F1 0A 03 00 13 A0 5A");
}

TEST(MusicSlope, FollowUpAt24db) {
    auto f = MusicBand0(120, true);
    const auto r = chan::RewriteMusicFollowUp(f, 8, true);
    EXPECT_EQ(Hex(f), "A5 11 F1 0A 03 08 13 A0 5A 78 00 46 00 03 00 05 8F");
    EXPECT_EQ(r.reportedHz, 120);
    EXPECT_EQ(r.type, 4);
    EXPECT_TRUE(r.enabled);
    EXPECT_EQ(r.hz, 120);
}

TEST(MusicSlope, FollowUpAt12db) {
    auto f = MusicBand0(120, false);
    const auto r = chan::RewriteMusicFollowUp(f, 8, false);
    EXPECT_EQ(Hex(f), "A5 11 F1 0A 03 08 12 50 5F 78 00 46 00 03 00 05 43");
    EXPECT_EQ(r.reportedHz, 20000);
    EXPECT_EQ(r.type, 0);
    EXPECT_FALSE(r.enabled);
    EXPECT_EQ(r.hz, 120);
}

TEST(MusicSlope, LastBandEnabledBitFollowsSlope) {
    ZemCmd::EqFrame f;
    f[5] = 8;
    f[6] = 0x12;
    chan::ApplyMusicSlope(f, 8, 8, true);
    EXPECT_EQ(f[6], 0x13);
    EXPECT_EQ(f[16], f.CheckSum());
    chan::ApplyMusicSlope(f, 8, 8, false);
    EXPECT_EQ(f[6], 0x12);
    EXPECT_EQ(f[16], f.CheckSum());
}

}  // namespace
