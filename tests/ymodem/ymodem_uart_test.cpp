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
    void TearDown() override { Stop(); }
    void Start(const sim::YmodemFaults& faults, ymodem::Timing timing) {
        sim::Options o;
        o.firmwareDir = dir_.path;
        o.faults.ymodem = faults;
        o.ymodemTimeoutMs = 3000;
        processor_ = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(processor_->Start(error)) << error;
        uart_ = std::make_unique<Uart>(Uart::Timing{20ms, 20ms, 10ms});
        uart_->SetUpdateWork([this, timing](Uart& u) { return ymodem::RunOnUart(u, file_, timing); });
        ASSERT_EQ(uart_->Open(processor_->SlavePath()), 1);
        uart_->Start();
    }
    void Stop() {
        uart_.reset();
        if (processor_) processor_->Stop();
    }
    void Request(const Bytes& image) {
        file_.Hold("fw.bin", image);
        uart_->updateRequest = 1;
    }
    int Update(const Bytes& image) {  // raises the request and waits for the result
        Request(image);
        EXPECT_TRUE(WaitUntil([&] { return uart_->updateRequest.load() == 0; }, 10s));
        return uart_->updateResult.load();
    }
    static ymodem::Timing Quick() {
        ymodem::Timing t;
        t.polls = 60;  // 0.6 s per wait
        return t;
    }

    TempDir dir_;
    std::unique_ptr<sim::Processor> processor_;
    Ymodem file_;
    std::unique_ptr<Uart> uart_;
};

TEST_F(UpdateOverLink, ImageIsSavedByTheProcessorAndTheLinkResumes) {
    Start({}, Quick());
    const Bytes image = Pattern(2 * 1024 + 100);
    ASSERT_EQ(Update(image), ymodem::kOk);
    ASSERT_TRUE(WaitUntil([&] { return processor_->SavedImages().size() == 1; }, 2s));
    EXPECT_EQ(ReadFile(processor_->SavedImages()[0]), image);
    EXPECT_FALSE(file_.IsOpen());
    // The reader and writers take the port back: a heartbeat is answered.
    const Bytes heartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
    EXPECT_EQ(uart_->Send(heartbeat.data(), 6), 6);
    EXPECT_TRUE(WaitUntil([&] { return uart_->received.load() == 1; }, 2s));
}

TEST_F(UpdateOverLink, ProcessorFaultsEndTheTransferAsAFailure) {
    sim::YmodemFaults noC, cancel;
    noC.neverSendC = true;
    cancel.cancelAtBlock = 1;
    for (const auto& [what, faults, result] :
         {std::tuple("no C", noC, ymodem::kNoC), std::tuple("CAN CAN", cancel, ymodem::kNoAck)}) {
        SCOPED_TRACE(what);
        Start(faults, Quick());
        EXPECT_EQ(Update(Pattern(3 * 1024)), result);
        EXPECT_TRUE(processor_->SavedImages().empty());
        Stop();
    }
}

TEST_F(UpdateOverLink, DestroyingTheLinkEndsARunningTransferPromptly) {
    sim::YmodemFaults noC;
    noC.neverSendC = true;
    Start(noC, {});  // the real 15 s wait
    Request(Pattern(10));
    ASSERT_TRUE(WaitUntil([&] { return processor_->InUpdateMode(); }, 3s));
    const auto before = std::chrono::steady_clock::now();
    uart_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
}

}  // namespace
