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
    for (const auto& c : gains) {
        EXPECT_EQ(GainField(c.gain), c.field) << "gain field of " << c.gain;
        EXPECT_EQ(GainSliderPos(c.gain), c.pos) << "slider position of " << c.gain;
    }
    EXPECT_EQ(GainSliderPos(inf), 0);
    for (auto [q, field] : {std::pair{0.4f, 40}, {0.41f, 50}, {0.45f, 50}, {0.7f, 70}, {128.0f, 12800}})
        EXPECT_EQ(QField(q), field) << "Q " << q;
    // clang-format off
    const struct { const char* name; int type, code; } codes[] = {
        {"off", kTypeOff, 0},          {"peaking", kTypePeaking, 0},   {"low shelf", kTypeLowShelf, 6},
        {"high shelf", kTypeHighShelf, 7}, {"high-pass", kTypeHighPass, 5}, {"low-pass", kTypeLowPass, 4},
        {"below the types", -1, 0},    {"cut, not sent", controls::kTypeCut, 0}, {"far below", -100000, 0}};
    // clang-format on
    for (const auto& c : codes) EXPECT_EQ(DeviceCode(c.type), c.code) << c.name;
    const struct {
        const char* name;
        int code, type;
    } readBack[] = {
        {"peaking", 0, kTypePeaking}, {"low shelf", 6, kTypeLowShelf}, {"high shelf", 7, kTypeHighShelf}};
    for (const auto& c : readBack) EXPECT_EQ(TypeFromDeviceCode(c.code), c.type) << c.name;
    for (int c : {1, 4, 5, 255}) EXPECT_FALSE(TypeFromDeviceCode(c).has_value()) << "code " << c;
}

TEST(BandFrame, GoldenFramesForcedOffAtTheExactEndsTypeCodesAndGuards) {
    const PageModel r = ResetPage(5, {1000, 2000, 70000});
    // 70000 Hz spreads over bytes 9, 10 and 14.
    const struct {
        const char* name;
        int band;
        const char* hex;
    } golden[] = {{"band 0, the high-pass", 0, "A5 11 F1 0A 01 00 00 A0 5A 14 00 46 00 FF 00 00 00"},
                  {"band 1 at 1000 Hz", 1, "A5 11 F1 0A 01 01 01 00 64 E8 03 64 00 FF 00 00 00"},
                  {"band 3 at 70000 Hz", 3, "A5 11 F1 0A 01 03 01 00 64 70 11 64 00 FF 01 00 00"},
                  {"band 4, the low-pass", 4, "A5 11 F1 0A 01 04 00 A0 5A 20 4E 46 00 FF 00 00 00"}};
    for (const auto& g : golden) EXPECT_EQ(Hex(*r.BandFrame(g.band), 17), g.hex) << g.name;
    PageModel m = ResetPage(7, {100, 200, 300, 400, 500});
    // clang-format off
    const struct { int band, freq, enabled, byte6; } cases[] = {
        {0, 20, 1, 0}, {0, 21, 1, 1},    {0, 21, 0, 0},    {6, 20000, 1, 0}, {6, 19999, 1, 1},
        {3, 20, 1, 1}, {3, 20000, 1, 1}, {0, 20000, 1, 1}, {6, 20, 1, 1}};
    // clang-format on
    for (const auto& c : cases) {
        m.band.freq[c.band] = c.freq;
        m.band.enabled[c.band] = c.enabled;
        EXPECT_EQ(m.BandFrame(c.band)->b[6], c.byte6)
            << "band " << c.band << " at " << c.freq << " Hz, enabled " << c.enabled;
    }
    const struct {
        const char* name;
        int type, code;
    } typeBytes[] = {{"low shelf", kTypeLowShelf, 6},
                     {"low-pass", kTypeLowPass, 4},
                     {"unknown 42", 42, 0},
                     {"negative", -1, 0}};
    for (const auto& c : typeBytes) {
        m.band.type[2] = c.type;
        EXPECT_EQ(m.BandFrame(2)->b[15], c.code) << c.name;
    }
    for (int b : {-1, 7, 17}) EXPECT_FALSE(m.BandFrame(b).has_value()) << b;
    EXPECT_EQ(Hex(BaseAlcFrame(), 14), "A5 0E F1 18 00 00 00 00 00 00 00 00 00 00");
}

