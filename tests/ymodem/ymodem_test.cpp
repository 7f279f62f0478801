// Firmware blocks, the transfer against the simulator's receiver in memory and over a pseudo-terminal.
#include "link/ymodem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <optional>
#include <thread>

#include "image_files.h"
#include "link/uart.h"
#include "link/ymodem_transfer.h"
#include "sim/processor.h"
#include "sim/ymodem_receiver.h"

namespace {

using namespace std::chrono_literals;

TEST(YmodemCrc, KnownValueAndNull) {  // block CRCs: against the test sender's own CRC below
    const std::uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(std::tuple(Ymodem::Crc16(check, 9), Ymodem::Crc16(nullptr, 10)), std::tuple(0x31C3, 0));
}

TEST(YmodemBlocks, HeaderHoldsNameNulAndSizeDigits) {
    using namespace std::string_literals;
    const std::string n125(125, 'k'), n127(127, 'n');
    // name, size, expected start of the 128 bytes (rest zero)
    // clang-format off
    const std::tuple<std::string, std::size_t, std::string> cases[] = {{"fw.bin", 2048, "fw.bin\0002048"s},
        {"a", 0, "a\0000"s}, {std::string(128, 'm'), 5, "5"},  // too long a name is left out
        {n127, 9, n127 + '\0'}, {n125, 12, n125 + '\0' + "12"}};  // no room for the digits / just room
    // clang-format on
    for (const auto& [name, size, text] : cases) {
        Ymodem y;
        y.Hold(name, Bytes(size, 0x55));
        Ymodem::HeaderBlock block;
        y.MakeHeaderBlock(block);
        EXPECT_EQ(
            Bytes(block.begin(), block.end()),
            simtest::Block(1, 0, 128, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), 0))
            << size;
    }
}

TEST(YmodemBlocks, DataNumberedModulo256PaddedAndCounted) {
    for (const auto& [size, blocks] :
         {std::pair<std::size_t, int>{1024, 1}, {1025, 2}, {0, 0}, {257 * 1024 - 5, 257}}) {
        const Bytes image = Pattern(size);
        Ymodem y;
        y.Hold("x", image);
        int made = 0;
        Ymodem::DataBlock block;
        while (y.MoreData()) {
            y.MakeNextDataBlock(block);
            ASSERT_EQ(Bytes(block.begin(), block.end()), simtest::DataBlock(image, ++made)) << made;
        }
        EXPECT_EQ(std::tuple(made, y.Blocks()), std::tuple(blocks, static_cast<std::uint32_t>(blocks)));
    }
}

TEST(YmodemPercent, ReachesHundredAndStaysExactForLargeFiles) {
    const std::size_t big = 60u * 1024 * 1024;  // blocks x 102400 overflows 32 bits here
    // clang-format off
    const std::tuple<std::size_t, std::uint32_t, int> cases[] = {{2048, 0, 0}, {3000, 2, 68},
        {3000, 3, 100}, {0, 0, 100}, {big, 61440 / 2, 50}, {big, 61439, 99}};
    // clang-format on
    for (const auto& [size, blocks, percent] : cases) {
        Ymodem y;
        y.Hold("p", Bytes(size));
        Ymodem::DataBlock block;
        for (std::uint32_t i = 0; i < blocks; ++i) y.MakeNextDataBlock(block);
        EXPECT_EQ(y.Percent(), percent) << size << " " << blocks;
    }
}

