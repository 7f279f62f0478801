#include "link/frame_parser.h"

#include <gtest/gtest.h>

#include "tests/link/bytes.h"

using namespace ZemCmd;
using testbytes::Bytes;
using testbytes::Hex;
using testbytes::Of;
using testbytes::Sealed;

namespace {

struct Outcome {
    std::vector<std::string> frames;  // hex of each good frame, in order
    int checksumErrors = 0;
};

Outcome Parse(FrameParser& parser, const std::vector<Bytes>& reads) {
    Outcome out;
    for (const Bytes& read : reads)
        parser.Feed(
            read.data(), read.size(), [&](const Cmd& c) { out.frames.push_back(Hex(Of(c))); },
            [&] { ++out.checksumErrors; });
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes kHeartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
const Bytes kAnswer = Sealed({0xA5, 0x0B, 0xF6, 0x02, 0x80, 0x11, 0x22, 0xA5, 0x33, 0x44});
const Bytes kFive = Sealed({0xA5, 0x05, 0xF6, 0x01});

TEST(FrameParser, ReaderRules) {
    Bytes badSum = kHeartbeat;
    badSum.back() ^= 0x01;
    Bytes longest = {0xA5, 50};
    for (int i = 2; i < 49; ++i) longest.push_back(static_cast<std::uint8_t>(i * 5));
    longest = Sealed(longest);

    const struct {
        const char* name;
        std::vector<Bytes> reads;
        std::vector<Bytes> frames;
        int checksumErrors;
    } rows[] = {
        {"one frame", {kHeartbeat}, {kHeartbeat}, 0},
        {"two frames in one read", {Cat({kHeartbeat, kAnswer})}, {kHeartbeat, kAnswer}, 0},
        {"split after the sync byte", {{0xA5}, Bytes(kAnswer.begin() + 1, kAnswer.end())}, {kAnswer}, 0},
        {"split byte by byte",
         [] {
             std::vector<Bytes> r;
             for (auto b : kAnswer) r.push_back({b});
             return r;
         }(),
         {kAnswer},
         0},
        {"garbage between frames",
         {Cat({{0x00, 0x13, 0x11, 0x0D}, kHeartbeat, {0xFF, 0x42}, kFive, {0x01}})},
         {kHeartbeat, kFive},
         0},
        {"0xA5 inside data is data", {kAnswer}, {kAnswer}, 0},
        {"bad checksum is dropped silently", {Cat({badSum, kFive})}, {kFive}, 0},
        {"length 3 goes back to hunting", {Cat({{0xA5, 0x03}, kFive})}, {kFive}, 0},
        {"length 51 goes back to hunting", {Cat({{0xA5, 0x33, 0x06, 0xF9}, kFive})}, {kFive}, 0},
        {"run of sync bytes", {Cat({{0xA5, 0xA5, 0xA5}, kFive})}, {kFive}, 0},
        {"rejected length 0xA5 starts a new frame", {Cat({{0xA5}, kFive})}, {kFive}, 0},
        {"4-byte frames are never accepted", {{0xA5, 0x04, 0xF6, 0x4F}, kFive}, {kFive}, 1},
        {"4-byte frame with any last byte", {{0xA5, 0x04, 0x00, 0x00, 0xA5, 0x04, 0x01, 0x02}}, {}, 2},
        {"longest frame", {longest}, {longest}, 0},
        {"length 5 is the shortest accepted", {kFive}, {kFive}, 0},
    };
    for (const auto& row : rows) {
        FrameParser parser;
        const Outcome out = Parse(parser, row.reads);
        std::vector<std::string> expected;
        for (const Bytes& f : row.frames) expected.push_back(Hex(f));
        EXPECT_EQ(out.frames, expected) << row.name;
        EXPECT_EQ(out.checksumErrors, row.checksumErrors) << row.name;
    }
}

TEST(FrameParser, LastGoodFrameSurvivesLaterBadOnes) {
    FrameParser parser;
    Bytes broken = kAnswer;
    broken.back() ^= 0xFF;
    const Bytes partial(kHeartbeat.begin(), kHeartbeat.begin() + 4);
    Parse(parser, {kAnswer, broken, partial});
    EXPECT_EQ(Hex(Of(parser.Frame())), Hex(kAnswer));
    EXPECT_EQ(parser.Position(), 4);
    // Bytes past the length of a shorter frame are cleared, not left over from the longer one.
    Parse(parser, {Bytes(kHeartbeat.begin() + 4, kHeartbeat.end())});
    EXPECT_EQ(Hex(Of(parser.Frame())), Hex(kHeartbeat));
    for (std::size_t i = kHeartbeat.size(); i < parser.Frame().b.size(); ++i) EXPECT_EQ(parser.Frame()[i], 0);
}

TEST(FrameParser, PushReportsEachOutcome) {
    FrameParser parser;
    Bytes bad = kFive;
    bad.back() ^= 1;
    const struct {
        Bytes bytes;
        FrameParser::Result last;
    } rows[] = {
        {kFive, FrameParser::Result::Frame},
        {bad, FrameParser::Result::Dropped},
        {{0xA5, 0x04, 0x00, 0xA9}, FrameParser::Result::CheckSumError},
        {{0xA5, 0x06, 0xF9}, FrameParser::Result::None},
    };
    for (const auto& row : rows) {
        parser.Reset();
        FrameParser::Result r = FrameParser::Result::None;
        for (std::size_t i = 0; i < row.bytes.size(); ++i) {
            r = parser.Push(row.bytes[i]);
            if (i + 1 < row.bytes.size()) {
                EXPECT_EQ(r, FrameParser::Result::None) << Hex(row.bytes) << " @" << i;
            }
        }
        EXPECT_EQ(r, row.last) << Hex(row.bytes);
    }
}

}  // namespace
