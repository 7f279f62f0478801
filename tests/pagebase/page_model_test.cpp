#include "pages/page_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

PageModel ResetPage(int n, std::vector<int> peakingFreqs) {
    PageModel m(n);
    for (std::size_t k = 0; k < peakingFreqs.size(); ++k) m.defaultFreq[k + 1] = peakingFreqs[k];
    m.ResetAll();
    return m;
}

std::vector<int> Bytes(const ZemCmd::EqFrame& f) {
    return std::vector<int>(f.b.begin(), f.b.begin() + 17);
}

TEST(Fields, GainQSliderPositionAndDeviceCode) {
    const struct {
        float gain;
        int field, pos;
    } gains[] = {{0.0f, 25600, 0},     {-24.0f, 23200, 240},
                 {12.0f, 26800, -120}, {3.51f, 25960, -35},
                 {-3.51f, 25240, 35},  {0.04f, 25610, 0},
                 {-0.05f, 25590, 1},   {3.5f, 25950, -35},
                 {2.1f, 25810, -21},   {std::numeric_limits<float>::quiet_NaN(), 25600, 0}};
    for (const auto& c : gains) {
        EXPECT_EQ(GainField(c.gain), c.field) << c.gain;
        EXPECT_EQ(GainSliderPos(c.gain), c.pos) << c.gain;
    }
    EXPECT_EQ(GainSliderPos(std::numeric_limits<float>::infinity()), 0);
    const std::pair<float, int> qs[] = {{0.4f, 40}, {0.41f, 50}, {0.45f, 50}, {0.7f, 70}, {128.0f, 12800}};
    for (const auto& [q, field] : qs) EXPECT_EQ(QField(q), field) << q;
    const int codes[] = {0, 0, 6, 7, 5, 4};
    for (int t = 0; t < 6; ++t) EXPECT_EQ(DeviceCode(t), codes[t]);
    for (int t : {-1, 6, -100000}) EXPECT_EQ(DeviceCode(t), 0) << t;
    EXPECT_EQ(TypeFromDeviceCode(0), 1);
    EXPECT_EQ(TypeFromDeviceCode(6), 2);
    EXPECT_EQ(TypeFromDeviceCode(7), 3);
    for (int c : {1, 4, 5, 255}) EXPECT_FALSE(TypeFromDeviceCode(c).has_value()) << c;
}

