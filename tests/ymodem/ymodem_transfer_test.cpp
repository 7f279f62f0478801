// The transfer against the simulator's YMODEM receiver, in memory and without sleeping.
#include "link/ymodem_transfer.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/ymodem.h"
#include "sim/ymodem_receiver.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The processor side: the enter-update frame starts a receiver; what it answers can be read.
class ReceiverLink : public ymodem::ByteLink {
  public:
    explicit ReceiverLink(sim::YmodemFaults faults) : faults_(faults) {}

    int Write(const std::uint8_t* bytes, int n) override {
        if (failWriteAt_ == writes_++) return n / 2;
        written_.emplace_back(bytes, bytes + n);
        if (!receiver_) {
            receiver_.emplace(faults_, 0);
            Queue(receiver_->Begin(0));
        } else {
            Queue(receiver_->Feed(bytes, static_cast<std::size_t>(n), 0));
        }
        return n;
    }
    int Read(std::uint8_t* buffer, int max) override {
        ++reads_;
        if (gone_) return -1;
        int n = 0;
        while (n < max && !answers_.empty()) {
            buffer[n++] = answers_.front();
            answers_.pop_front();
        }
        return n;
    }

    void Queue(const Bytes& b) { answers_.insert(answers_.end(), b.begin(), b.end()); }

    sim::YmodemFaults faults_;
    std::optional<sim::YmodemReceiver> receiver_;
    std::deque<std::uint8_t> answers_;
    std::vector<Bytes> written_;
    int writes_ = 0;
    int failWriteAt_ = -1;
    int reads_ = 0;
    bool gone_ = false;
};

ymodem::Timing NoSleep(int polls = 20) {
    ymodem::Timing t;
    t.polls = polls;
    t.sleep = [](std::chrono::milliseconds) {};
    return t;
}

Bytes Image(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 31 + (i >> 8));
    return b;
}

const Bytes kEnter = {0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9};

TEST(YmodemTransfer, WholeFilesArriveIntactWithOneEnd) {
    for (std::size_t size : {0u, 1u, 1024u, 1025u, 5000u}) {
        SCOPED_TRACE(size);
        const Bytes image = Image(size);
        Ymodem file;
        file.Hold("fw.bin", image);
        ReceiverLink link({});
        const std::atomic<bool> go{true};
        EXPECT_EQ(ymodem::Transfer(link, file, NoSleep(), go), ymodem::kOk);
        ASSERT_TRUE(link.receiver_);
        EXPECT_EQ(link.receiver_->state(), sim::YmodemReceiver::State::Done);
        EXPECT_EQ(link.receiver_->fileName(), "fw.bin");
        EXPECT_EQ(link.receiver_->Image(), image);
        // enter, block 0, the data blocks, one end byte
        const std::size_t dataBlocks = (size + 1023) / 1024;
        ASSERT_EQ(link.written_.size(), 3 + dataBlocks);
        EXPECT_EQ(link.written_.front(), kEnter);
        EXPECT_EQ(link.written_[1].size(), 133u);
        for (std::size_t i = 0; i < dataBlocks; ++i) EXPECT_EQ(link.written_[2 + i].size(), 1029u);
        EXPECT_EQ(link.written_.back(), Bytes{0x04});
        EXPECT_FALSE(file.IsOpen());  // closed and cleared at the end
        EXPECT_EQ(file.Size(), 0u);
    }
}

TEST(YmodemTransfer, MissingAnswersEndWithTheirCode) {
    struct Case {
        const char* what;
        sim::YmodemFaults faults;
        int result;
        std::size_t writes;  // how far the sender got
    };
    sim::YmodemFaults noC, noAckHeader, noAckData, nakOnce, cancel, noEotAck;
    noC.neverSendC = true;
    noAckHeader.noAckBlock = 0;
    noAckData.noAckBlock = 2;
    nakOnce.nakOnceBlock = 1;
    cancel.cancelAtBlock = 2;
    noEotAck.dropEotAck = true;
    const Case cases[] = {
        {"no C", noC, ymodem::kNoC, 1},
        {"no ACK for block 0", noAckHeader, ymodem::kNoAck, 2},
        {"no ACK for block 2", noAckData, ymodem::kNoAck, 4},
        // A refused block is not sent again: the sender waits for its ACK and gives up.
        {"NAK once", nakOnce, ymodem::kNoAck, 3},
        {"CAN CAN", cancel, ymodem::kNoAck, 4},
        {"no ACK for the end", noEotAck, ymodem::kNoAck, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ymodem file;
        file.Hold("fw.bin", Image(3 * 1024));
        ReceiverLink link(c.faults);
        const std::atomic<bool> go{true};
        EXPECT_EQ(ymodem::Transfer(link, file, NoSleep(), go), c.result);
        EXPECT_EQ(link.written_.size(), c.writes);
        EXPECT_FALSE(file.IsOpen());
    }
}

TEST(YmodemTransfer, ShortWritesEndWithTheirCode) {
    struct Case {
        int failAt;  // index of the write that comes up short
        int result;
    };
    for (const Case c : {Case{0, ymodem::kEnterNotWritten}, Case{1, ymodem::kBlockNotWritten},
                         Case{3, ymodem::kBlockNotWritten}, Case{4, ymodem::kEndNotWritten}}) {
        SCOPED_TRACE(c.failAt);
        Ymodem file;
        file.Hold("fw.bin", Image(2 * 1024));
        ReceiverLink link({});
        link.failWriteAt_ = c.failAt;
        const std::atomic<bool> go{true};
        EXPECT_EQ(ymodem::Transfer(link, file, NoSleep(), go), c.result);
        EXPECT_EQ(link.writes_, c.failAt + 1);  // nothing more is tried
    }
}

TEST(YmodemWait, PollsTheGivenCountAndStopsEarlyWhenToldOrThePortIsGone) {
    ymodem::Timing timing = NoSleep(7);
    int slept = 0;
    timing.sleep = [&](std::chrono::milliseconds d) {
        EXPECT_EQ(d, timing.pollPause);
        ++slept;
    };
    ReceiverLink link({});
    std::atomic<bool> go{true};
    ymodem::Leftover left;
    link.Queue({0x15, 0x18, 0x15});  // NAK and CAN are just other bytes here
    EXPECT_FALSE(ymodem::WaitForByte(link, 0x06, timing, go, left));
    EXPECT_EQ(link.reads_, 7);
    EXPECT_EQ(slept, 7);

    // ACK and "C" in one read: the "C" is there for the next wait without another read.
    link.reads_ = 0;
    link.Queue({0x01, 0x06, 0x15, 0x43});
    EXPECT_TRUE(ymodem::WaitForByte(link, 0x06, timing, go, left));
    EXPECT_TRUE(ymodem::WaitForByte(link, 0x43, timing, go, left));
    EXPECT_EQ(link.reads_, 1);
    // What is left before the wanted byte is dropped: the NAK does not answer a later wait.
    EXPECT_FALSE(ymodem::WaitForByte(link, 0x15, timing, go, left));

    link.reads_ = 0;
    go = false;
    EXPECT_FALSE(ymodem::WaitForByte(link, 0x43, timing, go, left));
    EXPECT_EQ(link.reads_, 0);
    go = true;
    link.gone_ = true;
    EXPECT_FALSE(ymodem::WaitForByte(link, 0x43, timing, go, left));
    EXPECT_EQ(link.reads_, 1);
}

}  // namespace
