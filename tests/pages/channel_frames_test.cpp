#include "pages/channel_frames.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/pages/hex.h"

using testhex::Hex;

namespace {

TEST(ChannelFrames, LimiterGateFbcCrossoverGolden) {
    chan::EffectBlockValues damp100;
    damp100.damp = 100;  // sent as 100 - damp
    const std::pair<ZemCmd::Cmd, const char*> cases[] = {
        // clang-format off
        // release 90 x 32 = 0x0B40, limit -34 -> 0x1E
        {chan::LimiterFrame(chan::kMainLimiter, {-34, 90, 32, 100}), "A5 0E F1 18 04 00 00 5A 00 40 0B 1E 64 E7"},
        {chan::NoiseGateFrame(-40, -80), "A5 0F F1 12 01 02 47 01 47 01 00 00 00 00 4A"},
        {chan::FbcFrame(1), "A5 0B F1 08 02 01 03 64 07 00 1A"},
        {chan::FbcFrame(3), "A5 0B F1 08 02 01 03 64 01 00 14"},
        {chan::FbcFrame(9), "A5 0B F1 08 02 01 03 64 01 00 14"},  // past the rows: the nearest one
        {chan::FbcFrame(-1), "A5 0B F1 08 02 00 03 64 0A 00 1C"},
        {chan::CrossoverFrame(100, 0), "A5 11 F1 0A 09 00 0B 50 5F 64 00 32 00 08 00 04 00"},
        {chan::CrossoverFrame(299, 0), "A5 11 F1 0A 09 00 0B 50 5F 2B 01 32 00 08 00 04 00"},
        {chan::EffectBlockFrame(damp100), "A5 16 F1 0D 01 08 00 5A 64 C8 00 1E 64 28 3C 64 00 64 64 32 32 BE"},
        // clang-format on
    };
    for (const auto& [frame, expected] : cases) EXPECT_EQ(Hex(frame), expected);
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
        EXPECT_EQ(chan::NoiseGateAmplitude(level), amplitude) << level;
}

TEST(Fbc, ModeFromPresetValues) {
    // clang-format off
    const struct { int on, level, step, mode; } cases[] = {
        {1, 100, 4, 2},  {1, 100, 7, 1}, {1, 100, 1, 3},
        {1, 100, 10, 0}, {0, 100, 7, 0}, {5, 99, 7, 0}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(chan::FbcModeFromValues(c.on, c.level, c.step, 0), c.mode) << c.step;
}

}  // namespace
