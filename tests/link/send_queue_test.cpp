// What the queue holds after pushes; the sender is not started here.
#include "link/send_queue.h"

#include <gtest/gtest.h>

#include "link/uart.h"
#include "tests/link/bytes.h"
#include "tests/link/trace_capture.h"

using testbytes::Bytes;
using testbytes::Hex;
using testbytes::Sealed;
using testbytes::ToCmd;

namespace {

const Bytes kHeartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};

Bytes Param(std::uint8_t value) {
    return Sealed({0xA5, 0x09, 0xF1, 0x0F, 0x02, value, 0x00, 0x00});
}
Bytes System(std::uint8_t action) {
    return Sealed({0xA5, 0x06, 0xF9, 0x03, action});
}

std::vector<std::string> HexAll(const std::vector<std::vector<std::uint8_t>>& frames) {
    std::vector<std::string> out;
    for (const auto& f : frames) out.push_back(Hex(f));
    return out;
}

struct Case {
    const char* name;
    std::vector<Bytes> pushes;
    std::vector<Bytes> queued;
    int counter;
};

TEST(SendQueue, WhatWaitsAfterPushes) {
    const Bytes a = Param(1), b = Param(2), c = Param(3), d = Param(4);
    Bytes aOtherSum = a;
    aOtherSum.back() ^= 0x01;
    const Bytes sys = System(0x09);
    const std::vector<Case> cases = {
        {"one frame", {a}, {a}, 1},
        {"the same frame twice is queued once", {a, a}, {a}, 1},
        {"three parameter frames get a heartbeat", {a, b, c}, {a, b, c, kHeartbeat}, 0},
        {"six give two",
         {a, b, c, d, Param(5), Param(6)},
         {a, b, c, kHeartbeat, d, Param(5), Param(6), kHeartbeat},
         0},
        {"a system frame restarts the count", {a, sys, b, c}, {a, sys, b, c}, 2},
        {"a system frame at count 2 adds no heartbeat", {a, b, sys}, {a, b, sys}, 0},
        {"a duplicate does not count", {a, b, a, c}, {b, a, c, kHeartbeat}, 0},
        {"a different checksum is not a duplicate", {a, aOtherSum}, {a, aOtherSum}, 2},
        {"the last value pushed is the last sent", {a, b, a}, {b, a}, 2},
        {"a pushed heartbeat is a system frame", {a, b, kHeartbeat}, {a, b, kHeartbeat}, 0},
        {"a queued heartbeat moves back when pushed again", {a, b, c, kHeartbeat}, {a, b, c, kHeartbeat}, 0},
        {"a two-byte frame is taken", {{0xA5, 0x02}}, {{0xA5, 0x02}}, 1},
    };
    for (const Case& row : cases) {
        Uart uart;
        SendQueue queue(uart);
        for (const Bytes& f : row.pushes) queue.PushCmd(ToCmd(f));
        std::vector<std::string> expected;
        for (const Bytes& f : row.queued) expected.push_back(Hex(f));
        EXPECT_EQ(HexAll(queue.Pending()), expected) << row.name;
        EXPECT_EQ(queue.HeartbeatCount(), row.counter) << row.name;
    }
}

TEST(SendQueue, CopiesExactlyTheFrameLength) {
    Uart uart;
    SendQueue queue(uart);
    ZemCmd::Cmd frame = ToCmd(System(0x04));
    frame[6] = 0x77;  // past the length: not part of the frame
    queue.PushCmd(&frame);
    frame[4] = 0x05;  // the caller keeps its frame
    ASSERT_EQ(queue.Pending().size(), 1u);
    EXPECT_EQ(Hex(queue.Pending()[0]), "A5 06 F9 03 04 AB");
    queue.PushCmd(nullptr);
    EXPECT_EQ(queue.Pending().size(), 1u);
}

TEST(SendQueue, RefusesBadHeaders) {
    TraceCapture trace;
    Uart uart;
    SendQueue queue(uart);
    const Bytes bad[] = {
        {0xA4, 0x06, 0xF9, 0x03, 0x06, 0xAD},
        {0xA5, 0x01, 0xF9},
        {0xA5, 0x00},
        {0xA5, 0x33, 0xF1, 0x0F},
        {0xA5, 0xFF, 0xF1, 0x0F},
    };
    for (const Bytes& f : bad) queue.PushCmd(ToCmd(f));
    EXPECT_TRUE(queue.Pending().empty());
    EXPECT_EQ(queue.HeartbeatCount(), 0);
    const std::string text = trace.Text();
    EXPECT_NE(text.find("[drop]a4 06 \n"), std::string::npos) << text;
    EXPECT_NE(text.find("[drop]a5 ff \n"), std::string::npos) << text;
}

}  // namespace
