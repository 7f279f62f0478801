// The serial link and its reader thread on a real pseudo-terminal.
#include "link/uart.h"

#include <gtest/gtest.h>

#include "link/receive_text.h"
#include "tests/link/bytes.h"
#include "tests/link/pty.h"
#include "tests/link/trace_capture.h"

using namespace testbytes;

namespace {

const Bytes kAnswer = Sealed({0xA5, 0x0B, 0xF6, 0x02, 0x80, 0x11, 0x22, 0xA5, 0x33, 0x44});

struct UartLink : ::testing::Test {
    Pty pty;
    BoundedLog log;
    Uart uart;
    TraceCapture trace;

    void SetUp() override {
        ASSERT_EQ(uart.Open(pty.path()), 1);
        uart.SetLogSink(&log);
    }
    void TearDown() override { uart.Close(); }
    std::string LastFrame() const {
        const ReceivedFrame f = uart.LastFrame();
        return Hex(Bytes(f.bytes.b.begin(), f.bytes.b.begin() + f.length));
    }
};

TEST_F(UartLink, OpenAndSendRules) {
    Pty other;
    EXPECT_EQ(uart.Open(other.path()), 0);  // already open: keeps its port
    EXPECT_EQ(Uart().Open("COM99"), 0);
    EXPECT_EQ(uart.Send(kAnswer.data(), static_cast<int>(kAnswer.size())), static_cast<int>(kAnswer.size()));
    EXPECT_EQ(pty.Receive(kAnswer.size()), kAnswer);
    uart.Close();
    EXPECT_EQ(uart.Send(kHeartbeat.data(), 6), 0);  // nothing written, still traced
    EXPECT_EQ(trace.Text(), "[send]a5 0b f6 02 80 11 22 a5 33 44 77 \n[send]a5 06 f9 03 06 ad \n");
}

TEST_F(UartLink, FrameModeAssemblesFramesAndKeepsTheLastGoodOne) {
    uart.frameMode = 1;
    uart.Start();
    // Split over reads: nothing is published until the frame is whole.
    pty.Send(Bytes(kAnswer.begin(), kAnswer.begin() + 5));
    ASSERT_TRUE(WaitUntil([&] { return uart.received.load() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(uart.frameReady.load(), 0);
    pty.Send(Bytes(kAnswer.begin() + 5, kAnswer.end()));
    ASSERT_TRUE(WaitUntil([&] { return uart.frameReady.load() == 1; }));
    EXPECT_EQ(LastFrame(), Hex(kAnswer));
    EXPECT_TRUE(trace.Has("[recv]len = 5, hex=0, zem=1\n")) << trace.Text();

    // Two frames and garbage in one read: both traced in order, the last one kept.
    pty.Send(Cat({{0x00, 0x13, 0x11}, kAnswer, {0x0D, 0x42}, kHeartbeat, {0xFF}}));
    ASSERT_TRUE(WaitUntil([&] { return trace.Has("[recv]a5 06 f9 03 06 ad \n"); }));
    EXPECT_LT(trace.Text().find("[recv]a5 0b"), trace.Text().find("[recv]a5 06"));
    EXPECT_EQ(LastFrame(), Hex(kHeartbeat));

    // A bad checksum and a 4-byte frame leave it alone.
    uart.frameReady = 0;
    Bytes broken = kAnswer;
    broken.back() ^= 0x10;
    pty.Send(Cat({broken, {0xA5, 0x04, 0xF6, 0x01}}));
    ASSERT_TRUE(WaitUntil([&] { return log.Text() == "CheckSum Error\n"; })) << log.Text();
    EXPECT_EQ(uart.frameReady.load(), 0);
    EXPECT_EQ(LastFrame(), Hex(kHeartbeat));
}

TEST_F(UartLink, TextAndHexViewsOfTheTraffic) {
    uart.Start();
    pty.Send({'h', 'i', '\r', '\n', 0, 'x'});
    ASSERT_TRUE(WaitUntil([&] { return log.Text() == "hi\r\n"; })) << log.Text();
    EXPECT_EQ(uart.frameReady.load(), 0);
    log.Clear();
    uart.hex = true;
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    pty.Send(all);
    const std::string expected = receive_text::AsHex(all.data(), 256);
    ASSERT_TRUE(WaitUntil([&] { return log.Text().size() >= expected.size(); })) << log.Text();
    EXPECT_EQ(log.Text(), expected);
    EXPECT_GE(log.ScrollRequests(), 1);
    EXPECT_TRUE(trace.Has(", hex=1, zem=0\n"));
}

TEST_F(UartLink, CloseStopsTheReaderAndThePortReopens) {
    uart.frameMode = 1;
    uart.Start();
    pty.Send({0xA5, 0x0B});  // the reader is mid-frame
    ASSERT_TRUE(WaitUntil([&] { return uart.received.load() == 1; }));
    const auto start = std::chrono::steady_clock::now();
    uart.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(uart.IsOpen());
    ASSERT_EQ(uart.Open(pty.path()), 1);
    uart.Start();
    pty.Send(kHeartbeat);
    ASSERT_TRUE(WaitUntil([&] { return uart.frameReady.load() == 1; }));
    EXPECT_EQ(LastFrame(), Hex(kHeartbeat));
    EXPECT_EQ(uart.Send(kHeartbeat.data(), 6), 6);
    EXPECT_EQ(pty.Receive(6), kHeartbeat);
}

TEST_F(UartLink, UpdateWorkOwnsThePortWhileRequested) {
    std::atomic<int> runs{0};
    uart.SetUpdateWork([&](Uart& link) {
        ++runs;
        std::uint8_t byte = 0;  // the device's 'C', as a transfer waits for it
        WaitUntil([&] { return link.Port().Read(&byte, 1) == 1; });
        const std::uint8_t ack = byte == 'C' ? 0x06 : 0x15;
        std::lock_guard lock(link.WriteMutex());
        link.SendHoldingLock(&ack, 1);
        return byte == 'C' ? 0 : -4;
    });
    uart.Start();
    uart.updateRequest = 1;
    pty.Send({'C'});
    ASSERT_TRUE(WaitUntil([&] { return uart.updateRequest.load() == 0; }));
    EXPECT_EQ(uart.updateResult.load(), 0);
    EXPECT_EQ(runs.load(), 1);
    EXPECT_EQ(uart.received.load(), 0);  // the reader stood still
    EXPECT_EQ(pty.Receive(1), Bytes{0x06});
}

TEST(UartLifetime, DestroyedWhileThreadsRun) {
    Pty pty;
    TraceCapture trace;
    for (int i = 0; i < 3; ++i) {
        Uart uart;
        ASSERT_EQ(uart.Open(pty.path()), 1);
        uart.frameMode = 1;
        uart.Start();
        pty.Send(kHeartbeat);
        WaitUntil([&] { return uart.frameReady.load() == 1; });
    }
    Uart neverOpened;
    neverOpened.Start();  // threads run with no port
    EXPECT_EQ(neverOpened.Send(kHeartbeat.data(), 6), 0);
}

}  // namespace
