#include "platform/ini.h"

#include <algorithm>
#include <cerrno>

#include "platform/ascii_text.h"
#include "platform/numbers.h"
#include "platform/text_file.h"

namespace ini {
namespace {

std::string_view Trim(std::string_view s) {
    const char* blanks = " \t\r";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

// One line of the text: [begin, contentEnd) without its line end, [begin, next) with it.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t next = 0;
};

// Calls visit(line, content) for each line; stops when visit returns false.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto nl = text.find('\n', pos);
        Line line;
        line.begin = pos;
        line.next = (nl == std::string_view::npos) ? text.size() : nl + 1;
        line.contentEnd = (nl == std::string_view::npos) ? text.size() : nl;
        if (line.contentEnd > line.begin && text[line.contentEnd - 1] == '\r') --line.contentEnd;
        if (!visit(line, text.substr(line.begin, line.contentEnd - line.begin))) return;
        pos = line.next;
    }
}

// "[name]" -> name; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
    const auto t = Trim(content);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> EntryOf(std::string_view content) {
    const auto t = Trim(content);
    if (t.empty() || t.front() == ';') return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Entry{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

std::string_view LineEndOf(std::string_view text) {
    const auto nl = text.find('\n');
    return (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') ? "\r\n" : "\n";
}

// A profile's text and how the file stores it: UTF-8 (ASCII), with or without the byte-order mark a
// Windows editor puts in front, or UTF-16LE behind its mark, the form such an editor saves "Unicode"
// in. Each is read as its text and written back in its own form. Anything else (UTF-16BE, UTF-16
// without a mark, binary) holds no profile the console can read, and is never rewritten.
enum class Form { kUtf8, kUtf8Marked, kUtf16Le, kForeign };

struct Profile {
    std::string text;  // UTF-8, without a mark
    Form form = Form::kUtf8;
    // Whether writing the text back keeps everything the file holds; a UTF-16 file with a stray byte
    // or an unpaired surrogate does not, and is never rewritten. (Runs of NULs in a UTF-8 file hold
    // nothing: they may go.)
    bool exact = true;
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// UTF-16 without a mark, told by its shape: its ASCII letters each have a NUL beside them, all on
// the same side of their code unit. A UTF-8 file may hold NULs too (a crash can leave a run of them
// where its tail was), but not beside most of its letters. Pairs of NULs tell nothing either way.
bool LooksLikeUnmarkedUtf16(std::string_view bytes) {
    std::size_t nulSecond = 0, nulFirst = 0, neither = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const bool first = bytes[i] == '\0', second = bytes[i + 1] == '\0';
        if (first && second) continue;
        ++(second ? nulSecond : first ? nulFirst : neither);
    }
    return 2 * std::max(nulSecond, nulFirst) > nulSecond + nulFirst + neither;
}

// A run of NULs names no key and no value: at a line's start it goes, inside a line it ends the line.
std::string WithoutNulRuns(std::string_view text) {
    const std::string_view eol = LineEndOf(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\0') {
            out += text[i++];
            continue;
        }
        while (i < text.size() && text[i] == '\0') ++i;
        if (!out.empty() && out.back() != '\n') out += eol;
    }
    return out;
}

Profile Decode(std::string bytes) {
    const std::string_view view(bytes);
    if (view.starts_with(kUtf8Mark))
        return {WithoutNulRuns(view.substr(kUtf8Mark.size())), Form::kUtf8Marked, true};
    if (view.starts_with(kUtf16Mark)) {
        textfile::Decoded decoded = textfile::DecodeUtf16Le(view.substr(kUtf16Mark.size()));
        const bool exact = decoded.status == textfile::Status::Ok && decoded.replaced == 0;
        return {std::move(decoded.text), Form::kUtf16Le, exact};
    }
    if (view.starts_with(kUtf16BeMark) || LooksLikeUnmarkedUtf16(view)) return {{}, Form::kForeign, false};
    if (view.find('\0') != std::string_view::npos) return {WithoutNulRuns(view), Form::kUtf8, true};
    return {std::move(bytes), Form::kUtf8, true};
}

std::string Encode(const Profile& profile, std::string_view text) {
    switch (profile.form) {
        case Form::kUtf8Marked:
            return std::string(kUtf8Mark) + std::string(text);
        case Form::kUtf16Le:
            return std::string(kUtf16Mark) + textfile::EncodeUtf16Le(text);
        case Form::kUtf8:
        case Form::kForeign:
            break;
    }
    return std::string(text);
}

// Reads the whole file; nullopt when it cannot be read, is too large or is not a regular file (a
// pipe or a device is never waited on). A missing file is empty.
std::optional<Profile> ReadProfile(const std::string& path) {
    textfile::ReadResult read = textfile::ReadWholeFile(path, kMaxFileSize);
    if (read.status == textfile::Status::Ok) return Decode(std::move(read.bytes));
    if (read.status == textfile::Status::OpenFailed && read.error == ENOENT) return Profile{};
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key) {
    bool inSection = false;
    std::optional<std::string> found;
    ForEachLine(text, [&](const Line&, std::string_view content) {
        if (auto name = SectionName(content)) {
            if (inSection) return false;  // only the first section of that name counts
            inSection = ascii::EqualIgnoringCase(*name, section);
            return true;
        }
        if (!inSection) return true;
        if (auto entry = EntryOf(content); entry && ascii::EqualIgnoringCase(entry->key, key)) {
            found = std::string(entry->value);
            return false;
        }
        return true;
    });
    return found;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::string eol(LineEndOf(text));
    bool inSection = false;
    bool sectionFound = false;
    std::size_t insertAt = 0;  // just after the section's last non-blank line
    std::optional<Line> keyLine;
    std::string_view keySpelling;
    ForEachLine(text, [&](const Line& line, std::string_view content) {
        if (auto name = SectionName(content)) {
            if (inSection) return false;
            if (ascii::EqualIgnoringCase(*name, section)) {
                inSection = sectionFound = true;
                insertAt = line.next;
            }
            return true;
        }
        if (!inSection) return true;
        if (!Trim(content).empty()) insertAt = line.next;
        if (auto entry = EntryOf(content); entry && ascii::EqualIgnoringCase(entry->key, key)) {
            keyLine = line;
            keySpelling = entry->key;
            return false;
        }
        return true;
    });

    std::string out;
    if (keyLine) {
        out.append(text.substr(0, keyLine->begin));
        out.append(keySpelling).append("=").append(value);
        out.append(text.substr(keyLine->contentEnd));
        return out;
    }
    const std::string entry = std::string(key) + "=" + std::string(value) + eol;
    if (sectionFound) {
        out.append(text.substr(0, insertAt));
        if (!out.empty() && out.back() != '\n') out.append(eol);
        out.append(entry);
        out.append(text.substr(insertAt));
        return out;
    }
    out.assign(text);
    if (!out.empty() && out.back() != '\n') out.append(eol);
    out.append("[").append(section).append("]").append(eol).append(entry);
    return out;
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& path) {
    const auto profile = ReadProfile(path);
    if (!profile) return defaultValue;
    const auto value = FindValue(profile->text, section, key);
    return value ? num::ParseLeadingInt(*value) : defaultValue;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path) {
    const auto profile = ReadProfile(path);
    if (!profile || !profile->exact) return false;
    // The same safe writer as the preset files: unique temporary name, mode kept, read-only refused.
    const std::string bytes = Encode(*profile, WithValue(profile->text, section, key, value));
    return textfile::WriteFileAtomically(path, bytes) == textfile::Status::Ok;
}

}  // namespace ini
