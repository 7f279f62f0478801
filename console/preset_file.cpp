#include "console/preset_file.h"

#include <set>
#include <utility>

#include "pages/preset_text.h"
#include "platform/ascii_text.h"
#include "platform/numbers.h"
#include "platform/text_file.h"

namespace preset {

namespace {

constexpr const char* kVol = "[vol]";
constexpr const char* kMusicVol = "[music vol]";
constexpr const char* kDirectVol = "[direct vol]";
constexpr const char* kEchoVol = "[echo vol]";
constexpr const char* kReverbVol = "[reverb vol]";
constexpr const char* kDelay = "[delay]";
constexpr const char* kEchoHighPass = "[effect echo high pass]";
constexpr const char* kEchoLowPass = "[effect echo low pass]";
constexpr const char* kReverbHighPass = "[effect reverb high pass]";
constexpr const char* kReverbLowPass = "[effect reverb low pass]";

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A level section: main and surround stand twice (left and right).
void AppendLevels(std::string& out, const char* name, const std::array<int, kOutputCount>& v) {
    out += num::Format("\n%s\n%d,%d,%d,%d,%d,%d\n\n", name, v[kMain], v[kMain], v[kMid], v[kBass],
                       v[kSurround], v[kSurround]);
}

// The six pieces of a value line, or nothing when it has another count.
std::optional<std::array<int, 6>> SixValues(const std::string& line) {
    const std::vector<std::string> pieces = ascii::Split(line, ',');
    if (pieces.size() != 6) return std::nullopt;
    std::array<int, 6> values{};
    for (int i = 0; i < 6; ++i) values[i] = num::ParseLeadingInt(pieces[i]);
    return values;
}

// The text up to the end of its last line holding anything but blanks, or nothing when that line
// has no line end: a file that stops mid-line may have lost part of its last number. Blank lines
// and lines of spaces or tabs after it (an editor's or a hand-made file's) are dropped.
std::optional<std::string_view> WholeText(std::string_view text) {
    const auto last = text.find_last_not_of(" \t\r\n");
    if (last == std::string_view::npos) return std::nullopt;
    const auto end = text.find('\n', last);
    if (end == std::string_view::npos) return std::nullopt;
    return text.substr(0, end + 1);
}

// Levels use the first of each left/right pair: pieces 1, 3, 4 and 5.
std::array<int, kOutputCount> LevelsOf(const std::array<int, 6>& six) {
    return {six[0], six[2], six[3], six[4]};
}

}  // namespace

std::string PresetText(const MainSections& main, const std::vector<std::string>& pageTexts) {
    std::string out = "[vol]\n";
    for (int v : main.master) out += num::Format("%d\n", v);
    AppendLevels(out, kMusicVol, main.music);
    AppendLevels(out, kDirectVol, main.direct);
    AppendLevels(out, kEchoVol, main.echo);
    AppendLevels(out, kReverbVol, main.reverb);
    const auto& d = main.delay;
    out += num::Format("\n%s\n%d,%d,%d,%d,%d,%d\n\n", kDelay, d[0], d[1], d[2], d[3], d[4], d[5]);
    for (const std::string& page : pageTexts) {
        out += page;
        out += '\n';
    }
    return out;
}

MainSectionValues ParseMainSections(const std::vector<std::string>& lines) {
    MainSectionValues found;
    const std::size_t count = lines.size();
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const std::string& line = lines[i];
        const std::string& next = lines[i + 1];
        if (SameSectionName(line, kVol)) {
            for (std::size_t k = 0; k < found.master.size() && i + 1 + k < count; ++k) {
                if (IsSectionHeader(lines[i + 1 + k])) break;
                found.master[k] = num::ParseLeadingInt(lines[i + 1 + k]);
            }
            continue;
        }
        struct Levels {
            const char* name;
            std::optional<std::array<int, kOutputCount>>* target;
        };
        const Levels levels[] = {{kMusicVol, &found.music},
                                 {kDirectVol, &found.direct},
                                 {kEchoVol, &found.echo},
                                 {kReverbVol, &found.reverb}};
        bool matched = false;
        for (const Levels& l : levels) {
            if (!SameSectionName(line, l.name)) continue;
            if (const auto six = SixValues(next)) *l.target = LevelsOf(*six);
            matched = true;
            break;
        }
        if (matched) continue;
        if (SameSectionName(line, kDelay)) {
            if (const auto six = SixValues(next)) found.delay = *six;
            continue;
        }
        struct Single {
            const char* name;
            std::optional<int>* target;
        };
        const Single singles[] = {{kEchoHighPass, &found.echoHighPass},
                                  {kEchoLowPass, &found.echoLowPass},
                                  {kReverbHighPass, &found.reverbHighPass},
                                  {kReverbLowPass, &found.reverbLowPass}};
        for (const Single& s : singles) {
            if (!SameSectionName(line, s.name)) continue;
            if (!IsSectionHeader(next)) *s.target = num::ParseLeadingInt(next);
            break;
        }
    }
    return found;
}

