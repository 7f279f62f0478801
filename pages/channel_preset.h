#pragma once
// The channel pages' own preset-file sections (the EQ body is the page base's): section lookup,
// piece splitting and the limiter, mute, gate, FBC and effect sections.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/channel_sliders.h"
#include "pages/preset_text.h"

namespace chan {

using Lines = std::vector<std::string>;

// How the section readers and writers reach a page's slider positions (the page clamps on set).
struct SliderAccess {
    std::function<int(int id)> get;
    std::function<void(int id, int pos)> set;
};
SliderAccess AccessOf(SliderBank& bank);

// The channel-page tests' names for the shared helpers.
inline bool IsSectionName(std::string_view line, std::string_view name) {
    return SameSectionName(line, name);
}
inline std::vector<std::string> SplitPieces(std::string_view text, char sep = ',') {
    return ascii::Split(text, sep);
}

// Calls fn(valueLine) for each line equal to `name` that has a value line after it (not another
// section's header), in file order.
template <class Fn>
void ForEachSection(const Lines& lines, std::string_view name, Fn fn) {
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        if (SameSectionName(lines[i], name) && !IsSectionHeader(lines[i + 1])) fn(lines[i + 1]);
}

// The leading integers of the pieces when there are exactly `count` of them.
std::optional<std::vector<int>> IntPieces(std::string_view line, std::size_t count);

// "\n<name>\n" followed by the positions of `ids`, comma-separated, and a newline.
std::string SlidersSection(std::string_view name, const SliderAccess& sliders, const std::vector<int>& ids);

// Sets `ids` from every `name` section whose value line has exactly ids.size() pieces.
// Returns true when any section was applied.
bool LoadSlidersSection(const Lines& lines, std::string_view name, const SliderAccess& sliders,
                        const std::vector<int>& ids);

// A section whose value line is one integer read from the whole line (non-numbers give 0).
bool LoadWholeLineSection(const Lines& lines, std::string_view name, const SliderAccess& sliders, int id);

// "\n<name>\n%d\n" of the mute word.
std::string MuteSection(std::string_view name, int muteBits);
// The mute word of the last well-formed `name` section, masked to the page's bits.
std::optional<int> LoadMuteSection(const Lines& lines, std::string_view name, int mask);

// Limiter slider ids in the preset order.
std::vector<int> LimiterIds();

// Text lines of a preset file's text, split on "\n", empty lines dropped (the way the import
// hands them to the pages).
Lines NonEmptyLines(std::string_view text);

}  // namespace chan
