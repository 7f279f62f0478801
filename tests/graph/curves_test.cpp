// Per-band curve cache: what contributes to the sum, and that only changed bands are recomputed.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/graph_curves.h"
#include "controls/response.h"

using controls::GraphCurve;
using controls::GraphCurves;

namespace {

GraphCurve FlatCurve() {
    GraphCurve c{};
    for (int k = 0; k < controls::kGraphBands; ++k) {
        c.freq[k] = 1000;
        c.q[k] = 1.0f;
        c.type[k] = 1;
        c.shown[k] = 1;
    }
    return c;
}

std::vector<float> Response(float freq, float gain, float q, int type, int n) {
    controls::BandResponse r;
    r.freq = freq;
    r.gain = gain;
    r.q = q;
    r.type = type;
    r.sampleRate = 48000;
    std::vector<float> db(n);
    controls::CalcBiquadResponse(r, db.data(), n);
    return db;
}

TEST(GraphCurves, SumOfTwoBandsIsPointwise) {
    GraphCurve c = FlatCurve();
    c.gain[3] = 6.0f;
    c.gain[7] = -4.0f;
    c.freq[7] = 5000;
    c.q[7] = 2.0f;
    GraphCurves curves;
    ASSERT_TRUE(curves.Update(c, 300));
    const auto a = Response(1000, 6, 1, 1, 300), b = Response(5000, -4, 2, 1, 300);
    ASSERT_EQ(curves.Sum().size(), 300u);
    for (int i = 0; i < 300; ++i) EXPECT_NEAR(curves.Sum()[i], a[i] + b[i], 1e-4) << i;
}

TEST(GraphCurves, HiddenEmptyAndEnabledFlags) {
    struct Case {
        const char* name;
        void (*edit)(GraphCurve&);
        bool adds;
    } cases[] = {
        {"shown", [](GraphCurve&) {}, true},
        {"hidden", [](GraphCurve& c) { c.shown[5] = 0; }, false},
        {"0 Hz slot", [](GraphCurve& c) { c.freq[5] = 0; }, false},
        {"disabled still drawn", [](GraphCurve& c) { c.enabled[5] = 0; }, true},
    };
    for (const auto& cs : cases) {
        GraphCurve c = FlatCurve();
        c.gain[5] = 9.0f;
        c.type[5] = 1;
        cs.edit(c);
        GraphCurves curves;
        curves.Update(c, 200);
        float peak = 0;
        for (float v : curves.Sum()) peak = std::max(peak, v);
        EXPECT_EQ(peak > 8.0f, cs.adds) << cs.name << " peak " << peak;
    }
}

TEST(GraphCurves, OnlyTheChangedBandIsRecomputed) {
    GraphCurve c = FlatCurve();
    GraphCurves curves;
    curves.Update(c, 400);
    EXPECT_EQ(curves.BandComputations(), 17u);
    const auto v = curves.Version();

    EXPECT_FALSE(curves.Update(c, 400));
    EXPECT_EQ(curves.BandComputations(), 17u);
    EXPECT_EQ(curves.Version(), v);

    c.gain[4] = 3.0f;
    EXPECT_TRUE(curves.Update(c, 400));
    EXPECT_EQ(curves.BandComputations(), 18u);
    c.freq[4] = 300;
    c.q[9] = 4.0f;
    curves.Update(c, 400);
    EXPECT_EQ(curves.BandComputations(), 20u);

    // A NaN gain is not recomputed on every repaint.
    c.gain[2] = NAN;
    curves.Update(c, 400);
    curves.Update(c, 400);
    EXPECT_EQ(curves.BandComputations(), 21u);

    // A new width recomputes everything.
    curves.Update(c, 401);
    EXPECT_EQ(curves.BandComputations(), 38u);
}

TEST(GraphCurves, WidePlotsAreSampledAndInterpolated) {
    GraphCurve c = FlatCurve();
    c.gain[1] = 8.0f;
    GraphCurves curves;
    curves.Update(c, 4000);
    ASSERT_EQ(curves.Sum().size(), 4000u);
    const auto ref = Response(1000, 8, 1, 1, 2000);
    // Column 2x+1 of 4000 is point 2x+2 of 4000 = point x+1 of 2000.
    for (int x = 0; x < 2000; x += 97) EXPECT_NEAR(curves.Sum()[2 * x + 1], ref[x], 1e-4) << x;
    // Columns in between lie between their neighbours.
    for (int x = 2; x < 3998; x += 101) {
        const float a = curves.Sum()[x - 1], b = curves.Sum()[x + 1], m = curves.Sum()[x];
        EXPECT_GE(m, std::min(a, b) - 1e-4) << x;
        EXPECT_LE(m, std::max(a, b) + 1e-4) << x;
    }
}

TEST(GraphCurves, ZeroColumnsIsEmpty) {
    GraphCurves curves;
    curves.Update(FlatCurve(), 0);
    EXPECT_TRUE(curves.Sum().empty());
    EXPECT_EQ(curves.BandComputations(), 0u);
}

}  // namespace
