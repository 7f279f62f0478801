#include "platform/ascii_text.h"

namespace ascii {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

void SplitInto(std::vector<std::string>& out, std::string_view text, std::string_view separator) {
    if (separator.empty()) {
        if (!text.empty()) out.emplace_back(text);
        return;
    }
    for (;;) {
        const auto at = text.find(separator);
        if (at == std::string_view::npos) {
            if (!text.empty()) out.emplace_back(text);
            return;
        }
        if (at > 0) out.emplace_back(text.substr(0, at));
        text.remove_prefix(at + separator.size());
    }
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> out;
    SplitInto(out, text, std::string_view(&separator, 1));
    return out;
}

}  // namespace ascii