TEST(BandFrame, GoldenFramesAfterReset) {
    const PageModel m = ResetPage(5, {1000, 2000, 70000});
    EXPECT_EQ(Bytes(*m.BandFrame(0)), (std::vector<int>{0xA5, 0x11, 0xF1, 0x0A, 0x01, 0, 0, 0xA0, 0x5A, 20, 0,
                                                        70, 0, 0xFF, 0, 0, 0}));
    EXPECT_EQ(Bytes(*m.BandFrame(1)), (std::vector<int>{0xA5, 0x11, 0xF1, 0x0A, 0x01, 1, 1, 0x00, 0x64, 0xE8,
                                                        0x03, 0x64, 0x00, 0xFF, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Bytes(*m.BandFrame(4)), (std::vector<int>{0xA5, 0x11, 0xF1, 0x0A, 0x01, 4, 0, 0xA0, 0x5A, 0x20,
                                                        0x4E, 70, 0, 0xFF, 0, 0, 0}));
    const auto f3 = *m.BandFrame(3);  // 70000 Hz spreads over bytes 9, 10 and 14
    EXPECT_EQ(std::vector<int>({f3[9], f3[10], f3[14]}), std::vector<int>({0x70, 0x11, 0x01}));
}

TEST(BandFrame, ForcedOffOnlyAtTheExactEndsTypeCodesAndGuards) {
    PageModel m = ResetPage(7, {100, 200, 300, 400, 500});
    const struct {
        int band, freq, enabled, byte6;
    } cases[] = {{0, 20, 1, 0}, {0, 21, 1, 1},    {0, 21, 0, 0},    {6, 20000, 1, 0}, {6, 19999, 1, 1},
                 {3, 20, 1, 1}, {3, 20000, 1, 1}, {0, 20000, 1, 1}, {6, 20, 1, 1}};
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
}

TEST(Reset, EveryBandAndPeqFollowingBypass) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[9] = 5, m.band.type[9] = 3, m.band.enabled[9] = 0;
    m.bypass = true;
    m.ResetAll();
    const int freqs[] = {20, 100, 1000, 10000, 20000};
    for (int b = 0; b < 5; ++b) {
        const bool pass = b == 0 || b == 4;
        EXPECT_EQ(m.band.freq[b], freqs[b]) << b;
        EXPECT_FLOAT_EQ(m.band.gain[b], pass ? -24.0f : 0.0f) << b;
        EXPECT_FLOAT_EQ(m.band.q[b], pass ? 0.7f : 1.0f) << b;
        EXPECT_EQ(m.band.type[b], pass ? 0 : 1) << b;
        EXPECT_EQ(m.band.enabled[b], 1) << b;
    }
    // Beyond the page: neutral values, type and enabled untouched; bypass untouched.
    EXPECT_EQ(m.band.freq[9], 20);
    EXPECT_FLOAT_EQ(m.band.gain[9], 0.0f);
    EXPECT_EQ(m.band.type[9], 3);
    EXPECT_EQ(m.band.enabled[9], 0);
    EXPECT_TRUE(m.bypass);
    m.band.freq[0] = 80, m.band.gain[2] = 6;
    for (bool bypass : {true, false}) {
        m.SetBypass(bypass);
        m.ResetPeq();
        EXPECT_EQ(m.band.freq[0], 80);
        EXPECT_FLOAT_EQ(m.band.gain[2], 0.0f);
        for (int b = 1; b <= 3; ++b) EXPECT_EQ(m.band.enabled[b], bypass ? 0 : 1) << b;
    }
}

TEST(Bypass, CyclesIgnoreThePassFiltersAndGuardBands) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    EXPECT_FALSE(m.RecomputeBypass());
    m.SetBypass(true);
    EXPECT_TRUE(m.RecomputeBypass());
    EXPECT_EQ(m.band.enabled[0] + m.band.enabled[4], 2);
    EXPECT_TRUE(m.SetEnabled(2, 0x100));  // stored as 1
    EXPECT_EQ(m.band.enabled[2], 1);
    EXPECT_FALSE(m.RecomputeBypass());
    EXPECT_TRUE(m.SetEnabled(2, 0));
    EXPECT_TRUE(m.RecomputeBypass());
    for (int b : {-1, 5, 17}) EXPECT_FALSE(m.SetEnabled(b, 1)) << b;
    for (int n : {0, 2}) EXPECT_TRUE(PageModel(n).RecomputeBypass()) << n;
}

TEST(CopyCurve, FiveBandPageAndNeutralRest) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[2] = -3.5f;
    m.band.enabled[3] = 0;
    CurveRecord out;
    m.CopyCurve(out);
    const int freqs[] = {20, 100, 1000, 10000, 20000};
    for (int i = 0; i < kMaxBands; ++i) {
        SCOPED_TRACE(i);
        const bool on = i < 5;
        EXPECT_EQ(out.freq[i], on ? freqs[i] : 20000);
        EXPECT_EQ(out.gain[i], i == 2 ? -3.5f : on && (i == 0 || i == 4) ? -24.0f : 0.0f);
        EXPECT_EQ(out.q[i], on && (i == 0 || i == 4) ? 0.7f : 1.0f);
        EXPECT_EQ(out.type[i], i == 0 || i == 4 ? 0 : 1);
        EXPECT_EQ(out.shown[i], 1);
        EXPECT_EQ(out.enabled[i], on && i != 3 ? 1 : 0);
    }
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
    const ZemCmd::Cmd alc = BaseAlcFrame();
    EXPECT_EQ(std::vector<int>(alc.b.begin(), alc.b.begin() + 14),
              (std::vector<int>{0xA5, 0x0E, 0xF1, 0x18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
