#pragma once
// Checking the text typed into a band's gain, frequency or Q edit, and the boxes that refuse it.
// Pure functions: the Page shows the boxes and writes the model.

#include <string>
#include <string_view>

enum class NumberRead { kNone, kRefused, kValue };

// The leading decimal number of a text. kNone: no number at all; kRefused: hex, "inf", "nan" or a
// number too large for a double; kValue: `value` holds it.
struct DecimalRead {
    NumberRead kind = NumberRead::kNone;
    double value = 0;
};
DecimalRead ReadDecimal(std::string_view text);

enum class BandEdit { kGain, kFreq, kQ };
enum class EditVerdict { kAccept, kOutOfRange, kInvalidInput };

struct EditCheck {
    EditVerdict verdict = EditVerdict::kOutOfRange;
    float value = 0;  // accepted gain (a tenth, away from zero) or Q (up to a tenth)
    int tenths = 0;   // accepted gain or Q in tenths, as the notice carries it
    int hz = 0;       // accepted frequency
};

EditCheck CheckBandEdit(BandEdit kind, std::string_view text);

// Texts of the edits.
std::string GainText(float gain);  // "+3.5 dB", "-3.5 dB"
std::string FreqText(int hz);      // "1000 Hz"
std::string QText(float q);        // "1.0"

// The refusal boxes, in a language 0..4 (clamped).
std::string RangeBoxCaption(int language);
std::string RangeBoxMessage(BandEdit kind, int language);
std::string InvalidInputText(int language);
