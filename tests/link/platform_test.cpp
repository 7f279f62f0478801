// Port names, the trace switch, the bounded log and the text view of received bytes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "link/log_sink.h"
#include "link/receive_text.h"
#include "platform/port_map.h"
#include "tests/link/trace_capture.h"

namespace {

TEST(PortMap, PathListsNamesAndPaths) {
    std::vector<std::string> defaults;
    for (const char* kind : {"USB", "ACM", "S"})
        for (int i = 0; i < 10; ++i) defaults.push_back(std::string("/dev/tty") + kind + std::to_string(i));
    EXPECT_EQ(port::PortPathsFrom(nullptr), defaults);
    EXPECT_EQ(port::PortPathsFrom(" /dev/a , ,/dev/b"), (std::vector<std::string>{"/dev/a", "", "/dev/b"}));
    EXPECT_EQ(port::PortPathsFrom(""), std::vector<std::string>{""});
    std::string many;
    for (int i = 0; i < 40; ++i) many += "/dev/x" + std::to_string(i) + ",";
    EXPECT_EQ(port::PortPathsFrom(many.c_str()).size(), 30u);

    const std::pair<const char*, int> numbers[] = {{"com1", 1},  {"Com30", 30}, {"COM31", 0}, {"COM0", 0},
                                                   {"COM01", 0}, {"COMx", 0},   {"CON1", 0},  {"COM1 ", 0}};
    for (const auto& [name, number] : numbers) EXPECT_EQ(port::PortNumber(name), number) << name;

    setenv("K417B_PORTS", "/dev/pts/7,,/dev/pts/9", 1);
    const std::pair<const char*, const char*> paths[] = {{"COM1", "/dev/pts/7"},     {"COM2", ""},
                                                         {"COM3", "/dev/pts/9"},     {"COM4", ""},
                                                         {"/dev/ttyX", "/dev/ttyX"}, {"ttyX", ""}};
    for (const auto& [name, path] : paths) EXPECT_EQ(port::PathFor(name), path) << name;
    unsetenv("K417B_PORTS");
    EXPECT_EQ(port::PathFor("COM21"), "/dev/ttyS0");
}

TEST(Trace, OffWritesNothing) {
    TraceCapture capture;
    std::FILE* previous = trace::SetOutput(nullptr);
    trace::Write("lost\n");
    EXPECT_EQ(trace::SetOutput(previous), nullptr);
    EXPECT_EQ(capture.Text(), "");
}

TEST(BoundedLog, KeepsTheLastLinesAndBreaksEndlessOnes) {
    BoundedLog log(3);
    log.Append("one\ntwo\n");
    log.Append("thr");
    log.Append("ee\nfour\nfi");
    EXPECT_EQ(log.Text(), "three\nfour\nfi");
    EXPECT_EQ(log.LineCount(), 3u);
    log.Append("ve\n");
    EXPECT_EQ(log.Text(), "three\nfour\nfive\n");
    BoundedLog two(2);
    two.Append(std::string(BoundedLog::kMaxLineChars * 3 + 5, 'x'));
    EXPECT_EQ(two.LineCount(), 2u);
    EXPECT_EQ(two.Text().size(), BoundedLog::kMaxLineChars + 5);
}

TEST(BoundedLog, KeepsTheLastBytesToo) {
    BoundedLog log(5000, 100);
    for (int i = 0; i < 10; ++i) log.Append(std::string(29, static_cast<char>('a' + i)) + "\n");
    EXPECT_LE(log.ByteCount(), 100u);
    EXPECT_EQ(log.ByteCount(), log.Text().size());
    EXPECT_EQ(log.Text(),
              std::string(29, 'h') + "\n" + std::string(29, 'i') + "\n" + std::string(29, 'j') + "\n");
    // The default bound holds two minutes of random bytes at 115200 baud in a few hundred KiB.
    BoundedLog big;
    const std::string chunk(1000, '\x7f');
    for (int i = 0; i < 1400; ++i) big.Append(chunk);
    EXPECT_LE(big.ByteCount(), BoundedLog::kDefaultMaxBytes);
    EXPECT_GT(big.ByteCount(), BoundedLog::kDefaultMaxBytes - BoundedLog::kMaxLineChars);
}

TEST(ReceiveText, TextView) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string text;
    } rows[] = {
        // clang-format off
        {"utf-8 passes", {0xE4, 0xB8, 0xAD}, "\xE4\xB8\xAD"},
        {"other bytes as Latin-1", {0xA5, 'x', 0xFF}, "\xC2\xA5x\xC3\xBF"},
        {"overlong encoding as Latin-1", {0xC0, 0x80}, "\xC3\x80\xC2\x80"},
        {"999 bytes, no marker", std::vector<std::uint8_t>(999, 'a'), std::string(999, 'a')},
        {"1000 bytes get the marker", std::vector<std::uint8_t>(1000, 'a'), "999999999999" + std::string(1000, 'a')},
        {"1000 zeros: the marker alone", std::vector<std::uint8_t>(1000, 0), "999999999999"},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(receive_text::AsText(row.bytes.data(), static_cast<int>(row.bytes.size())), row.text)
            << row.name;
}

}  // namespace
