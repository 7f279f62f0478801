// Read requests answered from the store, and writes applied to it.
#include <gtest/gtest.h>

#include "sim/answers.h"
#include "sim/writes.h"
#include "tests/sim/sim_test.h"

namespace {

using namespace simtest;

std::optional<ZemCmd::Cmd> Ask(const sim::Store& s, const std::string& groupCodeP1P2P3) {
    return sim::AnswerRead(s, ToCmd(Sealed(FromHex("A5 09 F4 " + groupCodeP1P2P3))));
}

TEST(Answers, FieldsSitWhereTheConsoleReadsThem) {
    const std::pair<const char*, const char*> rows[] = {
        // clang-format off
        {"F0 D0 00 00 00", "5=07 6=30 7=2A 9=01 10=50 11=02 12=51 13=03 14=3C"},
        {"04 C2 00 02 03", "5=00 6=02 7=03 8=01 9=5E 10=65 11=70 12=11 13=E2 14=04 15=06"},
        // The effect block's other sliders at their defaults, as the console's default frame.
        {"08 90 00 00 00", "6=46 7=5A 8=64 9=F4 10=00 11=1E 12=64 13=28 14=3C 15=64 16=00 17=64 18=64 19=32 20=32"},
        // clang-format on
    };
    for (const auto& [request, expect] : rows) {
        const auto a = Ask(Distinctive(), request);
        ASSERT_TRUE(a) << request;
        EXPECT_EQ(Mismatches(a->data(), expect), "") << request;
    }
    for (const char* unknown : {"04 C3 00 00 00", "05 C2 00 01 00", "04 C2 00 01 01", "04 C2 00 01 05",
                                "02 81 00 11 00", "07 99 00 05 00", "08 91 00 02 00", "04 C0 05 00 00"})
        EXPECT_FALSE(Ask(sim::DefaultStore(), unknown)) << unknown;
    // Default masters give the console's start position 0: mic at [6] + 70, effect at [6] + 60, music
    // at ([6] + 120) / 2 for a negative [6].
    const std::pair<const char*, const char*> masters[] = {
        {"02 80 00 00 00", "6=BA"}, {"02 85 00 00 00", "6=C4"}, {"01 A0 00 00 00", "6=88"}};
    for (const auto& [request, expect] : masters)
        EXPECT_EQ(Mismatches(Ask(sim::DefaultStore(), request)->data(), expect), "") << request;
}

TEST(Writes, EveryWriteComesBackInTheMatchingAnswer) {
    // Frame (no checksum), the read that brings it back, the answer bytes expected.
    const struct {
        const char *name, *frame, *read, *expect;
    } rows[] = {
        // clang-format off
        {"mic master 84", "A5 11 F1 0F 02 01 D6 D6 D6 D6 D6 D6 00 00 04 00", "02 80 00 00 00", "6=0E"},
        {"effect master 70", "A5 11 F1 0F 02 81 D2 D2 D2 D2 D2 D2 00 00 04 00", "02 85 00 00 00", "6=0A"},
        {"music master 59", "A5 11 F1 0F 01 01 C6 C6 C6 C6 C6 C6 00 00 04 00", "01 A0 00 00 00", "6=FE"},
        {"music levels", "A5 11 F1 0F 01 82 0A 14 1E 28 32 3C 00 00 04 00", "01 A2 00 00 00", "6=0A 7=14 8=1E 9=28 10=32 11=3C"},
        {"direct levels", "A5 11 F1 0F 06 80 01 02 03 04 05 C8 00 00 04 00", "06 B0 00 00 00", "6=01 8=03 9=04 10=05 11=C8"},
        {"echo levels", "A5 13 F1 0E 08 02 0B 00 0C 00 0D 00 0E 00 0F 00 10 00", "07 9A 00 00 00", "6=0B 8=0D 9=0E 10=0F"},
        {"reverb levels", "A5 13 F1 0E 08 03 15 00 16 00 17 00 18 00 19 00 1A 00", "08 92 00 00 00", "6=15 8=17 9=18 10=19"},
        {"delays", "A5 13 F1 10 04 07 00 08 00 09 00 0A 00 0B 00 0C 00 FF", "04 C1 00 00 00", "6=07 7=08 8=09 9=0A 10=0B 11=0C"},
        {"centre limiter", "A5 0E F1 18 04 00 03 5A 00 40 0B 1E 50", "04 C0 03 00 00", "6=03 7=5A 8=00 9=20 10=00 11=1E 12=50"},
        {"mic limiter", "A5 0E F1 18 02 01 01 0A 00 32 00 54 05", "02 82 00 00 00", "7=0A 9=05 11=54 12=05"},
        {"noise gate -60/-20", "A5 0F F1 12 01 02 20 00 20 00 CC 0C CC 0C", "02 83 00 00 00", "5=01 6=3C 7=14"},
        {"feedback canceller mode 2", "A5 0B F1 08 02 01 03 64 04 00", "02 84 00 00 00", "5=01 6=64 7=04 8=00"},
        {"effect block, echo delay 500", "A5 16 F1 0D 01 08 46 5A 64 F4 01 1E 64 28 3C 64 00 64 64 32 21", "08 90 00 00 00", "9=F4 10=01 19=32 20=21"},
        {"volume limits", "A5 0B F1 1C 05 50 06 51 07 40", "F0 D0 00 00 00", "9=05 10=50 11=06 12=51 13=07 14=40"},
        {"mic band 3: +3.5 dB, 330 Hz, Q 2, low shelf", "A5 11 F1 0A 05 03 23 5E 65 4A 01 C8 00 01 00 06", "02 81 00 03 00", "6=03 8=01 9=5E 10=65 11=4A 12=01 13=C8 14=00 15=06"},
        {"music band 2", "A5 11 F1 0A 03 02 13 64 64 E8 03 96 00 03 00 00", "01 A1 00 02 00", "6=02 8=01 9=64 10=64 11=E8 12=03 13=96 15=00"},
        {"main band 5 disabled", "A5 11 F1 0A 09 05 0E 00 64 74 0E 64 00 03 00 07", "04 C2 00 05 00", "6=05 7=00 8=00 11=74 12=0E 15=07"},
        {"mid band 1", "A5 11 F1 0A 09 01 0B 00 64 64 00 64 00 04 00 00", "04 C2 00 01 02", "7=02 11=64"},
        {"surround band 3", "A5 11 F1 0A 09 03 0B 00 64 DC 05 64 00 30 00 06", "04 C2 00 03 04", "7=04 11=DC 12=05 15=06"},
        {"bass crossover 150 Hz 24db", "A5 11 F1 0A 09 00 0B 50 5F 96 00 46 00 08 00 04", "04 C2 00 00 03", "7=03 8=01 9=50 10=5F 11=96 13=46 15=04"},
        {"echo low-pass with pre-delay", "A5 12 F1 09 08 00 40 1F 50 5F 3C 00 04 01 04 78 00", "07 99 00 04 00", "8=01 9=50 10=5F 11=40 12=1F 13=3C 15=04 16=78 17=00"},
        {"reverb high-pass sets the path's pre-delay", "A5 12 F1 09 08 01 C8 00 50 5F 3C 00 05 01 00 0A 00", "08 91 00 01 00", "16=0A"},
        {"echo band 2 by the page's own frame", "A5 11 F1 0A 0F 02 0B B0 68 84 03 F4 01 FF 00 00", "07 99 00 02 00", "8=01 9=B0 10=68 11=84 12=03 13=F4 14=01"},
        {"re-laid mic master 84", "A5 0E F1 02 10 01 96 96 96 96 96 96 04", "02 80 00 00 00", "6=0E"},
        {"re-laid effect master 70", "A5 0E F1 02 15 81 92 92 92 92 92 92 04", "02 85 00 00 00", "6=0A"},
        {"re-laid music levels", "A5 0E F1 01 32 80 0A 14 1E 28 32 3C 04", "01 A2 00 00 00", "6=0A 7=14 8=1E 11=3C"},
        {"re-laid centre limiter", "A5 0E F1 04 50 00 03 5A 00 20 00 1E 50", "04 C0 03 00 00", "7=5A 9=20 11=1E 12=50"},
        {"re-laid mic limiter", "A5 0E F1 02 12 01 01 0A 00 05 00 54 07", "02 82 00 00 00", "7=0A 9=05 12=07"},
        {"re-laid noise gate", "A5 0F F1 02 13 01 20 00 20 00 CC 0C CC 0C", "02 83 00 00 00", "5=01 6=3C 7=14"},
        {"re-laid feedback canceller", "A5 0A F1 02 14 01 64 01 00", "02 84 00 00 00", "5=01 6=64 7=01"},
        {"re-laid effect block keeps echo-in-reverb", "A5 16 F1 08 20 01 46 5A 64 F4 01 1E 64 28 3C 64 00 64 64 11 00", "08 90 00 00 00", "9=F4 19=11 20=32"},
        {"re-laid mic band 3", "A5 11 F1 02 11 00 03 01 23 5E 65 4A 01 C8 00 06", "02 81 00 03 00", "8=01 9=5E 10=65 11=4A 12=01 13=C8 15=06"},
        {"re-laid surround band 2", "A5 11 F1 04 52 00 02 30 0B 00 64 20 03 64 00 00", "04 C2 00 02 04", "11=20 12=03"},
        {"re-laid delays, bass before mid", "A5 0D F1 04 51 01 07 08 0A 09 0B 0C", "04 C1 00 00 00", "6=07 7=08 8=09 9=0A 10=0B 11=0C"},
        // clang-format on
    };
    for (const auto& row : rows) {
        sim::Store s = sim::DefaultStore();
        std::string what;
        ASSERT_TRUE(sim::ApplyWrite(s, ToCmd(Sealed(row.frame)), what)) << row.name;
        EXPECT_FALSE(what.empty()) << row.name;
        const auto a = Ask(s, row.read);
        ASSERT_TRUE(a) << row.name;
        EXPECT_EQ(Mismatches(a->data(), row.expect), "") << row.name;
    }
}

TEST(Writes, FramesThatAreNoKnownWriteLeaveTheStoreAlone) {
    const char* const frames[] = {
        // clang-format off
        "A5 11 F1 0A 07 01 0B 00 64 64 00 64 00 01 00 00",     // channel 3
        "A5 11 F1 0A 09 01 0B 00 64 64 00 64 00 77 00 00",     // unknown page code
        "A5 0E F1 18 04 00 09 32 00 64 00 54 05",              // limiter channel 9
        "A5 12 F1 09 08 02 64 00 00 64 64 00 00 01 01 00 00",  // third effect path
        "A5 12 F1 10 04 01 00 02 00 03 00 04 00 05 00 06 00",  // delays of a wrong length
        "A5 11 F1 0F 03 01 01 01 01 01 01 01 00 00 04 00",     // level mode 3
        "A5 0E F1 02 10 80 01 01 01 01 01 01 04",              // re-laid pair of no mode
        "A5 06 F9 03 06",                                      // not a write at all
        // clang-format on
    };
    for (const char* f : frames) {
        sim::Store s = sim::DefaultStore();
        std::string what;
        EXPECT_FALSE(sim::ApplyWrite(s, ToCmd(Sealed(f)), what)) << f;
        EXPECT_EQ(s, sim::DefaultStore()) << f;
    }
}

TEST(Writes, GateLevelsConvertBothWaysAndGateOffKeepsTheStartLevel) {
    for (int db = 0; db <= 80; ++db) EXPECT_EQ(sim::GateDbOfAmplitude(sim::GateAmplitude(db)), db);
    EXPECT_EQ(sim::GateDbOfAmplitude(33000), 0);  // above the table: the loudest entry
    sim::Store s = sim::DefaultStore();
    s.gateStart = 55;
    std::string what;
    ASSERT_TRUE(sim::ApplyWrite(s, ToCmd(Sealed("A5 0F F1 12 00 02 00 00 00 00 CC 0C CC 0C")), what));
    EXPECT_EQ(s.gateOn, 0);
    EXPECT_EQ(s.gateStart, 55);
    EXPECT_EQ(s.gateRelease, 20);
}

}  // namespace
