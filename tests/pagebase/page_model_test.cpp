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

TEST(GainField, Examples) {
    const struct {
        float gain;
        int field;
    } cases[] = {{0.0f, 25600},  {-24.0f, 23200}, {12.0f, 26800}, {3.51f, 25960}, {-3.51f, 25240},
                 {0.04f, 25610}, {-0.05f, 25590}, {3.5f, 25950},  {-0.1f, 25590}, {0.1f, 25610}};
    for (const auto& c : cases) EXPECT_EQ(GainField(c.gain), c.field) << c.gain;
}

TEST(QField, Examples) {
    const struct {
        float q;
        int field;
    } cases[] = {{0.4f, 40}, {0.41f, 50}, {0.45f, 50}, {0.7f, 70}, {1.0f, 100}, {128.0f, 12800}, {2.0f, 200}};
    for (const auto& c : cases) EXPECT_EQ(QField(c.q), c.field) << c.q;
}

TEST(GainField, NonFiniteGainDoesNotOverflow) {
    EXPECT_EQ(GainField(std::numeric_limits<float>::quiet_NaN()), 25600);
    EXPECT_EQ(GainSliderPos(std::numeric_limits<float>::infinity()), 0);
}

TEST(GainSliderPos, RoundsToTenths) {
    const struct {
        float gain;
        int pos;
    } cases[] = {{3.5f, -35}, {-3.5f, 35}, {12.0f, -120}, {-24.0f, 240}, {0.0f, 0}, {-0.3f, 3}, {2.1f, -21}};
    for (const auto& c : cases) EXPECT_EQ(GainSliderPos(c.gain), c.pos) << c.gain;
}

TEST(DeviceCode, TableAndOutOfRange) {
    const int expected[] = {0, 0, 6, 7, 5, 4};
    for (int t = 0; t < 6; ++t) EXPECT_EQ(DeviceCode(t), expected[t]);
    for (int t : {-1, 6, 99, -100000}) EXPECT_EQ(DeviceCode(t), 0) << t;
    EXPECT_EQ(TypeFromDeviceCode(0), 1);
    EXPECT_EQ(TypeFromDeviceCode(6), 2);
    EXPECT_EQ(TypeFromDeviceCode(7), 3);
    for (int c : {1, 4, 5, 8, 255}) EXPECT_FALSE(TypeFromDeviceCode(c).has_value()) << c;
}

TEST(BandFrame, PeakingBandAfterReset) {
    const PageModel m = ResetPage(5, {1000, 2000, 70000});
    const std::vector<int> band1 = {0xA5, 0x11, 0xF1, 0x0A, 0x01, 1,    1,    0x00, 0x64,
                                    0xE8, 0x03, 0x64, 0x00, 0xFF, 0x00, 0x00, 0x00};
    EXPECT_EQ(Bytes(*m.BandFrame(1)), band1);
    // 70000 Hz spreads over bytes 9, 10 and 14.
    const auto f3 = *m.BandFrame(3);
    EXPECT_EQ(f3[9], 70000 & 0xFF);
    EXPECT_EQ(f3[10], (70000 >> 8) & 0xFF);
    EXPECT_EQ(f3[14], 70000 >> 16);
}

TEST(BandFrame, PassFiltersAfterResetAreOff) {
    const PageModel m = ResetPage(5, {100, 1000, 10000});
    const std::vector<int> band0 = {0xA5, 0x11, 0xF1, 0x0A, 0x01, 0, 0, 0xA0, 0x5A,
                                    20,   0,    70,   0,    0xFF, 0, 0, 0};
    const std::vector<int> band4 = {0xA5, 0x11, 0xF1, 0x0A, 0x01, 4, 0, 0xA0, 0x5A,
                                    0x20, 0x4E, 70,   0,    0xFF, 0, 0, 0};
    EXPECT_EQ(Bytes(*m.BandFrame(0)), band0);
    EXPECT_EQ(Bytes(*m.BandFrame(4)), band4);
}

TEST(BandFrame, ForcedOffOnlyAtTheExactEnds) {
    PageModel m = ResetPage(7, {100, 200, 300, 400, 500});
    const struct {
        int band;
        int freq;
        int enabled;
        int byte6;
    } cases[] = {{0, 20, 1, 0},    {0, 21, 1, 1}, {0, 21, 0, 0},    {6, 20000, 1, 0}, {6, 19999, 1, 1},
                 {6, 19999, 0, 0}, {3, 20, 1, 1}, {3, 20000, 1, 1}, {0, 20000, 1, 1}, {6, 20, 1, 1}};
    for (const auto& c : cases) {
        m.band.freq[c.band] = c.freq;
        m.band.enabled[c.band] = c.enabled;
        EXPECT_EQ(m.BandFrame(c.band)->b[6], c.byte6) << c.band << " " << c.freq;
    }
}

TEST(BandFrame, TypesAndOutOfRangeBands) {
    PageModel m = ResetPage(5, {100, 200, 300});
    const int codes[] = {0, 0, 6, 7, 5, 4};
    for (int t = 0; t < 6; ++t) {
        m.band.type[2] = t;
        EXPECT_EQ(m.BandFrame(2)->b[15], codes[t]);
    }
    m.band.type[2] = 42;
    EXPECT_EQ(m.BandFrame(2)->b[15], 0);
    for (int b : {-1, 5, 16, 17, 1000}) EXPECT_FALSE(m.BandFrame(b).has_value()) << b;
}

