#include "pages/preset_text.h"

#include <algorithm>
#include <cmath>

#include "pages/band_input.h"
#include "platform/ascii_text.h"
#include "platform/numbers.h"

namespace {

long RoundHundredths(float v) {
    if (!std::isfinite(v)) return 0;
    return std::lround(static_cast<double>(v) * 100.0);
}

// One band line; false when it must be skipped.
bool ApplyBandLine(PageModel& model, int b, const std::string& line) {
    const std::vector<std::string> pieces = ascii::Split(line, ',');
    if (pieces.size() != 4) return false;
    const DecimalRead gain = ReadDecimal(pieces[1]);
    if (gain.kind == NumberRead::kRefused) return false;
    const int type = num::ParseLeadingInt(pieces[3]);
    if (type < kTypeOff || type > kTypeLowPass) return false;
    const float hundredths = gain.kind == NumberRead::kValue ? static_cast<float>(gain.value) : 0.0f;
    model.band.freq[b] = std::clamp(num::ParseLeadingInt(pieces[0]), kMinFreq, kMaxFreq);
    model.band.gain[b] = std::clamp(hundredths / 100.0f, kMinGain, kMaxGain);
    model.band.q[b] = std::clamp(static_cast<float>(num::ParseLeadingInt(pieces[2])) / 100.0f, kMinQ, kMaxQ);
    model.band.type[b] = type;
    return true;
}

}  // namespace

bool SameSectionName(std::string_view line, std::string_view name) {
    return ascii::EqualIgnoringCase(line, name);
}

bool IsSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

std::string SaveEqText(const PageModel& model) {
    std::string out;
    for (int b = 0; b < model.bandCount; ++b) {
        out += num::Format("%d,%ld,%ld,%d\n", model.band.freq[b], RoundHundredths(model.band.gain[b]),
                           RoundHundredths(model.band.q[b]), model.band.type[b]);
    }
    out += model.bypass ? "1\n" : "0\n";
    return out;
}

bool LoadEqText(PageModel& model, const std::vector<std::string>& lines) {
    const int n = model.bandCount;
    const auto count = static_cast<long long>(lines.size());
    bool applied = false;
    for (long long k = 0; k < count; ++k) {
        if (!SameSectionName(lines[k], model.sectionName)) continue;
        // Lines are read in order up to the next section header; what is missing keeps its value.
        int b = 0;
        for (; b < n && k + 1 + b < count && !IsSectionHeader(lines[k + 1 + b]); ++b) {
            if (ApplyBandLine(model, b, lines[k + 1 + b])) applied = true;
        }
        if (b == n && k + n + 1 < count && !IsSectionHeader(lines[k + n + 1])) {
            model.SetBypass(num::ParseLeadingInt(lines[k + n + 1]) != 0);
            applied = true;
        }
    }
    return applied;
}
