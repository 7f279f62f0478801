// The simulated processor on its pseudo-terminal, driven by a scripted client, in process and as the
// k417b-sim program (a child process, as the demo script runs it).
#include "sim/processor.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "link/frame.h"
#include "tests/link/pty.h"
#include "tests/sim/sim_test.h"
#include "tests/sim/ymodem_sender.h"

extern char** environ;

namespace {

using namespace simtest;

const Bytes kHandshake = FromHex("A5 06 F9 03 04 AB");
const Bytes kEndReadBack = FromHex("A5 09 F1 F0 77 00 00 00 06");

std::string ReadFile(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

class ProcessorTest : public testing::Test {
  protected:
    void SetUp() override {
        char dir[] = "simtest.XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
        Restart({});
    }
    void Restart(sim::Options o) {
        client_.reset();
        o.firmwareDir = dir_;
        processor_ = std::make_unique<sim::Processor>(std::move(o));
        std::string error;
        ASSERT_TRUE(processor_->Start(error)) << error;
        client_ = std::make_unique<Pty>(processor_->SlavePath());
        ASSERT_TRUE(client_->ok());
    }
    Bytes Exchange(const Bytes& frame, std::size_t want, std::chrono::milliseconds timeout = 2000ms) {
        EXPECT_TRUE(client_->Send(frame));
        return client_->Receive(want, timeout);
    }
    Bytes Read(int g, int c, int p2 = 0, std::size_t want = 8) {
        return Exchange(Request({g, c, 0, p2, 0, 0}), want);
    }

    std::string dir_;
    std::unique_ptr<sim::Processor> processor_;
    std::unique_ptr<Pty> client_;
};

TEST_F(ProcessorTest, AConsoleSessionOverTheTerminal) {
    const Bytes hello = Cat({Exchange(kHandshake, 5), client_->Drain(50ms)});
    EXPECT_GE(hello.size(), 5u) << Hex(hello);
    EXPECT_TRUE(GoodFrame(hello)) << Hex(hello);
    const auto steps = ReadBackSteps();
    ASSERT_EQ(steps.size(), 65u);
    for (const auto& step : steps) {
        const Bytes a = Exchange(Request(step), static_cast<std::size_t>(step.answerLength));
        ASSERT_EQ(a.size(), static_cast<std::size_t>(step.answerLength)) << Hex(Request(step));
        EXPECT_TRUE(GoodFrame(a)) << Hex(a);
        EXPECT_EQ(a[2], ZemCmd::kClassAnswer) << Hex(a);
        EXPECT_EQ(a[3], step.group) << Hex(a);
        EXPECT_EQ(a[4], step.code) << Hex(a);
    }
    EXPECT_TRUE(Exchange(kEndReadBack, 1, 300ms).empty());
    EXPECT_TRUE(processor_->WaitForLog(
        [](const std::vector<sim::LogEntry>& log) {
            return !log.empty() && log.back().what == "end of read-back";
        },
        2000ms));
    // A written value comes back in the next answer.
    client_->Send(Sealed("A5 13 F1 10 04 07 00 08 00 09 00 0A 00 0B 00 0C 00 FF"));
    const Bytes delays = Read(0x04, 0xC1, 0, 13);
    EXPECT_EQ(Hex(Bytes(delays.begin() + 6, delays.begin() + 12)), "07 08 09 0A 0B 0C");
    const Bytes garbage = FromHex("00 13 A5 03 77 A5 33");
    EXPECT_EQ(Exchange(Cat({garbage, Request({0x02, 0x80})}), 8).at(4), 0x80);
    Bytes skipped;
    for (const auto& e : processor_->Log())
        if (e.dir == "skip") skipped.insert(skipped.end(), e.bytes.begin(), e.bytes.end());
    EXPECT_EQ(skipped, garbage);
    client_.reset();  // the console may close the port and open it again
    client_ = std::make_unique<Pty>(processor_->SlavePath());
    EXPECT_EQ(Read(0x02, 0x85).size(), 8u);
}

TEST_F(ProcessorTest, FirmwareImageArrivesByteIdenticalInsideItsFolder) {
    const Bytes image = Pattern(5 * 1024 + 77, 11);
    ASSERT_EQ(Exchange(FromHex("A5 06 F9 03 02 A9"), 1), Bytes{'C'});
    EXPECT_EQ(Exchange(HeaderBlock("../../evil.bin", image.size()), 2), (Bytes{0x06, 'C'}));
    for (std::size_t n = 1; n <= 6; ++n) ASSERT_EQ(Exchange(DataBlock(image, n), 1), Bytes{0x06}) << n;
    EXPECT_EQ(Exchange({0x04}, 1), Bytes{0x06});
    ASSERT_TRUE(WaitUntil([&] { return !processor_->InUpdateMode(); }, 2s));
    EXPECT_EQ(processor_->SavedImages(), std::vector<std::string>{dir_ + "/evil.bin"});  // inside the folder
    const std::string file = ReadFile(dir_ + "/evil.bin");
    EXPECT_EQ(Bytes(file.begin(), file.end()), image);
    EXPECT_EQ(Read(0x02, 0x80).size(), 8u);  // back to frames
}

TEST_F(ProcessorTest, FaultSwitches) {
    const Bytes request = Request({0x02, 0x80});
    processor_->SetFaults({.lateMs = 400, .ymodem = {}});
    EXPECT_TRUE(Exchange(request, 1, 150ms).empty());
    EXPECT_EQ(client_->Receive(8, 2000ms).size(), 8u);

    processor_->SetFaults({.garbage = true, .ymodem = {}});
    client_->Send(request);
    const Bytes got = client_->Drain(200ms);
    const auto sync = std::find(got.begin(), got.end(), 0xA5);
    ASSERT_NE(sync, got.begin()) << "garbage must come before the answer: " << Hex(got);
    ASSERT_NE(sync, got.end()) << "no answer after the garbage: " << Hex(got);
    EXPECT_TRUE(GoodFrame(Bytes(sync, got.end())));

    processor_->SetFaults({.twoInOneWrite = true, .ymodem = {}});
    const Bytes first = Read(0x02, 0x80);
    client_->Drain(100ms);  // the answer held back from before
    client_->Send(Request({0x02, 0x85}));
    const Bytes both = client_->Drain(200ms);
    ASSERT_EQ(both.size(), 16u);
    EXPECT_EQ(Bytes(both.begin(), both.begin() + 8), first);
    EXPECT_EQ(both[12], 0x85);

    processor_->SetFaults({.answerEndReadBack = true, .ymodem = {}});
    client_->Send(kEndReadBack);
    const Bytes end = client_->Drain(200ms);
    EXPECT_TRUE(GoodFrame(end)) << Hex(end);
    EXPECT_EQ(end[2], ZemCmd::kClassAnswer) << Hex(end);
    EXPECT_EQ(end[4], ZemCmd::kGroupEndReadBack) << "the end command's code: " << Hex(end);
}

TEST_F(ProcessorTest, SpoiltAnswersOnceForOneCode) {
    // What is spoilt: the checksum, or else the class or the code (the short answer keeps them).
    const struct {
        const char* name;
        sim::BadAnswer kind;
        std::size_t length;
        bool goodFrame;
        bool rightClass;
        bool rightCode;
    } rows[] = {
        {"wrong code", sim::BadAnswer::WrongCode, 8, true, true, false},
        {"bad checksum", sim::BadAnswer::BadChecksum, 8, false, true, true},
        {"wrong class", sim::BadAnswer::WrongClass, 8, true, false, true},
        {"too short", sim::BadAnswer::TooShort, 6, true, true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        processor_->SetFaults({.badCode = 0x85, .badKind = row.kind, .badCount = 1, .ymodem = {}});
        EXPECT_EQ(Read(0x02, 0x80).size(), 8u);  // other codes stay good
        const Bytes bad = Read(0x02, 0x85, 0, row.length);
        ASSERT_EQ(bad.size(), row.length) << Hex(bad);
        EXPECT_EQ(GoodFrame(bad), row.goodFrame) << Hex(bad);
        if (row.kind == sim::BadAnswer::TooShort) {
            EXPECT_EQ(bad[3], 0x02) << "group kept: " << Hex(bad);
        }
        EXPECT_EQ(bad[2] == ZemCmd::kClassAnswer, row.rightClass) << Hex(bad);
        EXPECT_EQ(bad[4] == 0x85, row.rightCode) << Hex(bad);
        const Bytes good = Read(0x02, 0x85);  // spoilt only once
        EXPECT_TRUE(GoodFrame(good)) << Hex(good);
        EXPECT_EQ(good[2], ZemCmd::kClassAnswer) << Hex(good);
        EXPECT_EQ(good[4], 0x85) << Hex(good);
    }
}

TEST_F(ProcessorTest, SilentAfterSomeTimePathFileAndJsonLog) {
    sim::Options o;
    o.faults.silentAfterMs = 1500;
    o.pathFile = dir_ + "/tty.path";
    o.logPath = dir_ + "/sim.log";
    o.jsonLog = true;
    Restart(o);
    EXPECT_EQ(ReadFile(o.pathFile), processor_->SlavePath() + "\n");
    EXPECT_EQ(Exchange(kHeartbeat, 3), (Bytes{'o', 'k', '\n'}));
    std::this_thread::sleep_for(1600ms);
    EXPECT_TRUE(Exchange(Request({0x02, 0x80}), 1, 300ms).empty());
    EXPECT_NE(ReadFile(o.logPath).find("\"dir\":\"rx\",\"hex\":\"A5 06 F9 03 06 AD\",\"what\":\"heartbeat\""),
              std::string::npos);
}

const std::string kProgram = std::string(std::getenv("K417B_BUILD_DIR")) + "/sim/k417b-sim";

TEST(Executable, PrintsThePathAnswersThroughItsLinkAndCleansUpOnTerminate) {
    char dir[] = "simexe.XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/tty", log = std::string(dir) + "/sim.log";
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const char* argv[] = {kProgram.c_str(), "--link",         link.c_str(), "--log",
                          log.c_str(),      "--firmware-dir", dir,          nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, kProgram.c_str(), &actions, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string line;
    for (char c = 0; ::read(out[0], &c, 1) == 1 && c != '\n';) line.push_back(c);
    ::close(out[0]);
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(line.rfind("/dev/pts/", 0), 0u) << "printed path is not a terminal: " << line;
    EXPECT_EQ(line, target) << "the link must point at the printed terminal";
    {
        Pty client(link);
        ASSERT_TRUE(client.ok());
        client.Send({0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD});
        EXPECT_EQ(client.Receive(3, 2000ms), (std::vector<std::uint8_t>{'o', 'k', '\n'}));
    }
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "the simulator did not exit by itself on SIGTERM";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0);  // the link goes with the program
    EXPECT_NE(ReadFile(log).find(" rx A5 06 F9 03 06 AD | heartbeat"), std::string::npos) << ReadFile(log);
}

TEST(Executable, RefusesABadOption) {
    const int status = std::system((kProgram + " --late soon 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2) << "exit code for a bad option";
}

}  // namespace
