// The simulated processor on its pseudo-terminal, driven by a scripted client.
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
using namespace simtest;

const Bytes kHandshake = {0xA5, 0x06, 0xF9, 0x03, 0x04, 0xAB};
const Bytes kEnterUpdate = {0xA5, 0x06, 0xF9, 0x03, 0x02, 0xA9};
const Bytes kEndReadBack = {0xA5, 0x09, 0xF1, 0xF0, 0x77, 0x00, 0x00, 0x00, 0x06};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class ProcessorTest : public testing::Test {
  protected:
    void SetUp() override {
        char dir[] = "simtest.XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
        Restart(Defaults());
    }
    void TearDown() override {
        client_.reset();
        if (processor_) processor_->Stop();
    }
    sim::Options Defaults() const {
        sim::Options o;
        o.firmwareDir = dir_;
        return o;
    }
    void Restart(sim::Options o) {
        client_.reset();
        if (processor_) processor_->Stop();
        processor_ = std::make_unique<sim::Processor>(std::move(o));
        std::string error;
        ASSERT_TRUE(processor_->Start(error)) << error;
        client_ = std::make_unique<PtyClient>(processor_->SlavePath());
        ASSERT_TRUE(client_->ok());
    }
    bool LogHas(const std::string& dir, const std::string& what) {
        return processor_->WaitForLog(
            [&](const std::vector<sim::LogEntry>& log) {
                return std::any_of(log.begin(), log.end(), [&](const sim::LogEntry& e) {
                    return e.dir == dir && e.what.find(what) != std::string::npos;
                });
            },
            2000ms);
    }
    // Sends a frame and reads `want` bytes back.
    Bytes Exchange(const Bytes& frame, std::size_t want, std::chrono::milliseconds timeout = 2000ms) {
        EXPECT_TRUE(client_->Write(frame));
        return client_->Read(want, timeout);
    }
    Bytes Read(int g, int c, int p2 = 0, int p3 = 0, std::size_t want = 8) {
        return Exchange(Request({g, c, 0, p2, p3, 0}), want);
    }
    void SetFaults(std::function<void(sim::Faults&)> set) {
        sim::Faults f;
        set(f);
        processor_->SetFaults(f);
    }

    std::string dir_;
    std::unique_ptr<sim::Processor> processor_;
    std::unique_ptr<PtyClient> client_;
};

TEST_F(ProcessorTest, ConnectAndFullReadBackOverTheTerminal) {
    Bytes hello = Exchange(kHandshake, 5);
    const Bytes rest = client_->Drain(50ms);
    hello.insert(hello.end(), rest.begin(), rest.end());
    EXPECT_GE(hello.size(), 5u);
    EXPECT_TRUE(GoodFrame(hello));
    const auto steps = ReadBackSteps();
    ASSERT_EQ(steps.size(), 65u);
    for (const auto& step : steps) {
        const Bytes a = Exchange(Request(step), static_cast<std::size_t>(step.answerLength));
        ASSERT_EQ(a.size(), static_cast<std::size_t>(step.answerLength)) << Hex(Request(step));
        EXPECT_TRUE(GoodFrame(a) && a[2] == 0xF6 && a[3] == step.group && a[4] == step.code) << Hex(a);
    }
    // The end command is taken but not answered.
    EXPECT_TRUE(Exchange(kEndReadBack, 1, 300ms).empty());
    EXPECT_TRUE(LogHas("rx", "end of read-back"));
}

