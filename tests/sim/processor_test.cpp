#include "sim/processor.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/sim/pty_client.h"
#include "tests/sim/read_back_table.h"
#include "tests/sim/ymodem_sender.h"

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
    void SetUp() override {
        char dir[] = "simtest.XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
        StartWith(Defaults());
    }
    sim::Options Defaults() const {
        sim::Options o;
        o.firmwareDir = dir_;
        return o;
    }
    // Restarts with other options (faults, log, link).
    void Restart(sim::Options o) {
        client_.reset();
        processor_->Stop();
        StartWith(std::move(o));
    }
    bool LogHas(const std::string& dir, const std::string& what, std::chrono::milliseconds timeout = 2000ms) {
        return processor_->WaitForLog(
            [&](const std::vector<sim::LogEntry>& log) {
                return std::any_of(log.begin(), log.end(), [&](const sim::LogEntry& e) {
                    return e.dir == dir && e.what.find(what) != std::string::npos;
                });
            },
            timeout);
    }
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

    std::string dir_;
    std::unique_ptr<sim::Processor> processor_;
    std::unique_ptr<PtyClient> client_;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

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

namespace {

const Bytes kEnterUpdate = {0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9};

TEST_F(ProcessorTest, FirmwareImageArrivesByteIdentical) {
    const Bytes image = simtest::Pattern(5 * 1024 + 77, 11);
    ASSERT_EQ(Exchange(kEnterUpdate, 1), Bytes{'C'});
    EXPECT_TRUE(processor_->InUpdateMode());
    EXPECT_EQ(Exchange(simtest::HeaderBlock("k417b-fw.bin", image.size()), 2), (Bytes{0x06, 'C'}));
    for (std::size_t n = 1; n <= simtest::DataBlockCount(image.size()); ++n)
        ASSERT_EQ(Exchange(simtest::DataBlock(image, n), 1), Bytes{0x06}) << "block " << n;
    EXPECT_EQ(Exchange({0x04}, 1), Bytes{0x06});
    ASSERT_TRUE(LogHas("note", "normal mode"));
    EXPECT_FALSE(processor_->InUpdateMode());
    const std::string path = dir_ + "/k417b-fw.bin";
    EXPECT_EQ(processor_->SavedImages(), std::vector<std::string>{path});
    const std::string saved = ReadFile(path);
    EXPECT_EQ(Bytes(saved.begin(), saved.end()), image);
    // Back to frames.
    EXPECT_EQ(Read(0x02, 0x80).size(), 8u);
}

TEST_F(ProcessorTest, FirmwareNameCannotLeaveTheFolder) {
    const Bytes image = simtest::Pattern(100, 2);
    ASSERT_EQ(Exchange(kEnterUpdate, 1), Bytes{'C'});
    Exchange(simtest::HeaderBlock("../../evil.bin", image.size()), 2);
    Exchange(simtest::DataBlock(image, 1), 1);
    Exchange({0x04}, 1);
    ASSERT_TRUE(LogHas("note", "normal mode"));
    EXPECT_EQ(processor_->SavedImages(), std::vector<std::string>{dir_ + "/evil.bin"});
}

TEST_F(ProcessorTest, YmodemWithoutCStaysSilentInUpdateMode) {
    sim::Options o = Defaults();
    o.faults.ymodem.neverSendC = true;
    Restart(o);
    EXPECT_TRUE(Exchange(kEnterUpdate, 1, 300ms).empty());
    EXPECT_TRUE(processor_->InUpdateMode());
}

TEST_F(ProcessorTest, SilentProcessorLogsButNeverAnswers) {
    sim::Faults f;
    f.silent = true;
    processor_->SetFaults(f);
    EXPECT_TRUE(Exchange(kHandshake, 1, 300ms).empty());
    EXPECT_TRUE(LogHas("rx", "handshake"));
    EXPECT_TRUE(LogHas("note", "silent, not sent"));
}

TEST_F(ProcessorTest, SilentAfterSomeTime) {
    sim::Options o = Defaults();
    o.faults.silentAfterMs = 1500;
    Restart(o);
    EXPECT_EQ(Read(0x02, 0x80).size(), 8u);
    std::this_thread::sleep_for(1600ms);
    EXPECT_TRUE(Exchange(simtest::Request({0x02, 0x80, 0, 0, 0, 0}), 1, 300ms).empty());
}

TEST_F(ProcessorTest, LateAnswerComesAfterTheDelay) {
    sim::Faults f;
    f.lateMs = 400;
    processor_->SetFaults(f);
    EXPECT_TRUE(Exchange(simtest::Request({0x02, 0x80, 0, 0, 0, 0}), 1, 150ms).empty());
    EXPECT_EQ(client_->Read(8, 2000ms).size(), 8u);
}

TEST_F(ProcessorTest, SpoiltAnswers) {
    struct Case {
        sim::BadAnswer kind;
        std::size_t length;
        std::function<bool(const Bytes&)> spoilt;
    };
    const Case cases[] = {
        {sim::BadAnswer::WrongCode, 8, [](const Bytes& a) { return GoodFrame(a) && a[4] != 0x85; }},
        {sim::BadAnswer::BadChecksum, 8, [](const Bytes& a) { return !GoodFrame(a) && a[4] == 0x85; }},
        {sim::BadAnswer::WrongClass, 8, [](const Bytes& a) { return GoodFrame(a) && a[2] != 0xF6; }},
        {sim::BadAnswer::TooShort, 6,
         [](const Bytes& a) { return GoodFrame(a) && a[3] == 0x02 && a[4] == 0x85; }},
    };
    for (const Case& c : cases) {
        sim::Faults f;
        f.badCode = 0x85;
        f.badKind = c.kind;
        f.badCount = 1;
        processor_->SetFaults(f);
        EXPECT_EQ(Read(0x02, 0x80).size(), 8u) << "other codes stay good";
        const Bytes bad = Read(0x02, 0x85, 0, 0, 0, c.length);
        EXPECT_EQ(bad.size(), c.length);
        EXPECT_TRUE(c.spoilt(bad)) << static_cast<int>(c.kind);
        const Bytes good = Read(0x02, 0x85);
        EXPECT_TRUE(GoodFrame(good) && good[2] == 0xF6 && good[4] == 0x85) << "only once";
    }
}

TEST_F(ProcessorTest, GarbageBeforeEveryReply) {
    sim::Faults f;
    f.garbage = true;
    processor_->SetFaults(f);
    client_->Write(simtest::Request({0x02, 0x80, 0, 0, 0, 0}));
    const Bytes got = client_->Drain(200ms);
    const auto sync = std::find(got.begin(), got.end(), 0xA5);
    ASSERT_NE(sync, got.begin());
    ASSERT_NE(sync, got.end());
    EXPECT_TRUE(GoodFrame(Bytes(sync, got.end())));
}

TEST_F(ProcessorTest, TwoAnswersInOneWrite) {
    sim::Faults f;
    f.twoInOneWrite = true;
    processor_->SetFaults(f);
    const Bytes first = Read(0x02, 0x80);
    ASSERT_EQ(first.size(), 8u);
    client_->Write(simtest::Request({0x02, 0x85, 0, 0, 0, 0}));
    const Bytes both = client_->Drain(200ms);
    ASSERT_EQ(both.size(), 16u);
    EXPECT_EQ(Bytes(both.begin(), both.begin() + 8), first);
    EXPECT_EQ(both[12], 0x85);
}

TEST_F(ProcessorTest, EndOfReadBackAnsweredWhenAskedTo) {
    sim::Faults f;
    f.answerEndReadBack = true;
    processor_->SetFaults(f);
    client_->Write(kEndReadBack);
    const Bytes a = client_->Drain(200ms);
    EXPECT_TRUE(GoodFrame(a));
    ASSERT_GE(a.size(), 5u);
    EXPECT_EQ(a[2], 0xF6);
    EXPECT_EQ(a[4], 0x77);
}

TEST_F(ProcessorTest, LinkPathFileAndLogFile) {
    sim::Options o = Defaults();
    o.linkPath = dir_ + "/tty";
    o.pathFile = dir_ + "/tty.path";
    o.logPath = dir_ + "/sim.log";
    o.jsonLog = true;
    Restart(o);
    char target[256] = {};
    ASSERT_GT(::readlink(o.linkPath.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), processor_->SlavePath());
    EXPECT_EQ(ReadFile(o.pathFile), processor_->SlavePath() + "\n");
    {
        PtyClient viaLink(o.linkPath);
        ASSERT_TRUE(viaLink.ok());
        viaLink.Write(kHeartbeat);
        EXPECT_EQ(viaLink.Read(3, 2000ms), (Bytes{'o', 'k', '\n'}));
    }
    const std::string log = ReadFile(o.logPath);
    EXPECT_NE(log.find("\"dir\":\"rx\",\"hex\":\"A5 06 F9 03 06 AD\",\"what\":\"heartbeat\""),
              std::string::npos)
        << log;
    client_.reset();
    processor_->Stop();
    struct stat st {};
    EXPECT_NE(::lstat(o.linkPath.c_str(), &st), 0) << "the link goes with the processor";
}

TEST_F(ProcessorTest, GroupStoreAndLoadOverTheLine) {
    auto delays = [&](int v) {
        client_->Write(Sealed({0xA5, 0x13, 0xF1, 0x10, 0x04, static_cast<std::uint8_t>(v), 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0xFF}));
    };
    delays(33);
    client_->Write(Sealed({0xA5, 0x09, 0xF1, 0xF0, 0x70, 5, 0, 0}));  // store group 5 (long form)
    delays(44);
    ASSERT_EQ(Read(0x04, 0xC1, 0, 0, 0, 13)[6], 44);
    client_->Write(Sealed({0xA5, 0x06, 0xF9, 0x03, 0x55}));  // load group 5 (short form)
    const Bytes after = Read(0x04, 0xC1, 0, 0, 0, 13);
    ASSERT_EQ(after.size(), 13u);
    EXPECT_EQ(after[6], 33);
    EXPECT_EQ(Read(0xF0, 0xD0, 0, 0, 0, 16)[5], 5);
}

}  // namespace
