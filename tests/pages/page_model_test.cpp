#include "pages/page_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "tests/pages/hex.h"

namespace {

using testhex::Hex;

PageModel ResetPage(int n, std::vector<int> peakingFreqs) {
    PageModel m(n);
    for (std::size_t k = 0; k < peakingFreqs.size(); ++k) m.defaultFreq[k + 1] = peakingFreqs[k];
    m.ResetAll();
    return m;
}

TEST(Fields, GainQSliderPositionAndDeviceCode) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    // clang-format off
    const struct { float gain; int field, pos; } gains[] = {
        {0.0f, 25600, 0},    {-24.0f, 23200, 240}, {12.0f, 26800, -120}, {3.51f, 25960, -35},
        {-3.51f, 25240, 35}, {0.04f, 25610, 0},    {-0.05f, 25590, 1},   {3.5f, 25950, -35},
        {2.1f, 25810, -21},  {nan, 25600, 0}};
    // clang-format on
    for (const auto& c : gains)
        EXPECT_EQ((std::pair<int, int>(GainField(c.gain), GainSliderPos(c.gain))), std::pair(c.field, c.pos))
            << c.gain;
    EXPECT_EQ(GainSliderPos(inf), 0);
    for (auto [q, field] : {std::pair{0.4f, 40}, {0.41f, 50}, {0.45f, 50}, {0.7f, 70}, {128.0f, 12800}})
        EXPECT_EQ(QField(q), field) << q;
    for (auto [type, code] :
         {std::pair{0, 0}, {1, 0}, {2, 6}, {3, 7}, {4, 5}, {5, 4}, {-1, 0}, {6, 0}, {-100000, 0}})
        EXPECT_EQ(DeviceCode(type), code) << type;
    for (auto [code, type] : {std::pair{0, 1}, {6, 2}, {7, 3}}) EXPECT_EQ(TypeFromDeviceCode(code), type);
    for (int c : {1, 4, 5, 255}) EXPECT_FALSE(TypeFromDeviceCode(c).has_value()) << c;
}

TEST(BandFrame, GoldenFramesForcedOffAtTheExactEndsTypeCodesAndGuards) {
    const PageModel r = ResetPage(5, {1000, 2000, 70000});
    // 70000 Hz spreads over bytes 9, 10 and 14.
    EXPECT_EQ((std::vector{Hex(*r.BandFrame(0), 17), Hex(*r.BandFrame(1), 17), Hex(*r.BandFrame(3), 17),
                           Hex(*r.BandFrame(4), 17)}),
              (std::vector<std::string>{"A5 11 F1 0A 01 00 00 A0 5A 14 00 46 00 FF 00 00 00",
                                        "A5 11 F1 0A 01 01 01 00 64 E8 03 64 00 FF 00 00 00",
                                        "A5 11 F1 0A 01 03 01 00 64 70 11 64 00 FF 01 00 00",
                                        "A5 11 F1 0A 01 04 00 A0 5A 20 4E 46 00 FF 00 00 00"}));
    PageModel m = ResetPage(7, {100, 200, 300, 400, 500});
    // clang-format off
    const struct { int band, freq, enabled, byte6; } cases[] = {
        {0, 20, 1, 0}, {0, 21, 1, 1},    {0, 21, 0, 0},    {6, 20000, 1, 0}, {6, 19999, 1, 1},
        {3, 20, 1, 1}, {3, 20000, 1, 1}, {0, 20000, 1, 1}, {6, 20, 1, 1}};
    // clang-format on
    for (const auto& c : cases) {
        m.band.freq[c.band] = c.freq;
        m.band.enabled[c.band] = c.enabled;
        EXPECT_EQ(m.BandFrame(c.band)->b[6], c.byte6) << c.band << " " << c.freq;
    }
    for (auto [type, code] : {std::pair{2, 6}, {5, 4}, {42, 0}, {-1, 0}}) {
        m.band.type[2] = type;
        EXPECT_EQ(m.BandFrame(2)->b[15], code) << type;
    }
    for (int b : {-1, 7, 17}) EXPECT_FALSE(m.BandFrame(b).has_value()) << b;
    EXPECT_EQ(Hex(BaseAlcFrame(), 14), "A5 0E F1 18 00 00 00 00 00 00 00 00 00 00");
}

