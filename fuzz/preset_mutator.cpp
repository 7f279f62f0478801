#include "fuzz/preset_mutator.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <vector>

#include "pages/preset_text.h"
#include "platform/ascii_text.h"
#include "platform/text_file.h"

namespace presetfuzz {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A file as lines, so that edits keep its line ends and byte-order mark.
struct Text {
    bool bom = false;
    bool crlf = false;
    std::vector<std::string> lines;  // every line, empty ones too, without its line end
    std::string tail;                // what follows the last line end: empty in a whole file
};

Text Split(std::string_view text) {
    Text t;
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        t.bom = true;
        text.remove_prefix(kUtf8Bom.size());
    }
    t.crlf = text.find("\r\n") != std::string_view::npos;
    for (;;) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) break;
        std::string_view line = text.substr(0, end);
        if (t.crlf && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        t.lines.emplace_back(line);
        text.remove_prefix(end + 1);
    }
    t.tail = text;
    return t;
}

std::string Encode(const Text& t) {
    std::string text = t.bom ? std::string(kUtf8Bom) : std::string();
    for (const std::string& line : t.lines) {
        text += line;
        text += t.crlf ? "\r\n" : "\n";
    }
    text += t.tail;
    return textfile::EncodeUtf16Le(text);
}

std::set<std::string> Sections(const Text& t) {
    std::set<std::string> names;
    for (const std::string& line : t.lines)
        if (IsSectionHeader(line)) names.insert(ascii::Lower(line));
    return names;
}

// The file as text when it is UTF-16LE text that holds every one of `sections`.
std::optional<Text> Parse(std::string_view file, const std::set<std::string>& sections) {
    const textfile::Decoded decoded = textfile::DecodeUtf16Le(file);
    if (decoded.status != textfile::Status::Ok || decoded.replaced) return std::nullopt;
    Text t = Split(decoded.text);
    const std::set<std::string> have = Sections(t);
    for (const std::string& name : sections)
        if (!have.contains(name)) return std::nullopt;
    return t;
}

class Editor {
  public:
    Editor(Text& text, std::uint32_t seed, RawMutate raw) : t_(text), rng_(seed), raw_(raw) {}

    void Edit() {
        const unsigned kind = Below(32);
        if (kind < 16) return ReplaceValue();
        switch (kind) {
            case 16:
                return AddField();
            case 17:
                return DropField();
            case 18:
                return EraseLine();
            case 19:
                return DoubleLine();
            case 20:
                return SwapLines();
            case 21:
                return MoveSection();
            case 22:
                return DoubleSection();
            case 23:
                return RenameSection();
            case 24:
                return RecaseSection();
            case 25:
                return ToggleLineEnds();
            case 26:
                return PutNul();
            case 27:
                return CutShort();
            default:
                return MutateLineBytes();
        }
    }

  private:
    unsigned Below(std::size_t n) { return n == 0 ? 0 : static_cast<unsigned>(rng_() % n); }
    bool Chance(unsigned inN) { return Below(inN) == 0; }

