// The termios port on a real pseudo-terminal.
#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <mutex>

#include "tests/link/pty.h"

namespace {

std::vector<std::uint8_t> AllByteValues() {
    std::vector<std::uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return bytes;
}

TEST(SerialPort, EveryByteValuePassesBothWaysUnchanged) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort port;
    ASSERT_TRUE(port.Open(pty.path())) << port.LastError();
    const auto all = AllByteValues();

    EXPECT_EQ(port.Write(all.data(), 256), 256);
    EXPECT_EQ(pty.Receive(256), all);

    pty.Send(all);
    std::vector<std::uint8_t> got;
    ASSERT_TRUE(WaitUntil([&] {
        std::uint8_t buf[300];
        const int n = port.Read(buf, sizeof buf);
        if (n > 0) got.insert(got.end(), buf, buf + n);
        return got.size() >= 256;
    }));
    EXPECT_EQ(got, all);  // CR, XON and XOFF included
}

TEST(SerialPort, WritesInPiecesOfFifteenWithPauses) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort port;
    ASSERT_TRUE(port.Open(pty.path()));
    std::vector<std::pair<int, int>> pieces;  // size, written
    port.SetPieceObserver(
        [&](const std::uint8_t*, int size, int written) { pieces.emplace_back(size, written); });

    const struct {
        int length;
        std::vector<std::pair<int, int>> pieces;
    } rows[] = {
        {16, {{15, 15}, {1, 1}}},           {15, {{15, 15}}}, {22, {{15, 15}, {7, 7}}},
        {31, {{15, 15}, {15, 15}, {1, 1}}}, {1, {{1, 1}}},    {0, {}},
    };
    for (const auto& row : rows) {
        pieces.clear();
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(row.length));
        for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(0xA0 + i);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.Write(frame.data(), row.length), row.length);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(pieces, row.pieces) << row.length;
        // A 3 ms pause follows every piece.
        EXPECT_GE(took, std::chrono::milliseconds(3) * row.pieces.size()) << row.length;
        EXPECT_EQ(pty.Receive(frame.size(), std::chrono::seconds(2)), frame) << row.length;
    }
}

TEST(SerialPort, OpenRules) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort first, second;
    EXPECT_FALSE(first.Open("/nonexistent/tty"));
    EXPECT_FALSE(first.LastError().empty());
    EXPECT_FALSE(first.Open("/dev/null"));  // not a terminal
    EXPECT_FALSE(first.IsOpen());

    ASSERT_TRUE(first.Open(pty.path()));
    EXPECT_FALSE(first.Open(pty.path()));  // already open
    EXPECT_TRUE(first.IsOpen());
    EXPECT_FALSE(second.Open(pty.path()));  // held by the first
    first.Close();
    EXPECT_FALSE(first.IsOpen());
    EXPECT_TRUE(second.Open(pty.path())) << second.LastError();

    const std::uint8_t byte = 0x42;
    EXPECT_EQ(first.Write(&byte, 1), 0);  // closed
    std::uint8_t buf[4];
    EXPECT_EQ(first.Read(buf, 4), -1);
    EXPECT_EQ(second.Read(buf, 4), 0);  // open, nothing waiting
}

TEST(SerialPort, PurgeDropsUnreadInput) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    platform::SerialPort port;
    ASSERT_TRUE(port.Open(pty.path()));
    pty.Send({1, 2, 3});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    port.Purge();
    pty.Send({4});
    std::vector<std::uint8_t> got;
    ASSERT_TRUE(WaitUntil([&] {
        std::uint8_t buf[8];
        const int n = port.Read(buf, sizeof buf);
        if (n > 0) got.insert(got.end(), buf, buf + n);
        return !got.empty();
    }));
    EXPECT_EQ(got, std::vector<std::uint8_t>{4});
}

}  // namespace