std::string EncodeFile(std::string_view text) {
    return textfile::EncodeUtf16Le(text);
}

namespace {

// The non-empty lines of decoded text that ends where the file's text ends.
std::vector<std::string> SplitTextLines(std::string_view rest) {
    if (rest.substr(0, 3) == kUtf8Bom) rest.remove_prefix(3);
    std::vector<std::string> lines;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

std::vector<std::string> SplitFileLines(std::string_view bytes) {
    std::string text = textfile::DecodeUtf16Le(bytes).text;
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return SplitTextLines(text);
}

SectionShapes ShapesOf(std::string_view text) {
    SectionShapes shapes;
    std::string current;
    for (std::string_view rest = text; !rest.empty();) {
        const auto end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.empty()) continue;
        if (IsSectionHeader(line)) {
            current = ascii::Lower(line);
            shapes[current] = 0;
        } else if (!current.empty()) {
            ++shapes[current];
        }
    }
    return shapes;
}

ReadLinesResult ParseFileBytes(std::string_view bytes, const SectionShapes& shapes) {
    ReadLinesResult result;
    auto malformed = [&](std::string why) {
        result.status = ReadStatus::Malformed;
        result.why = std::move(why);
        result.lines.clear();
        return result;
    };
    const textfile::Decoded decoded = textfile::DecodeUtf16Le(bytes);
    if (decoded.status != textfile::Status::Ok) return malformed("odd byte count");
    if (decoded.replaced) return malformed("not UTF-16LE: unpaired surrogates");
    std::string_view text = decoded.text;
    // A NUL ends the text; anywhere but at the very end it cuts off what follows.
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos && nul + 1 < text.size()) return malformed("a NUL inside the text");
    text = text.substr(0, nul);
    const auto whole = WholeText(text);
    if (!whole) return malformed("the last line is cut short");
    result.lines = SplitTextLines(*whole);  // the text decoded once, as SplitFileLines would split it
    const auto& lines = result.lines;
    // Every section the console writes, the pages' too, in any order.
    std::set<std::string> present;
    for (const std::string& line : lines)
        if (IsSectionHeader(line)) present.insert(ascii::Lower(line));
    for (const auto& [name, valueLines] : shapes) {
        if (!present.contains(name)) return malformed("no " + name + " section");
    }
    // Only the last section can run into the end of the file.
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (!IsSectionHeader(lines[i])) continue;
        const auto shape = shapes.find(ascii::Lower(lines[i]));
        if (shape != shapes.end() && lines.size() - 1 - i < shape->second)
            return malformed(lines[i] + " is cut short at the end of the file");
        break;
    }
    return result;
}

ReadLinesResult ReadTextLines(const std::string& path, const SectionShapes& shapes) {
    const textfile::ReadResult read = textfile::ReadWholeFile(path);
    if (read.status != textfile::Status::Ok) {
        ReadLinesResult result;
        result.status = ReadStatus::Unreadable;
        result.why = textfile::Describe(read.status);
        return result;
    }
    return ParseFileBytes(read.bytes, shapes);
}

bool WriteTextFile(const std::string& path, std::string_view text) {
    return textfile::WriteFileAtomically(path, EncodeFile(text)) == textfile::Status::Ok;
}

}  // namespace preset
