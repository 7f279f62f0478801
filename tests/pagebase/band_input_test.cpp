#include "pages/band_input.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckBandEdit, VerdictsAndQuantisedValues) {
    using V = EditVerdict;
    constexpr BandEdit G = BandEdit::kGain, F = BandEdit::kFreq, Q = BandEdit::kQ;
    constexpr V A = V::kAccept, R = V::kOutOfRange, I = V::kInvalidInput;
    // clang-format off
    const struct { BandEdit edit; const char* text; V verdict; int value; } cases[] = {  // tenths, or Hz
        {G, "-24", A, -240}, {G, "12", A, 120}, {G, "12.01", R, 0}, {G, "-24.01", R, 0}, {G, "3.55", A, 36},
        {G, "-3.51", A, -36}, {G, "3.5 dB", A, 35}, {G, "-0.0 dB", A, 0}, {G, "0.00", A, 0}, {G, "+0.0 db", A, 0},
        {G, "zero", I, 0}, {G, "", I, 0}, {G, "dB", I, 0}, {G, "nan", R, 0}, {G, "inf", R, 0}, {G, "0x5", R, 0},
        {G, "1e999", R, 0}, {F, "1000 Hz", A, 1000}, {F, "20", A, 20}, {F, "20000", A, 20000}, {F, "19", R, 0},
        {F, "20001", R, 0}, {F, "abc", R, 0}, {F, "99999999999999", R, 0}, {F, "0x100", R, 0}, {Q, "0.3", R, 0},
        {Q, "0.4", A, 4}, {Q, "128", A, 1280}, {Q, "128.01", R, 0}, {Q, "0.45", A, 5}, {Q, "1.01", A, 11},
        {Q, "nan", R, 0}};
    // clang-format on
    for (const auto& c : cases) {
        const EditCheck r = CheckBandEdit(c.edit, c.text);
        EXPECT_EQ(r.verdict, c.verdict) << c.text;
        if (r.verdict != V::kAccept) continue;
        EXPECT_EQ(c.edit == F ? std::pair(r.hz, 0.0f) : std::pair(r.tenths, r.value),
                  std::pair(c.value, c.edit == F ? 0.0f : static_cast<float>(c.value) / 10.0f))
            << c.text;
    }
    EXPECT_EQ(RangeBoxMessage(Q, 3), "Ngoài phạm vi(0.4 - 128.0)");
    EXPECT_EQ(RangeBoxMessage(Q, 4), "Di luar jangkauan(0.4 - 128.0)");
    EXPECT_EQ(RangeBoxCaption(99), "无效值");
}

}  // namespace
