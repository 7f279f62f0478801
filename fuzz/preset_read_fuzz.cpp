// Fuzz target: reading a preset file's bytes, the checks an import makes before it changes anything
// (preset::ParseFileBytes against the sections of the console's own export). Whatever the bytes, the
// reader refuses them with a reason, or gives the file's non-empty lines, among them every section
// the console writes; and a file it reads, with a byte-order mark put in front or with CRLF line
// ends, reads the same. The window is built once, for its export: no input touches it, so this runs
// at the pace of the reader alone. Applying a file is fuzzed by preset_import_fuzz.cpp.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "console/preset_file.h"
#include "fuzz/console_window.h"
#include "pages/preset_text.h"
#include "platform/ascii_text.h"
#include "platform/text_file.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

const preset::SectionShapes& Shapes() {
    static const preset::SectionShapes shapes = [] {
        // Kept to the end, like the application: Qt dislikes teardown at exit.
        static fuzzwindow::Window* window = new fuzzwindow::Window(fuzzwindow::Build("preset_read_fuzz"));
        return preset::ShapesOf(window->dialog->BuildPresetText());
    }();
    return shapes;
}

std::vector<std::string> LinesOf(const std::string& bytes, const preset::SectionShapes& shapes) {
    const preset::ReadLinesResult read = preset::ParseFileBytes(bytes, shapes);
    Check(read.status == preset::ReadStatus::Ok);
    return read.lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const preset::SectionShapes& shapes = Shapes();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const preset::ReadLinesResult read = preset::ParseFileBytes(bytes, shapes);
    if (read.status != preset::ReadStatus::Ok) {
        Check(read.status == preset::ReadStatus::Malformed);  // bytes in memory are never unreadable
        Check(read.lines.empty());
        Check(!read.why.empty());
        return 0;
    }
    Check(read.why.empty());
    // The reader's lines, less the lines of blanks after the last one that holds anything.
    std::vector<std::string> split = preset::SplitFileLines(bytes);
    while (!split.empty() && split.back().find_first_not_of(" \t\r") == std::string::npos) split.pop_back();
    Check(read.lines == split);
    std::vector<std::string> headers;
    for (const std::string& line : read.lines) {
        Check(!line.empty());
        Check(line.find_first_of(std::string_view("\n\0", 2)) == std::string::npos);
        if (IsSectionHeader(line)) headers.push_back(ascii::Lower(line));
    }
    for (const auto& [name, valueLines] : shapes) {
        bool present = false;
        for (const std::string& header : headers) present = present || header == name;
        Check(present);
    }
    // The forms a file takes in other editors read the same: a byte-order mark in front, CRLF ends.
    const std::string text = textfile::DecodeUtf16Le(bytes).text;
    if (text.rfind("\xEF\xBB\xBF", 0) != 0) Check(LinesOf("\xFF\xFE" + bytes, shapes) == read.lines);
    if (text.find('\r') == std::string::npos) {
        std::string crlf;
        for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        Check(LinesOf(preset::EncodeFile(crlf), shapes) == read.lines);
    }
    // What the main dialog takes from the lines: any values, no fault.
    preset::ParseMainSections(read.lines);
    return 0;
}
