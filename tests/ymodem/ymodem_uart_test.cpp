// The firmware transfer as the link's update work, against the simulated processor on a
// pseudo-terminal, with real threads.
#include <gtest/gtest.h>

#include <thread>

#include "image_files.h"
#include "link/uart.h"
#include "link/ymodem_transfer.h"
#include "sim/processor.h"

namespace {

using namespace std::chrono_literals;

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
