#include "sim/answers.h"

#include <gtest/gtest.h>

#include "tests/sim/read_back_table.h"

namespace {

using namespace simtest;

std::optional<ZemCmd::Cmd> Ask(const sim::Store& s, int g, int c, int p1 = 0, int p2 = 0, int p3 = 0) {
    return sim::AnswerRead(s, ToCmd(Request({g, c, p1, p2, p3, 0})));
}

TEST(Answers, RequestsThisProcessorDoesNotKnowGetNoAnswer) {
    const sim::Store s = sim::DefaultStore();
    const ReadStep unknown[] = {
        {0x04, 0xC3, 0, 0, 0, 0},   // unknown code
        {0x05, 0xC2, 0, 1, 0, 0},   // unknown group
        {0x04, 0xC2, 0, 1, 1, 0},   // output EQ channel 1
        {0x04, 0xC2, 0, 1, 5, 0},   // output EQ channel above 4
        {0x02, 0x81, 0, 17, 0, 0},  // band beyond 16
        {0x07, 0x99, 0, 5, 0, 0},   // echo has bands 0..4
        {0x08, 0x91, 0, 2, 0, 0},   // reverb has its two filters only
        {0x04, 0xC0, 5, 0, 0, 0},   // limiter channel beyond 4
    };
    for (const ReadStep& r : unknown) EXPECT_FALSE(sim::AnswerRead(s, ToCmd(Request(r)))) << Hex(Request(r));
}

TEST(Answers, FieldsSitWhereTheConsoleReadsThem) {
    sim::Store s = sim::DefaultStore();
    s.micMaster = 0xF6;
    s.effectMaster = 0x11;
    s.musicMaster = 0x88;
    s.levels[sim::kEchoLevel] = {11, 12, 13, 14, 15, 16};
    s.delays = {1, 2, 3, 4, 5, 6};
    s.limiters[3] = sim::Limiter{40, 7, -20, 60};
    s.limiters[sim::kMicLimiter] = sim::Limiter{90, 32, -34, 100};
    s.gateOn = 1;
    s.gateStart = 55;
    s.gateRelease = 33;
    s.fbcOn = 1;
    s.fbc = {100, 4, 0};
    s.group = 7;
    s.musicInput = 3;
    s.mutes = 0x2A;
    s.limits = {1, 80, 2, 81, 3, 60};
    s.Eq(sim::Path::Bass)[2] = sim::Band{1, 25950, 70000, 1250, 6, 0};
    s.Eq(sim::Path::Echo)[4] = sim::Band{1, 24400, 8000, 60, 4, 123};
    // 16-bit fields little-endian; the limit in dB offset by 64 (mic: by 64 too, -34 -> 30).
    const struct {
        ReadStep request;
        std::vector<std::pair<int, int>> bytes;  // offset, value
    } rows[] = {
        {{0x02, 0x80}, {{6, 0xF6}}},
        {{0x02, 0x85}, {{6, 0x11}}},
        {{0x01, 0xA0}, {{6, 0x88}}},
        {{0x07, 0x9A}, {{6, 11}, {7, 12}, {8, 13}, {9, 14}, {10, 15}, {11, 16}}},
        {{0x04, 0xC1}, {{6, 1}, {7, 2}, {8, 3}, {9, 4}, {10, 5}, {11, 6}}},
        {{0x04, 0xC0, 3}, {{6, 3}, {7, 40}, {8, 0}, {9, 7}, {10, 0}, {11, -20 + 64}, {12, 60}}},
        {{0x02, 0x82}, {{7, 90}, {8, 0}, {9, 32}, {10, 0}, {11, 30}, {12, 100}}},
        {{0x02, 0x83}, {{5, 1}, {6, 55}, {7, 33}}},
        {{0x02, 0x84}, {{5, 1}, {6, 100}, {7, 4}, {8, 0}}},
        {{0xF0, 0xD0},
         {{5, 7}, {6, 0x30}, {7, 0x2A}, {9, 1}, {10, 80}, {11, 2}, {12, 81}, {13, 3}, {14, 60}}},
        {{0x04, 0xC2, 0, 2, 3},
         {{5, 0},
          {6, 2},
          {7, 3},
          {8, 1},
          {9, 25950 & 0xFF},
          {10, 25950 >> 8},
          {11, 70000 & 0xFF},
          {12, (70000 >> 8) & 0xFF},
          {13, 1250 & 0xFF},
          {14, 1250 >> 8},
          {15, 6}}},
        {{0x07, 0x99, 0, 4}, {{11, 8000 & 0xFF}, {12, 8000 >> 8}, {16, 123}, {17, 0}}},
        // The effect block with every slider at its default, as the console's default frame.
        {{0x08, 0x90},
         {{6, 0x46},
          {7, 0x5A},
          {8, 0x64},
          {9, 0xC8},
          {10, 0x00},
          {11, 0x1E},
          {12, 0x64},
          {13, 0x28},
          {14, 0x3C},
          {15, 0x64},
          {16, 0x00},
          {17, 0x64},
          {18, 0x64},
          {19, 0x32},
          {20, 0x32}}},
    };
    for (const auto& row : rows) {
        const auto a = sim::AnswerRead(s, ToCmd(Request(row.request)));
        ASSERT_TRUE(a) << Hex(Request(row.request));
        for (const auto& [offset, value] : row.bytes)
            EXPECT_EQ((*a)[offset], value) << Hex(Request(row.request)) << " byte " << offset;
    }
}

TEST(Answers, DefaultMastersReadBackAsTheStartPositions) {
    // The console's start positions are 0; it computes mic [6]+70, effect [6]+60 and music from [6].
    const sim::Store s = sim::DefaultStore();
    EXPECT_EQ(static_cast<std::int8_t>((*Ask(s, 0x02, 0x80))[6]) + 70, 0);
    EXPECT_EQ(static_cast<std::int8_t>((*Ask(s, 0x02, 0x85))[6]) + 60, 0);
    int v = (*Ask(s, 0x01, 0xA0))[6];
    if (v > 24) v -= 256;
    EXPECT_EQ(v >= 0 ? v + 60 : (v + 120) / 2, 0);
}

}  // namespace
