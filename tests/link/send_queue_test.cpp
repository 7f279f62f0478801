// The send queue: what waits after pushes, the re-lay layouts, and the sender thread on a real
// pseudo-terminal.
#include "link/send_queue.h"

#include <gtest/gtest.h>

#include "link/uart.h"
#include "tests/link/bytes.h"
#include "tests/link/pty.h"
#include "tests/link/trace_capture.h"

using namespace testbytes;
using Clock = std::chrono::steady_clock;

namespace {

Bytes Param(std::uint8_t value) {
    return Sealed({0xA5, 0x09, 0xF1, 0x0F, 0x02, value, 0x00, 0x00});
}

TEST(SendQueue, WhatWaitsAfterPushes) {
    const Bytes a = Param(1), b = Param(2), c = Param(3), d = Param(4);
    Bytes aOtherSum = a;
    aOtherSum.back() ^= 0x01;
    const Bytes sys = Sealed("A5 06 F9 03 09");
    const std::vector<Bytes> badHeaders = {FromHex("A4 06 F9 03 06 AD"), FromHex("A5 01 F9"),
                                           FromHex("A5 33 F1"), FromHex("A5 FF F1")};
    const struct {
        const char* name;
        std::vector<Bytes> pushes, queued;
        int counter;
    } rows[] = {
        // clang-format off
        {"the same frame twice is queued once", {a, a}, {a}, 1},
        {"three parameter frames get a heartbeat", {a, b, c}, {a, b, c, kHeartbeat}, 0},
        {"a system frame restarts the count", {a, sys, b, c, d}, {a, sys, b, c, d, kHeartbeat}, 0},
        {"a system frame at count 2 adds no heartbeat", {a, b, sys}, {a, b, sys}, 0},
        {"a duplicate moves back and does not count", {a, b, a, c}, {b, a, c, kHeartbeat}, 0},
        {"a different checksum is not a duplicate", {a, aOtherSum}, {a, aOtherSum}, 2},
        {"a pushed heartbeat is a system frame", {a, b, kHeartbeat}, {a, b, kHeartbeat}, 0},
        {"a pushed heartbeat finding one waiting is dropped, not moved back", {a, b, c, kHeartbeat, d},
         {a, b, c, kHeartbeat, d}, 1},
        {"watchdog heartbeats in a burst leave one after every third frame",
         {a, b, c, kHeartbeat, d, kHeartbeat, Param(5), Param(6)},
         {a, b, c, kHeartbeat, d, Param(5), Param(6), kHeartbeat}, 0},
        {"a two-byte frame is taken", {{0xA5, 0x02}}, {{0xA5, 0x02}}, 1},
        {"bad headers are refused", badHeaders, {}, 0},
        // clang-format on
    };
    for (const auto& row : rows) {
        TraceCapture trace;
        Uart uart;
        SendQueue queue(uart);
        for (const Bytes& frame : row.pushes) queue.PushCmd(ToCmd(frame));
        EXPECT_EQ(queue.Pending(), row.queued) << row.name;
        EXPECT_EQ(queue.HeartbeatCount(), row.counter) << row.name;
        EXPECT_EQ(trace.Has("[drop]a4 06 \n"), row.queued.empty())
            << row.name << ": drop of the first frame traced";
        EXPECT_EQ(trace.Has("[drop]a5 ff \n"), row.queued.empty())
            << row.name << ": drop of the second frame traced";
    }
}

TEST(SendQueue, CopiesExactlyTheFrameLength) {
    Uart uart;
    SendQueue queue(uart);
    ZemCmd::Cmd frame = ToCmd(Sealed("A5 06 F9 03 04"));
    frame[6] = 0x77;  // past the length
    queue.PushCmd(&frame);
    queue.PushCmd(nullptr);
    EXPECT_EQ(queue.Pending(), std::vector<Bytes>{FromHex("A5 06 F9 03 04 AB")});
}

TEST(TranslateCmd, EveryLayout) {
    // Without checksums; "" means sent unchanged.
    const struct {
        const char* name;
        const char* in;
        const char* expected;
    } rows[] = {
        // clang-format off
        {"levels mode 2, bit 7 clear", "A5 11 F1 0F 02 01 10 47 48 49 4A 4B 4C 4D 04 00", "A5 0E F1 02 10 01 D0 07 08 09 0A 0B 04"},
        {"levels mode 2, bit 7 set", "A5 11 F1 0F 02 81 10 47 48 49 4A 4B 4C 4D 04 00", "A5 0E F1 02 15 81 D0 07 08 09 0A 0B 04"},
        {"levels mode 1, bit 7 clear", "A5 11 F1 0F 01 7F 10 47 48 49 4A 4B 4C 4D 04 00", "A5 0E F1 01 30 01 D0 07 08 09 0A 0B 04"},
        {"levels mode 1, bit 7 set", "A5 11 F1 0F 01 80 10 47 48 49 4A 4B 4C 4D 04 00", "A5 0E F1 01 32 80 10 47 48 49 4A 4B 04"},
        {"levels mode 6", "A5 11 F1 0F 06 00 10 47 48 49 4A 4B 4C 4D 04 00", "A5 0E F1 06 40 80 10 47 48 49 4A 4B 04"},
        {"levels mode 7", "A5 11 F1 0F 07 01 10 47 48 49 4A 4B 4C 4D 04 00", "A5 0E F1 07 2A 80 10 47 48 49 4A 4B 04"},
        {"levels mode 8", "A5 11 F1 0F 08 81 10 47 48 49 4A 4B 4C 4D 04 00", "A5 0E F1 08 22 80 10 47 48 49 4A 4B 04"},
        {"levels mode 9", "A5 11 F1 0F 09 01 10 47 48 49 4A 4B 4C 4D 04 00", ""},
        {"levels frame too short", "A5 09 F1 0F 02 01 00 00", ""},
        {"limiter output 2", "A5 0E F1 18 02 55 66 0A 00 F4 01 77 88", "A5 0E F1 02 12 55 66 0A 00 32 00 77 88"},
        {"limiter output 3, 16-bit attack", "A5 0E F1 18 03 01 02 2C 01 58 1B 03 04", "A5 0E F1 03 50 01 02 2C 01 17 00 03 04"},
        {"limiter quotient keeps its low byte", "A5 0E F1 18 02 00 00 01 00 02 03 00 00", "A5 0E F1 02 12 00 00 01 00 02 00 00 00"},
        {"limiter attack 0 divides by 1", "A5 0E F1 18 02 00 00 00 00 2C 01 00 00", "A5 0E F1 02 12 00 00 00 00 2C 00 00 00"},
        {"limiter too short", "A5 0C F1 18 02 00 00 01 00 02 03", ""},
        {"noise gate", "A5 0F F1 12 02 05 60 61 62 63 64 65 66 67", "A5 0F F1 05 13 02 60 61 62 63 64 65 66 67"},
        {"feedback canceller drops byte 6", "A5 0B F1 08 02 01 99 71 72 73", "A5 0A F1 02 14 01 71 72 73"},
        {"effect block drops byte 20", "A5 16 F1 0D 07 03 30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D EE", "A5 16 F1 03 20 07 30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 00"},
        {"effect block too short", "A5 13 F1 0D 07 03 01 02 03 04 05 06 07 08 09 0A 0B 0C", ""},
        {"sub-command 0x02, longer frame cut", "A5 10 F1 02 11 22 40 41 42 43 44 45 46 47 48", "A5 0D F1 22 28 11 40 41 42 43 44 45"},
        {"delays put bass before mid", "A5 13 F1 10 04 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D", "A5 0D F1 04 51 01 61 63 67 65 69 6B"},
        {"delay frame too short", "A5 0F F1 10 04 61 62 63 64 65 66 67 68 69", ""},
        {"band microphone", "A5 11 F1 0A 04 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 02 11 00 03 57 50 51 52 53 54 55 56 59"},
        {"band music", "A5 11 F1 0A 02 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 01 31 00 03 57 50 51 52 53 54 55 56 59"},
        {"band echo", "A5 11 F1 0A 0E 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 07 29 00 03 57 50 51 52 53 54 55 56 59"},
        {"band reverb", "A5 11 F1 0A 10 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 08 21 00 03 57 50 51 52 53 54 55 56 59"},
        {"band outputs, bit 0 set", "A5 11 F1 0A 09 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 04 52 00 03 57 50 51 52 53 54 55 56 59"},
        {"band outputs, bit 7 set", "A5 11 F1 0A 89 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 04 52 01 03 57 50 51 52 53 54 55 56 59"},
        {"band channel 3 has no kind", "A5 11 F1 0A 06 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 03 00 00 03 57 50 51 52 53 54 55 56 59"},
        {"band six-bit channel", "A5 11 F1 0A FE 03 50 51 52 53 54 55 56 57 58 59", "A5 11 F1 3F 00 01 03 57 50 51 52 53 54 55 56 59"},
        {"band frame too short", "A5 0F F1 0A 08 01 02 03 04 05 06 07 08 09", ""},
        {"answer class: the class byte decides", "A5 11 F6 0A 08 03 50 51 52 53 54 55 56 57 58 59", ""},
        {"effect-path band", "A5 12 F1 09 08 00 64 00 00 00 32 32 00 01 00 00 00", ""},
        // clang-format on
    };
    for (const auto& row : rows) {
        std::uint8_t out[SendQueue::kOutSize];
        std::fill(std::begin(out), std::end(out), 0xCC);
        const bool relaid = SendQueue::TranslateCmd(ToCmd(Sealed(row.in)), out);
        ASSERT_EQ(relaid, *row.expected != 0) << row.name;
        if (!relaid) continue;
        EXPECT_EQ(Hex(Bytes(out, out + std::min<int>(out[1], SendQueue::kOutSize))),
                  Hex(Sealed(row.expected)))
            << row.name;
    }
}

struct Sender : ::testing::Test {
    Pty pty;
    TraceCapture trace;
    std::mutex timesMutex;
    std::vector<Clock::time_point> writes;  // one piece per frame
    Uart uart;
    SendQueue queue{uart};

