// Receiving a firmware image by YMODEM, with and without faults.
#include "sim/ymodem_receiver.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "tests/sim/ymodem_sender.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::YmodemReceiver;
using State = YmodemReceiver::State;
using namespace simtest;

constexpr std::uint8_t kAck = 0x06, kNak = 0x15, kCan = 0x18, kC = 'C', kEot = 0x04;

Bytes Feed(YmodemReceiver& r, const Bytes& b, std::int64_t now = 0) {
    return r.Feed(b.data(), b.size(), now);
}

TEST(Ymodem, ScriptedTransfers) {
    // Steps "sent:replies". Sent: H header, n data block n (of 3), n@k with byte k flipped, X CAN CAN,
    // 0 an empty header. Replies: A ACK, N NAK, C 'C', X CAN CAN, - nothing. First: what Begin sends.
    const Bytes image = Pattern(2500, 5);
    const struct {
        const char* name;
        sim::YmodemFaults faults;
        const char* script;
        State end;
    } rows[] = {
        // clang-format off
        {"damaged data byte", {}, "C H:AC 1@500:N 1:A", State::WaitData},
        {"damaged complement", {}, "C H:AC 1@2:N 1:A", State::WaitData},
        {"damaged crc", {}, "C H:AC 1@1028:N 1:A", State::WaitData},
        {"repeated block is acknowledged again", {}, "C H:AC 1:A 1:A", State::WaitData},
        {"block out of sequence cancels", {}, "C H:AC 2:X", State::Failed},
        {"sender cancels", {}, "C X:-", State::Failed},
        {"empty header ends the session", {}, "C 0:A", State::Failed},
        {"no ACK for block 2", {.noAckBlock = 2}, "C H:AC 1:A 2:- 3:A", State::WaitData},
        {"NAK block 1 once", {.nakOnceBlock = 1}, "C H:AC 1:N 1:A 2:A", State::WaitData},
        // clang-format on
    };
    const auto replies = [](const std::string& letters) {
        Bytes out;
        for (char c : letters) {
            if (c == 'X') out.insert(out.end(), {kCan, kCan});
            if (c == 'A' || c == 'N' || c == 'C') out.push_back(c == 'A' ? kAck : c == 'N' ? kNak : kC);
        }
        return out;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        YmodemReceiver r(row.faults, 0);
        std::istringstream script(row.script);
        std::string step;
        std::size_t lastBlock = 0;
        script >> step;
        EXPECT_EQ(r.Begin(0), replies(step));
        while (script >> step) {
            const std::string what = step.substr(0, step.find(':'));
            Bytes wire;
            if (what == "H") wire = HeaderBlock("a.bin", image.size());
            if (what == "X") wire = {kCan, kCan};
            if (what == "0") wire = Block(0x01, 0, 128, nullptr, 0, 0);
            if (std::isdigit(what[0]) && what != "0") wire = DataBlock(image, lastBlock = std::stoul(what));
            if (what.find('@') != std::string::npos)
                wire[std::stoul(what.substr(what.find('@') + 1))] ^= 0x40;
            EXPECT_EQ(Feed(r, wire), replies(step.substr(step.find(':') + 1))) << step;
        }
        EXPECT_EQ(r.state(), row.end);
        if (row.end == State::WaitData) {  // the rest of the image still arrives whole
            for (std::size_t n = lastBlock + 1; n <= 3; ++n) Feed(r, DataBlock(image, n));
            Feed(r, {kEot});
            EXPECT_EQ(r.Image(), image);
        }
    }
}

TEST(Ymodem, TimersRepeatCNakABrokenBlockAndGiveUp) {
    YmodemReceiver r({}, 0, 20000);
    EXPECT_EQ(r.Begin(0), Bytes{kC});
    EXPECT_TRUE(r.Tick(999).empty());
    EXPECT_EQ(r.Tick(1000), Bytes{kC});
    EXPECT_TRUE(r.Tick(1500).empty());
    const Bytes image = Pattern(10, 1);
    Feed(r, HeaderBlock("a", image.size()), 1550);
    const Bytes block = DataBlock(image, 1);
    Feed(r, Bytes(block.begin(), block.begin() + 600), 1600);
    EXPECT_TRUE(r.Tick(2500).empty());
    EXPECT_EQ(r.Tick(2600), Bytes{kNak});
    EXPECT_EQ(Feed(r, block, 2700), Bytes{kAck});
    Feed(r, {kEot}, 2800);
    EXPECT_EQ(r.Image(), image);
    YmodemReceiver idle({}, 0, 20000);
    idle.Begin(0);
    idle.Tick(20000);
    EXPECT_EQ(idle.state(), State::Failed);
}

}  // namespace
