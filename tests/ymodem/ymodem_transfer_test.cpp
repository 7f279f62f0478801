// The transfer against the simulator's YMODEM receiver, in memory and without sleeping.
#include "link/ymodem_transfer.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "image_files.h"
#include "sim/ymodem_receiver.h"

namespace {

// The processor side: the enter-update frame starts a receiver whose answers can be read.
class ReceiverLink : public ymodem::ByteLink {
  public:
    explicit ReceiverLink(sim::YmodemFaults faults = {}) : faults_(faults) {}
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
        for (; n < max && !answers_.empty(); answers_.pop_front()) buffer[n++] = answers_.front();
        return n;
    }
    void Queue(const Bytes& b) { answers_.insert(answers_.end(), b.begin(), b.end()); }

    sim::YmodemFaults faults_;
    std::optional<sim::YmodemReceiver> receiver_;
    std::deque<std::uint8_t> answers_;
    std::vector<Bytes> written_;
    int writes_ = 0, failWriteAt_ = -1, reads_ = 0;
    bool gone_ = false;
};

ymodem::Timing NoSleep(int polls = 20) {
    ymodem::Timing t;
    t.polls = polls;
    t.sleep = [](std::chrono::milliseconds) {};
    return t;
}

int Send(ReceiverLink& link, std::size_t size, Ymodem& file) {
    file.Hold("fw.bin", Pattern(size));
    const std::atomic<bool> go{true};
    return ymodem::Transfer(link, file, NoSleep(), go);
}

TEST(YmodemTransfer, WholeFilesArriveIntactWithOneEnd) {
    for (std::size_t size : {0u, 1u, 1024u, 1025u, 5000u}) {
        SCOPED_TRACE(size);
        Ymodem file;
        ReceiverLink link;
        EXPECT_EQ(Send(link, size, file), ymodem::kOk);
        ASSERT_TRUE(link.receiver_);
        EXPECT_EQ(link.receiver_->state(), sim::YmodemReceiver::State::Done);
        EXPECT_EQ(link.receiver_->fileName(), "fw.bin");
        EXPECT_EQ(link.receiver_->Image(), Pattern(size));
        // enter, block 0, the data blocks, one end byte
        std::vector<std::size_t> sizes = {6, 133};
        sizes.resize(2 + (size + 1023) / 1024, 1029);
        sizes.push_back(1);
        std::vector<std::size_t> written;
        for (const Bytes& w : link.written_) written.push_back(w.size());
        EXPECT_EQ(written, sizes);
        EXPECT_EQ(link.written_.front(), (Bytes{0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9}));
        EXPECT_EQ(link.written_.back(), Bytes{0x04});
        EXPECT_EQ(std::tuple(file.IsOpen(), file.Size()), std::tuple(false, 0u));  // closed and cleared
    }
}

TEST(YmodemTransfer, MissingAnswersAndShortWritesEndWithTheirCode) {
    sim::YmodemFaults noC, noAckHeader, noAckData, nakOnce, cancel, noEotAck;
    noC.neverSendC = true;
    noAckHeader.noAckBlock = 0;
    noAckData.noAckBlock = 2;
    nakOnce.nakOnceBlock = 1;
    cancel.cancelAtBlock = 2;
    noEotAck.dropEotAck = true;
    // faults, failing write, result, writes tried (nothing more after a short one)
    // clang-format off
    const std::tuple<const char*, sim::YmodemFaults, int, int, int> cases[] = {
        {"no C", noC, -1, ymodem::kNoC, 1},
        {"no ACK for block 0", noAckHeader, -1, ymodem::kNoAck, 2},
        {"no ACK for block 2", noAckData, -1, ymodem::kNoAck, 4},
        {"NAK once", nakOnce, -1, ymodem::kNoAck, 3},  // a refused block is not sent again
        {"CAN CAN", cancel, -1, ymodem::kNoAck, 4},
        {"no ACK for the end", noEotAck, -1, ymodem::kNoAck, 6},
        {"short enter", {}, 0, ymodem::kEnterNotWritten, 1},
        {"short block 0", {}, 1, ymodem::kBlockNotWritten, 2},
        {"short last block", {}, 4, ymodem::kBlockNotWritten, 5},
        {"short end", {}, 5, ymodem::kEndNotWritten, 6}};
    // clang-format on
    for (const auto& [what, faults, failAt, result, writes] : cases) {
        SCOPED_TRACE(what);
        Ymodem file;
        ReceiverLink link(faults);
        link.failWriteAt_ = failAt;
        EXPECT_EQ(Send(link, 3 * 1024, file), result);
        EXPECT_EQ(link.writes_, writes);
        EXPECT_FALSE(file.IsOpen());
    }
}

TEST(YmodemWait, PollsTheGivenCountAndStopsEarlyWhenToldOrThePortIsGone) {
    ymodem::Timing timing = NoSleep(7);
    int slept = 0;
    timing.sleep = [&](std::chrono::milliseconds d) { slept += d == timing.pollPause; };
    ReceiverLink link;
    std::atomic<bool> go{true};
    ymodem::Leftover left;
    link.Queue({0x15, 0x18, 0x15});  // NAK and CAN are just other bytes here
    EXPECT_FALSE(ymodem::WaitForByte(link, 0x06, timing, go, left));
    EXPECT_EQ(std::tuple(link.reads_, slept), std::tuple(7, 7));

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
