#pragma once
// Five-language caption tables: 0 Chinese, 1 English, 2 Thai, 3 Vietnamese, 4 Indonesian.

#include <cstddef>

namespace lang {

constexpr int kChinese = 0;
constexpr int kEnglish = 1;
constexpr int kThai = 2;
constexpr int kVietnamese = 3;
constexpr int kIndonesian = 4;
constexpr int kCount = 5;

// Any index outside 0..4 is taken as Chinese.
constexpr int Clamp(int language) { return (language < 0 || language >= kCount) ? kChinese : language; }

// Entry `language` of a table of UTF-8 texts. A table shorter than five entries, or a missing (null)
// entry, falls back to English, then to Chinese; never reads past the table. Never returns null.
const char* Pick(const char* const* table, std::size_t size, int language);

template <std::size_t N>
const char* Pick(const char* const (&table)[N], int language) {
    return Pick(table, N, language);
}

}  // namespace lang
