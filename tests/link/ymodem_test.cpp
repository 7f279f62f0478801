// Firmware blocks, the transfer against the simulator's receiver in memory and over a pseudo-terminal.
#include "link/ymodem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <thread>

#include "tests/link/image_files.h"
#include "link/uart.h"
#include "link/ymodem_transfer.h"
#include "sim/processor.h"
#include "sim/ymodem_receiver.h"

namespace {

using namespace std::chrono_literals;

TEST(YmodemCrc, KnownValueAndNull) {  // block CRCs: against the test sender's own CRC below
    const std::uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Ymodem::Crc16(check, 9), 0x31C3) << "CRC-16/XMODEM check value of \"123456789\"";
    EXPECT_EQ(Ymodem::Crc16(nullptr, 10), 0) << "no data";
}

TEST(YmodemBlocks, HeaderHoldsNameNulAndSizeDigits) {
    using namespace std::string_literals;
    const std::string n125(125, 'k'), n126(126, 'n'), e(60, 'e');
    std::string accents;  // two-byte UTF-8 characters
    for (int i = 0; i < 70; ++i) accents += "\xC3\xA9";
    // name, size, expected start of the 128 bytes (rest zero)
    // clang-format off
    const std::tuple<std::string, std::size_t, std::string> cases[] = {{"fw.bin", 2048, "fw.bin\0002048"s},
        {"a", 0, "a\0000"s}, {n125, 12, n125 + '\0' + "12"},  // just room for the digits
        {n126, 9, n126 + '\0' + "9"},
        // too long: the stem gives way, the extension stays, the size always fits
        {std::string(200, 'm') + ".bin", 204800, std::string(117, 'm') + ".bin" + '\0' + "204800"},
        {std::string(128, 'm'), 5, std::string(126, 'm') + '\0' + "5"},
        {e + "." + std::string(130, 'x'), 77, e + "." + std::string(64, 'x') + '\0' + "77"},  // too long an extension
        {accents + ".bin", 1000, accents.substr(0, 118) + ".bin" + '\0' + "1000"}};  // 122 bytes, not 123
    // clang-format on
    for (const auto& [name, size, text] : cases) {
        Ymodem y;
        y.Hold(name, Bytes(size, 0x55));
        Ymodem::HeaderBlock block;
        y.MakeHeaderBlock(block);
        EXPECT_EQ(
            Bytes(block.begin(), block.end()),
            simtest::Block(1, 0, 128, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), 0))
            << name.size() << "-byte name, size " << size;
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
        EXPECT_EQ(made, blocks) << "data blocks made from " << size << " bytes";
        EXPECT_EQ(y.Blocks(), static_cast<std::uint32_t>(blocks))
            << "blocks counted for " << size << " bytes";
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
    EXPECT_EQ(y.Name(), "fw.bin");
    EXPECT_EQ(y.Size(), 2500u);
    y.ResetBlocks();
    for (int i = 0; i < 3; ++i) y.MakeNextDataBlock(block);
    EXPECT_EQ(block[3], image[2048]);

    const std::string locked = dir.Write("locked.bin", Pattern(10)), huge = dir.Write("huge.bin", {});
    ::chmod(locked.c_str(), 0);
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(Ymodem::kMaxSize + 1)), 0);
    const std::string pipe = dir.path + "/pipe.bin";  // opened without waiting for a writer
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    using E = Ymodem::OpenError;
    std::vector<std::pair<std::string, E>> cases = {
        {"", E::NoPath},         {dir.path + "/no.bin", E::Missing},
        {dir.path, E::NotAFile}, {pipe, E::NotAFile},
        {huge, E::TooLarge},     {dir.Write("empty.bin", {}), E::Empty}};
    if (::access(locked.c_str(), R_OK) != 0) cases.push_back({locked, E::Unreadable});  // not root
    for (const auto& [path, error] : cases) {
        Ymodem held;
        held.Hold("held", Bytes(3));
        EXPECT_FALSE(held.Open(path)) << path;
        EXPECT_EQ(held.LastOpenError(), error) << path;
    }
}

