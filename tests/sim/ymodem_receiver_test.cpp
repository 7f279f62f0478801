#include "sim/ymodem_receiver.h"

#include <gtest/gtest.h>

#include "tests/sim/ymodem_sender.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::YmodemReceiver;
using namespace simtest;

constexpr std::uint8_t kAck = 0x06, kNak = 0x15, kCan = 0x18, kC = 'C', kEot = 0x04;

Bytes Feed(YmodemReceiver& r, const Bytes& b, std::int64_t now = 0) {
    return r.Feed(b.data(), b.size(), now);
}

// Runs a whole transfer the way the console's sender does and returns what it got for each step.
struct Transfer {
    Bytes start, afterHeader, afterEot;
    std::vector<Bytes> afterBlocks;
};
Transfer Send(YmodemReceiver& r, const std::string& name, const Bytes& image) {
    Transfer t;
    t.start = r.Begin(0);
    t.afterHeader = Feed(r, HeaderBlock(name, image.size()));
    for (std::size_t n = 1; n <= DataBlockCount(image.size()); ++n)
        t.afterBlocks.push_back(Feed(r, DataBlock(image, n)));
    t.afterEot = Feed(r, {kEot});
    return t;
}

TEST(Ymodem, CrcIsXmodem) {
    const std::string check = "123456789";
    EXPECT_EQ(sim::Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x31C3);
    EXPECT_EQ(sim::Crc16Xmodem(nullptr, 0), 0);
}

TEST(Ymodem, ImagesOfEverySizeArriveWhole) {
    const std::size_t sizes[] = {0, 1, 1023, 1024, 1025, 5000, 256 * 1024 + 3};
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        YmodemReceiver r({}, 0);
        const Bytes image = Pattern(size, static_cast<unsigned>(size));
        const Transfer t = Send(r, "fw.bin", image);
        EXPECT_EQ(t.start, Bytes{kC});
        EXPECT_EQ(t.afterHeader, (Bytes{kAck, kC}));
        for (const Bytes& b : t.afterBlocks) EXPECT_EQ(b, Bytes{kAck});
        EXPECT_EQ(t.afterEot, Bytes{kAck});
        EXPECT_EQ(r.state(), YmodemReceiver::State::Done);
        EXPECT_EQ(r.fileName(), "fw.bin");
        EXPECT_EQ(r.Image(), image);
    }
}

TEST(Ymodem, DamagedBlocksAreRefused) {
    const Bytes image = Pattern(2048, 7);
    struct Case {
        const char* name;
        std::size_t offset;
    };
    const Case cases[] = {{"data byte", 500}, {"complement", 2}, {"crc low", 1028}};
    for (const Case& c : cases) {
        YmodemReceiver r({}, 0);
        r.Begin(0);
        Feed(r, HeaderBlock("a.bin", image.size()));
        Bytes bad = DataBlock(image, 1);
        bad[c.offset] ^= 0x40;
        EXPECT_EQ(Feed(r, bad), Bytes{kNak}) << c.name;
        EXPECT_EQ(Feed(r, DataBlock(image, 1)), Bytes{kAck}) << c.name;
        EXPECT_EQ(Feed(r, DataBlock(image, 2)), Bytes{kAck}) << c.name;
        Feed(r, {kEot});
        EXPECT_EQ(r.Image(), image) << c.name;
    }
}

TEST(Ymodem, RepeatedBlockIsAcknowledgedOnceMore) {
    const Bytes image = Pattern(3000, 3);
    YmodemReceiver r({}, 0);
    r.Begin(0);
    Feed(r, HeaderBlock("a.bin", image.size()));
    Feed(r, DataBlock(image, 1));
    EXPECT_EQ(Feed(r, DataBlock(image, 1)), Bytes{kAck});
    Feed(r, DataBlock(image, 2));
    Feed(r, DataBlock(image, 3));
    Feed(r, {kEot});
    EXPECT_EQ(r.Image(), image);
}

TEST(Ymodem, BlockOutOfSequenceCancels) {
    const Bytes image = Pattern(3000, 3);
    YmodemReceiver r({}, 0);
    r.Begin(0);
    Feed(r, HeaderBlock("a.bin", image.size()));
    EXPECT_EQ(Feed(r, DataBlock(image, 2)), (Bytes{kCan, kCan}));
    EXPECT_EQ(r.state(), YmodemReceiver::State::Failed);
}

