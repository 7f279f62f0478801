// The store's text form and the command line.
#include <gtest/gtest.h>

#include <fstream>

#include "sim/options.h"
#include "tests/sim/sim_test.h"

namespace {

TEST(StoreText, PartialFilesAndBadLines) {
    std::string error;
    // Only the lines given change.
    sim::Store s = sim::DefaultStore(), expected = sim::DefaultStore();
    ASSERT_TRUE(
        sim::StoreFromText("# two\r\ndelays 1 2 3 4 5 6\r\n\r\nband mic 3 1 25950 330 200 6 0\n", s, error))
        << error;
    expected.delays = {1, 2, 3, 4, 5, 6};
    expected.Eq(sim::Path::Mic)[3] = sim::Band{1, 25950, 330, 200, 6, 0};
    EXPECT_EQ(s, expected);
    // A bad line is reported by number and changes nothing, not even the good lines before it.
    for (const char* line :
         {"delays 1 2 3 4 5", "delays 1 2 3 4 5 6 7", "delays 1 2 x 4 5 6", "limiter 7 1 2 3 4",
          "band mic 17 1 1 1 1 1 1", "volume 3", "master 99999999999 0 0"}) {
        s = sim::DefaultStore();
        EXPECT_FALSE(sim::StoreFromText(std::string("delays 9 9 9 9 9 9\n") + line + "\n", s, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
        EXPECT_EQ(s, sim::DefaultStore()) << line;
    }
}

// Words split at blanks.
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
    EXPECT_EQ(o.firmwareDir, "fw");
    EXPECT_EQ(o.pathFile, "p");
    const sim::Faults& f = o.faults;
    EXPECT_EQ(f.lateMs, 250);
    EXPECT_EQ(f.silentAfterMs, 1500);
    EXPECT_EQ(f.badCode, 0x85);
    EXPECT_EQ(f.badKind, sim::BadAnswer::WrongClass);
    EXPECT_EQ(f.badCount, 2);
    EXPECT_EQ(f.ymodem.noAckBlock, 3);
    EXPECT_EQ(f.ymodem.nakOnceBlock, 1);
    EXPECT_EQ(f.ymodem.cancelAtBlock, 4);
    EXPECT_TRUE(o.jsonLog) << "--json";
    EXPECT_TRUE(f.garbage) << "--garbage";
    EXPECT_TRUE(f.twoInOneWrite) << "--two-in-one";
    EXPECT_TRUE(f.answerEndReadBack) << "--answer-end";
    EXPECT_TRUE(f.ymodem.dropEotAck) << "--ymodem-drop-eot-ack";
    EXPECT_TRUE(f.ymodem.neverSendC) << "--ymodem-no-c";
}

TEST(CommandLine, BadArgumentsAreRefusedWithAReasonAndAStoreFileGivesTheStartingValues) {
    for (const char* line :
         {"--bogus", "--link", "--late -5", "--late 12ms", "--silent-after nan", "--bad-answer 85:weird",
          "--bad-answer 1FF:short", "--store no-such-store-file"}) {
        sim::Options o;
        std::string error;
        EXPECT_FALSE(Parse(line, o, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    std::ofstream("start.store") << sim::StoreToText(simtest::Distinctive());
    sim::Options o;
    std::string error;
    ASSERT_TRUE(Parse("--store start.store", o, error)) << error;
    EXPECT_EQ(o.start, simtest::Distinctive());  // the text form round trip
}

}  // namespace
