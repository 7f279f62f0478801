// The firmware image's blocks, the transfer against the simulator's YMODEM receiver in memory, and
// the transfer as the link's update work against the simulated processor on a pseudo-terminal.
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

// Bit-serial from the polynomial, independent of the code under test.
std::uint16_t ReferenceCrc(const Bytes& bytes) {
    std::uint32_t reg = 0;
    for (std::uint8_t byte : bytes)
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = (reg >> 15) & 1;
            reg = (reg << 1) & 0xFFFF;
            if (top != (((byte >> bit) & 1) != 0)) reg ^= 0x1021;
        }
    return static_cast<std::uint16_t>(reg);
}

// A block's payload followed by its CRC, high byte first.
Bytes WithCrc(Bytes payload) {
    const std::uint16_t crc = ReferenceCrc(payload);
    payload.push_back(static_cast<std::uint8_t>(crc >> 8));
    payload.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return payload;
}

TEST(YmodemCrc, KnownValueAndReference) {
    const std::string check = "123456789";
    EXPECT_EQ(Ymodem::Crc16(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x31C3);
    EXPECT_EQ(Ymodem::Crc16(nullptr, 10), 0);
    for (std::size_t n : {0u, 1u, 128u, 1024u, 1500u}) {
        const Bytes b = Pattern(n);
        EXPECT_EQ(Ymodem::Crc16(b.data(), b.size()), ReferenceCrc(b)) << n;
    }
}

TEST(YmodemHeader, NameNulAndSizeDigits) {
    using namespace std::string_literals;
    const std::string n125(125, 'k'), n127(127, 'n');
    // name, size, expected start of bytes 3..130 (rest zero)
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {"fw.bin", 2048,
         "fw.bin\0"s
         "2048"},
        {"a", 0,
         "a\0"s
         "0"},
        {std::string(128, 'm'), 5, "5"},  // too long a name is left out
        {n127, 9, n127 + '\0'},           // no room left for the digits
        {n125, 12, n125 + '\0' + "12"}};
    for (const auto& [name, size, text] : cases) {
        SCOPED_TRACE(name.substr(0, 10) + " " + std::to_string(size));
        Ymodem y;
        y.Hold(name, Bytes(size, 0x55));
        Ymodem::HeaderBlock block;
        y.MakeHeaderBlock(block);
        Bytes field(128, 0);
        std::copy(text.begin(), text.end(), field.begin());
        Bytes expected = {0x01, 0x00, 0xFF};
        for (std::uint8_t b : WithCrc(field)) expected.push_back(b);
        EXPECT_EQ(Bytes(block.begin(), block.end()), expected);
    }
}

TEST(YmodemData, BlocksNumberedModulo256PaddedAndCounted) {
    for (const auto& [size, blocks] :
         {std::pair<std::size_t, int>{1024, 1}, {1025, 2}, {3000, 3}, {0, 0}, {257 * 1024 - 5, 257}}) {
        SCOPED_TRACE(size);
        const Bytes image = Pattern(size);
        Ymodem y;
        y.Hold("x", image);
        int made = 0;
        Ymodem::DataBlock block;
        while (y.MoreData()) {
            y.MakeNextDataBlock(block);
            const std::size_t offset = static_cast<std::size_t>(made++) * 1024;
            Bytes expected = {0x02, static_cast<std::uint8_t>(made),
                              static_cast<std::uint8_t>(255 - made % 256)};
            Bytes data(image.begin() + static_cast<long>(offset),
                       image.begin() + static_cast<long>(std::min(size, offset + 1024)));
            data.resize(1024, 0x1A);
            for (std::uint8_t b : WithCrc(data)) expected.push_back(b);
            ASSERT_EQ(Bytes(block.begin(), block.end()), expected) << made;
        }
        EXPECT_EQ(made, blocks);
        EXPECT_EQ(y.Blocks(), static_cast<std::uint32_t>(blocks));
    }
}

TEST(YmodemPercent, ReachesHundredAndStaysExactForLargeFiles) {
    const std::size_t big = 60u * 1024 * 1024;  // blocks x 102400 overflows 32 bits here
    // clang-format off
    const std::tuple<std::size_t, std::uint32_t, int> cases[] = {{2048, 0, 0}, {2048, 1, 50}, {3000, 2, 68},
        {3000, 3, 100}, {1024, 1, 100}, {0, 0, 100}, {big, 61440 / 2, 50}, {big, 61439, 99}};
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
    TempDir dir;
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
    std::vector<std::pair<std::string, Ymodem::OpenError>> cases = {
        {"", Ymodem::OpenError::NoPath},
        {dir.path + "/no.bin", Ymodem::OpenError::Missing},
        {dir.path, Ymodem::OpenError::NotAFile},
        {huge, Ymodem::OpenError::TooLarge}};
    if (::access(locked.c_str(), R_OK) != 0)
        cases.push_back({locked, Ymodem::OpenError::Unreadable});  // not root
    for (const auto& [path, error] : cases) {
        Ymodem held;
        held.Hold("held", Bytes(3));
        EXPECT_FALSE(held.Open(path)) << path;
        EXPECT_EQ(held.LastOpenError(), error) << path;
    }
    Ymodem fresh;
    EXPECT_FALSE(fresh.Open(huge));
    EXPECT_FALSE(fresh.IsOpen());
}

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

    TempDir dir_;
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
    EXPECT_EQ(ReadFile(processor_->SavedImages()[0]), image);
    EXPECT_FALSE(file_.IsOpen());
    // The reader and writers take the port back: a heartbeat is answered.
    const Bytes heartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
    EXPECT_EQ(uart_->Send(heartbeat.data(), 6), 6);
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
