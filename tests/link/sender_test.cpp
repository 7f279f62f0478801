// The sender thread writing the queue to a real pseudo-terminal.
#include <gtest/gtest.h>

#include "link/send_queue.h"
#include "link/uart.h"
#include "tests/link/bytes.h"
#include "tests/link/pty.h"
#include "tests/link/trace_capture.h"

using testbytes::Bytes;
using testbytes::Hex;
using testbytes::Sealed;
using testbytes::ToCmd;
using Clock = std::chrono::steady_clock;

namespace {

const Bytes kHeartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};

Bytes Param(std::uint8_t value) {
    return Sealed({0xA5, 0x09, 0xF1, 0xF0, 0x70, value, 0x00, 0x00});
}

Bytes Cat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct SenderFixture : ::testing::Test {
    Pty pty;
    TraceCapture trace;
    std::mutex timesMutex;
    std::vector<Clock::time_point> writes;  // one per frame written (frames here are one piece)
    Uart uart;

    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        ASSERT_EQ(uart.Open(pty.path()), 1);
        uart.Port().SetPieceObserver([this](const std::uint8_t*, int, int) {
            std::lock_guard lock(timesMutex);
            writes.push_back(Clock::now());
        });
    }
    std::vector<Clock::time_point> Writes() {
        std::lock_guard lock(timesMutex);
        return writes;
    }
    void ExpectGapsOfAtLeast60ms() {
        const auto w = Writes();
        for (std::size_t i = 1; i < w.size(); ++i)
            EXPECT_GE(w[i] - w[i - 1], std::chrono::milliseconds(60))
                << "between frames " << i - 1 << " and " << i;
    }
};

using Sender = SenderFixture;

TEST_F(Sender, FramesLeaveInOrderAtLeast60msApart) {
    SendQueue queue(uart);
    const std::vector<Bytes> frames = {Param(1), Param(2), Param(3), kHeartbeat, Param(4)};
    queue.PushCmd(ToCmd(Param(1)));
    queue.PushCmd(ToCmd(Param(2)));
    queue.PushCmd(ToCmd(Param(3)));  // a heartbeat follows
    queue.PushCmd(ToCmd(Param(4)));
    queue.Start();
    const Bytes expected = Cat(frames);
    EXPECT_EQ(Hex(pty.Receive(expected.size())), Hex(expected));
    queue.Stop();
    EXPECT_EQ(Writes().size(), frames.size());
    ExpectGapsOfAtLeast60ms();
}

TEST_F(Sender, FramesWaitWhileAnUpdateRunsThenAllGoOut) {
    SendQueue queue(uart);
    uart.updateRequest = 1;
    queue.Start();
    const std::vector<Bytes> frames = {Param(7), Param(8), Param(9), kHeartbeat, Param(10), Param(11)};
    for (const Bytes& f : frames)
        if (f != kHeartbeat) queue.PushCmd(ToCmd(f));
    EXPECT_TRUE(pty.Receive(1, std::chrono::milliseconds(300)).empty());
    EXPECT_EQ(queue.Pending().size(), frames.size());
    uart.updateRequest = 0;
    const Bytes expected = Cat(frames);
    EXPECT_EQ(Hex(pty.Receive(expected.size())), Hex(expected));
    queue.Stop();
    ExpectGapsOfAtLeast60ms();
}

TEST_F(Sender, FrameModeReLaysParameterWritesOnly) {
    const Bytes band = Sealed(
        {0xA5, 0x11, 0xF1, 0x0A, 0x08, 0x03, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59});
    const Bytes relaid = Sealed(
        {0xA5, 0x11, 0xF1, 0x04, 0x52, 0x00, 0x03, 0x57, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x59});
    const Bytes level3 = Sealed(
        {0xA5, 0x11, 0xF1, 0x0F, 0x03, 0x01, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x04, 0x00});
    SendQueue queue(uart);
    queue.Start();

    uart.frameMode = 1;
    queue.PushCmd(ToCmd(band));
    queue.PushCmd(ToCmd(level3));  // mode 3 has no alternate layout
    queue.PushCmd(ToCmd(kHeartbeat));
    Bytes expected = Cat({relaid, level3, kHeartbeat});
    EXPECT_EQ(Hex(pty.Receive(expected.size())), Hex(expected));
    // The queue keeps the frame as pushed: switching frame mode off sends it byte for byte.
    ASSERT_TRUE(WaitUntil([&] { return queue.Pending().empty(); }));
    uart.frameMode = 0;
    queue.PushCmd(ToCmd(band));
    EXPECT_EQ(Hex(pty.Receive(band.size())), Hex(band));
    queue.Stop();
    EXPECT_TRUE(trace.Text().find("[send]a5 11 f1 04 52 00 03 57") != std::string::npos) << trace.Text();
}

TEST_F(Sender, APushNeverWaitsForThePort) {
    SendQueue queue(uart);
    queue.PushCmd(ToCmd(Param(1)));
    {
        // Another writer holds the port: the sender takes the frame and then waits for the port.
        std::lock_guard port(uart.WriteMutex());
        queue.Start();
        ASSERT_TRUE(WaitUntil([&] { return queue.Pending().empty(); }));
        queue.PushCmd(ToCmd(Param(2)));  // would hang if the queue lock were held across the write
        EXPECT_EQ(queue.Pending().size(), 1u);
    }
    const Bytes expected = Cat({Param(1), Param(2)});
    EXPECT_EQ(Hex(pty.Receive(expected.size())), Hex(expected));
}

TEST_F(Sender, StopsPromptlyAndDropsWhatWaits) {
    {
        SendQueue queue(uart);
        queue.Start();
        for (int i = 0; i < 20; ++i) queue.PushCmd(ToCmd(Param(static_cast<std::uint8_t>(i))));
        ASSERT_TRUE(WaitUntil([&] { return queue.Pending().size() < 25; }));
        const auto start = Clock::now();
        queue.Stop();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
        EXPECT_FALSE(queue.IsRunning());
        EXPECT_FALSE(queue.Pending().empty());
        queue.Start();  // and starts again
        EXPECT_TRUE(queue.IsRunning());
    }  // destroyed running, with frames waiting
    SendQueue idle(uart);
    idle.Start();
    idle.Stop();
    idle.Stop();
}

TEST(SenderNoPort, FramesWrittenWithoutAPortAreLost) {
    TraceCapture trace;
    Uart uart;
    SendQueue queue(uart);
    queue.Start();
    queue.PushCmd(ToCmd(kHeartbeat));
    ASSERT_TRUE(
        WaitUntil([&] { return trace.Text().find("[send]a5 06 f9 03 06 ad \n") != std::string::npos; }));
    EXPECT_TRUE(queue.Pending().empty());
}

}  // namespace
