// Response curves checked against |H(e^jw)| evaluated with complex arithmetic from the stored
// coefficients, and the coefficients against closed-form gains at the centre frequency.
#include "controls/response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

namespace {

using controls::BandResponse;
using controls::CalcBiquadResponse;

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 48000;
constexpr double kTolDb = 1e-3;

BandResponse Band(int type, float freq, float gain, float q, int rate = kRate) {
    BandResponse b;
    b.freq = freq;
    b.gain = gain;
    b.q = q;
    b.type = type;
    b.sampleRate = rate;
    return b;
}

// |H| in dB of the normalised section at frequency f.
double ReferenceDb(const BandResponse& b, double f) {
    const std::complex<double> z1 = std::polar(1.0, -2 * kPi * f / b.sampleRate);
    const std::complex<double> z2 = z1 * z1;
    const std::complex<double> num = b.b0 + b.b1 * z1 + b.b2 * z2;
    const std::complex<double> den = 1.0 + b.a1 * z1 + b.a2 * z2;
    return 20 * std::log10(std::abs(num) / std::abs(den));
}

double PointHz(int i, int n) {
    return 20 * std::pow(10.0, 3.0 * i / n);
}

std::vector<float> Curve(BandResponse& b, int n, int* result = nullptr) {
    std::vector<float> db(n, 12345.0f);
    const int r = CalcBiquadResponse(b, db.data(), n);
    if (result) *result = r;
    return db;
}

void ExpectFlat(const BandResponse& b, const std::vector<float>& db) {
    for (double c : {b.b0, b.b1, b.b2, b.a1, b.a2}) EXPECT_EQ(c, 1.0);
    for (float v : db) ASSERT_EQ(v, 0.0f);
}

// Every shaped type over the console's whole range of settings, against the complex reference.
TEST(ResponseCurve, MatchesComplexEvaluationEverywhere) {
    const int types[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const float freqs[] = {20.02f, 21.81f, 100.0f, 1000.0f, 10000.0f, 19999.0f};
    const float gains[] = {-24.0f, -6.5f, 0.0f, 6.0f, 12.0f};
    const float qs[] = {0.4f, 0.7f, 4.0f, 128.0f};
    const int counts[] = {1, 2, 3, 7, 800, 2000};
    for (int type : types)
        for (float f : freqs)
            for (float g : gains)
                for (float q : qs)
                    for (int n : counts) {
                        BandResponse b = Band(type, f, g, q);
                        int r = 99;
                        const std::vector<float> db = Curve(b, n, &r);
                        SCOPED_TRACE(testing::Message() << "type " << type << " f " << f << " g " << g
                                                        << " q " << q << " n " << n);
                        ASSERT_EQ(r, 0);
                        for (int i = 1; i <= n; ++i) {
                            ASSERT_TRUE(std::isfinite(db[i - 1])) << "point " << i;
                            const double want = std::max(ReferenceDb(b, PointHz(i, n)), -200.0);
                            ASSERT_NEAR(db[i - 1], want, kTolDb) << "point " << i;
                        }
                    }
}

// The coefficients themselves: the defining gain of each form at its own frequency.
TEST(ResponseCurve, GainAtCentreFrequencyFollowsTheForm) {
    const float freqs[] = {20.02f, 21.81f, 440.0f, 5000.0f, 19999.0f};
    const float gains[] = {-24.0f, -3.0f, 0.5f, 12.0f};
    const float qs[] = {0.4f, 1.0f, 9.0f, 128.0f};
    for (float f : freqs)
        for (float g : gains)
            for (float q : qs) {
                SCOPED_TRACE(testing::Message() << "f " << f << " g " << g << " q " << q);
                BandResponse peak = Band(1, f, g, q);
                BandResponse low = Band(2, f, g, q);
                BandResponse high = Band(3, f, g, q);
                BandResponse hp = Band(4, f, g, q);
                BandResponse lp = Band(5, f, g, q);
                for (BandResponse* b : {&peak, &low, &high, &hp, &lp})
                    ASSERT_EQ(CalcBiquadResponse(*b, nullptr, 0), 0);
                EXPECT_NEAR(ReferenceDb(peak, f), g, kTolDb);
                EXPECT_NEAR(ReferenceDb(low, f), g / 2.0, kTolDb);
                EXPECT_NEAR(ReferenceDb(high, f), g / 2.0, kTolDb);
                EXPECT_NEAR(ReferenceDb(hp, f), 20 * std::log10(double(q)), kTolDb);
                EXPECT_NEAR(ReferenceDb(lp, f), 20 * std::log10(double(q)), kTolDb);
                // Shelves reach the full gain at the far end of their shelf.
                EXPECT_NEAR(ReferenceDb(low, 0.0), g, kTolDb);
                EXPECT_NEAR(ReferenceDb(high, kRate / 2.0), g, kTolDb);
            }
}

// Type 6 is a peaking cut of -|g| with a narrower Q, whatever the sign of g.
TEST(ResponseCurve, CutFormIsPeakingWithNegativeAbsoluteGain) {
    const int n = 640;
    for (float f : {20.02f, 63.0f, 1000.0f, 15000.0f})
        for (float g : {-18.0f, -6.0f, 6.0f, 12.0f})
            for (float q : {0.4f, 2.0f, 128.0f}) {
                SCOPED_TRACE(testing::Message() << "f " << f << " g " << g << " q " << q);
                BandResponse cut = Band(6, f, g, q);
                BandResponse mirrored = Band(6, f, -g, q);
                BandResponse peak =
                    Band(1, f, -std::fabs(g), float(q * std::pow(10.0, -std::fabs(g) / 40.0)));
                const std::vector<float> a = Curve(cut, n), m = Curve(mirrored, n), p = Curve(peak, n);
                EXPECT_NEAR(ReferenceDb(cut, f), -std::fabs(g), kTolDb);
                for (int i = 0; i < n; ++i) {
                    ASSERT_EQ(a[i], m[i]) << i;
                    ASSERT_NEAR(a[i], p[i], kTolDb) << i;
                }
            }
}

// One-pole sections ignore gain and Q and keep unity gain at their pass end.
TEST(ResponseCurve, OnePoleSectionsPassTheirEnd) {
    for (float f : {30.0f, 1000.0f, 12000.0f}) {
        BandResponse lp = Band(7, f, 7.0f, 3.0f), lpPlain = Band(7, f, 0.0f, 1.0f);
        BandResponse hp = Band(8, f, -9.0f, 0.2f), hpPlain = Band(8, f, 0.0f, 1.0f);
        const std::vector<float> lpDb = Curve(lp, 300), lpPlainDb = Curve(lpPlain, 300);
        const std::vector<float> hpDb = Curve(hp, 300), hpPlainDb = Curve(hpPlain, 300);
        EXPECT_EQ(lpDb, lpPlainDb);
        EXPECT_EQ(hpDb, hpPlainDb);
        EXPECT_NEAR(ReferenceDb(lp, 0.0), 0.0, 1e-9);
        EXPECT_NEAR(ReferenceDb(hp, kRate / 2.0), 0.0, 1e-9);
        EXPECT_LT(lpDb.back(), lpDb.front());
        EXPECT_GT(hpDb.back(), hpDb.front());
    }
}

// Settings where the expanded cosine form gave NaN or infinities.
TEST(ResponseCurve, NarrowLowBandsStayFinite) {
    struct Case {
        int type;
        float freq, gain, q;
    };
    const Case cases[] = {{1, 21.81f, 12.0f, 128.0f}, {1, 20.02f, -24.0f, 128.0f}, {6, 20.02f, 12.0f, 128.0f},
                          {4, 20.02f, 0.0f, 128.0f},  {5, 20.02f, 0.0f, 0.4f},     {2, 20.02f, 12.0f, 0.4f}};
    for (const Case& c : cases) {
        BandResponse b = Band(c.type, c.freq, c.gain, c.q);
        const std::vector<float> db = Curve(b, 2000);
        SCOPED_TRACE(testing::Message() << "type " << c.type << " f " << c.freq);
        for (int i = 1; i <= 2000; ++i) {
            ASSERT_TRUE(std::isfinite(db[i - 1])) << i;
            ASSERT_NEAR(db[i - 1], ReferenceDb(b, PointHz(i, 2000)), kTolDb) << i;
        }
    }
}

TEST(ResponseCurve, FlatTypesAndPassFiltersThatAreOff) {
    struct Case {
        int type;
        float freq, gain, q;
    };
    const Case cases[] = {
        {0, 1000.0f, 12.0f, 1.0f},  {-1, 1000.0f, 12.0f, 1.0f}, {11, 1000.0f, 12.0f, 1.0f},
        {9, 1000.0f, 12.0f, 1.0f},  {10, 1000.0f, -6.0f, 1.0f}, {1, 1000.0f, 0.0f, 3.0f},
        {4, 20.0f, 0.0f, 10.0f},    {4, 5.0f, 0.0f, 10.0f},     {5, 20000.0f, 0.0f, 10.0f},
        {5, 19999.9f, 0.0f, 10.0f}, {5, 23999.0f, 0.0f, 10.0f}, {5, 30000.0f, 0.0f, 10.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " f " << c.freq);
        BandResponse b = Band(c.type, c.freq, c.gain, c.q);
        int r = 99;
        const std::vector<float> db = Curve(b, 500, &r);
        EXPECT_EQ(r, 0);
        if (c.type == 1) {
            for (float v : db) ASSERT_NEAR(v, 0.0f, 1e-6f);
        } else {
            ExpectFlat(b, db);
        }
    }
    // Just inside the limits the pass filters are drawn.
    for (const Case& c : {Case{4, 21.0f, 0.0f, 10.0f}, Case{5, 19999.0f, 0.0f, 10.0f}}) {
        BandResponse b = Band(c.type, c.freq, c.gain, c.q);
        const std::vector<float> db = Curve(b, 500);
        EXPECT_NE(b.b1, 1.0);
        EXPECT_GT(std::fabs(db[c.type == 4 ? 0 : 498]), 1.0f);
    }
}

TEST(ResponseCurve, InvalidInputIsFlatAndReported) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        int type;
        float freq, gain, q;
        int rate;
    };
    const Case cases[] = {
        {1, 1000, 6, 0, kRate},     {1, 1000, 6, -1, kRate},    {2, 1000, 6, nan, kRate},
        {6, 1000, 6, inf, kRate},   {3, 1000, nan, 1, kRate},   {6, 1000, -inf, 1, kRate},
        {1, 1000, 6, 1, 0},         {7, 1000, 6, 1, -48000},    {1, 0, 6, 1, kRate},
        {8, -5, 6, 1, kRate},       {2, nan, 6, 1, kRate},      {3, inf, 6, 1, kRate},
        {4, 0, 0, 1, kRate},        {1, 24000, 6, 1, kRate},    {6, 24000, 6, 1, kRate},
        {4, 30000, 0, 1, kRate},    {5, 12000, 0, 1, 20000},    {7, 24000, 0, 1, kRate},
        {1, 1000, 1e30f, 1, kRate}, {6, 1000, 1e30f, 1, kRate}, {2, 1000, 1e30f, 1, kRate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " f " << c.freq << " g " << c.gain << " q "
                                        << c.q << " rate " << c.rate);
        BandResponse b = Band(c.type, c.freq, c.gain, c.q, c.rate);
        int r = 99;
        const std::vector<float> db = Curve(b, 50, &r);
        EXPECT_EQ(r, -1);
        ExpectFlat(b, db);
    }
    // Fields a type does not use do not make it invalid.
    for (const Case& c : {Case{4, 1000, nan, 1, kRate}, Case{7, 1000, inf, -1, kRate}}) {
        BandResponse b = Band(c.type, c.freq, c.gain, c.q, c.rate);
        int r = 99;
        Curve(b, 50, &r);
        EXPECT_EQ(r, 0) << "type " << c.type;
    }
}

