#pragma once
// Small text helpers shared by the file readers (preset files, INI files): case folding of ASCII
// letters only (bytes of UTF-8 characters are compared as they are) and splitting on a separator.

#include <string>
#include <string_view>
#include <vector>

namespace ascii {

// 'A'..'Z' to 'a'..'z'; every other byte unchanged.
char Lower(char c);
std::string Lower(std::string_view text);

// Same length and the same bytes once ASCII letters are folded; nothing is trimmed.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Appends the non-empty pieces of `text` between separators to `out` (out is not cleared).
// An empty separator gives the whole text as one piece.
void SplitInto(std::vector<std::string>& out, std::string_view text, std::string_view separator);
// The non-empty pieces between separators ("1,,2," on ',' gives "1" and "2").
std::vector<std::string> Split(std::string_view text, char separator);

}  // namespace ascii
