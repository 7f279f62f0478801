// The serial link and its reader thread on a real pseudo-terminal.
#include "link/uart.h"

#include <gtest/gtest.h>

#include "link/receive_text.h"
#include "tests/link/bytes.h"
#include "tests/link/pty.h"
#include "tests/link/trace_capture.h"

using testbytes::Bytes;
using testbytes::Hex;
using testbytes::Sealed;

namespace {

const Bytes kHeartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
const Bytes kAnswer = Sealed({0xA5, 0x0B, 0xF6, 0x02, 0x80, 0x11, 0x22, 0xA5, 0x33, 0x44});

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes LastFrameBytes(const Uart& uart) {
    const ReceivedFrame f = uart.LastFrame();
    return Bytes(f.bytes.b.begin(), f.bytes.b.begin() + f.length);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct LinkFixture : ::testing::Test {
    Pty pty;
    BoundedLog log;
    Uart uart;
    TraceCapture trace;

    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        ASSERT_EQ(uart.Open(pty.path()), 1);
        uart.SetLogSink(&log);
    }
    void TearDown() override { uart.Close(); }
};

using UartLink = LinkFixture;

TEST_F(UartLink, OpenOnAnOpenPortFailsAndKeepsIt) {
    Pty other;
    EXPECT_EQ(uart.Open(other.path()), 0);
    EXPECT_EQ(uart.Open(pty.path()), 0);
    EXPECT_EQ(uart.Send(kHeartbeat.data(), 6), 6);
    EXPECT_EQ(pty.Receive(6), kHeartbeat);
    EXPECT_EQ(Uart().Open("COM99"), 0);
}

TEST_F(UartLink, SendTracesEveryFrameAndReportsTheCount) {
    EXPECT_EQ(uart.Send(kAnswer.data(), static_cast<int>(kAnswer.size())), static_cast<int>(kAnswer.size()));
    EXPECT_EQ(pty.Receive(kAnswer.size()), kAnswer);
    uart.Close();
    EXPECT_EQ(uart.Send(kHeartbeat.data(), 6), 0);  // nothing written, still traced
    EXPECT_EQ(trace.Text(), "[send]a5 0b f6 02 80 11 22 a5 33 44 77 \n[send]a5 06 f9 03 06 ad \n");
}

TEST_F(UartLink, FrameSplitOverReadsIsAssembled) {
    uart.frameMode = 1;
    uart.Start();
    pty.Send(Bytes(kAnswer.begin(), kAnswer.begin() + 5));
    ASSERT_TRUE(WaitUntil([&] { return uart.received.load() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(uart.frameReady.load(), 0);
    EXPECT_EQ(uart.LastFrame().length, 0);
    pty.Send(Bytes(kAnswer.begin() + 5, kAnswer.end()));
    ASSERT_TRUE(WaitUntil([&] { return uart.frameReady.load() == 1; }));
    EXPECT_EQ(Hex(LastFrameBytes(uart)), Hex(kAnswer));
    EXPECT_TRUE(Contains(trace.Text(), "[recv]len = 5, hex=0, zem=1\n")) << trace.Text();
    EXPECT_TRUE(Contains(trace.Text(), "[recv]a5 0b f6 02 80 11 22 a5 33 44 77 \n")) << trace.Text();
}

TEST_F(UartLink, TwoFramesAndGarbageInOneRead) {
    uart.frameMode = 1;
    uart.Start();
    pty.Send(Cat({{0x00, 0x13, 0x11}, kAnswer, {0x0D, 0x42}, kHeartbeat, {0xFF}}));
    ASSERT_TRUE(WaitUntil([&] { return Contains(trace.Text(), "[recv]a5 06 f9 03 06 ad \n"); }));
    EXPECT_EQ(Hex(LastFrameBytes(uart)), Hex(kHeartbeat));
    const std::string text = trace.Text();
    EXPECT_LT(text.find("[recv]a5 0b"), text.find("[recv]a5 06")) << text;
    EXPECT_EQ(uart.frameReady.load(), 1);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(UartLink, BadFramesLeaveTheLastGoodOne) {
    uart.frameMode = 1;
    uart.Start();
    pty.Send(kAnswer);
    ASSERT_TRUE(WaitUntil([&] { return uart.frameReady.load() == 1; }));
    uart.frameReady = 0;
    Bytes broken = kHeartbeat;
    broken.back() ^= 0x10;
    pty.Send(Cat({broken, {0xA5, 0x04, 0xF6, 0x01}}));
    ASSERT_TRUE(WaitUntil([&] { return log.Text() == "CheckSum Error\n"; })) << log.Text();
    EXPECT_EQ(uart.frameReady.load(), 0);
    EXPECT_EQ(Hex(LastFrameBytes(uart)), Hex(kAnswer));
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
    EXPECT_EQ(log.Text(), expected);  // every byte value arrived unchanged
    EXPECT_GE(log.ScrollRequests(), 1);
    EXPECT_TRUE(Contains(trace.Text(), ", hex=1, zem=0\n"));
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
    uart.received = 0;
    pty.Send(kHeartbeat);
    ASSERT_TRUE(WaitUntil([&] { return uart.frameReady.load() == 1; }));
    EXPECT_EQ(Hex(LastFrameBytes(uart)), Hex(kHeartbeat));
    EXPECT_EQ(uart.Send(kHeartbeat.data(), 6), 6);
    EXPECT_EQ(pty.Receive(6), kHeartbeat);
}

TEST_F(UartLink, UpdateWorkOwnsThePortWhileRequested) {
    std::atomic<int> runs{0};
    uart.SetUpdateWork([&](Uart& link) {
        ++runs;
        // Wait for the device's 'C' as a transfer would, then answer it.
        std::uint8_t byte = 0;
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
    ASSERT_TRUE(pty.ok());
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
