#pragma once
// Small helpers for writing frames as byte lists in tests.

#include <cstdint>
#include <string>
#include <vector>

#include "link/frame.h"

namespace testbytes {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Of(const ZemCmd::Cmd& c) {
    return Bytes(c.b.begin(), c.b.begin() + c.Length());
}

inline ZemCmd::Cmd ToCmd(const Bytes& bytes) {
    ZemCmd::Cmd c;
    for (std::size_t i = 0; i < bytes.size() && i < c.b.size(); ++i) c[i] = bytes[i];
    return c;
}

inline std::string Hex(const Bytes& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : bytes) {
        if (!s.empty()) s += ' ';
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

// Appends the checksum (low byte of the sum of all bytes so far), computed independently here.
inline Bytes Sealed(Bytes bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    bytes.push_back(static_cast<std::uint8_t>(sum));
    return bytes;
}

}  // namespace testbytes