    void SetUp() override {
        ASSERT_EQ(uart.Open(pty.path()), 1);
        uart.Port().SetPieceObserver([this](const std::uint8_t*, int, int) {
            std::lock_guard lock(timesMutex);
            writes.push_back(Clock::now());
        });
    }
    void Push(const std::vector<Bytes>& frames) {
        for (const Bytes& f : frames) queue.PushCmd(ToCmd(f));
    }
    void ExpectOnTheLine(const Bytes& expected) { EXPECT_EQ(pty.Receive(expected.size()), expected); }
};

TEST_F(Sender, FramesWaitWhileAnUpdateRunsThenLeaveInOrderAtLeast60msApart) {
    uart.updateRequest = 1;
    queue.Start();
    Push({Param(7), Param(8), Param(9), Param(10), Param(11)});
    EXPECT_TRUE(pty.Receive(1, 300ms).empty());
    EXPECT_EQ(queue.Pending().size(), 6u);
    uart.updateRequest = 0;
    ExpectOnTheLine(Cat({Param(7), Param(8), Param(9), kHeartbeat, Param(10), Param(11)}));
    queue.Stop();
    std::lock_guard lock(timesMutex);
    EXPECT_EQ(writes.size(), 6u);
    for (std::size_t i = 1; i < writes.size(); ++i) EXPECT_GE(writes[i] - writes[i - 1], 60ms) << i;
}

TEST_F(Sender, FrameModeReLaysParameterWritesOnly) {
    const Bytes band = Sealed("A5 11 F1 0A 08 03 50 51 52 53 54 55 56 57 58 59");
    const Bytes relaid = Sealed("A5 11 F1 04 52 00 03 57 50 51 52 53 54 55 56 59");
    const Bytes level3 = Sealed("A5 11 F1 0F 03 01 46 47 48 49 4A 4B 4C 4D 04 00");  // no alternate layout
    queue.Start();
    uart.frameMode = 1;
    Push({band, level3, kHeartbeat});
    ExpectOnTheLine(Cat({relaid, level3, kHeartbeat}));
    EXPECT_TRUE(trace.Has("[send]a5 11 f1 04 52 00 03 57")) << trace.Text();
    // Kept as pushed in the queue: unchanged with frame mode off.
    ASSERT_TRUE(WaitUntil([&] { return queue.Pending().empty(); }));
    uart.frameMode = 0;
    Push({band});
    ExpectOnTheLine(band);
}

TEST_F(Sender, APushNeverWaitsForThePort) {
    Push({Param(1)});
    {
        std::lock_guard port(uart.WriteMutex());
        queue.Start();
        ASSERT_TRUE(WaitUntil([&] { return queue.Pending().empty(); }));
        Push({Param(2)});  // would hang if the queue lock were held across the write
        EXPECT_EQ(queue.Pending().size(), 1u);
        EXPECT_TRUE(pty.Receive(1, 100ms).empty());  // nothing is written past the port lock
    }
    ExpectOnTheLine(Cat({Param(1), Param(2)}));
}

TEST_F(Sender, StopsPromptlyAndDropsWhatWaits) {
    queue.Start();
    for (int i = 0; i < 20; ++i) Push({Param(static_cast<std::uint8_t>(i))});
    ASSERT_TRUE(WaitUntil([&] { return queue.Pending().size() < 25; }));
    const auto start = Clock::now();
    queue.Stop();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_FALSE(queue.Pending().empty());
    queue.Start();  // destroyed running with frames waiting
}

TEST(SenderNoPort, FramesWrittenWithoutAPortAreLost) {
    Uart uart;
    SendQueue queue(uart);
    queue.Start();
    queue.PushCmd(ToCmd(kHeartbeat));
    EXPECT_TRUE(WaitUntil([&] { return queue.Pending().empty(); }));
}

}  // namespace