// The processor side: the first write (the enter-update frame) starts the receiver.
class ReceiverLink : public ymodem::ByteLink {
  public:
    explicit ReceiverLink(sim::YmodemFaults faults = {}) : faults_(faults) {}
    int Write(const std::uint8_t* bytes, int n) override {
        if (failWriteAt_ == writes_++) return n / 2;
        written_.emplace_back(bytes, bytes + n);
        if (n == refuseSize_ && refusalsLeft_ != 0) {
            --refusalsLeft_;
            Queue({ymodem::kNak});
            return n;
        }
        Queue(receiver_ ? receiver_->Feed(bytes, static_cast<std::size_t>(n), 0)
                        : receiver_.emplace(faults_, 0).Begin(0));
        return n;
    }
    int Read(std::uint8_t* buffer, int max) override {
        ++reads_;
        if (gone_) return -1;
        if (noise_) {
            buffer[0] = 0x55;
            return 1;
        }
        int n = 0;
        for (; n < max && !answers_.empty(); answers_.pop_front()) buffer[n++] = answers_.front();
        return n;
    }
    bool WaitReadable(std::chrono::milliseconds limit) override {
        if (answers_.empty()) std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(limit, 1ms));
        return !gone_;
    }
    void DropInput() override {
        if (writes_ == 0) droppedBeforeFirstWrite_ = answers_.size();
        answers_.clear();
    }
    void Queue(const Bytes& b) { answers_.insert(answers_.end(), b.begin(), b.end()); }

    sim::YmodemFaults faults_;
    std::optional<sim::YmodemReceiver> receiver_;
    std::deque<std::uint8_t> answers_;
    std::vector<Bytes> written_;
    int writes_ = 0, failWriteAt_ = -1, reads_ = 0;
    int refuseSize_ = -1, refusalsLeft_ = 0;  // writes of this size are answered NAK (-1 left: always)
    std::size_t droppedBeforeFirstWrite_ = 0;
    bool gone_ = false;
    bool noise_ = false;  // an endless stream of other bytes
};

ymodem::Timing Quick() {
    ymodem::Timing t;
    t.answerLimit = 50ms;
    t.sleep = [](std::chrono::milliseconds) {};
    return t;
}

int Send(ReceiverLink& link, std::size_t size, Ymodem& file) {
    file.Hold("fw.bin", Pattern(size));
    const std::atomic<bool> go{true};
    return ymodem::Transfer(link, file, Quick(), go);
}

std::vector<std::size_t> WriteSizes(const ReceiverLink& link) {
    std::vector<std::size_t> sizes;
    for (const Bytes& w : link.written_) sizes.push_back(w.size());
    return sizes;
}

TEST(YmodemTransfer, WholeFilesArriveIntactWithOneEnd) {
    for (std::size_t size : {0u, 1u, 1024u, 1025u}) {
        SCOPED_TRACE(size);
        Ymodem file;
        ReceiverLink link;
        EXPECT_EQ(Send(link, size, file), ymodem::kOk);
        ASSERT_TRUE(link.receiver_);
        EXPECT_EQ(link.receiver_->state(), sim::YmodemReceiver::State::Done);
        EXPECT_EQ(link.receiver_->fileName(), "fw.bin");
        EXPECT_EQ(link.receiver_->Image(), Pattern(size));
        std::vector<std::size_t> sizes = {6, 133};  // enter, block 0, the data blocks, one end byte
        sizes.resize(2 + (size + 1023) / 1024, 1029);
        sizes.push_back(1);
        EXPECT_EQ(WriteSizes(link), sizes);
        EXPECT_EQ(link.written_.front(), (Bytes{0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9}));
        EXPECT_EQ(link.written_.back(), Bytes{0x04});
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.Size(), 0u);
    }
}

TEST(YmodemTransfer, StaleAnswersInTheInputAreDroppedBeforeTheEnterFrame) {
    Ymodem file;
    ReceiverLink link;
    link.Queue({ymodem::kNak, 'C', Ymodem::kAck, 'C', Ymodem::kAck});
    EXPECT_EQ(Send(link, 3000, file), ymodem::kOk);
    EXPECT_EQ(link.droppedBeforeFirstWrite_, 5u);
    EXPECT_EQ(link.receiver_->Image(), Pattern(3000));
}

