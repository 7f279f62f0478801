// Port names, trace lines, the bounded log and the text/hex views of received bytes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "link/log_sink.h"
#include "link/receive_text.h"
#include "platform/port_map.h"
#include "platform/trace.h"
#include "tests/link/trace_capture.h"

namespace {

TEST(PortMap, DefaultListHasThirtyPorts) {
    const auto paths = port::PortPathsFrom(nullptr);
    ASSERT_EQ(paths.size(), 30u);
    EXPECT_EQ(paths[0], "/dev/ttyUSB0");
    EXPECT_EQ(paths[9], "/dev/ttyUSB9");
    EXPECT_EQ(paths[10], "/dev/ttyACM0");
    EXPECT_EQ(paths[19], "/dev/ttyACM9");
    EXPECT_EQ(paths[20], "/dev/ttyS0");
    EXPECT_EQ(paths[29], "/dev/ttyS9");
}

TEST(PortMap, EnvironmentList) {
    const struct {
        const char* env;
        std::vector<std::string> paths;
    } rows[] = {
        {"/dev/pts/3", {"/dev/pts/3"}},
        {"/dev/pts/3,/dev/pts/4", {"/dev/pts/3", "/dev/pts/4"}},
        {" /dev/a , ,/dev/b", {"/dev/a", "", "/dev/b"}},
        {"", {""}},
    };
    for (const auto& row : rows) EXPECT_EQ(port::PortPathsFrom(row.env), row.paths) << row.env;
    std::string many;
    for (int i = 0; i < 40; ++i) many += "/dev/x" + std::to_string(i) + ",";
    EXPECT_EQ(port::PortPathsFrom(many.c_str()).size(), 30u);
}

TEST(PortMap, Names) {
    const struct {
        const char* name;
        int number;
    } rows[] = {{"COM1", 1}, {"com7", 7}, {"Com30", 30}, {"COM31", 0}, {"COM0", 0}, {"COM01", 0},
                {"COM", 0},  {"COMx", 0}, {"CON1", 0},   {"COM1 ", 0}, {"", 0},     {"COM100", 0}};
    for (const auto& row : rows) EXPECT_EQ(port::PortNumber(row.name), row.number) << row.name;
}

TEST(PortMap, PathForUsesTheEnvironment) {
    setenv("K417B_PORTS", "/dev/pts/7,,/dev/pts/9", 1);
    EXPECT_EQ(port::PathFor("COM1"), "/dev/pts/7");
    EXPECT_EQ(port::PathFor("COM2"), "");
    EXPECT_EQ(port::PathFor("COM3"), "/dev/pts/9");
    EXPECT_EQ(port::PathFor("COM4"), "");
    EXPECT_EQ(port::PathFor("/dev/ttyX"), "/dev/ttyX");
    EXPECT_EQ(port::PathFor("ttyX"), "");
    unsetenv("K417B_PORTS");
    EXPECT_EQ(port::PathFor("COM21"), "/dev/ttyS0");
}

TEST(Trace, LinesAreWholeAndFormatted) {
    TraceCapture capture;
    const std::uint8_t bytes[] = {0xA5, 0x06, 0x0F, 0x00, 0xFF};
    trace::Write(trace::BytesLine("[send]", bytes, sizeof bytes));
    trace::Write(trace::BytesLine("[recv]", bytes, 0));
    EXPECT_EQ(capture.Text(), "[send]a5 06 0f 00 ff \n[recv]\n");
}

TEST(Trace, OffWritesNothing) {
    TraceCapture capture;
    std::FILE* previous = trace::SetOutput(nullptr);
    trace::Write("lost\n");
    EXPECT_EQ(trace::SetOutput(previous), nullptr);
    trace::Write("kept\n");
    EXPECT_EQ(capture.Text(), "kept\n");
}

TEST(BoundedLog, KeepsTheLastLines) {
    BoundedLog log(3);
    log.Append("one\ntwo\n");
    log.Append("thr");
    log.Append("ee\nfour\nfi");
    EXPECT_EQ(log.Text(), "three\nfour\nfi");
    EXPECT_EQ(log.LineCount(), 3u);
    log.Append("ve\n");
    EXPECT_EQ(log.Text(), "three\nfour\nfive\n");
    log.Clear();
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(log.LineCount(), 0u);
}

TEST(BoundedLog, BreaksEndlessLines) {
    BoundedLog log(2);
    log.Append(std::string(BoundedLog::kMaxLineChars * 3 + 5, 'x'));
    EXPECT_EQ(log.LineCount(), 2u);
    EXPECT_EQ(log.Text().size(), BoundedLog::kMaxLineChars + 5);
}

TEST(ReceiveText, TextMode) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string text;
    } rows[] = {
        {"ascii", {'o', 'k', '\r', '\n'}, "ok\r\n"},
        {"stops at the first zero", {'a', 'b', 0, 'c'}, "ab"},
        {"leading zero", {0, 'c'}, ""},
        {"utf-8 passes", {0xE4, 0xB8, 0xAD}, "\xE4\xB8\xAD"},
        {"other bytes as Latin-1", {0xA5, 'x', 0xFF}, "\xC2\xA5x\xC3\xBF"},
        {"cut utf-8 as Latin-1", {0xE4, 0xB8}, "\xC3\xA4\xC2\xB8"},
        {"overlong encoding as Latin-1", {0xC0, 0x80}, "\xC3\x80\xC2\x80"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(receive_text::AsText(row.bytes.data(), static_cast<int>(row.bytes.size())), row.text)
            << row.name;
}

TEST(ReceiveText, LongReadMarker) {
    for (int n : {999, 1000, 1024}) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n), 'a');
        const std::string text = receive_text::AsText(bytes.data(), n);
        const std::string marker = n >= 1000 ? "999999999999" : "";
        EXPECT_EQ(text, marker + std::string(static_cast<std::size_t>(n), 'a')) << n;
    }
    std::vector<std::uint8_t> zeros(1000, 0);
    EXPECT_EQ(receive_text::AsText(zeros.data(), 1000), "999999999999");
}

TEST(ReceiveText, HexMode) {
    const std::uint8_t bytes[] = {0x01, 0xA5, 0x06, 0xF9, 0x00, 0xA5, 0xAD};
    EXPECT_EQ(receive_text::AsHex(bytes, sizeof bytes), "1  \na5  6  f9  0  \na5  ad  ");
    EXPECT_EQ(receive_text::AsHex(bytes, 0), "");
}

}  // namespace
