#include "pages/band_input.h"

#include <gtest/gtest.h>

#include "controls/band_limits.h"

using namespace controls;

namespace {

TEST(CheckBandEdit, VerdictsAndQuantisedValues) {
    using V = EditVerdict;
    constexpr BandEdit G = BandEdit::kGain, F = BandEdit::kFreq, Q = BandEdit::kQ;
    constexpr V A = V::kAccept, R = V::kOutOfRange, I = V::kInvalidInput;
    // clang-format off
    const struct { BandEdit edit; const char* text; V verdict; int value; } cases[] = {  // tenths, or Hz
        {G, "-24", A, kMinGainTenths}, {G, "12", A, kMaxGainTenths}, {G, "12.01", R, 0}, {G, "-24.01", R, 0}, {G, "3.55", A, 36},
        {G, "-3.51", A, -36}, {G, "3.5 dB", A, 35}, {G, "-0.0 dB", A, 0}, {G, "0.00", A, 0}, {G, "+0.0 db", A, 0},
        {G, "zero", I, 0}, {G, "", I, 0}, {G, "dB", I, 0}, {G, "nan", R, 0}, {G, "inf", R, 0}, {G, "0x5", R, 0},
        {G, "1e999", R, 0}, {F, "1000 Hz", A, 1000}, {F, "20", A, kMinFreq}, {F, "20000", A, kMaxFreq}, {F, "19", R, 0},
        {F, "20001", R, 0}, {F, "abc", R, 0}, {F, "99999999999999", R, 0}, {F, "0x100", R, 0}, {Q, "0.3", R, 0},
        {Q, "0.4", A, kMinQTenths}, {Q, "128", A, kMaxQTenths}, {Q, "128.01", R, 0}, {Q, "0.45", A, 5}, {Q, "1.01", A, 11},
        {Q, "nan", R, 0}};
    // clang-format on
    for (const auto& c : cases) {
        const char* edit = c.edit == G ? "gain" : c.edit == F ? "frequency" : "Q";
        SCOPED_TRACE(testing::Message() << edit << " text \"" << c.text << "\"");
        const EditCheck r = CheckBandEdit(c.edit, c.text);
        EXPECT_EQ(r.verdict, c.verdict) << "verdict";
        if (r.verdict != V::kAccept) continue;
        if (c.edit == F) {
            EXPECT_EQ(r.hz, c.value) << "Hz";
        } else {
            EXPECT_EQ(r.tenths, c.value) << "tenths";
            EXPECT_EQ(r.value, static_cast<float>(c.value) / 10.0f) << "value";
        }
    }
    EXPECT_EQ(RangeBoxMessage(Q, 3), "Ngoài phạm vi(0.4 - 128.0)");
    EXPECT_EQ(RangeBoxMessage(Q, 4), "Di luar jangkauan(0.4 - 128.0)");
    EXPECT_EQ(RangeBoxCaption(99), "无效值");
}

}  // namespace
