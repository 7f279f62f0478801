// The termios port on a real pseudo-terminal.
#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include "tests/link/pty.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

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

TEST(SerialPort, EveryByteValuePassesBothWaysUnchanged) {
    Pty pty;
    platform::SerialPort port;
    ASSERT_TRUE(port.Open(pty.path())) << port.LastError();
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(port.Write(all.data(), 256), 256);
    EXPECT_EQ(pty.Receive(256), all);
    pty.Send(all);
    EXPECT_EQ(ReadAtLeast(port, 256), all);  // CR, XON and XOFF included

    // Purge drops what was not read yet.
    pty.Send({1, 2, 3});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    port.Purge();
    pty.Send({4});
    EXPECT_EQ(ReadAtLeast(port, 1), Bytes{4});
}

TEST(SerialPort, WritesInPiecesOfFifteenWithPauses) {
    Pty pty;
    platform::SerialPort port;
    ASSERT_TRUE(port.Open(pty.path()));
    std::vector<std::pair<int, int>> pieces;  // size, written
    port.SetPieceObserver(
        [&](const std::uint8_t*, int size, int written) { pieces.emplace_back(size, written); });
    const struct {
        int length;
        std::vector<std::pair<int, int>> pieces;
    } rows[] = {{16, {{15, 15}, {1, 1}}}, {15, {{15, 15}}}, {31, {{15, 15}, {15, 15}, {1, 1}}}, {0, {}}};
    for (const auto& row : rows) {
        pieces.clear();
        Bytes frame(static_cast<std::size_t>(row.length));
        for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(0xA0 + i);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.Write(frame.data(), row.length), row.length);
        // A 3 ms pause follows every piece.
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3) * row.pieces.size());
        EXPECT_EQ(pieces, row.pieces) << row.length;
        EXPECT_EQ(pty.Receive(frame.size(), std::chrono::seconds(2)), frame) << row.length;
    }
}

TEST(SerialPort, OpenRules) {
    Pty pty;
    platform::SerialPort first, second;
    EXPECT_FALSE(first.Open("/nonexistent/tty"));
    EXPECT_FALSE(first.LastError().empty());
    EXPECT_FALSE(first.Open("/dev/null"));  // not a terminal
    ASSERT_TRUE(first.Open(pty.path()));
    EXPECT_FALSE(first.Open(pty.path()));   // already open
    EXPECT_FALSE(second.Open(pty.path()));  // held by the first
    first.Close();
    EXPECT_FALSE(first.IsOpen());
    EXPECT_TRUE(second.Open(pty.path())) << second.LastError();
    const std::uint8_t byte = 0x42;
    std::uint8_t buf[4];
    EXPECT_EQ(first.Write(&byte, 1), 0);  // closed
    EXPECT_EQ(first.Read(buf, 4), -1);
    EXPECT_EQ(second.Read(buf, 4), 0);  // open, nothing waiting
}

}  // namespace
