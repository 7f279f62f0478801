#include "pages/band_input.h"

#include <gtest/gtest.h>

namespace {

// Typed values: our own decimal parser, quantised to tenths with the wire's rounding; a zero
// leading number is zero gain, only a text without any number is "invalid input".
TEST(CheckBandEdit, VerdictsAndQuantisedValues) {
    using V = EditVerdict;
    const struct {
        BandEdit edit;
        const char* text;
        V verdict;
        int value;  // tenths of a dB or of Q, or Hz
    } cases[] = {
        {BandEdit::kGain, "-24", V::kAccept, -240},
        {BandEdit::kGain, "12", V::kAccept, 120},
        {BandEdit::kGain, "12.01", V::kOutOfRange, 0},
        {BandEdit::kGain, "-24.01", V::kOutOfRange, 0},
        {BandEdit::kGain, "3.55", V::kAccept, 36},
        {BandEdit::kGain, "-3.51", V::kAccept, -36},
        {BandEdit::kGain, "3.5 dB", V::kAccept, 35},
        {BandEdit::kGain, "-0.0 dB", V::kAccept, 0},
        {BandEdit::kGain, "0.00", V::kAccept, 0},
        {BandEdit::kGain, "+0.0 db", V::kAccept, 0},
        {BandEdit::kGain, "zero", V::kInvalidInput, 0},
        {BandEdit::kGain, "", V::kInvalidInput, 0},
        {BandEdit::kGain, "dB", V::kInvalidInput, 0},
        {BandEdit::kGain, "nan", V::kOutOfRange, 0},
        {BandEdit::kGain, "inf", V::kOutOfRange, 0},
        {BandEdit::kGain, "0x5", V::kOutOfRange, 0},
        {BandEdit::kGain, "1e999", V::kOutOfRange, 0},
        {BandEdit::kFreq, "1000 Hz", V::kAccept, 1000},
        {BandEdit::kFreq, "20", V::kAccept, 20},
        {BandEdit::kFreq, "20000", V::kAccept, 20000},
        {BandEdit::kFreq, "19", V::kOutOfRange, 0},
        {BandEdit::kFreq, "20001", V::kOutOfRange, 0},
        {BandEdit::kFreq, "abc", V::kOutOfRange, 0},
        {BandEdit::kFreq, "99999999999999", V::kOutOfRange, 0},
        {BandEdit::kFreq, "0x100", V::kOutOfRange, 0},
        {BandEdit::kQ, "0.3", V::kOutOfRange, 0},
        {BandEdit::kQ, "0.4", V::kAccept, 4},
        {BandEdit::kQ, "128", V::kAccept, 1280},
        {BandEdit::kQ, "128.01", V::kOutOfRange, 0},
        {BandEdit::kQ, "0.45", V::kAccept, 5},
        {BandEdit::kQ, "1.01", V::kAccept, 11},
        {BandEdit::kQ, "nan", V::kOutOfRange, 0},
    };
    for (const auto& c : cases) {
        const EditCheck r = CheckBandEdit(c.edit, c.text);
        EXPECT_EQ(r.verdict, c.verdict) << c.text;
        if (r.verdict != V::kAccept) continue;
        if (c.edit == BandEdit::kFreq) {
            EXPECT_EQ(r.hz, c.value) << c.text;
        } else {
            EXPECT_EQ(r.tenths, c.value) << c.text;
            EXPECT_FLOAT_EQ(r.value, static_cast<float>(c.value) / 10.0f) << c.text;
        }
    }
}

TEST(Boxes, TextsByLanguage) {
    EXPECT_EQ(RangeBoxMessage(BandEdit::kFreq, 1), "Out of range(20 - 20000Hz).");
    EXPECT_EQ(RangeBoxMessage(BandEdit::kQ, 3), "Ngoài phạm vi(0.4 - 128.0)");
    EXPECT_EQ(RangeBoxMessage(BandEdit::kQ, 4), "Di luar jangkauan(0.4 - 128.0)");
    EXPECT_EQ(RangeBoxCaption(99), "无效值");
}

}  // namespace