TEST(Reset, ValuesOfEveryBand) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[9] = 5;
    m.band.type[9] = 3;
    m.band.enabled[9] = 0;
    m.bypass = true;
    m.ResetAll();
    EXPECT_EQ(m.band.freq[0], 20);
    EXPECT_EQ(m.band.freq[4], 20000);
    for (int b : {0, 4}) {
        EXPECT_FLOAT_EQ(m.band.gain[b], -24.0f);
        EXPECT_FLOAT_EQ(m.band.q[b], 0.7f);
        EXPECT_EQ(m.band.type[b], 0);
        EXPECT_EQ(m.band.enabled[b], 1);
    }
    const int freqs[] = {100, 1000, 10000};
    for (int b = 1; b <= 3; ++b) {
        EXPECT_EQ(m.band.freq[b], freqs[b - 1]);
        EXPECT_FLOAT_EQ(m.band.gain[b], 0.0f);
        EXPECT_FLOAT_EQ(m.band.q[b], 1.0f);
        EXPECT_EQ(m.band.type[b], 1);
        EXPECT_EQ(m.band.enabled[b], 1);
    }
    // Beyond the page: neutral values, type and enabled untouched; bypass untouched.
    EXPECT_EQ(m.band.freq[9], 20);
    EXPECT_FLOAT_EQ(m.band.gain[9], 0.0f);
    EXPECT_EQ(m.band.type[9], 3);
    EXPECT_EQ(m.band.enabled[9], 0);
    EXPECT_TRUE(m.bypass);
}

TEST(Reset, PeqFollowsBypassAndKeepsPassFilters) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.freq[0] = 80;
    m.band.gain[2] = 6;
    m.SetBypass(true);
    m.ResetPeq();
    EXPECT_EQ(m.band.freq[0], 80);
    EXPECT_FLOAT_EQ(m.band.gain[2], 0.0f);
    for (int b = 1; b <= 3; ++b) EXPECT_EQ(m.band.enabled[b], 0);
    m.SetBypass(false);
    m.ResetPeq();
    for (int b = 1; b <= 3; ++b) EXPECT_EQ(m.band.enabled[b], 1);
}

TEST(Bypass, Cycles) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    EXPECT_FALSE(m.RecomputeBypass());
    m.SetBypass(true);
    EXPECT_TRUE(m.RecomputeBypass());
    EXPECT_EQ(m.band.enabled[0], 1);
    EXPECT_EQ(m.band.enabled[4], 1);
    EXPECT_TRUE(m.SetEnabled(2, 1));
    EXPECT_FALSE(m.RecomputeBypass());
    EXPECT_TRUE(m.SetEnabled(2, 0));
    EXPECT_TRUE(m.RecomputeBypass());
    // The pass filters never count.
    m.SetEnabled(0, 1);
    m.SetEnabled(4, 1);
    EXPECT_TRUE(m.RecomputeBypass());
    m.SetBypass(false);
    EXPECT_FALSE(m.RecomputeBypass());
}

TEST(Bypass, TinyPagesAreAlwaysBypassed) {
    for (int n : {0, 1, 2}) {
        PageModel m(n);
        EXPECT_TRUE(m.RecomputeBypass()) << n;
    }
}

TEST(SetEnabled, GuardsAndStoresZeroOrOne) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    for (int b : {-1, 5, 17, 100}) EXPECT_FALSE(m.SetEnabled(b, 1)) << b;
    EXPECT_TRUE(m.SetEnabled(1, 0x100));
    EXPECT_EQ(m.band.enabled[1], 1);
    EXPECT_TRUE(m.SetEnabled(1, 0));
    EXPECT_EQ(m.band.enabled[1], 0);
}

TEST(CopyCurve, FiveBandPage) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[2] = -3.5f;
    m.band.enabled[3] = 0;
    CurveRecord out;
    m.CopyCurve(out);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(out.freq[i], m.band.freq[i]);
        EXPECT_EQ(out.gain[i], m.band.gain[i]);
        EXPECT_EQ(out.q[i], m.band.q[i]);
        EXPECT_EQ(out.type[i], m.band.type[i]);
        EXPECT_EQ(out.shown[i], 1);
        EXPECT_EQ(out.enabled[i], m.band.enabled[i]);
    }
    for (int i = 5; i < kMaxBands; ++i) {
        EXPECT_EQ(out.freq[i], 20000);
        EXPECT_EQ(out.gain[i], 0.0f);
        EXPECT_EQ(out.q[i], 1.0f);
        EXPECT_EQ(out.type[i], 1);
        EXPECT_EQ(out.shown[i], 1);
        EXPECT_EQ(out.enabled[i], 0);
    }
}

TEST(FollowUp, TakesTheFrameFrequencyOfItsBandOnly) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    ZemCmd::EqFrame f = *m.BandFrame(0);
    m.TakeFrameFreq(f);
    EXPECT_EQ(m.band.freq[0], 20);
    f[9] = 0x70, f[10] = 0x11, f[14] = 0x01;
    m.TakeFrameFreq(f);
    EXPECT_EQ(m.band.freq[0], 0x011170);
    const auto before = m.band.freq;
    for (int band : {5, 16, 200}) {
        f[5] = static_cast<std::uint8_t>(band);
        m.TakeFrameFreq(f);
        EXPECT_EQ(m.band.freq, before) << band;
    }
}

TEST(AlcFrame, BaseIsHeaderAndZeros) {
    const ZemCmd::Cmd c = BaseAlcFrame();
    const std::vector<int> expected = {0xA5, 0x0E, 0xF1, 0x18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<int>(c.b.begin(), c.b.begin() + 14), expected);
}

}  // namespace