TEST_F(ProcessorTest, WrittenValuesAndGroupsComeBackInTheNextAnswer) {
    // Delays: main L 7, main R 8, mid 9, bass 10, surround L 11, surround R 12.
    client_->Write(Sealed(FromHex("A5 13 F1 10 04 07 00 08 00 09 00 0A 00 0B 00 0C 00 FF")));
    const Bytes delays = Read(0x04, 0xC1, 0, 0, 13);
    ASSERT_EQ(delays.size(), 13u);
    EXPECT_EQ(Bytes(delays.begin() + 6, delays.begin() + 12), (Bytes{7, 8, 9, 10, 11, 12}));
    // Microphone EQ band 3: enabled, +3.5 dB (25950), 330 Hz, Q 2.0 (200), low shelf (6).
    client_->Write(Sealed(FromHex("A5 11 F1 0A 05 03 23 5E 65 4A 01 C8 00 01 00 06")));
    const Bytes band = Read(0x02, 0x81, 3, 0, 17);
    ASSERT_EQ(band.size(), 17u);
    EXPECT_EQ(Hex({band[6], band[8], band[9], band[10], band[11], band[12], band[13], band[14], band[15]}),
              "03 01 5E 65 4A 01 C8 00 06");
    // Store group 5 (long form), change, load it (short form).
    client_->Write(Sealed(FromHex("A5 09 F1 F0 70 05 00 00")));
    client_->Write(Sealed(FromHex("A5 13 F1 10 04 2C 00 00 00 00 00 00 00 00 00 00 00 FF")));
    ASSERT_EQ(Read(0x04, 0xC1, 0, 0, 13).at(6), 44);
    client_->Write(Sealed(FromHex("A5 06 F9 03 55")));
    EXPECT_EQ(Read(0x04, 0xC1, 0, 0, 13).at(6), 7);
    EXPECT_EQ(Read(0xF0, 0xD0, 0, 0, 16).at(5), 5);
}

TEST_F(ProcessorTest, GarbageHeartbeatAndReopenedPort) {
    const Bytes garbage = {0x00, 0x13, 0xA5, 0x03, 0x77, 0xA5, 0x33};
    const Bytes a = Exchange(Cat({garbage, Request({0x02, 0x80, 0, 0, 0, 0})}), 8);
    ASSERT_EQ(a.size(), 8u);
    EXPECT_EQ(a[4], 0x80);
    Bytes skipped;
    for (const auto& e : processor_->Log())
        if (e.dir == "skip") skipped.insert(skipped.end(), e.bytes.begin(), e.bytes.end());
    EXPECT_EQ(skipped, garbage);
    // A heartbeat gets bytes that are no frame.
    const Bytes reply = Exchange(kHeartbeat, 3);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(std::count(reply.begin(), reply.end(), 0xA5), 0);
    // The console may close the port and open it again.
    client_ = std::make_unique<PtyClient>(processor_->SlavePath());
    client_.reset();
    client_ = std::make_unique<PtyClient>(processor_->SlavePath());
    EXPECT_EQ(Read(0x02, 0x85).size(), 8u);
}

TEST_F(ProcessorTest, FirmwareImageArrivesByteIdenticalInsideItsFolder) {
    const struct {
        std::string name, savedAs;
        Bytes image;
    } rows[] = {{"k417b-fw.bin", "k417b-fw.bin", Pattern(5 * 1024 + 77, 11)},
                {"../../evil.bin", "evil.bin", Pattern(100, 2)}};  // a path stays inside the folder
    std::vector<std::string> saved;
    for (const auto& row : rows) {
        ASSERT_EQ(Exchange(kEnterUpdate, 1), Bytes{'C'});
        EXPECT_EQ(Exchange(HeaderBlock(row.name, row.image.size()), 2), (Bytes{0x06, 'C'}));
        for (std::size_t n = 1; n <= DataBlockCount(row.image.size()); ++n)
            ASSERT_EQ(Exchange(DataBlock(row.image, n), 1), Bytes{0x06}) << "block " << n;
        EXPECT_EQ(Exchange({0x04}, 1), Bytes{0x06});
        saved.push_back(dir_ + "/" + row.savedAs);
        ASSERT_TRUE(processor_->WaitForLog(
            [&](const std::vector<sim::LogEntry>& log) {
                return std::count_if(log.begin(), log.end(), [](const sim::LogEntry& e) {
                           return e.what.find("normal mode") != std::string::npos;
                       }) == static_cast<long>(saved.size());
            },
            2000ms));
        EXPECT_EQ(processor_->SavedImages(), saved);
        const std::string file = ReadFile(saved.back());
        EXPECT_EQ(Bytes(file.begin(), file.end()), row.image);
        EXPECT_FALSE(processor_->InUpdateMode());
        EXPECT_EQ(Read(0x02, 0x80).size(), 8u);  // back to frames
    }
}

