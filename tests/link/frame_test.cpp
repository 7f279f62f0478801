// Frame builders, checksums and the receive-side parser.
#include "link/frame.h"

#include <gtest/gtest.h>

#include "link/frame_parser.h"
#include "tests/link/bytes.h"

using namespace ZemCmd;
using namespace testbytes;

namespace {

TEST(Frame, BuildersGiveTheWireBytes) {
    const struct {
        const char* name;
        Cmd frame;
        Bytes expected;  // every byte up to the length
    } rows[] = {
        {"heartbeat", SystemAction(kActHeartbeat), {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD}},
        {"handshake", SystemAction(kActHandshake), {0xA5, 0x06, 0xF9, 0x03, 0x04, 0xAB}},
        {"enter update", SystemAction(kActEnterUpdate), {0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9}},
        {"factory reset", SystemAction(kActFactoryReset), {0xA5, 0x06, 0xF9, 0x03, 0x0F, 0xB6}},
        {"store group 16", SystemAction(StoreGroupAction(16)), {0xA5, 0x06, 0xF9, 0x03, 0xFD, 0xA4}},
        {"load group 16", SystemAction(LoadGroupAction(16)), {0xA5, 0x06, 0xF9, 0x03, 0xFE, 0xA5}},
        {"read-back step 0", ReadRequest(0x02, 0x80), {0xA5, 0x09, 0xF4, 0x02, 0x80, 0, 0, 0, 0x24}},
        {"read request p1..p3", ReadRequest(1, 0x10, 1, 2, 3), {0xA5, 0x09, 0xF4, 1, 0x10, 1, 2, 3, 0xB9}},
        {"end of read-back",
         GroupCommand(kGroupEndReadBack, 0),
         {0xA5, 0x09, 0xF1, 0xF0, 0x77, 0, 0, 0, 0x06}},
        {"group store 3", GroupCommand(kGroupStore, 3), {0xA5, 0x09, 0xF1, 0xF0, 0x70, 3, 0, 0, 0x02}},
        {"group load 16", GroupCommand(kGroupLoad, 16), {0xA5, 0x09, 0xF1, 0xF0, 0x74, 0x10, 0, 0, 0x13}},
        {"debug printing ticked", DebugPrinting(true), {0xA5, 0x06, 0xF9, 0x01, 0x00, 0xA5}},
        {"debug printing clear", DebugPrinting(false), {0xA5, 0x06, 0xF9, 0x01, 0x03, 0xA8}},
        // Constructors: fixed bytes set, the rest zero, no checksum yet.
        {"EqFrame", EqFrame(), {0xA5, 0x11, 0xF1, 0x0A, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"MasterVolFrame", MasterVolFrame(), {0xA5, 0x11, 0xF1, 0x0F, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0}},
        {"DelayFrame",
         DelayFrame(),
         {0xA5, 0x13, 0xF1, 0x10, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"PassFrame", PassFrame(), {0xA5, 0x12, 0xF1, 9, 8, 0, 0x64, 0, 0, 0, 0x32, 0x32, 0, 0, 0, 0, 0, 0}},
        {"AlcFrame", AlcFrame(), {0xA5, 0x0E, 0xF1, 0x18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Hex(Of(row.frame)), Hex(row.expected));
        for (std::size_t i = row.expected.size(); i < row.frame.b.size(); ++i)
            EXPECT_EQ(row.frame[i], 0) << i;
    }
}

TEST(Frame, GroupActionsForEveryGroup) {
    for (int n = 1; n <= 15; ++n) {
        EXPECT_EQ(StoreGroupAction(n), n * 16 + 1) << n;
        EXPECT_EQ(LoadGroupAction(n), n * 16 + 5) << n;
    }
}

TEST(Frame, CheckSumHeaderRulesAndSums) {
    Bytes longest = {0xA5, 50};
    longest.resize(49, 0xFF);
    const struct {
        const char* name;
        Bytes bytes;
        std::uint8_t expected;
    } rows[] = {
        {"no sync byte", {0xA4, 0x06, 0xF9, 0x03, 0x06}, 0x00},
        {"length 1", {0xA5, 0x01, 0x10}, 0x00},
        {"length 51", {0xA5, 0x33, 0x10}, 0x00},
        {"length 255", {0xA5, 0xFF, 0x10}, 0x00},
        {"length 2: sync only", {0xA5, 0x02}, 0xA5},
        {"heartbeat", {0xA5, 0x06, 0xF9, 0x03, 0x06}, 0xAD},
        {"ignores bytes past the length", {0xA5, 0x04, 0x01, 0xEE, 0x55}, 0xAA},
        {"longest wraps modulo 256", longest, (0xA5 + 50 + 47 * 0xFF) & 0xFF},
    };
    for (const auto& row : rows) {
        Cmd c = ToCmd(row.bytes);
        EXPECT_EQ(c.CheckSum(), row.expected) << row.name;
        EXPECT_EQ(CheckSum(c.data()), row.expected) << row.name;
        // Seal writes the sum into the last byte, and leaves a frame with a bad header alone.
        const auto before = c.b;
        const bool valid = c.HasValidHeader();
        const int last = c.Length() - 1;
        c.Seal();
        if (valid)
            EXPECT_EQ(c[last], row.expected) << row.name;
        else
            EXPECT_EQ(c.b, before) << row.name;
    }
    const std::uint8_t bytes[] = {0x00, 0xFF, 0x02, 0x10};
    EXPECT_EQ(ByteSum(bytes, -3), 0);
    EXPECT_EQ(ByteSum(bytes + 1, 1), 0xFF);
    EXPECT_EQ(ByteSum(bytes, 4), 0x11);  // no header rules, wraps
}

std::vector<std::string> Parse(FrameParser& parser, const std::vector<Bytes>& reads, int& errors) {
    std::vector<std::string> frames;
    for (const Bytes& read : reads)
        parser.Feed(
            read.data(), read.size(), [&](const Cmd& c) { frames.push_back(Hex(Of(c))); }, [&] { ++errors; });
    return frames;
}

const Bytes kAnswer = Sealed({0xA5, 0x0B, 0xF6, 0x02, 0x80, 0x11, 0x22, 0xA5, 0x33, 0x44});
const Bytes kFive = Sealed({0xA5, 0x05, 0xF6, 0x01});

TEST(FrameParser, ReaderRules) {
    Bytes badSum = kHeartbeat;
    badSum.back() ^= 0x01;
    Bytes longest = {0xA5, 50};
    for (int i = 2; i < 49; ++i) longest.push_back(static_cast<std::uint8_t>(i * 5));
    longest = Sealed(longest);
    std::vector<Bytes> byteByByte;
    for (auto b : kAnswer) byteByByte.push_back({b});

    const struct {
        const char* name;
        std::vector<Bytes> reads;
        std::vector<Bytes> frames;
        int checksumErrors;
    } rows[] = {
        {"two frames in one read", {Cat({kHeartbeat, kAnswer})}, {kHeartbeat, kAnswer}, 0},
        {"split byte by byte, 0xA5 inside data", byteByByte, {kAnswer}, 0},
        {"garbage between frames",
         {Cat({{0x00, 0x13, 0x11, 0x0D}, kHeartbeat, {0xFF, 0x42}, kFive, {0x01}})},
         {kHeartbeat, kFive},
         0},
        {"bad checksum is dropped silently", {Cat({badSum, kFive})}, {kFive}, 0},
        {"length 3 goes back to hunting", {Cat({{0xA5, 0x03}, kFive})}, {kFive}, 0},
        {"length 51 goes back to hunting", {Cat({{0xA5, 0x33, 0x06, 0xF9}, kFive})}, {kFive}, 0},
        {"rejected length 0xA5 starts a new frame", {Cat({{0xA5}, kFive})}, {kFive}, 0},
        {"4-byte frames are never accepted", {{0xA5, 0x04, 0xF6, 0x4F}, kFive}, {kFive}, 1},
        {"4-byte frame with any last byte", {{0xA5, 0x04, 0x00, 0x00, 0xA5, 0x04, 0x01, 0x02}}, {}, 2},
        {"longest frame", {longest}, {longest}, 0},
    };
    for (const auto& row : rows) {
        FrameParser parser;
        int errors = 0;
        std::vector<std::string> expected;
        for (const Bytes& f : row.frames) expected.push_back(Hex(f));
        EXPECT_EQ(Parse(parser, row.reads, errors), expected) << row.name;
        EXPECT_EQ(errors, row.checksumErrors) << row.name;
    }
}

TEST(FrameParser, LastGoodFrameSurvivesLaterBadOnes) {
    FrameParser parser;
    int errors = 0;
    Bytes broken = kAnswer;
    broken.back() ^= 0xFF;
    Parse(parser, {kAnswer, broken, Bytes(kHeartbeat.begin(), kHeartbeat.begin() + 4)}, errors);
    EXPECT_EQ(Hex(Of(parser.Frame())), Hex(kAnswer));
    EXPECT_EQ(parser.Position(), 4);
    // A shorter frame after a longer one leaves no stale bytes behind its length.
    Parse(parser, {Bytes(kHeartbeat.begin() + 4, kHeartbeat.end())}, errors);
    EXPECT_EQ(Hex(Of(parser.Frame())), Hex(kHeartbeat));
    for (std::size_t i = kHeartbeat.size(); i < parser.Frame().b.size(); ++i) EXPECT_EQ(parser.Frame()[i], 0);
}

}  // namespace
