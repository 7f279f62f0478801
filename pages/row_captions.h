#pragma once
// The captions at the left of the band columns ("Gain", "Type", "Freq", "Q") in the five languages.

namespace rowcaption {

inline constexpr int kRows = 4;

// Row 0..3 in language 0..4 (out-of-range language: Chinese).
const char* Text(int row, int language);

}  // namespace rowcaption