TEST(YmodemTransfer, RefusedBlocksGoAgainAndCancelsEndAtOnce) {
    sim::YmodemFaults noC, noAckHeader, noAckData, nakHeader, nakData, cancel, cancelHeader, noEotAck;
    noC.neverSendC = noEotAck.dropEotAck = true;
    noAckHeader.noAckBlock = 0;
    noAckData.noAckBlock = cancel.cancelAtBlock = 2;
    cancelHeader.cancelAtBlock = 0;
    nakHeader.nakOnceBlock = 0;
    nakData.nakOnceBlock = 1;
    using namespace ymodem;
    // A refusal by the link itself: writes of this size, so many times (-1: always).
    struct Refusal {
        int size = -1, times = 0;
    };
    // faults, refusal, failing write, result, sizes written
    // clang-format off
    const std::tuple<const char*, sim::YmodemFaults, Refusal, int, int, std::vector<std::size_t>> cases[] = {
        {"no C", noC, {}, -1, kNoC, {6}},
        {"no ACK 0", noAckHeader, {}, -1, kNoAck, {6, 133}},
        {"no ACK 2", noAckData, {}, -1, kNoAck, {6, 133, 1029, 1029}},
        {"NAK once at block 0", nakHeader, {}, -1, kOk, {6, 133, 133, 1029, 1029, 1029, 1}},
        {"NAK once at block 1", nakData, {}, -1, kOk, {6, 133, 1029, 1029, 1029, 1029, 1}},
        {"NAK once at the end", {}, {1, 1}, -1, kOk, {6, 133, 1029, 1029, 1029, 1, 1}},
        {"NAK ten times", {}, {1029, 10}, -1, kOk, {6, 133, 1029, 1029, 1029, 1029, 1029, 1029, 1029, 1029, 1029, 1029,
                                                  1029, 1029, 1029, 1}},
        {"NAK for ever", {}, {133, -1}, -1, kNoAck, {6, 133, 133, 133, 133, 133, 133, 133, 133, 133, 133, 133}},
        {"CAN CAN at block 2", cancel, {}, -1, kNoAck, {6, 133, 1029, 1029}},
        {"CAN CAN at block 0", cancelHeader, {}, -1, kNoAck, {6, 133}},
        {"no end ACK", noEotAck, {}, -1, kNoAck, {6, 133, 1029, 1029, 1029, 1}},
        {"short enter", {}, {}, 0, kEnterNotWritten, {}},
        {"short block 0", {}, {}, 1, kBlockNotWritten, {6}},
        {"short last block", {}, {}, 4, kBlockNotWritten, {6, 133, 1029, 1029}},
        {"short end", {}, {}, 5, kEndNotWritten, {6, 133, 1029, 1029, 1029}}};
    // clang-format on
    for (const auto& [what, faults, refusal, failAt, result, sizes] : cases) {
        SCOPED_TRACE(what);
        Ymodem file;
        ReceiverLink link(faults);
        link.failWriteAt_ = failAt;
        link.refuseSize_ = refusal.size;
        link.refusalsLeft_ = refusal.times;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Send(link, 3 * 1024, file), result);
        EXPECT_EQ(WriteSizes(link), sizes);
        EXPECT_FALSE(file.IsOpen());
        if (result == kOk) {
            EXPECT_EQ(link.receiver_->Image(), Pattern(3 * 1024));
        }
        if (std::string(what).find("CAN") == 0) {  // a cancel ends the wait at once, not after its limit
            EXPECT_LT(std::chrono::steady_clock::now() - start, 40ms);
        }
    }
}

// Everything a wait uses, shared with the thread it runs on, so that a wait that never ends can be
// left behind without its state going from under it.
struct WaitRig {
    ReceiverLink link;
    std::atomic<bool> go{true};
    ymodem::Inbox inbox;
    ymodem::Timing timing = Quick();
};

