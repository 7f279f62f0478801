// Fuzz target: the profile (INI) reader and writer. The input is a profile's text, then after a
// 0 byte the section, key and value to write. Written then read back, the key gives the value, and
// every other key of the text reads as before.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/ini.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// A name or value the console could write: no line ends, brackets, "=" or blanks at the ends.
std::string Plain(std::string_view s, std::size_t max) {
    std::string out;
    for (char c : s.substr(0, max))
        if (c > ' ' && c < 0x7F && c != '=' && c != '[' && c != ']' && c != ';') out += c;
    return out;
}

// Every (section, key) the text appears to hold, as candidates to read back.
std::vector<std::pair<std::string, std::string>> Keys(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (const auto open = line.find('['), close = line.find(']');
            open != std::string_view::npos && close != std::string_view::npos && open < close) {
            section = Plain(line.substr(open + 1, close - open - 1), 64);
        } else if (const auto eq = line.find('='); eq != std::string_view::npos) {
            keys.emplace_back(section, Plain(line.substr(0, eq), 64));
        }
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view text = input.substr(0, split);
    const std::string_view rest =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    auto field = [&](std::size_t at, std::size_t n) { return rest.substr(std::min(at, rest.size()), n); };
    const std::string section = Plain(field(0, 16), 16), key = Plain(field(16, 16), 16);
    const std::string value = Plain(field(32, 32), 32);
    if (section.empty() || key.empty()) return 0;

    const std::string updated = ini::WithValue(text, section, key, value);
    Check(ini::FindValue(updated, section, key) == value);
    for (const auto& [s, k] : Keys(text)) {
        if (ascii::EqualIgnoringCase(s, section) && ascii::EqualIgnoringCase(k, key)) continue;
        Check(ini::FindValue(updated, s, k) == ini::FindValue(text, s, k));
    }
    // Writing the same again changes nothing.
    Check(ini::WithValue(updated, section, key, value) == updated);
    return 0;
}
