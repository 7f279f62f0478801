#pragma once
// Answer frames as the reader hands them over: one byte per 32-bit word.

#include <array>
#include <cstdint>
#include <vector>

struct AnswerWords {
    std::array<std::uint32_t, 50> w{};
    const std::uint32_t* data() const { return w.data(); }
};

// A5 len class group code, `data` from byte 5, then the checksum.
inline AnswerWords MakeAnswer(int group, int code, const std::vector<int>& data, int cls = 0xF6) {
    AnswerWords a;
    std::vector<int> bytes = {0xA5, static_cast<int>(data.size()) + 6, cls, group, code};
    bytes.insert(bytes.end(), data.begin(), data.end());
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k)
        sum += a.w[k] = static_cast<std::uint32_t>(bytes[k] & 0xFF);
    a.w[bytes.size()] = sum & 0xFF;
    return a;
}

// An EQ band answer: 0, band, channel, enabled, gain field, Hz, Q field, filter code, pre-delay.
inline AnswerWords BandAnswer(int group, int code, int band, int channel, int enabled, int gainField, int hz,
                              int qField, int filterCode, int preDelay = 0) {
    return MakeAnswer(group, code,
                      {0, band, channel, enabled, gainField & 0xFF, gainField >> 8, hz & 0xFF, hz >> 8,
                       qField & 0xFF, qField >> 8, filterCode, preDelay & 0xFF, preDelay >> 8});
}
