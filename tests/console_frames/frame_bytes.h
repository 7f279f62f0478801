#pragma once
// Expected frames written as bytes without their checksum; the checksum is added here.

#include <cstdint>
#include <vector>

#include "link/frame.h"

inline std::vector<int> Sealed(std::vector<int> bytes) {
    int sum = 0;
    for (int b : bytes) sum += b;
    bytes.push_back(sum & 0xFF);
    return bytes;
}

inline std::vector<int> Bytes(const ZemCmd::Cmd& frame) {
    std::vector<int> out;
    for (int i = 0; i < frame.Length(); ++i) out.push_back(frame[static_cast<std::size_t>(i)]);
    return out;
}
