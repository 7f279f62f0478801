// The termios port, the serial link and its reader thread on a real pseudo-terminal.
#include "link/uart.h"

#include <gtest/gtest.h>

#include "platform/serial_port.h"
#include "tests/link/bytes.h"
#include "tests/link/pty.h"
#include "tests/link/trace_capture.h"

using namespace testbytes;

namespace {

Bytes ReadAtLeast(platform::SerialPort& port, std::size_t n) {
    Bytes got;
    WaitUntil([&] {
        std::uint8_t buf[300];
        const int r = port.Read(buf, sizeof buf);
        if (r > 0) got.insert(got.end(), buf, buf + r);
        return got.size() >= n;
    });
    return got;
}

TEST(SerialPort, OpenRulesEveryByteValueBothWaysAndPurge) {
    Pty pty;
    platform::SerialPort port, second;
    EXPECT_FALSE(port.Open("/nonexistent/tty"));
    EXPECT_FALSE(port.LastError().empty());
    EXPECT_FALSE(port.Open("/dev/null"));  // not a terminal
    ASSERT_TRUE(port.Open(pty.path()));
    EXPECT_FALSE(port.Open(pty.path()));    // already open
    EXPECT_FALSE(second.Open(pty.path()));  // held by the first
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(port.Write(all.data(), 256), 256);
    EXPECT_EQ(pty.Receive(256), all);
    pty.Send(all);
    EXPECT_EQ(ReadAtLeast(port, 256), all);  // CR, XON and XOFF included
    pty.Send({1, 2, 3});
    std::this_thread::sleep_for(50ms);
    port.Purge();
    pty.Send({4});
    EXPECT_EQ(ReadAtLeast(port, 1), Bytes{4});
    std::uint8_t buf[4];
    EXPECT_EQ(port.Read(buf, 4), 0);  // open, nothing waiting
    port.Close();
    EXPECT_TRUE(second.Open(pty.path())) << second.LastError();
    EXPECT_EQ(port.Write(all.data(), 1), 0);  // closed
    EXPECT_EQ(port.Read(buf, 4), -1);
}

TEST(SerialPort, WritesInPiecesOfFifteenWithPauses) {
    Pty pty;
    platform::SerialPort port;
    ASSERT_TRUE(port.Open(pty.path()));
    std::vector<std::pair<int, int>> pieces;  // size, written
    port.SetPieceObserver(
        [&](const std::uint8_t*, int size, int written) { pieces.emplace_back(size, written); });
    const std::pair<int, std::vector<std::pair<int, int>>> rows[] = {
        {16, {{15, 15}, {1, 1}}}, {15, {{15, 15}}}, {0, {}}};
    for (const auto& [length, want] : rows) {
        pieces.clear();
        Bytes frame(static_cast<std::size_t>(length));
        for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(0xA0 + i);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.Write(frame.data(), length), length);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 3ms * want.size());  // a pause after every piece
        EXPECT_EQ(pieces, want) << length;
        EXPECT_EQ(pty.Receive(frame.size(), 2s), frame) << length;
    }
}

const Bytes kAnswer = Sealed("A5 0B F6 02 80 11 22 A5 33 44");

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
    Bytes LastFrame() const {
        const ReceivedFrame f = uart.LastFrame();
        return Bytes(f.bytes.b.begin(), f.bytes.b.begin() + f.length);
    }
    bool Ready() const { return uart.frameReady.load() == 1; }
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
    SCOPED_TRACE("split over reads");
    pty.Send(Bytes(kAnswer.begin(), kAnswer.begin() + 5));
    ASSERT_TRUE(WaitUntil([&] { return uart.received.load() == 1; }));
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(Ready());
    pty.Send(Bytes(kAnswer.begin() + 5, kAnswer.end()));
    ASSERT_TRUE(WaitUntil([&] { return Ready(); }));
    EXPECT_EQ(LastFrame(), kAnswer);
    EXPECT_TRUE(trace.Has("[recv]len = 5, hex=0, zem=1\n")) << trace.Text();

    SCOPED_TRACE("two frames and garbage in one read");
    pty.Send(Cat({{0x00, 0x13, 0x11}, kAnswer, {0x0D, 0x42}, kHeartbeat, {0xFF}}));
    ASSERT_TRUE(WaitUntil([&] { return trace.Has("[recv]a5 06 f9 03 06 ad \n"); }));
    EXPECT_LT(trace.Text().find("[recv]a5 0b"), trace.Text().find("[recv]a5 06"));
    EXPECT_EQ(LastFrame(), kHeartbeat);

    SCOPED_TRACE("bad checksum, 4-byte frame");
    uart.frameReady = 0;
    Bytes broken = kAnswer;
    broken.back() ^= 0x10;
    pty.Send(Cat({broken, {0xA5, 0x04, 0xF6, 0x01}}));
    ASSERT_TRUE(WaitUntil([&] { return log.Text() == "CheckSum Error\n"; })) << log.Text();
    EXPECT_FALSE(Ready());
    EXPECT_EQ(LastFrame(), kHeartbeat);
}

TEST_F(UartLink, TextAndHexViewsOfTheTraffic) {
    uart.Start();
    pty.Send({'h', 'i', '\r', '\n', 0, 'x'});
    ASSERT_TRUE(WaitUntil([&] { return log.Text() == "hi\r\n"; })) << log.Text();
    EXPECT_FALSE(Ready());
    log.Clear();
    uart.hex = true;
    pty.Send({0x00, 0xA5, 0x0D, 0xFF});
    ASSERT_TRUE(WaitUntil([&] { return log.Text() == "0  \na5  d  ff  "; })) << log.Text();
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
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    ASSERT_EQ(uart.Open(pty.path()), 1);
    uart.Start();
    pty.Send(kHeartbeat);
    ASSERT_TRUE(WaitUntil([&] { return Ready(); }));
    EXPECT_EQ(LastFrame(), kHeartbeat);
}

TEST_F(UartLink, OpeningAPortForgetsTheFrameOfThePreviousOne) {
    uart.frameMode = 1;
    uart.Start();
    pty.Send(kAnswer);
    ASSERT_TRUE(WaitUntil([&] { return Ready(); }));
    Pty other;
    EXPECT_EQ(uart.Open(other.path()), 0);  // refused while a port is open: nothing forgotten
    EXPECT_TRUE(Ready());
    uart.Close();
    EXPECT_TRUE(Ready()) << "closing alone keeps the frame";
    ASSERT_EQ(uart.Open(other.path()), 1);
    EXPECT_FALSE(Ready()) << "the answer of the previous port still counts as ready";
    EXPECT_EQ(uart.LastFrame().length, 0);
    EXPECT_EQ(LastFrame(), Bytes{});
    uart.Close();

    uart.frameReady = 1;  // a failed open forgets it all the same
    EXPECT_EQ(uart.Open("/nonexistent/tty"), 0);
    EXPECT_FALSE(Ready());
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
    {
        Uart uart;
        ASSERT_EQ(uart.Open(pty.path()), 1);
        uart.frameMode = 1;
        uart.Start();
        pty.Send(kHeartbeat);
        EXPECT_TRUE(WaitUntil([&] { return uart.frameReady.load() == 1; }));
    }
    Uart neverOpened;
    neverOpened.Start();  // threads run with no port
}

}  // namespace
