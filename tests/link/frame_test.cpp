// Frame builders, checksums and the receive-side parser.
#include "link/frame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "link/frame_parser.h"
#include "tests/link/bytes.h"

using namespace ZemCmd;
using namespace testbytes;

namespace {

TEST(Frame, BuildersGiveTheWireBytes) {
    const struct {
        const char* name;
        Cmd frame;
        const char* expected;  // the rest must be zero
    } rows[] = {
        // clang-format off
        {"heartbeat", SystemAction(kActHeartbeat), "A5 06 F9 03 06 AD"},
        {"handshake", SystemAction(kActHandshake), "A5 06 F9 03 04 AB"},
        {"enter update", SystemAction(kActEnterUpdate), "A5 06 F9 03 02 A9"},
        {"factory reset", SystemAction(kActFactoryReset), "A5 06 F9 03 0F B6"},
        {"store group 16", SystemAction(StoreGroupAction(16)), "A5 06 F9 03 FD A4"},
        {"load group 16", SystemAction(LoadGroupAction(16)), "A5 06 F9 03 FE A5"},
        {"store group 1", SystemAction(StoreGroupAction(1)), "A5 06 F9 03 11 B8"},
        {"read-back step 0", ReadRequest(0x02, 0x80), "A5 09 F4 02 80 00 00 00 24"},
        {"read request p1..p3", ReadRequest(1, 0x10, 1, 2, 3), "A5 09 F4 01 10 01 02 03 B9"},
        {"end of read-back", GroupCommand(kGroupEndReadBack, 0), "A5 09 F1 F0 77 00 00 00 06"},
        {"group store 3", GroupCommand(kGroupStore, 3), "A5 09 F1 F0 70 03 00 00 02"},
        {"group load 16", GroupCommand(kGroupLoad, 16), "A5 09 F1 F0 74 10 00 00 13"},
        {"debug printing ticked", DebugPrinting(true), "A5 06 F9 01 00 A5"},
        {"debug printing clear", DebugPrinting(false), "A5 06 F9 01 03 A8"},
        {"EqFrame", EqFrame(), "A5 11 F1 0A 01 00 00 00 00 00 00 00 00 00 00 00 00"},
        {"MasterVolFrame", MasterVolFrame(), "A5 11 F1 0F 00 01 00 00 00 00 00 00 00 00 04 00 00"},
        {"DelayFrame", DelayFrame(), "A5 13 F1 10 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {"PassFrame", PassFrame(), "A5 12 F1 09 08 00 64 00 00 00 32 32 00 00 00 00 00 00"},
        {"AlcFrame", AlcFrame(), "A5 0E F1 18 00 00 00 00 00 00 00 00 00 00"},
        // clang-format on
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Hex(Of(row.frame)), row.expected) << row.name;
        EXPECT_TRUE(std::all_of(row.frame.b.begin() + row.frame.Length(), row.frame.b.end(),
                                [](std::uint8_t b) { return b == 0; }))
            << row.name;
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
        // clang-format off
        {"no sync byte", FromHex("A4 06 F9 03 06"), 0x00},
        {"length 1", FromHex("A5 01 10"), 0x00},
        {"length 51", FromHex("A5 33 10"), 0x00},
        {"length 2: sync only", FromHex("A5 02"), 0xA5},
        {"heartbeat", FromHex("A5 06 F9 03 06"), 0xAD},
        {"ignores bytes past the length", FromHex("A5 04 01 EE 55"), 0xAA},
        {"longest wraps modulo 256", longest, (0xA5 + 50 + 47 * 0xFF) & 0xFF},
        // clang-format on
    };
    for (const auto& row : rows) {
        Cmd c = ToCmd(row.bytes);
        EXPECT_EQ(c.CheckSum(), row.expected) << row.name;
        EXPECT_EQ(CheckSum(c.data()), row.expected) << row.name;
        Cmd want = c;
        if (c.HasValidHeader()) want[c.Length() - 1] = row.expected;
        c.Seal();
        EXPECT_EQ(c.b, want.b) << row.name;
    }
    const std::uint8_t bytes[] = {0x00, 0xFF, 0x02, 0x10};
    EXPECT_EQ(ByteSum(bytes, -3), 0);
    EXPECT_EQ(ByteSum(bytes, 4), 0x11);  // no header rules, wraps
}

const Bytes kAnswer = Sealed("A5 0B F6 02 80 11 22 A5 33 44");
const Bytes kFive = Sealed("A5 05 F6 01");

TEST(FrameParser, ReaderRules) {
    Bytes longest = {0xA5, 50};
    for (int i = 2; i < 49; ++i) longest.push_back(static_cast<std::uint8_t>(i * 5));
    longest = Sealed(longest);
    std::vector<Bytes> byteByByte;
    for (auto b : kAnswer) byteByByte.push_back({b});
    const struct {
        const char* name;
        std::vector<Bytes> reads, frames;
        int checksumErrors;
    } rows[] = {
        // clang-format off
        {"split byte by byte, 0xA5 inside data", byteByByte, {kAnswer}, 0},
        {"length 3 goes back to hunting", {Cat({{0xA5, 0x03}, kFive})}, {kFive}, 0},
        {"length 51 goes back to hunting", {Cat({FromHex("A5 33 06 F9"), kFive})}, {kFive}, 0},
        {"rejected length 0xA5 starts a new frame", {Cat({{0xA5}, kFive})}, {kFive}, 0},
        {"4-byte frames are never accepted", {FromHex("A5 04 F6 4F A5 04 00 00"), kFive}, {kFive}, 2},
        {"longest frame", {longest}, {longest}, 0},
        // clang-format on
    };
    for (const auto& row : rows) {
        FrameParser parser;
        int errors = 0;
        std::vector<Bytes> frames;
        for (const Bytes& read : row.reads)
            parser.Feed(
                read.data(), read.size(), [&](const Cmd& c) { frames.push_back(Of(c)); }, [&] { ++errors; });
        EXPECT_EQ(frames, row.frames) << row.name;
        EXPECT_EQ(errors, row.checksumErrors) << row.name;
    }
}

}  // namespace
