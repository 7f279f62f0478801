#pragma once
// Frames written as "A5 0E F1 ..." in tests.

#include <sstream>
#include <string>
#include <vector>

#include "link/frame.h"

namespace testhex {

inline std::vector<int> Bytes(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> out;
    std::string token;
    while (in >> token) out.push_back(std::stoi(token, nullptr, 16));
    return out;
}

// The frame's first n bytes as "A5 0E ..." (upper case).
inline std::string Hex(const ZemCmd::Cmd& f, int n) {
    std::string s;
    char buf[4];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", f[static_cast<std::size_t>(i)]);
        if (i) s += ' ';
        s += buf;
    }
    return s;
}

inline std::string Hex(const ZemCmd::Cmd& f) {
    return Hex(f, f.Length());
}

}  // namespace testhex
