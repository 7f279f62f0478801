#pragma once
// Locale-independent number parsing and formatting (typed values, preset files, INI values).

#include <optional>
#include <string>
#include <string_view>

namespace num {

// Leading decimal integer after optional blanks and sign, as _wtoi reads it; saturates at the
// int range; 0 when there is no digit.
int ParseLeadingInt(std::string_view text);

// True when the text starts (after blanks and sign) with at least one digit.
bool HasLeadingInt(std::string_view text);

// Leading decimal number: blanks, sign, digits with an optional fraction and exponent.
// No hex, no "inf"/"nan"; nullopt when there is no number or it is not finite.
std::optional<double> ParseLeadingDecimal(std::string_view text);

// printf-style fixed-point formatting that ignores the process locale ("%.*f").
std::string FormatFixed(double value, int decimals);

// printf into a std::string under the C locale (for "%d", "%.1f", "%+.1f" and the like).
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace num
