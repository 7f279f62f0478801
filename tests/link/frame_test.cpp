#include "link/frame.h"

#include <gtest/gtest.h>

#include "tests/link/bytes.h"

using namespace ZemCmd;
using testbytes::Bytes;
using testbytes::Hex;
using testbytes::Of;
using testbytes::ToCmd;

namespace {

struct Golden {
    const char* name;
    Cmd frame;
    Bytes expected;
};

TEST(FrameGolden, BuildersGiveTheWireBytes) {
    const Golden rows[] = {
        {"heartbeat", SystemAction(kActHeartbeat), {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD}},
        {"handshake", SystemAction(kActHandshake), {0xA5, 0x06, 0xF9, 0x03, 0x04, 0xAB}},
        {"enter update", SystemAction(kActEnterUpdate), {0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9}},
        {"factory reset", SystemAction(kActFactoryReset), {0xA5, 0x06, 0xF9, 0x03, 0x0F, 0xB6}},
        {"store group 16", SystemAction(StoreGroupAction(16)), {0xA5, 0x06, 0xF9, 0x03, 0xFD, 0xA4}},
        {"load group 16", SystemAction(LoadGroupAction(16)), {0xA5, 0x06, 0xF9, 0x03, 0xFE, 0xA5}},
        {"store group 1", SystemAction(StoreGroupAction(1)), {0xA5, 0x06, 0xF9, 0x03, 0x11, 0xB8}},
        {"load group 15", SystemAction(LoadGroupAction(15)), {0xA5, 0x06, 0xF9, 0x03, 0xF5, 0x9C}},
        {"store factory", SystemAction(kActStoreFactory), {0xA5, 0x06, 0xF9, 0x03, 0x01, 0xA8}},
        {"read-back step 0", ReadRequest(0x02, 0x80), {0xA5, 0x09, 0xF4, 0x02, 0x80, 0x00, 0x00, 0x00, 0x24}},
        {"read request with parameters",
         ReadRequest(0x01, 0x10, 0x01, 0x02, 0x03),
         {0xA5, 0x09, 0xF4, 0x01, 0x10, 0x01, 0x02, 0x03, 0xB9}},
        {"end of read-back",
         GroupCommand(kGroupEndReadBack, 0),
         {0xA5, 0x09, 0xF1, 0xF0, 0x77, 0x00, 0x00, 0x00, 0x06}},
        {"group store 3",
         GroupCommand(kGroupStore, 3),
         {0xA5, 0x09, 0xF1, 0xF0, 0x70, 0x03, 0x00, 0x00, 0x02}},
        {"group load 16",
         GroupCommand(kGroupLoad, 16),
         {0xA5, 0x09, 0xF1, 0xF0, 0x74, 0x10, 0x00, 0x00, 0x13}},
        {"debug printing ticked", DebugPrinting(true), {0xA5, 0x06, 0xF9, 0x01, 0x00, 0xA5}},
        {"debug printing clear", DebugPrinting(false), {0xA5, 0x06, 0xF9, 0x01, 0x03, 0xA8}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Hex(Of(row.frame)), Hex(row.expected)) << row.name;
        EXPECT_EQ(row.frame.CheckSum(), row.expected.back()) << row.name;
    }
}

TEST(FrameGolden, GroupActionsForEveryGroup) {
    for (int n = 1; n <= 15; ++n) {
        EXPECT_EQ(StoreGroupAction(n), n * 16 + 1) << n;
        EXPECT_EQ(LoadGroupAction(n), n * 16 + 5) << n;
    }
    EXPECT_EQ(StoreGroupAction(16), 0xFD);
    EXPECT_EQ(LoadGroupAction(16), 0xFE);
}

TEST(FrameKinds, ConstructorsSetTheFixedBytes) {
    const struct {
        const char* name;
        Cmd frame;
        Bytes expected;  // every byte up to the length, unset ones zero
    } rows[] = {
        {"EqFrame", EqFrame(), {0xA5, 0x11, 0xF1, 0x0A, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"MasterVolFrame",
         MasterVolFrame(),
         {0xA5, 0x11, 0xF1, 0x0F, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0, 0}},
        {"DelayFrame",
         DelayFrame(),
         {0xA5, 0x13, 0xF1, 0x10, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"PassFrame",
         PassFrame(),
         {0xA5, 0x12, 0xF1, 0x09, 0x08, 0x00, 0x64, 0x00, 0x00, 0x00, 0x32, 0x32, 0x00, 0, 0, 0, 0, 0}},
        {"AlcFrame", AlcFrame(), {0xA5, 0x0E, 0xF1, 0x18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Hex(Of(row.frame)), Hex(row.expected)) << row.name;
        for (std::size_t i = row.expected.size(); i < row.frame.b.size(); ++i)
            EXPECT_EQ(row.frame[i], 0) << row.name << " byte " << i;
    }
}

TEST(FrameKinds, CopiesCarryEveryByte) {
    EqFrame eq;
    for (int i = 5; i < 16; ++i) eq[i] = static_cast<std::uint8_t>(i * 7);
    eq.Seal();
    EqFrame assigned;
    assigned = eq;
    EXPECT_EQ(assigned.b, eq.b);

    DelayFrame delay;
    for (int i = 5; i < 18; ++i) delay[i] = static_cast<std::uint8_t>(0xF0 + i);
    delay.Seal();
    const DelayFrame copied(delay);
    EXPECT_EQ(copied.b, delay.b);
}

TEST(CheckSum, HeaderRulesAndSums) {
    const struct {
        const char* name;
        Bytes bytes;
        std::uint8_t expected;
    } rows[] = {
        {"no sync byte", {0xA4, 0x06, 0xF9, 0x03, 0x06}, 0x00},
        {"length 0", {0xA5, 0x00, 0x10}, 0x00},
        {"length 1", {0xA5, 0x01, 0x10}, 0x00},
        {"length 51", {0xA5, 0x33, 0x10}, 0x00},
        {"length 255", {0xA5, 0xFF, 0x10}, 0x00},
        {"two bytes: sync only", {0xA5, 0x02}, 0xA5},
        {"three bytes", {0xA5, 0x03, 0x77}, 0xA8},
        {"heartbeat", {0xA5, 0x06, 0xF9, 0x03, 0x06}, 0xAD},
        {"handshake", {0xA5, 0x06, 0xF9, 0x03, 0x04}, 0xAB},
        {"covers sync and length", {0xA5, 0x09, 0xF4, 0x02, 0x80, 0x00, 0x00, 0x00}, 0x24},
        {"ignores bytes past the length", {0xA5, 0x04, 0x01, 0xEE, 0x55}, 0xAA},
    };
    for (const auto& row : rows) {
        const Cmd c = ToCmd(row.bytes);
        EXPECT_EQ(c.CheckSum(), row.expected) << row.name;
        EXPECT_EQ(CheckSum(c.data()), row.expected) << row.name;
    }
}

TEST(CheckSum, LongestFrameWrapsModulo256) {
    Cmd c;
    c[0] = kSync;
    c[1] = kMaxFrame;
    for (int i = 2; i < kMaxFrame - 1; ++i) c[i] = 0xFF;
    // 0xA5 + 50 + 47 * 0xFF, low byte
    const unsigned sum = 0xA5 + 50 + 47u * 0xFF;
    EXPECT_EQ(c.CheckSum(), sum & 0xFF);
    c.Seal();
    EXPECT_EQ(c[kMaxFrame - 1], sum & 0xFF);
}

TEST(CheckSum, SealLeavesInvalidFramesAlone) {
    Cmd c = ToCmd({0xA5, 0x33, 1, 2, 3});
    const auto before = c.b;
    c.Seal();
    EXPECT_EQ(c.b, before);
    c = ToCmd({0x00, 0x06, 0xF9, 0x03, 0x06, 0x77});
    c.Seal();
    EXPECT_EQ(c[5], 0x77);
}

TEST(ByteSum, CountsWithoutChecks) {
    const std::uint8_t bytes[] = {0x00, 0xFF, 0x02, 0x10};
    EXPECT_EQ(ByteSum(bytes, 0), 0);
    EXPECT_EQ(ByteSum(bytes, -3), 0);
    EXPECT_EQ(ByteSum(bytes, 1), 0x00);
    EXPECT_EQ(ByteSum(bytes + 1, 1), 0xFF);
    EXPECT_EQ(ByteSum(bytes, 3), 0x01);
    EXPECT_EQ(ByteSum(bytes, 4), 0x11);
}

}  // namespace