TEST(YmodemOpen, ReadsNameSizeAndImageAndRefusesUnusableFiles) {
    ImageDir dir;
    const Bytes image = Pattern(2500);
    Ymodem y;
    y.Hold("old", Bytes(4096));
    Ymodem::DataBlock block;
    y.MakeNextDataBlock(block);
    ASSERT_TRUE(y.Open(dir.Write("fw.bin", image)));
    EXPECT_EQ(std::tuple(y.Name(), y.Size()), std::tuple(std::string("fw.bin"), 2500u));
    y.ResetBlocks();
    for (int i = 0; i < 3; ++i) y.MakeNextDataBlock(block);
    EXPECT_EQ(block[3], image[2048]);

    const std::string locked = dir.Write("locked.bin", Pattern(10)), huge = dir.Write("huge.bin", {});
    ::chmod(locked.c_str(), 0);
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(Ymodem::kMaxSize + 1)), 0);
    using E = Ymodem::OpenError;
    std::vector<std::pair<std::string, E>> cases = {
        {"", E::NoPath}, {dir.path + "/no.bin", E::Missing}, {dir.path, E::NotAFile}, {huge, E::TooLarge}};
    if (::access(locked.c_str(), R_OK) != 0) cases.push_back({locked, E::Unreadable});  // not root
    for (const auto& [path, error] : cases) {
        Ymodem held;
        held.Hold("held", Bytes(3));
        EXPECT_EQ((std::tuple{held.Open(path), held.LastOpenError()}), std::tuple(false, error)) << path;
    }
}

// The processor side: the first write (the enter-update frame) starts the receiver.
class ReceiverLink : public ymodem::ByteLink {
  public:
    explicit ReceiverLink(sim::YmodemFaults faults = {}) : faults_(faults) {}
    int Write(const std::uint8_t* bytes, int n) override {
        if (failWriteAt_ == writes_++) return n / 2;
        written_.emplace_back(bytes, bytes + n);
        Queue(receiver_ ? receiver_->Feed(bytes, static_cast<std::size_t>(n), 0)
                        : receiver_.emplace(faults_, 0).Begin(0));
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
    for (std::size_t size : {0u, 1u, 1024u, 1025u}) {
        SCOPED_TRACE(size);
        Ymodem file;
        ReceiverLink link;
        EXPECT_EQ(Send(link, size, file), ymodem::kOk);
        ASSERT_TRUE(link.receiver_);
        EXPECT_EQ(std::tuple(link.receiver_->state(), link.receiver_->fileName(), link.receiver_->Image()),
                  std::tuple(sim::YmodemReceiver::State::Done, std::string("fw.bin"), Pattern(size)));
        std::vector<std::size_t> written, sizes = {6, 133};  // enter, block 0, the data blocks, one end byte
        sizes.resize(2 + (size + 1023) / 1024, 1029);
        sizes.push_back(1);
        for (const Bytes& w : link.written_) written.push_back(w.size());
        EXPECT_EQ(
            std::tuple(written, link.written_.front(), link.written_.back(), file.IsOpen(), file.Size()),
            std::tuple(sizes, Bytes{0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9}, Bytes{0x04}, false, 0u));
    }
}

TEST(YmodemTransfer, MissingAnswersAndShortWritesEndWithTheirCode) {
    sim::YmodemFaults noC, noAckHeader, noAckData, nakOnce, cancel, noEotAck;
    noC.neverSendC = noEotAck.dropEotAck = true;
    noAckHeader.noAckBlock = 0;
    noAckData.noAckBlock = cancel.cancelAtBlock = 2;
    nakOnce.nakOnceBlock = 1;
    // faults, failing write, result, writes tried (nothing more after a short one)
    // clang-format off
    using namespace ymodem;
    const std::tuple<const char*, sim::YmodemFaults, int, int, int> cases[] = {
        {"no C", noC, -1, kNoC, 1}, {"no ACK 0", noAckHeader, -1, kNoAck, 2}, {"no ACK 2", noAckData, -1, kNoAck, 4},
        {"NAK once", nakOnce, -1, kNoAck, 3},  // a refused block is not sent again
        {"CAN CAN", cancel, -1, kNoAck, 4}, {"no end ACK", noEotAck, -1, kNoAck, 6},
        {"short enter", {}, 0, kEnterNotWritten, 1}, {"short block 0", {}, 1, kBlockNotWritten, 2},
        {"short last block", {}, 4, kBlockNotWritten, 5}, {"short end", {}, 5, kEndNotWritten, 6}};
    // clang-format on
    for (const auto& [what, faults, failAt, result, writes] : cases) {
        SCOPED_TRACE(what);
        Ymodem file;
        ReceiverLink link(faults);
        link.failWriteAt_ = failAt;
        EXPECT_EQ((std::tuple{Send(link, 3 * 1024, file), link.writes_, file.IsOpen()}),
                  std::tuple(result, writes, false));
    }
}

TEST(YmodemWait, PollsTheGivenCountAndStopsEarlyWhenToldOrThePortIsGone) {
    ymodem::Timing timing = NoSleep(7);
    int slept = 0;
    timing.sleep = [&](std::chrono::milliseconds d) { slept += d == timing.pollPause; };
    ReceiverLink link;
    std::atomic<bool> go{true};
    ymodem::Leftover left;
    auto wait = [&](std::uint8_t byte) { return ymodem::WaitForByte(link, byte, timing, go, left); };
    link.Queue({0x15, 0x18, 0x15});  // NAK and CAN are just other bytes here
    EXPECT_EQ((std::tuple{wait(0x06), link.reads_, slept}), std::tuple(false, 7, 7));
    // ACK and "C" in one read: the "C" is there for the next wait without another read; the NAK
    // before it is dropped.
    link.reads_ = 0;
    link.Queue({0x01, 0x06, 0x15, 0x43});
    EXPECT_EQ((std::tuple{wait(0x06), wait(0x43), link.reads_}), std::tuple(true, true, 1));
    EXPECT_FALSE(wait(0x15));
    link.reads_ = 0;
    go = false;
    EXPECT_EQ((std::tuple{wait(0x43), link.reads_}), std::tuple(false, 0));
    go = true;
    link.gone_ = true;
    EXPECT_EQ((std::tuple{wait(0x43), link.reads_}), std::tuple(false, 1));
}

template <class F>
bool WaitUntil(F done, std::chrono::milliseconds timeout) {
    for (const auto end = std::chrono::steady_clock::now() + timeout; !done();
         std::this_thread::sleep_for(5ms))
        if (std::chrono::steady_clock::now() > end) return done();
    return true;
}

class UpdateOverLink : public testing::Test {
  protected:
    void TearDown() override {
        uart_.reset();
        if (processor_) processor_->Stop();
    }
    void Start(const sim::YmodemFaults& faults, int polls) {  // reads per wait, 10 ms apart
        sim::Options o;
        o.firmwareDir = dir_.path;
        o.faults.ymodem = faults;
        o.ymodemTimeoutMs = 3000;
        processor_ = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(processor_->Start(error)) << error;
        uart_ = std::make_unique<Uart>(Uart::Timing{20ms, 20ms, 10ms});
        ymodem::Timing timing;
        timing.polls = polls;
        uart_->SetUpdateWork([this, timing](Uart& u) { return ymodem::RunOnUart(u, file_, timing); });
        ASSERT_EQ(uart_->Open(processor_->SlavePath()), 1);
        uart_->Start();
    }

