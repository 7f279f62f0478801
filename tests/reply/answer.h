#pragma once
// Answer frames as the reader hands them over: one byte per 32-bit word.

#include <array>
#include <cstdint>
#include <vector>

struct AnswerWords {
    std::array<std::uint32_t, 50> w{};
    const std::uint32_t* data() const { return w.data(); }
};

// A5 len F6 group code, then `data` from byte 5, then the checksum.
inline AnswerWords MakeAnswer(int group, int code, const std::vector<int>& data, int cls = 0xF6) {
    AnswerWords a;
    std::size_t i = 0;
    a.w[i++] = 0xA5;
    a.w[i++] = 0;
    a.w[i++] = static_cast<std::uint32_t>(cls);
    a.w[i++] = static_cast<std::uint32_t>(group);
    a.w[i++] = static_cast<std::uint32_t>(code);
    for (int d : data) a.w[i++] = static_cast<std::uint32_t>(d & 0xFF);
    a.w[1] = static_cast<std::uint32_t>(i + 1);
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < i; ++k) sum += a.w[k];
    a.w[i] = sum & 0xFF;
    return a;
}

// An EQ band answer: [5] = 0, [6] band, [7] channel, [8] enabled, gain field, Hz, Q field, code,
// pre-delay.
inline AnswerWords BandAnswer(int group, int code, int band, int channel, int enabled, int gainField, int hz,
                              int qField, int filterCode, int preDelay = 0) {
    return MakeAnswer(group, code,
                      {0, band, channel, enabled, gainField & 0xFF, gainField >> 8, hz & 0xFF, hz >> 8,
                       qField & 0xFF, qField >> 8, filterCode, preDelay & 0xFF, preDelay >> 8});
}