TEST(Reset, EveryBandAndPeqFollowingBypass) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[9] = 5, m.band.type[9] = kTypeHighShelf, m.band.enabled[9] = 0;
    m.bypass = true;
    m.ResetAll();  // the in-page values show in the saved reset body of the preset text tests
    for (int b = 0; b < 5; ++b) EXPECT_EQ(m.band.enabled[b], 1) << b;
    // Beyond the page: neutral values, type and enabled untouched; bypass untouched.
    EXPECT_EQ(m.band.freq[9], kMinFreq) << "band 9 frequency";
    EXPECT_EQ(m.band.gain[9], 0.0f) << "band 9 gain";
    EXPECT_EQ(m.band.type[9], kTypeHighShelf) << "band 9 type untouched";
    EXPECT_EQ(m.band.enabled[9], 0) << "band 9 enabled untouched";
    EXPECT_TRUE(m.bypass) << "bypass untouched";
    m.band.freq[0] = 80, m.band.gain[2] = 6;
    for (bool bypass : {true, false}) {
        m.SetBypass(bypass);
        m.ResetPeq();
        EXPECT_EQ(m.band.freq[0], 80) << "the pass filter keeps its frequency; bypass " << bypass;
        EXPECT_EQ(m.band.gain[2], 0.0f) << "a peaking band is flat again; bypass " << bypass;
        for (int b = 1; b <= 3; ++b)
            EXPECT_EQ(m.band.enabled[b], bypass ? 0 : 1) << "band " << b << ", bypass " << bypass;
    }
}

TEST(Bypass, CyclesIgnoreThePassFiltersAndGuardBands) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    EXPECT_FALSE(m.RecomputeBypass());
    m.SetBypass(true);
    EXPECT_TRUE(m.RecomputeBypass()) << "every peaking band off";
    EXPECT_EQ(m.band.enabled[0], 1) << "the high-pass band stays on in bypass";
    EXPECT_EQ(m.band.enabled[4], 1) << "the low-pass band stays on in bypass";
    EXPECT_TRUE(m.SetEnabled(2, 0x100));  // stored as 1
    EXPECT_EQ(m.band.enabled[2], 1) << "0x100 stored as 1";
    EXPECT_FALSE(m.RecomputeBypass()) << "a peaking band on";
    EXPECT_TRUE(m.SetEnabled(2, 0)) << "band 2 off again";
    EXPECT_TRUE(m.RecomputeBypass()) << "band 2 off again";
    for (int b : {-1, 5, 17}) EXPECT_FALSE(m.SetEnabled(b, 1)) << "band " << b;
    for (int n : {0, 2}) EXPECT_TRUE(PageModel(n).RecomputeBypass()) << n;
}

TEST(CopyCurve, FiveBandPageAndNeutralRest) {
    PageModel m = ResetPage(5, {100, 1000, 10000});
    m.band.gain[2] = -3.5f;
    m.band.enabled[3] = 0;
    CurveRecord out;
    m.CopyCurve(out);
    const auto& b = m.band;  // in-page bands copied, the rest neutral and off
    for (int i = 0; i < kMaxBands; ++i) {
        SCOPED_TRACE(testing::Message() << "band " << i << (i < 5 ? " (on the page)" : " (beyond the page)"));
        const bool in = i < 5;
        EXPECT_EQ(out.freq[i], in ? b.freq[i] : kMaxFreq) << "frequency";
        EXPECT_EQ(out.gain[i], in ? b.gain[i] : 0.0f) << "gain";
        EXPECT_EQ(out.q[i], in ? b.q[i] : 1.0f) << "Q";
        EXPECT_EQ(out.type[i], in ? b.type[i] : kTypePeaking) << "type";
        EXPECT_EQ(out.shown[i], 1) << "shown";
        EXPECT_EQ(out.enabled[i], in ? b.enabled[i] : 0) << "enabled";
    }
    EXPECT_EQ(out.gain[2], -3.5f) << "band 2's own gain";
    EXPECT_EQ(out.enabled[3], 0) << "band 3 off";
    EXPECT_EQ(out.freq[4], kMaxFreq) << "band 4 at the low-pass reset frequency";
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
        EXPECT_EQ(m.band.freq, before) << "a frame of band " << band;
    }
}

}  // namespace
