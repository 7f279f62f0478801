#pragma once
// The preset file ("*.inf"): the main dialog's own sections, the order of all sections and the
// container (UTF-16LE, no byte-order mark, "\n" line ends). Plain C++: the main dialog reads the
// positions from its controls, and applies what ParseMainSections found.

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/master_index.h"

namespace preset {

inline constexpr const char* kDefaultFileName = "zem.inf";
inline constexpr const char* kFileFilter = "Zem信息(*.inf)|*.inf|";

// The four output pages in the order their levels are kept here: main, mid, bass, surround.
enum Output { kMain, kMid, kBass, kSurround, kOutputCount };

// Indexes of the six delays: main left, main right, mid, bass, surround left, surround right.
inline constexpr int kDelayCount = 6;

// What the main dialog's sections hold.
struct MainSections {
    std::array<int, console::master::kCount> master{};  // by console::master::Index
    std::array<int, kOutputCount> music{};
    std::array<int, kOutputCount> direct{};
    std::array<int, kOutputCount> echo{};
    std::array<int, kOutputCount> reverb{};
    std::array<int, kDelayCount> delay{};
};

// The whole file's text (UTF-8): the main dialog's sections, then each page's text followed by
// one more "\n", in the order given.
std::string PresetText(const MainSections& main, const std::vector<std::string>& pageTexts);

// What a file sets of the main dialog's sections; unset entries leave the console as it is.
struct MainSectionValues {
    std::array<std::optional<int>, console::master::kCount> master;
    std::optional<std::array<int, kOutputCount>> music, direct, echo, reverb;
    std::optional<std::array<int, kDelayCount>> delay;
    // The effect page's echo and reverb filters (Hz), read here as well as by the page.
    std::optional<int> echoHighPass, echoLowPass, reverbHighPass, reverbLowPass;
};

// Scans the lines for the main dialog's sections (names ignore the case of ASCII letters; later
// sections win). A level or delay line with other than six non-empty pieces is skipped; a value
// line that is itself a section name ends a section instead of counting as 0.
MainSectionValues ParseMainSections(const std::vector<std::string>& lines);

// The file's bytes for a text.
std::string EncodeFile(std::string_view text);

// The non-empty lines of a file's bytes, each without its line end ("\n" or "\r\n"); a leading
// byte-order mark is dropped. The text ends at the first U+0000; a stray last byte is dropped.
std::vector<std::string> SplitFileLines(std::string_view bytes);

// How many value lines each section has (names in lower case), as the console writes them. Taken
// from the console's own export, it is also the list of sections a file must hold.
using SectionShapes = std::map<std::string, std::size_t>;
SectionShapes ShapesOf(std::string_view text);

enum class ReadStatus {
    Ok,
    Unreadable,  // missing, not a regular file, unreadable, or above the size cap
    Malformed,   // not UTF-16LE preset text, or cut short: nothing of it may be applied
};
struct ReadLinesResult {
    ReadStatus status = ReadStatus::Ok;
    std::vector<std::string> lines;  // only when Ok
    std::string why;                 // for Malformed: what was wrong, for logs and tests
};
// Checks a file's bytes: an even byte count of UTF-16LE text (a byte-order mark allowed) with no
// U+0000 but as its last character, whose last line holding more than blanks ends in a line end
// (blank lines after it are dropped), holding every section that `shapes` names (in any order), and
// no section cut short at the end of the file.
ReadLinesResult ParseFileBytes(std::string_view bytes, const SectionShapes& shapes);
// Reads a preset file whole (without blocking, regular files only, with a size cap) and checks it.
ReadLinesResult ReadTextLines(const std::string& path, const SectionShapes& shapes);

// Writes the text as a preset file, atomically; false when nothing could be written.
bool WriteTextFile(const std::string& path, std::string_view text);

}  // namespace preset