TEST(ResponseCurve, ZeroPointsStoresCoefficientsOnly) {
    BandResponse withPoints = Band(1, 1000.0f, 6.0f, 2.0f), without = withPoints;
    Curve(withPoints, 10);
    float guard = 777.0f;
    EXPECT_EQ(CalcBiquadResponse(without, &guard, 0), 0);
    EXPECT_EQ(guard, 777.0f);
    EXPECT_EQ(CalcBiquadResponse(without, nullptr, -3), 0);
    EXPECT_EQ(without.b0, withPoints.b0);
    EXPECT_EQ(without.a2, withPoints.a2);
    EXPECT_NE(without.b0, 1.0);
}

TEST(ResponseCurve, GridIsLogarithmicFromJustAbove20Hz) {
    EXPECT_EQ(controls::GridFrequency(1, 0), 0.0);
    EXPECT_EQ(controls::GridFrequency(1, -5), 0.0);
    EXPECT_NEAR(controls::GridFrequency(1, 3), 200.0, 1e-9);
    EXPECT_NEAR(controls::GridFrequency(2, 3), 2000.0, 1e-8);
    EXPECT_NEAR(controls::GridFrequency(3, 3), 20000.0, 1e-7);
    for (int n : {1, 7, 800, 2000}) {
        EXPECT_GT(controls::GridFrequency(1, n), 20.0);
        EXPECT_NEAR(controls::GridFrequency(n, n), 20000.0, 1e-7);
        for (int i = 1; i <= n; ++i)
            ASSERT_NEAR(controls::GridFrequency(i, n), PointHz(i, n), 1e-9 * PointHz(i, n));
    }
    // The points themselves sit where the grid says: a narrow peak at 2000 Hz shows at point 2 of 3.
    BandResponse b = Band(1, 2000.0f, 9.0f, 20.0f);
    const std::vector<float> db = Curve(b, 3);
    EXPECT_NEAR(db[1], 9.0f, kTolDb);
    EXPECT_LT(db[0], 0.1f);
    EXPECT_LT(db[2], 0.1f);
}

}  // namespace
