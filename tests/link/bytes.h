#pragma once
// Frames as byte lists for tests; checksums computed here, independently of link/frame.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "link/frame.h"

namespace testbytes {

using Bytes = std::vector<std::uint8_t>;

inline const Bytes kHeartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};

inline Bytes Of(const ZemCmd::Cmd& c) {
    return Bytes(c.b.begin(), c.b.begin() + c.Length());
}

inline ZemCmd::Cmd ToCmd(const Bytes& bytes) {
    ZemCmd::Cmd c;
    for (std::size_t i = 0; i < bytes.size() && i < c.b.size(); ++i) c[i] = bytes[i];
    return c;
}

// {0xA5, 0x06} -> "A5 06" and back.
inline std::string Hex(const Bytes& bytes) {
    std::string s;
    for (std::uint8_t b : bytes) {
        char text[4];
        std::snprintf(text, sizeof text, s.empty() ? "%02X" : " %02X", b);
        s += text;
    }
    return s;
}
inline Bytes FromHex(const std::string& text) {
    Bytes bytes;
    for (std::size_t i = 0; i < text.size(); i += 3)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline Bytes Cat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Appends the low byte of the sum of all bytes so far.
inline Bytes Sealed(Bytes bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    bytes.push_back(static_cast<std::uint8_t>(sum));
    return bytes;
}
inline Bytes Sealed(const char* hex) {
    return Sealed(FromHex(hex));
}

}  // namespace testbytes