    std::vector<std::size_t> Lines(bool headers) const {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < t_.lines.size(); ++i) {
            const std::string& l = t_.lines[i];
            if (!l.empty() && IsSectionHeader(l) == headers) out.push_back(i);
        }
        return out;
    }
    std::optional<std::size_t> AnyOf(const std::vector<std::size_t>& lines) {
        if (lines.empty()) return std::nullopt;
        return lines[Below(lines.size())];
    }
    // A section: its header and the lines up to the next header.
    std::pair<std::size_t, std::size_t> SectionAt(std::size_t header) const {
        std::size_t end = header + 1;
        while (end < t_.lines.size() && !IsSectionHeader(t_.lines[end])) ++end;
        return {header, end};
    }

    // The ends of the console's ranges and their neighbours, the edges of the integer types, small
    // numbers, and texts a hand edit may leave.
    std::string NewValue(std::string_view old) {
        // clang-format off
        static constexpr long long kEdges[] = {
            0, 1, -1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 19, 20, 21, 24, 25, 30, 40, 50,
            60, 63, 64, 70, 71, 80, 81, 84, 85, 99, 100, 101, 120, 127, 128, 200, 255, 256, 1000,
            1200, 1201, 1240, 2400, 12800, 12801, 19999, 20000, 20001, 32767, 32768, 65535, 65536,
            -10, -12, -24, -30, -40, -60, -80, -81, -1200, -2400, -2401,
            1LL << 24, INT_MAX, INT_MIN, 4294967295LL, LLONG_MAX, LLONG_MIN};
        static constexpr const char* kOdd[] = {
            "", " ", "-", "+7", " 12", "12 ", "0x10", "1e3", "12.345", "-0", "nan", "inf", "--5", "5-",
            "١٢", "１２", "\t3", "3\r", "12.", ".5", "0.0049", "-0.005", "2147483648", "-2147483649",
            "99999999999999999999", "-99999999999999999999"};
        // clang-format on
        // Held well inside long long, so a step from it cannot overflow.
        const long long was =
            std::clamp(std::strtoll(std::string(old).c_str(), nullptr, 10), -(1LL << 40), 1LL << 40);
        static constexpr long long kSteps[] = {-100, -10, -1, 1, 10, 100};
        switch (Below(6)) {
            case 0:
                return std::to_string(was + kSteps[Below(std::size(kSteps))]);
            case 1:
                return std::to_string(kEdges[Below(std::size(kEdges))]);
            case 2:
                return std::to_string(static_cast<std::int32_t>(rng_()));
            case 3:
                return std::to_string(static_cast<int>(Below(201)) - 100);
            case 4:
                return kOdd[Below(std::size(kOdd))];
            default:
                return std::to_string(was) + "." + std::to_string(Below(1000));
        }
    }

    void ReplaceValue() {
        const auto line = AnyOf(Lines(false));
        if (!line) return;
        std::vector<std::string> fields = ascii::Split(t_.lines[*line], ',');
        if (fields.empty()) fields.emplace_back();
        std::string& field = fields[Below(fields.size())];
        field = NewValue(field);
        Join(*line, fields);
    }
    void AddField() {
        if (const auto line = AnyOf(Lines(false))) t_.lines[*line] += "," + NewValue("0");
    }
    void DropField() {
        const auto line = AnyOf(Lines(false));
        if (!line) return;
        std::vector<std::string> fields = ascii::Split(t_.lines[*line], ',');
        if (fields.size() < 2) return;
        fields.erase(fields.begin() + Below(fields.size()));
        Join(*line, fields);
    }
    void Join(std::size_t line, const std::vector<std::string>& fields) {
        std::string joined;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            if (k) joined += ',';
            joined += fields[k];
        }
        t_.lines[line] = joined;
    }

    void EraseLine() {
        if (!t_.lines.empty()) t_.lines.erase(t_.lines.begin() + Below(t_.lines.size()));
    }
    void DoubleLine() {
        if (t_.lines.empty()) return;
        const std::size_t i = Below(t_.lines.size());
        t_.lines.insert(t_.lines.begin() + i, Chance(4) ? std::string() : t_.lines[i]);
    }
    void SwapLines() {
        if (t_.lines.size() < 2) return;
        std::swap(t_.lines[Below(t_.lines.size())], t_.lines[Below(t_.lines.size())]);
    }

    void MoveSection() {
        const auto header = AnyOf(Lines(true));
        if (!header) return;
        const auto [begin, end] = SectionAt(*header);
        std::vector<std::string> section(t_.lines.begin() + begin, t_.lines.begin() + end);
        t_.lines.erase(t_.lines.begin() + begin, t_.lines.begin() + end);
        // Before another section, or at the end.
        const auto before = AnyOf(Lines(true));
        const std::size_t at = before && !Chance(4) ? *before : t_.lines.size();
        t_.lines.insert(t_.lines.begin() + at, section.begin(), section.end());
    }
    void DoubleSection() {
        const auto header = AnyOf(Lines(true));
        if (!header) return;
        const auto [begin, end] = SectionAt(*header);
        std::vector<std::string> copy(t_.lines.begin() + begin, t_.lines.begin() + end);
        if (Chance(2)) {
            // The copy with other values: a later section wins.
            Text part{false, false, copy, ""};
            Editor(part, rng_(), nullptr).ReplaceValue();
            copy = part.lines;
        }
        t_.lines.insert(t_.lines.end(), copy.begin(), copy.end());
    }
    void RenameSection() {
        const std::vector<std::size_t> headers = Lines(true);
        if (headers.size() < 2) return;
        t_.lines[headers[Below(headers.size())]] = t_.lines[headers[Below(headers.size())]];
    }
    void RecaseSection() {
        const auto header = AnyOf(Lines(true));
        if (!header) return;
        for (char& c : t_.lines[*header])
            if (Chance(2)) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : ascii::Lower(c);
    }
    void ToggleLineEnds() {
        if (Chance(2))
            t_.crlf = !t_.crlf;
        else
            t_.bom = !t_.bom;
    }
    void PutNul() {
        if (t_.lines.empty()) return;
        std::string& line = t_.lines[Below(t_.lines.size())];
        line.insert(line.begin() + Below(line.size() + 1), '\0');
    }
    void CutShort() {
        if (t_.lines.empty()) return;
        const std::size_t keep = Below(t_.lines.size());
        t_.tail = t_.lines[keep].substr(0, Below(t_.lines[keep].size() + 1));
        t_.lines.resize(keep);
    }
    void MutateLineBytes() {
        const auto line = AnyOf(Lines(Chance(8)));
        if (!raw_ || !line) return ReplaceValue();
        std::string& text = t_.lines[*line];
        const std::size_t size = text.size();
        text.resize(size + 16);
        text.resize(raw_(reinterpret_cast<std::uint8_t*>(text.data()), size, text.size()));
    }

    Text& t_;
    std::mt19937 rng_;
    RawMutate raw_;
};

}  // namespace

