#include "sim/processor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sim/pty_client.h"
#include "tests/sim/read_back_table.h"

namespace {

using namespace std::chrono_literals;
using simtest::PtyClient;
using simtest::Sealed;
using Bytes = std::vector<std::uint8_t>;

class ProcessorTest : public testing::Test {
  protected:
    void StartWith(sim::Options o) {
        processor_ = std::make_unique<sim::Processor>(std::move(o));
        std::string error;
        ASSERT_TRUE(processor_->Start(error)) << error;
        client_ = std::make_unique<PtyClient>(processor_->SlavePath());
        ASSERT_TRUE(client_->ok());
    }
    void SetUp() override { StartWith(sim::Options{}); }
    void TearDown() override {
        client_.reset();
        if (processor_) processor_->Stop();
    }

    // Sends a frame and reads `want` bytes back.
    Bytes Exchange(const Bytes& frame, std::size_t want, std::chrono::milliseconds timeout = 2000ms) {
        EXPECT_TRUE(client_->Write(frame));
        return client_->Read(want, timeout);
    }
    Bytes Read(int g, int c, int p1 = 0, int p2 = 0, int p3 = 0, std::size_t want = 8) {
        return Exchange(simtest::Request({g, c, p1, p2, p3, 0}), want);
    }

    std::unique_ptr<sim::Processor> processor_;
    std::unique_ptr<PtyClient> client_;
};

const Bytes kHandshake = {0xA5, 0x06, 0xF9, 0x03, 0x04, 0xAB};
const Bytes kHeartbeat = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
const Bytes kEndReadBack = Sealed({0xA5, 0x09, 0xF1, 0xF0, 0x77, 0x00, 0x00, 0x00});

bool GoodFrame(const Bytes& b) {
    return b.size() >= 4 && b[0] == 0xA5 && b[1] == b.size() && b.back() == simtest::Sum(b, b.size() - 1);
}

TEST_F(ProcessorTest, ConnectAndFullReadBackOverTheTerminal) {
    const Bytes hello = Exchange(kHandshake, 5);
    ASSERT_GE(hello.size(), 5u);
    const Bytes rest = client_->Drain(50ms);
    Bytes whole = hello;
    whole.insert(whole.end(), rest.begin(), rest.end());
    EXPECT_TRUE(GoodFrame(whole));
    for (const auto& step : simtest::ReadBackSteps()) {
        SCOPED_TRACE(testing::Message() << std::hex << step.group << " " << step.code << " " << step.p2);
        const Bytes a = Exchange(simtest::Request(step), static_cast<std::size_t>(step.answerLength));
        ASSERT_EQ(a.size(), static_cast<std::size_t>(step.answerLength));
        EXPECT_TRUE(GoodFrame(a));
        EXPECT_EQ(a[2], 0xF6);
        EXPECT_EQ(a[3], step.group);
        EXPECT_EQ(a[4], step.code);
    }
    // The end command is taken but not answered.
    EXPECT_TRUE(client_->Write(kEndReadBack));
    EXPECT_TRUE(client_->Read(1, 300ms).empty());
    EXPECT_TRUE(processor_->WaitForLog(
        [](const std::vector<sim::LogEntry>& log) {
            return std::any_of(log.begin(), log.end(), [](const sim::LogEntry& e) {
                return e.dir == "rx" && e.what == "end of read-back";
            });
        },
        1000ms));
}

TEST_F(ProcessorTest, WrittenValuesComeBackInTheNextAnswer) {
    // Delays: main L 7, main R 8, mid 9, bass 10, surround L 11, surround R 12.
    EXPECT_TRUE(
        client_->Write(Sealed({0xA5, 0x13, 0xF1, 0x10, 0x04, 7, 0, 8, 0, 9, 0, 10, 0, 11, 0, 12, 0, 0xFF})));
    const Bytes delays = Read(0x04, 0xC1, 0, 0, 0, 13);
    ASSERT_EQ(delays.size(), 13u);
    EXPECT_EQ(Bytes(delays.begin() + 6, delays.begin() + 12), (Bytes{7, 8, 9, 10, 11, 12}));

    // Microphone EQ band 3: enabled, +3.5 dB (25950), 330 Hz, Q 2.0, low shelf (code 6).
    EXPECT_TRUE(client_->Write(Sealed(
        {0xA5, 0x11, 0xF1, 0x0A, 0x05, 3, 0x23, 0x5E, 0x65, 0x4A, 0x01, 0xC8, 0x00, 0x01, 0x00, 0x06})));
    const Bytes band = Read(0x02, 0x81, 0, 3, 0, 17);
    ASSERT_EQ(band.size(), 17u);
    EXPECT_EQ(band[6], 3);
    EXPECT_EQ(band[8], 1);
    EXPECT_EQ(band[9] | band[10] << 8, 25950);
    EXPECT_EQ(band[11] | band[12] << 8, 330);
    EXPECT_EQ(band[13] | band[14] << 8, 200);
    EXPECT_EQ(band[15], 6);
}

TEST_F(ProcessorTest, GarbageBetweenFramesIsSkippedAndLogged) {
    const Bytes garbage = {0x00, 0x13, 0xA5, 0x03, 0x77, 0xA5, 0x33};
    Bytes wire = garbage;
    const Bytes request = simtest::Request({0x02, 0x80, 0, 0, 0, 0});
    wire.insert(wire.end(), request.begin(), request.end());
    const Bytes a = Exchange(wire, 8);
    ASSERT_EQ(a.size(), 8u);
    EXPECT_EQ(a[4], 0x80);
    const auto log = processor_->Log();
    Bytes skipped;
    for (const auto& e : log)
        if (e.dir == "skip") skipped.insert(skipped.end(), e.bytes.begin(), e.bytes.end());
    EXPECT_EQ(skipped, garbage);
}

TEST_F(ProcessorTest, HeartbeatGetsBytesThatAreNoFrame) {
    const Bytes reply = Exchange(kHeartbeat, 3);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(std::count(reply.begin(), reply.end(), 0xA5), 0);
}

TEST_F(ProcessorTest, ThePortMayBeClosedAndOpenedAgain) {
    ASSERT_EQ(Read(0x02, 0x85).size(), 8u);
    client_ = std::make_unique<PtyClient>(processor_->SlavePath());
    client_.reset();
    client_ = std::make_unique<PtyClient>(processor_->SlavePath());
    ASSERT_TRUE(client_->ok());
    EXPECT_EQ(Read(0x02, 0x85).size(), 8u);
}

}  // namespace