// Runs one wait on a thread of its own with a bound far above the timing's limit: a wait that would
// never end gives nullopt (it is told to stop and left running) instead of hanging the test run.
std::optional<ymodem::Reply> BoundedWait(const std::shared_ptr<WaitRig>& rig, std::uint8_t byte,
                                         bool refusals, std::chrono::milliseconds bound) {
    auto done = std::make_shared<std::promise<ymodem::Reply>>();
    std::future<ymodem::Reply> reply = done->get_future();
    std::thread waiter([rig, done, byte, refusals] {
        done->set_value(ymodem::WaitForReply(rig->link, byte, refusals, rig->timing, rig->go, rig->inbox));
    });
    if (reply.wait_for(bound) == std::future_status::ready) {
        waiter.join();
        return reply.get();
    }
    rig->go = false;
    waiter.detach();
    return std::nullopt;
}

TEST(YmodemWait, AnswersRefusalsCancelsAndLeftovers) {
    using ymodem::Reply;
    const auto rig = std::make_shared<WaitRig>();
    ReceiverLink& link = rig->link;
    std::atomic<bool>& go = rig->go;
    constexpr auto kBound = 5s;  // the limit is 50 ms
    auto wait = [&](std::uint8_t byte, bool refusals) {
        const std::optional<Reply> reply = BoundedWait(rig, byte, refusals, kBound);
        if (!reply)
            ADD_FAILURE() << "a wait for 0x" << std::hex << int{byte}
                          << " did not return within 5 s, though its limit is 50 ms: it never ends";
        return reply;
    };
    link.Queue({ymodem::kNak, ymodem::kCan, 0x01, ymodem::kCan});  // NAK not counted, CAN apart: nothing
    ASSERT_EQ(wait('C', false), Reply::Silent);
    // ACK and "C" in one read: the "C" is there for the next wait without another read; the byte
    // before the ACK is dropped.
    link.reads_ = 0;
    link.Queue({0x01, Ymodem::kAck, 0x11, 'C'});
    ASSERT_EQ(wait(Ymodem::kAck, true), Reply::Wanted);
    ASSERT_EQ(wait('C', false), Reply::Wanted);
    EXPECT_EQ(link.reads_, 1);
    link.Queue({0x01, ymodem::kNak, Ymodem::kAck});
    ASSERT_EQ(wait(Ymodem::kAck, true), Reply::Refused);
    ASSERT_EQ(wait(Ymodem::kAck, true), Reply::Wanted);
    link.Queue({ymodem::kCan, ymodem::kCan, Ymodem::kAck});
    ASSERT_EQ(wait(Ymodem::kAck, true), Reply::Cancelled);
    ASSERT_EQ(wait(Ymodem::kAck, true), Reply::Wanted);
    link.Queue({ymodem::kCan});  // a CAN at the end of one read and one at the start of the next
    ASSERT_EQ(wait('C', false), Reply::Silent);
    link.Queue({ymodem::kCan});
    ASSERT_EQ(wait('C', false), Reply::Cancelled);

    link.noise_ = true;  // an endless stream of other bytes: the wait ends at its limit all the same
    ASSERT_EQ(wait('C', false), Reply::Silent);
    link.noise_ = false;

    link.reads_ = 0;
    go = false;
    ASSERT_EQ(wait('C', false), Reply::Silent);
    EXPECT_EQ(link.reads_, 0);
    go = true;
    link.gone_ = true;
    ASSERT_EQ(wait('C', false), Reply::Silent);
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
    // Starts the processor and a link to it; with `thread`, the link's update thread runs the work.
    void Start(const sim::YmodemFaults& faults, std::chrono::milliseconds answerLimit, bool thread = true) {
        sim::Options o;
        o.firmwareDir = dir_.path;
        o.faults.ymodem = faults;
        o.ymodemTimeoutMs = 3000;
        processor_ = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(processor_->Start(error)) << error;
        uart_ = std::make_unique<Uart>(Uart::Timing{20ms, 20ms, 10ms});
        timing_.answerLimit = answerLimit;
        uart_->SetUpdateWork([this](Uart& u) { return ymodem::RunOnUart(u, file_, timing_); });
        ASSERT_EQ(uart_->Open(processor_->SlavePath()), 1);
        if (thread) uart_->Start();
    }
    int Update() {
        uart_->updateRequest = 1;
        if (!WaitUntil([&] { return uart_->updateRequest.load() == 0; }, 20s)) return 1;
        return uart_->updateResult.load();
    }
    Bytes SavedImage() {
        if (!WaitUntil([&] { return processor_->SavedImages().size() == 1; }, 2s)) return {};
        return ReadFile(processor_->SavedImages()[0]);
    }

    ymodem::Timing timing_;
    ImageDir dir_;
    std::unique_ptr<sim::Processor> processor_;
    Ymodem file_;
    std::unique_ptr<Uart> uart_;
};