struct Mutator::Base {
    Text text;
    std::set<std::string> sections;
};

Mutator::Mutator(std::string_view base) : base_(std::make_unique<Base>()) {
    base_->text = Split(base);
    base_->sections = Sections(base_->text);
}

Mutator::~Mutator() = default;

std::string Mutator::Mutate(std::string_view file, std::size_t maxSize, std::uint32_t seed,
                            RawMutate raw) const {
    std::mt19937 rng(seed);
    if (raw && rng() % 16 == 0) {
        // Now and then bytes as they come: odd lengths, lone surrogates, a file that is no text.
        std::string bytes(file);
        bytes.resize(std::max(maxSize, file.size()));
        bytes.resize(raw(reinterpret_cast<std::uint8_t*>(bytes.data()), file.size(), maxSize));
        return bytes;
    }
    // A file the import refuses for a missing section mostly starts again from the base: edits of
    // it would mostly be refused as well.
    std::optional<Text> parsed = Parse(file, base_->sections);
    if (!parsed && rng() % 4 == 0) parsed = Split(textfile::DecodeUtf16Le(file).text);
    for (int attempt = 0; attempt < 4; ++attempt) {
        Text text = parsed ? *parsed : base_->text;
        Editor editor(text, static_cast<std::uint32_t>(rng()), raw);
        const unsigned edits = rng() % 4 == 0 ? 2 + rng() % 3 : 1;
        for (unsigned k = 0; k < edits; ++k) editor.Edit();
        std::string bytes = Encode(text);
        if (bytes.size() <= maxSize && bytes != file) return bytes;
    }
    return {};
}

}  // namespace presetfuzz
