// The sender thread writing the queue to a real pseudo-terminal.
#include <gtest/gtest.h>

#include "link/send_queue.h"
#include "link/uart.h"
#include "tests/link/bytes.h"
#include "tests/link/pty.h"
#include "tests/link/trace_capture.h"

using namespace testbytes;
using Clock = std::chrono::steady_clock;

namespace {

Bytes Param(std::uint8_t value) {
    return Sealed({0xA5, 0x09, 0xF1, 0xF0, 0x70, value, 0x00, 0x00});
}

struct Sender : ::testing::Test {
    Pty pty;
    TraceCapture trace;
    std::mutex timesMutex;
    std::vector<Clock::time_point> writes;  // one per frame (frames here are one piece)
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
    void ExpectOnTheLine(const Bytes& expected) {
        EXPECT_EQ(Hex(pty.Receive(expected.size())), Hex(expected));
    }
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
    // The queue keeps the frame as pushed: with frame mode off it goes out byte for byte.
    ASSERT_TRUE(WaitUntil([&] { return queue.Pending().empty(); }));
    uart.frameMode = 0;
    Push({band});
    ExpectOnTheLine(band);
}

TEST_F(Sender, APushNeverWaitsForThePort) {
    Push({Param(1)});
    {
        // Another writer holds the port: the sender takes the frame and then waits for the port.
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
    EXPECT_FALSE(queue.IsRunning());
    EXPECT_FALSE(queue.Pending().empty());
    queue.Stop();
    queue.Start();  // and starts again; destroyed running with frames waiting
    EXPECT_TRUE(queue.IsRunning());
}

TEST(SenderNoPort, FramesWrittenWithoutAPortAreLost) {
    TraceCapture trace;
    Uart uart;
    SendQueue queue(uart);
    queue.Start();
    queue.PushCmd(ToCmd(kHeartbeat));
    ASSERT_TRUE(WaitUntil([&] { return trace.Has("[send]a5 06 f9 03 06 ad \n"); }));
    EXPECT_TRUE(queue.Pending().empty());
}

}  // namespace
