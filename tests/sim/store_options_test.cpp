#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sim/options.h"
#include "sim/store.h"

namespace {

sim::Store Distinctive() {
    sim::Store s = sim::DefaultStore();
    s.micMaster = 0xF6;
    s.levels[sim::kReverbLevel] = {1, 2, 3, 4, 5, 6};
    s.delays = {10, 20, 30, 40, 50, 0};
    s.limiters[sim::kMicLimiter] = sim::Limiter{11, 3, -30, 77};
    s.gateOn = 1;
    s.gateStart = 44;
    s.fbc = {100, 1, 0};
    s.effect[3] = 0xF4;
    s.group = 9;
    s.mutes = 0x21;
    s.limits = {5, 60, 6, 70, 7, 50};
    s.Eq(sim::Path::Reverb)[1] = sim::Band{1, 24400, 9000, 60, 4, 150};
    s.Eq(sim::Path::Main)[6] = sim::Band{1, 26000, 123456, 12800, 7, 0};
    return s;
}

TEST(StoreText, RoundTripAndPartialFiles) {
    sim::Store back = sim::DefaultStore();
    std::string error;
    ASSERT_TRUE(sim::StoreFromText(sim::StoreToText(Distinctive()), back, error)) << error;
    EXPECT_EQ(back, Distinctive());
    // Only the lines given change; comments, blank lines and CR LF are taken.
    sim::Store s = sim::DefaultStore();
    ASSERT_TRUE(
        sim::StoreFromText("# two\r\ndelays 1 2 3 4 5 6\r\n\r\nband mic 3 1 25950 330 200 6 0\n", s, error))
        << error;
    sim::Store expected = sim::DefaultStore();
    expected.delays = {1, 2, 3, 4, 5, 6};
    expected.Eq(sim::Path::Mic)[3] = sim::Band{1, 25950, 330, 200, 6, 0};
    EXPECT_EQ(s, expected);
}

TEST(StoreText, BadLinesAreReportedAndChangeNothing) {
    const char* const bad[] = {
        "delays 1 2 3 4 5",            // one short
        "delays 1 2 3 4 5 6 7",        // one too many
        "delays 1 2 x 4 5 6",          // not a number
        "levels loud 1 2 3 4 5 6",     // unknown kind
        "limiter 7 1 2 3 4",           // unknown limiter
        "band tweeter 1 1 1 1 1 1 1",  // unknown path
        "band mic 17 1 1 1 1 1 1",     // band beyond 16
        "volume 3",                    // unknown key
        "master 99999999999 0 0",      // out of range
    };
    for (const char* line : bad) {
        sim::Store s = sim::DefaultStore();
        std::string error;
        EXPECT_FALSE(sim::StoreFromText(std::string("delays 9 9 9 9 9 9\n") + line + "\n", s, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
        EXPECT_EQ(s, sim::DefaultStore()) << line;
    }
}

// Parses a command line given as one string, words split at blanks.
bool Parse(const std::string& line, sim::Options& o, std::string& error) {
    std::istringstream in(line);
    std::vector<std::string> words{"k417b-sim"};
    for (std::string w; in >> w;) words.push_back(w);
    std::vector<const char*> args;
    for (const auto& w : words) args.push_back(w.c_str());
    bool help = false;
    return sim::ParseCommandLine(static_cast<int>(args.size()), args.data(), o, help, error);
}

TEST(CommandLine, OptionsAndFaults) {
    sim::Options o;
    std::string error;
    ASSERT_TRUE(
        Parse("--link /tmp/l --log sim.log --json --firmware-dir fw --path-file p --late 250 "
              "--silent-after 1.5 --bad-answer 0x85:wrong-class:2 --garbage --two-in-one --answer-end "
              "--ymodem-no-ack 3 --ymodem-nak-once 1 --ymodem-cancel 4 --ymodem-drop-eot-ack --ymodem-no-c",
              o, error))
        << error;
    EXPECT_EQ(o.linkPath, "/tmp/l");
    EXPECT_EQ(o.logPath, "sim.log");
    EXPECT_TRUE(o.jsonLog);
    EXPECT_EQ(o.firmwareDir, "fw");
    EXPECT_EQ(o.pathFile, "p");
    EXPECT_EQ(o.faults.lateMs, 250);
    EXPECT_EQ(o.faults.silentAfterMs, 1500);
    EXPECT_EQ(o.faults.badCode, 0x85);
    EXPECT_EQ(o.faults.badKind, sim::BadAnswer::WrongClass);
    EXPECT_EQ(o.faults.badCount, 2);
    EXPECT_TRUE(o.faults.garbage && o.faults.twoInOneWrite && o.faults.answerEndReadBack);
    EXPECT_EQ(o.faults.ymodem.noAckBlock, 3);
    EXPECT_EQ(o.faults.ymodem.nakOnceBlock, 1);
    EXPECT_EQ(o.faults.ymodem.cancelAtBlock, 4);
    EXPECT_TRUE(o.faults.ymodem.dropEotAck && o.faults.ymodem.neverSendC);
}

TEST(CommandLine, BadArgumentsAreRefusedWithAReason) {
    const char* const bad[] = {"--bogus",
                               "--link",
                               "--late -5",
                               "--late 12ms",
                               "--silent-after nan",
                               "--bad-answer 85:weird",
                               "--bad-answer 1FF:short",
                               "--ymodem-no-ack x",
                               "--store no-such-store-file"};
    for (const char* line : bad) {
        sim::Options o;
        std::string error;
        EXPECT_FALSE(Parse(line, o, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST(CommandLine, StoreFileGivesTheStartingValues) {
    const sim::Store s = Distinctive();
    {
        std::ofstream out("start.store");
        out << sim::StoreToText(s);
    }
    sim::Options o;
    std::string error;
    ASSERT_TRUE(Parse("--store start.store", o, error)) << error;
    EXPECT_EQ(o.start, s);
    {
        std::ofstream out("broken.store");
        out << "delays 1 2\n";
    }
    EXPECT_FALSE(Parse("--store broken.store", o, error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
}

}  // namespace
