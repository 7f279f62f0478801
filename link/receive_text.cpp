#include "link/receive_text.h"

#include <cstdio>

namespace receive_text {
namespace {

// Length of the valid UTF-8 sequence starting at p (0 when there is none).
int Utf8Length(const std::uint8_t* p, int left) {
    const std::uint8_t b = p[0];
    int len = 0;
    std::uint32_t cp = 0;
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) {
        len = 2;
        cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3;
        cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (len > left) return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    static const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string AsText(const std::uint8_t* bytes, int n) {
    std::string text;
    if (n >= kLongRead) text = "999999999999";
    int end = 0;
    while (end < n && bytes[end] != 0) ++end;
    for (int i = 0; i < end;) {
        const int len = Utf8Length(bytes + i, end - i);
        if (len > 0) {
            text.append(reinterpret_cast<const char*>(bytes + i), static_cast<std::size_t>(len));
            i += len;
        } else {
            text += static_cast<char>(0xC0 | (bytes[i] >> 6));
            text += static_cast<char>(0x80 | (bytes[i] & 0x3F));
            ++i;
        }
    }
    return text;
}

std::string AsHex(const std::uint8_t* bytes, int n) {
    std::string text;
    char piece[8];
    for (int i = 0; i < n; ++i) {
        std::snprintf(piece, sizeof piece, bytes[i] == 0xA5 ? "\n%x  " : "%x  ", bytes[i]);
        text += piece;
    }
    return text;
}

}  // namespace receive_text
