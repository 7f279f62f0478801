#pragma once
// Frames shown as "A5 0E F1 ..." in tests.

#include <cstdio>
#include <string>

#include "link/frame.h"

namespace testhex {

// The frame's first n bytes (all of them by default) as "A5 0E ...".
inline std::string Hex(const ZemCmd::Cmd& f, int n = -1) {
    std::string s;
    char buf[4];
    for (int i = 0; i < (n < 0 ? f.Length() : n); ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", f[static_cast<std::size_t>(i)]);
        s += buf;
    }
    return s;
}

}  // namespace testhex