TEST_F(UpdateOverLink, ImageIsSavedByTheProcessorAndTheLinkResumes) {
    Start({}, 600ms);
    const Bytes image = Pattern(2 * 1024 + 100);
    file_.Hold("fw.bin", image);
    ASSERT_EQ(Update(), ymodem::kOk);
    EXPECT_EQ(SavedImage(), image);
    EXPECT_FALSE(file_.IsOpen());
    // The reader and writers take the port back: a heartbeat is answered.
    const std::uint8_t heartbeat[] = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
    EXPECT_EQ(uart_->Send(heartbeat, 6), 6);
    EXPECT_TRUE(WaitUntil([&] { return uart_->received.load() == 1; }, 2s));
}

TEST_F(UpdateOverLink, ARefusedBlockIsSentAgainAndArrivesIntact) {
    sim::YmodemFaults nak;
    nak.nakOnceBlock = 2;
    Start(nak, 600ms);
    const Bytes image = Pattern(3 * 1024 + 7);
    file_.Hold("fw.bin", image);
    ASSERT_EQ(Update(), ymodem::kOk);
    EXPECT_EQ(SavedImage(), image);
}

TEST_F(UpdateOverLink, AnUnansweredBlockEndsTheUpdateAfterTheLimit) {
    sim::YmodemFaults silent;
    silent.noAckBlock = 2;
    Start(silent, 300ms);
    file_.Hold("fw.bin", Pattern(4 * 1024));
    EXPECT_EQ(Update(), ymodem::kNoAck);
    EXPECT_TRUE(processor_->SavedImages().empty());
}

TEST_F(UpdateOverLink, CancelEndsTheUpdateAtOnce) {
    sim::YmodemFaults cancel;
    cancel.cancelAtBlock = 1;
    Start(cancel, 15s);  // the real answer limit: only the cancel can end it soon
    file_.Hold("fw.bin", Pattern(4 * 1024));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Update(), ymodem::kNoAck);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST_F(UpdateOverLink, LongNamesKeepTheExactSizeAndStaleAnswersAreDropped) {
    Start({}, 600ms, false);  // run on this thread: nothing reads the port meanwhile
    // "C" and ACK from an earlier exchange wait in the console's input.
    processor_->Inject({'C', Ymodem::kAck, 'C', Ymodem::kAck});
    ASSERT_TRUE(WaitUntil([&] { return !processor_->Log().empty(); }, 2s));
    std::this_thread::sleep_for(50ms);
    const Bytes image = Pattern(2 * 1024 + 1);  // a padded image would show as 3072 bytes
    file_.Hold(std::string(196, 'f') + ".bin", image);
    EXPECT_EQ(ymodem::RunOnUart(*uart_, file_, timing_), ymodem::kOk);
    EXPECT_EQ(SavedImage(), image);
}

TEST_F(UpdateOverLink, DestroyingTheLinkEndsARunningTransferPromptly) {
    sim::YmodemFaults noC;
    noC.neverSendC = true;
    Start(noC, 15s);  // the real 15 s wait
    file_.Hold("fw.bin", Pattern(10));
    uart_->updateRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return processor_->InUpdateMode(); }, 3s));
    const auto before = std::chrono::steady_clock::now();
    uart_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
}

}  // namespace
