// Axis mapping at known sizes and the per-band curve cache.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "controls/graph_axes.h"
#include "controls/graph_curves.h"
#include "controls/response.h"

using namespace controls;

namespace {

// 640 x 400 with a 40-pixel margin: plot 600 wide (200 px per decade), 10 px per dB, 0 dB at 140.
const GraphAxes kAxes(640, 400, 40);

TEST(GraphAxes, ReferenceSizeMappings) {
    EXPECT_EQ(std::make_tuple(kAxes.PlotWidth(), kAxes.Y0(), kAxes.RowInt()), std::make_tuple(600, 140, 20));
    // Held to 20..20000 Hz (no log of 0); slack 1 where log10 rounding decides the column.
    const struct {
        int freq, x, slack;
    } freqs[] = {{20, 0, 0}, {100, 139, 0}, {1000, 339, 0}, {20000, 599, 1},
                 {0, 0, 0},  {-5, 0, 0},    {10, 0, 0},     {INT_MAX, 599, 1}};
    for (const auto& c : freqs) {
        EXPECT_GE(kAxes.FreqToX(c.freq), c.x) << c.freq;
        EXPECT_LE(kAxes.FreqToX(c.freq), c.x + c.slack) << c.freq;
    }
    // Far outside saturates instead of overflowing.
    struct XCase {
        int x, freq, slack;
    } xs[] = {{0, 20, 0},         {339, 990, 0},        {600, 20000, 1},
              {-1000, 0, 0},      {100000, INT_MAX, 0}, {INT_MAX / 2, INT_MAX, 0},
              {INT_MIN / 2, 0, 0}};
    for (const auto& c : xs) EXPECT_NEAR(kAxes.XToFreq(c.x), c.freq, c.slack) << c.x;
    // Non-finite gains count as 0 dB; huge ones are held at 1000 dB.
    const std::pair<float, int> gains[] = {{0.0f, 0},      {6.0f, 60},     {-3.0f, -30},    {12.0f, 120},
                                           {-24.0f, -240}, {0.25f, 2},     {NAN, 0},        {INFINITY, 0},
                                           {-INFINITY, 0}, {1e30f, 10000}, {-1e30f, -10000}};
    for (const auto& [gain, dy] : gains) EXPECT_EQ(kAxes.GainToY(gain), dy) << gain;
    const std::pair<int, float> rows[] = {{140, 0.0f}, {80, 6.0f}, {170, -3.0f}, {0, 14.0f}, {400, -26.0f}};
    for (const auto& [y, gain] : rows) EXPECT_FLOAT_EQ(kAxes.YToGain(y), gain) << y;
}

TEST(GraphAxes, DegenerateSizes) {
    const GraphAxes none(10, 0, 40);  // margin wider than the control, no height
    EXPECT_EQ(std::make_tuple(none.PlotTooNarrow(), none.FreqToX(1000), none.XToFreq(50), none.YToGain(10),
                              none.GainToY(12.0f), GraphAxes(42, 100, 40).PlotTooNarrow()),
              std::make_tuple(true, 0, 20, 0.0f, 0, false));
}

GraphCurve FlatCurve() {
    GraphCurve c{};
    for (int k = 0; k < kGraphBands; ++k) c.freq[k] = 1000, c.q[k] = 1.0f, c.type[k] = 1, c.shown[k] = 1;
    return c;
}

std::vector<float> Response(float freq, float gain, float q, int n) {
    BandResponse r;
    r.freq = freq, r.gain = gain, r.q = q, r.type = 1, r.sampleRate = 48000;
    std::vector<float> db(n);
    CalcBiquadResponse(r, db.data(), n);
    return db;
}

TEST(GraphCurves, SumIsPointwiseAndWidePlotsAreInterpolated) {
    GraphCurve c = FlatCurve();
    c.gain[3] = 6.0f, c.gain[7] = -4.0f, c.freq[7] = 5000, c.q[7] = 2.0f;
    GraphCurves curves;
    ASSERT_TRUE(curves.Update(c, 300));
    const auto a = Response(1000, 6, 1, 300), b = Response(5000, -4, 2, 300);
    ASSERT_EQ(curves.Sum().size(), 300u);
    for (int i = 0; i < 300; ++i) EXPECT_NEAR(curves.Sum()[i], a[i] + b[i], 1e-4) << i;

    c = FlatCurve();
    c.gain[1] = 8.0f;
    curves.Update(c, 4000);
    const auto& sum = curves.Sum();
    ASSERT_EQ(sum.size(), 4000u);
    const auto ref = Response(1000, 8, 1, 2000);
    // Column 2x+1 of 4000 is point x+1 of 2000; columns in between lie between their neighbours.
    for (int x = 0; x < 2000; x += 97) EXPECT_NEAR(sum[2 * x + 1], ref[x], 1e-4) << x;
    for (int x = 2; x < 3998; x += 101) {
        EXPECT_GE(sum[x], std::min(sum[x - 1], sum[x + 1]) - 1e-4) << x;
        EXPECT_LE(sum[x], std::max(sum[x - 1], sum[x + 1]) + 1e-4) << x;
    }
    curves.Update(FlatCurve(), 0);
    EXPECT_TRUE(curves.Sum().empty());
}

TEST(GraphCurves, HiddenAndEmptyBandsAddNothingDisabledOnesDo) {
    // clang-format off
    const struct { const char* name; int shown, freq, enabled; bool adds; } cases[] = {
        {"shown", 1, 1000, 1, true}, {"hidden", 0, 1000, 1, false}, {"0 Hz slot", 1, 0, 1, false},
        {"disabled", 1, 1000, 0, true}};
    // clang-format on
    for (const auto& cs : cases) {
        GraphCurve c = FlatCurve();
        c.gain[5] = 9.0f, c.shown[5] = cs.shown, c.freq[5] = cs.freq, c.enabled[5] = cs.enabled;
        GraphCurves curves;
        curves.Update(c, 200);
        EXPECT_EQ(*std::max_element(curves.Sum().begin(), curves.Sum().end()) > 8.0f, cs.adds) << cs.name;
    }
}

}  // namespace
