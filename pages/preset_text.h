#pragma once
// The page's EQ section of the preset file: one line per band and a bypass line.

#include <string>
#include <string_view>
#include <vector>

#include "pages/page_model.h"
#include "platform/ascii_text.h"

// The page tests' name for ascii::SplitInto.
inline void SplitString(std::vector<std::string>& out, std::string_view text, std::string_view separator) {
    ascii::SplitInto(out, text, separator);
}

// Whole-line comparison ignoring the case of ASCII letters (no trimming).
bool SameSectionName(std::string_view line, std::string_view name);

// A line that opens a section ("[" .. "]") rather than holding values. Every section reader stops
// at one: a section missing a line never takes the next section's lines as its own.
bool IsSectionHeader(std::string_view line);

// "freq,gain*100,q*100,type\n" per band, then "1\n" or "0\n" for the bypass.
std::string SaveEqText(const PageModel& model);

// Applies every EQ section of the model's `sectionName` found in `lines` (the later one wins).
// Returns true when anything was applied. Values are clamped to the controls' ranges; a band line
// that is not exactly four numbers, holds a non-finite gain or a type outside 0..5 is skipped. The
// section ends at the next section header: bands (and the bypass) whose lines are missing keep
// their values.
bool LoadEqText(PageModel& model, const std::vector<std::string>& lines);