TEST_F(ProcessorTest, FaultSwitches) {
    const Bytes request = Request({0x02, 0x80, 0, 0, 0, 0});
    SetFaults([](sim::Faults& f) { f.silent = true; });
    EXPECT_TRUE(Exchange(kHandshake, 1, 300ms).empty());
    EXPECT_TRUE(LogHas("note", "silent, not sent"));

    SetFaults([](sim::Faults& f) { f.lateMs = 400; });
    EXPECT_TRUE(Exchange(request, 1, 150ms).empty());
    EXPECT_EQ(client_->Read(8, 2000ms).size(), 8u);

    SetFaults([](sim::Faults& f) { f.garbage = true; });
    client_->Write(request);
    const Bytes got = client_->Drain(200ms);
    const auto sync = std::find(got.begin(), got.end(), 0xA5);
    ASSERT_TRUE(sync != got.begin() && sync != got.end());
    EXPECT_TRUE(GoodFrame(Bytes(sync, got.end())));

    SetFaults([](sim::Faults& f) { f.twoInOneWrite = true; });
    const Bytes first = Read(0x02, 0x80);
    client_->Drain(100ms);  // the answer held back from before
    client_->Write(Request({0x02, 0x85, 0, 0, 0, 0}));
    const Bytes both = client_->Drain(200ms);
    ASSERT_EQ(both.size(), 16u);
    EXPECT_EQ(Bytes(both.begin(), both.begin() + 8), first);
    EXPECT_EQ(both[12], 0x85);

    SetFaults([](sim::Faults& f) { f.answerEndReadBack = true; });
    client_->Write(kEndReadBack);
    const Bytes end = client_->Drain(200ms);
    EXPECT_TRUE(GoodFrame(end) && end[2] == 0xF6 && end[4] == 0x77) << Hex(end);
}

TEST_F(ProcessorTest, SpoiltAnswersOnceForOneCode) {
    const struct {
        sim::BadAnswer kind;
        std::size_t length;
        std::function<bool(const Bytes&)> spoilt;
    } rows[] = {
        {sim::BadAnswer::WrongCode, 8, [](const Bytes& a) { return GoodFrame(a) && a[4] != 0x85; }},
        {sim::BadAnswer::BadChecksum, 8, [](const Bytes& a) { return !GoodFrame(a) && a[4] == 0x85; }},
        {sim::BadAnswer::WrongClass, 8, [](const Bytes& a) { return GoodFrame(a) && a[2] != 0xF6; }},
        {sim::BadAnswer::TooShort, 6,
         [](const Bytes& a) { return GoodFrame(a) && a[3] == 0x02 && a[4] == 0x85; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.kind));
        SetFaults([&](sim::Faults& f) { f.badCode = 0x85, f.badKind = row.kind, f.badCount = 1; });
        EXPECT_EQ(Read(0x02, 0x80).size(), 8u) << "other codes stay good";
        const Bytes bad = Read(0x02, 0x85, 0, 0, row.length);
        EXPECT_TRUE(bad.size() == row.length && row.spoilt(bad)) << Hex(bad);
        const Bytes good = Read(0x02, 0x85);
        EXPECT_TRUE(GoodFrame(good) && good[2] == 0xF6 && good[4] == 0x85) << "only once";
    }
}

TEST_F(ProcessorTest, SilentAfterSomeTimeLinkPathFileAndJsonLog) {
    sim::Options o = Defaults();
    o.faults.silentAfterMs = 1500;
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
        viaLink.Write(kHeartbeat);
        EXPECT_EQ(viaLink.Read(3, 2000ms), (Bytes{'o', 'k', '\n'}));
    }
    EXPECT_EQ(Read(0x02, 0x80).size(), 8u);
    std::this_thread::sleep_for(1600ms);
    EXPECT_TRUE(Exchange(Request({0x02, 0x80, 0, 0, 0, 0}), 1, 300ms).empty());
    EXPECT_NE(ReadFile(o.logPath).find("\"dir\":\"rx\",\"hex\":\"A5 06 F9 03 06 AD\",\"what\":\"heartbeat\""),
              std::string::npos);
    client_.reset();
    processor_->Stop();
    struct stat st {};
    EXPECT_NE(::lstat(o.linkPath.c_str(), &st), 0) << "the link goes with the processor";
}

}  // namespace
