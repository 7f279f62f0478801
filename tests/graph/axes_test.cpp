// Axis mapping of the graph: columns, frequencies, rows and gains at known sizes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "controls/graph_axes.h"

using controls::GraphAxes;

namespace {

// 640 x 400 with a 40-pixel margin: plot 600 wide (200 px per decade), 10 px per dB, 0 dB at 140.
const GraphAxes kAxes(640, 400, 40);

TEST(GraphAxes, GeometryOfTheReferenceSize) {
    EXPECT_EQ(kAxes.PlotWidth(), 600);
    EXPECT_EQ(kAxes.Y0(), 140);
    EXPECT_EQ(kAxes.RowInt(), 20);
}

TEST(GraphAxes, FreqToXTable) {
    struct Case {
        int freq;
        int x;
    } cases[] = {
        {20, 0},
        {100, 139},
        {1000, 339},
        {20000, 599},
        // Held to 20..20000 Hz: nothing left of the plot or past its end, and no log of 0.
        {0, 0},
        {-5, 0},
        {10, 0},
        {INT_MAX, 599},
    };
    for (const auto& c : cases) {
        // 20 kHz lands on the last column or one past it, depending on rounding of log10.
        if (c.freq >= 20000) {
            EXPECT_GE(kAxes.FreqToX(c.freq), 599) << c.freq;
            EXPECT_LE(kAxes.FreqToX(c.freq), 600) << c.freq;
        } else {
            EXPECT_EQ(kAxes.FreqToX(c.freq), c.x) << c.freq;
        }
    }
}

TEST(GraphAxes, XToFreqTable) {
    struct Case {
        int x;
        int freq;
    } cases[] = {{0, 20}, {339, 990}, {600, 20000}, {-1000, 0}};
    for (const auto& c : cases) {
        const int f = kAxes.XToFreq(c.x);
        if (c.x == 600) {
            EXPECT_NEAR(f, c.freq, 1) << c.x;  // 10^4.30103 truncates to 19999 or 20000
        } else {
            EXPECT_EQ(f, c.freq) << c.x;
        }
    }
}

TEST(GraphAxes, XToFreqSaturatesFarOutside) {
    EXPECT_EQ(kAxes.XToFreq(INT_MAX / 2), INT_MAX);
    EXPECT_EQ(kAxes.XToFreq(100000), INT_MAX);
    EXPECT_EQ(kAxes.XToFreq(INT_MIN / 2), 0);
}

TEST(GraphAxes, GainRowsTable) {
    struct Case {
        float gain;
        int dy;
    } cases[] = {
        {0.0f, 0},
        {6.0f, 60},
        {-3.0f, -30},
        {12.0f, 120},
        {-24.0f, -240},
        {0.25f, 2},
        // Non-finite gains count as 0 dB; huge ones are held at 1000 dB.
        {NAN, 0},
        {INFINITY, 0},
        {-INFINITY, 0},
        {1e30f, 10000},
        {-1e30f, -10000},
    };
    for (const auto& c : cases) EXPECT_EQ(kAxes.GainToY(c.gain), c.dy) << c.gain;
}

TEST(GraphAxes, YToGainTable) {
    struct Case {
        int y;
        float gain;
    } cases[] = {{140, 0.0f}, {80, 6.0f}, {170, -3.0f}, {0, 14.0f}, {400, -26.0f}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(kAxes.YToGain(c.y), c.gain) << c.y;
}

TEST(GraphAxes, RoundTripLosesAtMostOneColumn) {
    for (int width : {300, 817, 1600}) {
        const GraphAxes axes(width + 37, 300, 37);
        for (int f : {25, 100, 440, 1000, 6300, 15000}) {
            const int back = axes.XToFreq(axes.FreqToX(f));
            EXPECT_LE(back, f) << width << " " << f;
            EXPECT_GE(back, f * std::pow(10.0, -3.0 / width) - 1) << width << " " << f;
        }
    }
}

TEST(GraphAxes, DegenerateSizesStayFinite) {
    const GraphAxes none(10, 0, 40);  // margin wider than the control, no height
    EXPECT_TRUE(none.PlotTooNarrow());
    EXPECT_EQ(none.FreqToX(1000), 0);
    EXPECT_EQ(none.XToFreq(50), 20);
    EXPECT_EQ(none.YToGain(10), 0.0f);
    EXPECT_EQ(none.GainToY(12.0f), 0);
    EXPECT_FALSE(GraphAxes(42, 100, 40).PlotTooNarrow());
    EXPECT_TRUE(GraphAxes(41, 100, 40).PlotTooNarrow());
}

TEST(GraphAxes, Clamps) {
    EXPECT_EQ(controls::ClampFreq(5), 20);
    EXPECT_EQ(controls::ClampFreq(25000), 20000);
    EXPECT_EQ(controls::ClampFreq(440), 440);
    EXPECT_EQ(controls::ClampGain(13.0f), 12.0f);
    EXPECT_EQ(controls::ClampGain(-30.0f), -24.0f);
    EXPECT_EQ(controls::ClampGain(NAN), 0.0f);
}

}  // namespace
