#include "pages/channel_preset.h"

#include "platform/ascii_text.h"
#include "platform/numbers.h"

namespace chan {

SliderAccess AccessOf(SliderBank& bank) {
    return {[&bank](int id) { return bank.Get(id); }, [&bank](int id, int pos) { bank.Set(id, pos); }};
}

std::optional<std::vector<int>> IntPieces(std::string_view line, std::size_t count) {
    const auto pieces = ascii::Split(line, ',');
    if (pieces.size() != count) return std::nullopt;
    std::vector<int> values;
    values.reserve(count);
    for (const auto& p : pieces) values.push_back(num::ParseLeadingInt(p));
    return values;
}

std::string SlidersSection(std::string_view name, const SliderAccess& sliders, const std::vector<int>& ids) {
    std::string s = "\n";
    s += name;
    s += "\n";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i) s += ",";
        s += num::Format("%d", sliders.get(ids[i]));
    }
    s += "\n";
    return s;
}

bool LoadSlidersSection(const Lines& lines, std::string_view name, const SliderAccess& sliders,
                        const std::vector<int>& ids) {
    bool applied = false;
    ForEachSection(lines, name, [&](const std::string& value) {
        const auto v = IntPieces(value, ids.size());
        if (!v) return;
        for (std::size_t i = 0; i < ids.size(); ++i) sliders.set(ids[i], (*v)[i]);
        applied = true;
    });
    return applied;
}

bool LoadWholeLineSection(const Lines& lines, std::string_view name, const SliderAccess& sliders, int id) {
    bool applied = false;
    ForEachSection(lines, name, [&](const std::string& value) {
        sliders.set(id, num::ParseLeadingInt(value));
        applied = true;
    });
    return applied;
}

std::string MuteSection(std::string_view name, int muteBits) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a chain of operator+ here.
    std::string section = "\n";
    section.append(name).append("\n").append(num::Format("%d", muteBits)).append("\n");
    return section;
}

std::optional<int> LoadMuteSection(const Lines& lines, std::string_view name, int mask) {
    std::optional<int> bits;
    ForEachSection(lines, name, [&](const std::string& value) {
        if (const auto v = IntPieces(value, 1)) bits = (*v)[0] & mask;
    });
    return bits;
}

std::vector<int> LimiterIds() {
    return {id::kLimit, id::kStartTime, id::kReleaseMultiplier, id::kRatio};
}

Lines NonEmptyLines(std::string_view text) {
    Lines out;
    for (auto& piece : ascii::Split(text, '\n')) out.push_back(std::move(piece));
    return out;
}

}  // namespace chan
