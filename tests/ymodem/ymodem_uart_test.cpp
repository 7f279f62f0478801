// The firmware transfer as the link's update work, against the simulated processor on a
// pseudo-terminal, with real threads.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "link/uart.h"
#include "link/ymodem.h"
#include "link/ymodem_transfer.h"
#include "sim/processor.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return done();
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

Bytes Image(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i ^ (i >> 8) ^ 0x5A);
    return b;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class UpdateOverLink : public testing::Test {
  protected:
    void SetUp() override {
        char dir[] = "ymodemlink.XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
    }
    void TearDown() override {
        uart_.reset();
        if (processor_) processor_->Stop();
        std::system(("rm -rf " + dir_).c_str());
    }
    void Start(const sim::YmodemFaults& faults) {
        sim::Options o;
        o.firmwareDir = dir_;
        o.faults.ymodem = faults;
        o.ymodemTimeoutMs = 3000;
        processor_ = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(processor_->Start(error)) << error;
        uart_ = std::make_unique<Uart>(Uart::Timing{20ms, 20ms, 10ms});
        ymodem::Timing timing;
        timing.polls = 60;  // 0.6 s per wait
        uart_->SetUpdateWork([this, timing](Uart& u) { return ymodem::RunOnUart(u, file_, timing); });
        ASSERT_EQ(uart_->Open(processor_->SlavePath()), 1);
        uart_->Start();
    }
    // Raises the request and waits for the result.
    int Update(const Bytes& image) {
        file_.Hold("fw.bin", image);
        uart_->updateRequest = 1;
        EXPECT_TRUE(WaitUntil([&] { return uart_->updateRequest.load() == 0; }, 10s));
        return uart_->updateResult.load();
    }

    std::string dir_;
    std::unique_ptr<sim::Processor> processor_;
    Ymodem file_;
    std::unique_ptr<Uart> uart_;
};

TEST_F(UpdateOverLink, ImageIsSavedByTheProcessorAndTheLinkResumes) {
    Start({});
    const Bytes image = Image(2 * 1024 + 100);
    ASSERT_EQ(Update(image), ymodem::kOk);
    ASSERT_TRUE(WaitUntil([&] { return processor_->SavedImages().size() == 1; }, 2s));
    EXPECT_EQ(ReadFile(processor_->SavedImages()[0]), image);
    EXPECT_FALSE(file_.IsOpen());
    // The reader and writers take the port back.
    const Bytes heartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
    EXPECT_EQ(uart_->Send(heartbeat.data(), 6), 6);
    EXPECT_TRUE(WaitUntil([&] { return uart_->received.load() == 1; }, 2s));
}

TEST_F(UpdateOverLink, ProcessorFaultsEndTheTransferAsAFailure) {
    struct Case {
        const char* what;
        sim::YmodemFaults faults;
        int result;
    };
    sim::YmodemFaults noC, nakOnce, noAck, cancel;
    noC.neverSendC = true;
    nakOnce.nakOnceBlock = 2;
    noAck.noAckBlock = 1;
    cancel.cancelAtBlock = 1;
    for (const Case& c : {Case{"no C", noC, ymodem::kNoC}, Case{"NAK once", nakOnce, ymodem::kNoAck},
                          Case{"no ACK", noAck, ymodem::kNoAck}, Case{"CAN CAN", cancel, ymodem::kNoAck}}) {
        SCOPED_TRACE(c.what);
        Start(c.faults);
        EXPECT_EQ(Update(Image(3 * 1024)), c.result);
        EXPECT_TRUE(processor_->SavedImages().empty());
        uart_.reset();
        processor_->Stop();
    }
}

TEST_F(UpdateOverLink, DestroyingTheLinkEndsARunningTransferPromptly) {
    sim::YmodemFaults noC;
    noC.neverSendC = true;
    Start(noC);
    ymodem::Timing slow;  // the real 15 s wait
    uart_.reset();
    uart_ = std::make_unique<Uart>(Uart::Timing{20ms, 20ms, 10ms});
    uart_->SetUpdateWork([&](Uart& u) { return ymodem::RunOnUart(u, file_, slow); });
    ASSERT_EQ(uart_->Open(processor_->SlavePath()), 1);
    uart_->Start();
    file_.Hold("fw.bin", Image(10));
    uart_->updateRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return processor_->InUpdateMode(); }, 3s));
    const auto before = std::chrono::steady_clock::now();
    uart_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
}

}  // namespace