TEST(Reset, EveryBandAndPeqFollowingBypass) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[9] = 5, m.band.type[9] = 3, m.band.enabled[9] = 0;
    m.bypass = true;
    m.ResetAll();  // the in-page values show in the saved reset body of the preset text tests
    for (int b = 0; b < 5; ++b) EXPECT_EQ(m.band.enabled[b], 1) << b;
    // Beyond the page: neutral values, type and enabled untouched; bypass untouched.
    EXPECT_EQ(std::tuple(m.band.freq[9], m.band.gain[9], m.band.type[9], m.band.enabled[9], m.bypass),
              std::tuple(20, 0.0f, 3, 0, true));
    m.band.freq[0] = 80, m.band.gain[2] = 6;
    for (bool bypass : {true, false}) {
        m.SetBypass(bypass);
        m.ResetPeq();
        EXPECT_EQ(std::pair(m.band.freq[0], m.band.gain[2]), std::pair(80, 0.0f));
        for (int b = 1; b <= 3; ++b) EXPECT_EQ(m.band.enabled[b], bypass ? 0 : 1) << b;
    }
}

TEST(Bypass, CyclesIgnoreThePassFiltersAndGuardBands) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    EXPECT_FALSE(m.RecomputeBypass());
    m.SetBypass(true);
    EXPECT_EQ(std::pair(m.RecomputeBypass(), m.band.enabled[0] + m.band.enabled[4]), std::pair(true, 2));
    EXPECT_TRUE(m.SetEnabled(2, 0x100));  // stored as 1
    EXPECT_EQ(std::pair(m.band.enabled[2], m.RecomputeBypass()), std::pair(1, false));
    EXPECT_TRUE(m.SetEnabled(2, 0) && m.RecomputeBypass());
    for (int b : {-1, 5, 17}) EXPECT_FALSE(m.SetEnabled(b, 1)) << b;
    for (int n : {0, 2}) EXPECT_TRUE(PageModel(n).RecomputeBypass()) << n;
}

TEST(CopyCurve, FiveBandPageAndNeutralRest) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[2] = -3.5f;
    m.band.enabled[3] = 0;
    CurveRecord out;
    m.CopyCurve(out);
    const auto& b = m.band;  // in-page bands copied, the rest neutral and off
    for (int i = 0; i < kMaxBands; ++i)
        EXPECT_EQ(std::tuple(out.freq[i], out.gain[i], out.q[i], out.type[i], out.shown[i], out.enabled[i]),
                  i < 5 ? std::tuple(b.freq[i], b.gain[i], b.q[i], b.type[i], 1, b.enabled[i])
                        : std::tuple(20000, 0.0f, 1.0f, 1, 1, 0))
            << i;
    EXPECT_EQ(std::tuple(out.gain[2], out.enabled[3], out.freq[4]), std::tuple(-3.5f, 0, 20000));
}

TEST(FollowUp, TakesTheFrameFrequencyOfItsBandOnly) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    ZemCmd::EqFrame f = *m.BandFrame(0);
    f[9] = 0x70, f[10] = 0x11, f[14] = 0x01;
    m.TakeFrameFreq(f);
    EXPECT_EQ(m.band.freq[0], 0x011170);
    const auto before = m.band.freq;
    for (int band : {5, 200}) {
        f[5] = static_cast<std::uint8_t>(band);
        m.TakeFrameFreq(f);
        EXPECT_EQ(m.band.freq, before) << band;
    }
}

}  // namespace