    ImageDir dir_;
    std::unique_ptr<sim::Processor> processor_;
    Ymodem file_;
    std::unique_ptr<Uart> uart_;
};

TEST_F(UpdateOverLink, ImageIsSavedByTheProcessorAndTheLinkResumes) {
    Start({}, 60);
    const Bytes image = Pattern(2 * 1024 + 100);
    file_.Hold("fw.bin", image);
    uart_->updateRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return uart_->updateRequest.load() == 0; }, 10s));
    ASSERT_EQ(uart_->updateResult.load(), ymodem::kOk);
    ASSERT_TRUE(WaitUntil([&] { return processor_->SavedImages().size() == 1; }, 2s));
    EXPECT_EQ(std::tuple(ReadFile(processor_->SavedImages()[0]), file_.IsOpen()), std::tuple(image, false));
    // The reader and writers take the port back: a heartbeat is answered.
    const std::uint8_t heartbeat[] = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
    EXPECT_EQ(uart_->Send(heartbeat, 6), 6);
    EXPECT_TRUE(WaitUntil([&] { return uart_->received.load() == 1; }, 2s));
}

TEST_F(UpdateOverLink, DestroyingTheLinkEndsARunningTransferPromptly) {
    sim::YmodemFaults noC;
    noC.neverSendC = true;
    Start(noC, 1500);  // the real 15 s wait
    file_.Hold("fw.bin", Pattern(10));
    uart_->updateRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return processor_->InUpdateMode(); }, 3s));
    const auto before = std::chrono::steady_clock::now();
    uart_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
}

}  // namespace