TEST(Ymodem, BlockSplitIntoPiecesIsAssembled) {
    const Bytes image = Pattern(1500, 9);
    YmodemReceiver r({}, 0);
    r.Begin(0);
    Bytes replies;
    auto feedInPieces = [&](const Bytes& b) {
        for (std::size_t i = 0; i < b.size(); i += 15) {
            const Bytes piece(b.begin() + i, b.begin() + std::min(b.size(), i + 15));
            const Bytes out = Feed(r, piece);
            replies.insert(replies.end(), out.begin(), out.end());
        }
    };
    feedInPieces(HeaderBlock("p.bin", image.size()));
    feedInPieces(DataBlock(image, 1));
    feedInPieces(DataBlock(image, 2));
    feedInPieces({kEot});
    EXPECT_EQ(replies, (Bytes{kAck, kC, kAck, kAck, kAck}));
    EXPECT_EQ(r.Image(), image);
}

TEST(Ymodem, FaultSwitches) {
    const Bytes image = Pattern(2500, 5);  // block 0 and data blocks 1..3
    {
        sim::YmodemFaults f;
        f.neverSendC = true;
        YmodemReceiver r(f, 0);
        EXPECT_TRUE(r.Begin(0).empty());
        EXPECT_EQ(Feed(r, HeaderBlock("a", image.size())), Bytes{kAck});
        EXPECT_TRUE(r.Tick(5000).empty());
    }
    {
        sim::YmodemFaults f;
        f.noAckBlock = 2;
        YmodemReceiver r(f, 0);
        const Transfer t = Send(r, "a", image);
        EXPECT_EQ(t.afterBlocks[0], Bytes{kAck});
        EXPECT_TRUE(t.afterBlocks[1].empty());
        EXPECT_EQ(t.afterBlocks[2], Bytes{kAck});
    }
    {
        sim::YmodemFaults f;
        f.noAckBlock = 0;
        YmodemReceiver r(f, 0);
        EXPECT_EQ(Send(r, "a", image).afterHeader, Bytes{kC});
    }
    {
        sim::YmodemFaults f;
        f.nakOnceBlock = 1;
        YmodemReceiver r(f, 0);
        r.Begin(0);
        Feed(r, HeaderBlock("a", image.size()));
        EXPECT_EQ(Feed(r, DataBlock(image, 1)), Bytes{kNak});
        EXPECT_EQ(Feed(r, DataBlock(image, 1)), Bytes{kAck});
        Feed(r, DataBlock(image, 2));
        Feed(r, DataBlock(image, 3));
        Feed(r, {kEot});
        EXPECT_EQ(r.Image(), image);
    }
    {
        sim::YmodemFaults f;
        f.dropEotAck = true;
        YmodemReceiver r(f, 0);
        const Transfer t = Send(r, "a", image);
        EXPECT_TRUE(t.afterEot.empty());
        EXPECT_EQ(r.state(), YmodemReceiver::State::Done);
    }
    {
        sim::YmodemFaults f;
        f.cancelAtBlock = 3;
        YmodemReceiver r(f, 0);
        const Transfer t = Send(r, "a", image);
        EXPECT_EQ(t.afterBlocks[2], (Bytes{kCan, kCan}));
        EXPECT_EQ(r.state(), YmodemReceiver::State::Failed);
    }
}

TEST(Ymodem, WaitingForTheHeaderRepeatsCThenTimesOut) {
    YmodemReceiver r({}, 0, 20000);
    EXPECT_EQ(r.Begin(0), Bytes{kC});
    EXPECT_TRUE(r.Tick(999).empty());
    EXPECT_EQ(r.Tick(1000), Bytes{kC});
    EXPECT_TRUE(r.Tick(1500).empty());
    r.Tick(20000);
    EXPECT_EQ(r.state(), YmodemReceiver::State::Failed);
}

TEST(Ymodem, BrokenBlockIsGivenUpWithNak) {
    YmodemReceiver r({}, 0);
    r.Begin(0);
    const Bytes image = Pattern(10, 1);
    Feed(r, HeaderBlock("a", image.size()), 50);
    const Bytes block = DataBlock(image, 1);
    Feed(r, Bytes(block.begin(), block.begin() + 600), 100);
    EXPECT_TRUE(r.Tick(1000).empty());
    EXPECT_EQ(r.Tick(1100), Bytes{kNak});
    EXPECT_EQ(Feed(r, block, 1200), Bytes{kAck});
    Feed(r, {kEot}, 1300);
    EXPECT_EQ(r.Image(), image);
}

TEST(Ymodem, SenderCancelAndEmptyHeaderEndWithoutImage) {
    {
        YmodemReceiver r({}, 0);
        r.Begin(0);
        Feed(r, {kCan, kCan});
        EXPECT_EQ(r.state(), YmodemReceiver::State::Failed);
    }
    {
        YmodemReceiver r({}, 0);
        r.Begin(0);
        Bytes empty(133, 0);
        empty[0] = 0x01;
        empty[2] = 0xFF;
        EXPECT_EQ(Feed(r, empty), Bytes{kAck});
        EXPECT_EQ(r.state(), YmodemReceiver::State::Failed);
    }
}

}  // namespace
