#pragma once
// A minimal YMODEM sender for tests, with its own CRC so the receiver is not checked against itself.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

inline std::uint16_t TestCrc16(const std::uint8_t* p, std::size_t n) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= static_cast<std::uint32_t>(p[i]) << 8;
        for (int k = 0; k < 8; ++k) crc = ((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1) & 0xFFFF;
    }
    return static_cast<std::uint16_t>(crc);
}

// SOH/STX, n, ~n, the payload padded with `pad` to `size`, CRC high then low.
inline std::vector<std::uint8_t> Block(std::uint8_t start, std::size_t n, std::size_t size,
                                       const std::uint8_t* payload, std::size_t length, std::uint8_t pad) {
    std::vector<std::uint8_t> b(size + 5, pad);
    b[0] = start;
    b[1] = n & 0xFF;
    b[2] = 0xFF - (n & 0xFF);
    if (payload && length > 0) std::copy(payload, payload + std::min(length, size), b.begin() + 3);
    const std::uint16_t crc = TestCrc16(b.data() + 3, size);
    b[size + 3] = crc >> 8;
    b[size + 4] = crc & 0xFF;
    return b;
}

// Block 0: name, NUL, size digits, zeros.
inline std::vector<std::uint8_t> HeaderBlock(const std::string& name, std::size_t size) {
    const std::string text = name + '\0' + std::to_string(size);
    return Block(0x01, 0, 128, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), 0);
}

// Data block `number` (1-based) of `image`, padded with 0x1A.
inline std::vector<std::uint8_t> DataBlock(const std::vector<std::uint8_t>& image, std::size_t number) {
    const std::size_t from = (number - 1) * 1024;
    return Block(0x02, number, 1024, image.data() + from, image.size() - from, 0x1A);
}

inline std::vector<std::uint8_t> Pattern(std::size_t n, unsigned seed) {
    std::vector<std::uint8_t> v(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) b = static_cast<std::uint8_t>((x = x * 1664525u + 1013904223u) >> 24);
    return v;
}

}  // namespace simtest
