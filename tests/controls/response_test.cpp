// Curves against |H(e^jw)| from the stored coefficients; coefficients against closed-form gains at f0.
#include "controls/response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <tuple>
#include <vector>

namespace {

using controls::BandResponse;
using controls::CalcBiquadResponse;

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 48000;
constexpr double kTolDb = 1e-3;

BandResponse Band(int type, float freq, float gain, float q, int rate = kRate) {
    BandResponse b;
    b.freq = freq, b.gain = gain, b.q = q, b.type = type, b.sampleRate = rate;
    return b;
}

double ReferenceDb(const BandResponse& b, double f) {
    const std::complex<double> z1 = std::polar(1.0, -2 * kPi * f / b.sampleRate), z2 = z1 * z1;
    return 20 * std::log10(std::abs(b.b0 + b.b1 * z1 + b.b2 * z2) / std::abs(1.0 + b.a1 * z1 + b.a2 * z2));
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

// Every shaped type over the range, with the narrow low bands where the expanded form gave NaN.
TEST(ResponseCurve, MatchesComplexEvaluationEverywhere) {
    for (int type = 1; type <= 8; ++type)
        for (float f : {20.02f, 21.81f, 1000.0f, 19999.0f})
            for (float g : {-24.0f, -6.5f, 0.0f, 12.0f})
                for (float q : {0.4f, 4.0f, 128.0f})
                    for (int n : {1, 3, 2000}) {
                        BandResponse b = Band(type, f, g, q);
                        int r = 99;
                        const std::vector<float> db = Curve(b, n, &r);
                        SCOPED_TRACE(testing::Message()
                                     << type << " f" << f << " g" << g << " q" << q << " n" << n);
                        ASSERT_EQ(r, 0);
                        for (int i = 1; i <= n; ++i) {
                            ASSERT_TRUE(std::isfinite(db[i - 1])) << i;
                            ASSERT_NEAR(db[i - 1], std::max(ReferenceDb(b, PointHz(i, n)), -200.0), kTolDb)
                                << i;
                        }
                    }
}

// At f0: peaking g, shelves g/2, pass filters 20 log10 Q; type 6 is peaking -|g| at Q 10^(-|g|/40).
TEST(ResponseCurve, ClosedFormGainsAndTheCutForm) {
    for (float f : {20.02f, 440.0f, 19999.0f})
        for (float g : {-24.0f, -3.0f, 12.0f})
            for (float q : {0.4f, 9.0f, 128.0f}) {
                SCOPED_TRACE(testing::Message() << "f " << f << " g " << g << " q " << q);
                const double expected[] = {g, g / 2.0, g / 2.0, 20 * std::log10(double(q)),
                                           20 * std::log10(double(q))};
                for (int type = 1; type <= 5; ++type) {
                    BandResponse b = Band(type, f, g, q);
                    ASSERT_EQ(CalcBiquadResponse(b, nullptr, 0), 0);
                    EXPECT_NEAR(ReferenceDb(b, f), expected[type - 1], kTolDb) << type;
                    if (type == 2 || type == 3) {  // shelves reach the full gain at their far end
                        EXPECT_NEAR(ReferenceDb(b, type == 2 ? 0.0 : kRate / 2.0), g, kTolDb);
                    }
                }
                BandResponse cut = Band(6, f, g, q), mirrored = Band(6, f, -g, q);
                BandResponse peak =
                    Band(1, f, -std::fabs(g), float(q * std::pow(10.0, -std::fabs(g) / 40.0)));
                const std::vector<float> a = Curve(cut, 640), m = Curve(mirrored, 640), p = Curve(peak, 640);
                EXPECT_NEAR(ReferenceDb(cut, f), -std::fabs(g), kTolDb);
                for (int i = 0; i < 640; ++i) {
                    ASSERT_EQ(a[i], m[i]) << i;
                    ASSERT_NEAR(a[i], p[i], kTolDb) << i;
                }
            }
    // One-pole sections ignore gain and Q and keep unity gain at their pass end.
    BandResponse lp = Band(7, 1000, 7, 3), lpPlain = Band(7, 1000, 0, 1), hp = Band(8, 1000, -9, 0.2f);
    EXPECT_EQ(Curve(lp, 300), Curve(lpPlain, 300));
    ASSERT_EQ(CalcBiquadResponse(hp, nullptr, 0), 0);
    EXPECT_NEAR(ReferenceDb(lp, 0.0), 0.0, 1e-9);
    EXPECT_NEAR(ReferenceDb(hp, kRate / 2.0), 0.0, 1e-9);
    EXPECT_LT(ReferenceDb(hp, 20.0), -20.0);
}

// Flat means unit coefficients and 0 dB at every point; invalid settings also answer -1.
TEST(ResponseCurve, FlatTypesOffPassFiltersAndInvalidInput) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    // clang-format off
    const struct { int type; float freq, gain, q; int rate, result; } cases[] = {
        {0, 1000, 12, 1, kRate, 0},     {-1, 1000, 12, 1, kRate, 0},    {11, 1000, 12, 1, kRate, 0},
        {9, 1000, 12, 1, kRate, 0},     {10, 1000, -6, 1, kRate, 0},    {4, 20, 0, 10, kRate, 0},
        {5, 19999.9f, 0, 10, kRate, 0}, {5, 30000, 0, 10, kRate, 0},    {1, 1000, 6, 0, kRate, -1},
        {2, 1000, 6, nan, kRate, -1},   {6, 1000, 6, inf, kRate, -1},   {3, 1000, nan, 1, kRate, -1},
        {6, 1000, -inf, 1, kRate, -1},  {1, 1000, 6, 1, 0, -1},         {7, 1000, 6, 1, -48000, -1},
        {1, 0, 6, 1, kRate, -1},        {8, -5, 6, 1, kRate, -1},       {3, inf, 6, 1, kRate, -1},
        {6, 24000, 6, 1, kRate, -1},    {4, 30000, 0, 1, kRate, -1},    {5, 12000, 0, 1, 20000, -1},
        {7, 24000, 0, 1, kRate, -1},    {2, 1000, 1e30f, 1, kRate, -1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.type << " f" << c.freq << " g" << c.gain << " q" << c.q << " rate " << c.rate);
        BandResponse b = Band(c.type, c.freq, c.gain, c.q, c.rate);
        int r = 99;
        const std::vector<float> db = Curve(b, 50, &r);
        EXPECT_EQ(r, c.result);
        for (double coefficient : {b.b0, b.b1, b.b2, b.a1, b.a2}) EXPECT_EQ(coefficient, 1.0);
        for (float v : db) ASSERT_EQ(v, 0.0f);
    }
    // Just inside the off limits the pass filters are drawn; fields a type does not use are not checked.
    for (BandResponse b :
         {Band(4, 21, 0, 10), Band(5, 19999, 0, 10), Band(4, 1000, nan, 1), Band(7, 1000, inf, -1)}) {
        int r = 99;
        const std::vector<float> db = Curve(b, 500, &r);
        EXPECT_EQ(r, 0) << b.type;
        EXPECT_NE(b.b1, 1.0) << b.type;
    }
}

TEST(ResponseCurve, NoPointsWritesNothing) {
    BandResponse b = Band(1, 2000.0f, 9.0f, 20.0f);
    Curve(b, 3);
    // No points: coefficients only, nothing written.
    BandResponse without = b;
    float guard = 777.0f;
    EXPECT_EQ(CalcBiquadResponse(without, &guard, 0), 0) << "zero points";
    EXPECT_EQ(CalcBiquadResponse(without, nullptr, -3), 0) << "a negative point count";
    EXPECT_EQ(guard, 777.0f) << "the output must not be written";
    EXPECT_EQ(without.b0, b.b0) << "coefficients are still computed";
    EXPECT_EQ(without.a2, b.a2) << "coefficients are still computed";
}

}  // namespace
