#pragma once
// A minimal YMODEM sender for tests, with its own CRC so the receiver is not checked against itself.

#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

inline std::uint16_t TestCrc16(const std::uint8_t* p, std::size_t n) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= static_cast<std::uint32_t>(p[i]) << 8;
        for (int k = 0; k < 8; ++k)
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) & 0xFFFF : (crc << 1) & 0xFFFF;
    }
    return static_cast<std::uint16_t>(crc);
}

// Block 0: SOH 00 FF, name, NUL, size digits, zeros, CRC high then low.
inline std::vector<std::uint8_t> HeaderBlock(const std::string& name, std::size_t size) {
    std::vector<std::uint8_t> b(133, 0);
    b[0] = 0x01;
    b[2] = 0xFF;
    std::string text = name;
    text.push_back('\0');
    text += std::to_string(size);
    for (std::size_t i = 0; i < text.size() && i < 128; ++i) b[3 + i] = static_cast<std::uint8_t>(text[i]);
    const std::uint16_t crc = TestCrc16(b.data() + 3, 128);
    b[131] = crc >> 8;
    b[132] = crc & 0xFF;
    return b;
}

// Data block `number` (1-based) of `image`: STX n ~n, 1024 bytes padded with 0x1A, CRC.
inline std::vector<std::uint8_t> DataBlock(const std::vector<std::uint8_t>& image, std::size_t number) {
    std::vector<std::uint8_t> b(1029, 0x1A);
    b[0] = 0x02;
    b[1] = number & 0xFF;
    b[2] = 0xFF - (number & 0xFF);
    const std::size_t from = (number - 1) * 1024;
    for (std::size_t i = 0; i < 1024 && from + i < image.size(); ++i) b[3 + i] = image[from + i];
    const std::uint16_t crc = TestCrc16(b.data() + 3, 1024);
    b[1027] = crc >> 8;
    b[1028] = crc & 0xFF;
    return b;
}

inline std::size_t DataBlockCount(std::size_t size) {
    return (size + 1023) / 1024;
}

inline std::vector<std::uint8_t> Pattern(std::size_t n, unsigned seed) {
    std::vector<std::uint8_t> v(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(x >> 24);
    }
    return v;
}

}  // namespace simtest
