// Cutting incoming bytes into frames; system, mute, input and group frames.
#include "sim/device.h"

#include <gtest/gtest.h>

#include "sim/frame_reader.h"
#include "tests/sim/sim_test.h"

namespace {

using namespace simtest;

const Bytes kRequest = Sealed("A5 09 F4 02 80 00 00 00");

// "F:" a frame, "S:" skipped bytes, in the order the reader hands them out.
std::vector<std::string> Drain(sim::FrameReader& r, std::int64_t now) {
    std::vector<std::string> out;
    for (sim::FrameReader::Item item; r.Next(now, item);)
        out.push_back((item.frame ? "F:" : "S:") + Hex(item.bytes));
    return out;
}

TEST(FrameReader, CutsFramesAndSkipsGarbage) {
    const std::string beat = "F:" + Hex(kHeartbeat), request = "F:" + Hex(kRequest);
    const Bytes a5Inside = Sealed("A5 07 F1 09 A5 A5");
    const struct {
        const char* name;
        Bytes input;
        std::vector<std::string> expected;
    } rows[] = {
        // clang-format off
        {"two frames in one read", Cat({kHeartbeat, kRequest}), {beat, request}},
        {"length 3 and 51 are no frames", Cat({FromHex("A5 03 A5 33"), kRequest}), {"S:A5 03 A5 33", request}},
        {"bad checksum skipped, next frame kept", Cat({FromHex("A5 06 F9 03 06 AE"), kRequest}), {"S:A5 06 F9 03 06 AE", request}},
        {"a stray sync's long length does not swallow the next frame", Cat({FromHex("A5 0C 01"), kRequest}), {"S:A5 0C 01", request}},
        {"A5 inside a frame's data", a5Inside, {"F:" + Hex(a5Inside)}},
        // clang-format on
    };
    for (const auto& row : rows) {
        sim::FrameReader r;
        r.Feed(row.input.data(), row.input.size(), 0);
        EXPECT_EQ(Drain(r, 0), row.expected) << row.name;
        EXPECT_EQ(r.Pending(), 0u) << row.name;
    }
}

TEST(FrameReader, SplitFramesAreAssembledStaleOnesGivenUpTheRestHandedOver) {
    sim::FrameReader r(100);
    for (std::size_t i = 0; i < kRequest.size(); ++i) {
        EXPECT_TRUE(Drain(r, static_cast<std::int64_t>(i)).empty());
        r.Feed(&kRequest[i], 1, static_cast<std::int64_t>(i));
    }
    EXPECT_EQ(Drain(r, 20), std::vector<std::string>{"F:" + Hex(kRequest)});
    // Given up only when stale.
    const Bytes head = FromHex("A5 09 F4 02");
    r.Feed(head.data(), head.size(), 1000);
    EXPECT_TRUE(Drain(r, 1099).empty());
    EXPECT_EQ(r.Pending(), head.size());
    EXPECT_EQ(Drain(r, 1100), std::vector<std::string>{"S:A5 09 F4 02"});
    const Bytes input = Cat({kHeartbeat, {0x43, 0x01}});
    r.Feed(input.data(), input.size(), 1200);
    sim::FrameReader::Item item;
    ASSERT_TRUE(r.Next(1200, item));
    EXPECT_TRUE(item.frame) << "the heartbeat is read as a frame";
    EXPECT_EQ(item.bytes, kHeartbeat);
    EXPECT_EQ(r.TakeRest(), (Bytes{0x43, 0x01}));
    EXPECT_EQ(r.Pending(), 0u);
}

sim::Reaction Action(sim::Device& d, int action) {
    return d.Handle(ToCmd(Sealed({0xA5, 0x06, 0xF9, 0x03, static_cast<std::uint8_t>(action)})));
}

TEST(Device, UnknownFramesGetNoReplyAndChangeNothing) {
    sim::Device d(sim::DefaultStore());
    for (const char* f : {"A5 06 F9 03 0A", "A5 09 F1 F0 70 11 00 00", "A5 09 F1 F0 71 01 00 00",
                          "A5 08 F6 02 80 00 00", "A5 06 F9 05 00"}) {
        const auto r = d.Handle(ToCmd(Sealed(f)));
        EXPECT_TRUE(r.reply.empty()) << "an unknown frame got a reply: " << f;
        EXPECT_FALSE(r.what.empty()) << "an unknown frame must be described: " << f;
        EXPECT_EQ(d.store(), sim::DefaultStore()) << f;
    }
}

TEST(Device, MutesAndMusicInput) {
    const struct {
        int action, mutesBefore, mutesAfter;
    } rows[] = {
        {0x17, 0x00, 0x01},  // main left
        {0x37, 0x3C, 0x3F},  // both main bits, others kept
        {0x07, 0x3F, 0x3C},  // main bits cleared
        {0x28, 0x00, 0x08},  // bass alone
        {0x18, 0x03, 0x07},  // mid, main kept
        {0xC8, 0x0F, 0x33},  // both surround bits, mid and bass cleared
    };
    for (const auto& row : rows) {
        sim::Store s = sim::DefaultStore();
        s.mutes = row.mutesBefore;
        sim::Device d(s);
        Action(d, row.action);
        EXPECT_EQ(d.store().mutes, row.mutesAfter) << std::hex << row.action;
    }
    sim::Device d(sim::DefaultStore());
    for (int input = 0; input <= 4; ++input) {
        Action(d, input << 4 | 9);
        EXPECT_EQ(d.store().musicInput, input);
    }
}

TEST(Device, GroupsInBothFormsAndFactorySettings) {
    const struct {
        const char *name, *save, *load;  // without checksum
        int group;
    } rows[] = {
        // clang-format off
        {"short group 1", "A5 06 F9 03 11", "A5 06 F9 03 15", 1},
        {"short group 16", "A5 06 F9 03 FD", "A5 06 F9 03 FE", 16},
        {"long group 16", "A5 09 F1 F0 70 10 00 00", "A5 09 F1 F0 74 10 00 00", 16},
        {"short factory", "A5 06 F9 03 01", "A5 06 F9 03 05", 0},
        {"long factory", "A5 09 F1 F0 70 00 00 00", "A5 09 F1 F0 74 00 00 00", 0},
        // clang-format on
    };
    for (const auto& row : rows) {
        sim::Device d(sim::DefaultStore());
        d.store().delays[0] = 17;
        d.Handle(ToCmd(Sealed(row.save)));
        d.store().delays[0] = 29;
        d.Handle(ToCmd(Sealed(row.load)));
        EXPECT_EQ(d.store().delays[0], 17) << row.name;
        EXPECT_EQ(d.store().group, row.group) << row.name;
    }
    // Factory reset restores the defaults; loading the factory settings the starting values.
    sim::Store start = sim::DefaultStore();
    start.delays = {9, 9, 9, 9, 9, 9};
    sim::Device d(start);
    Action(d, 0x0F);
    EXPECT_EQ(d.store(), sim::DefaultStore());
    Action(d, 0x05);
    EXPECT_EQ(d.store().delays[0], 9);
}

}  // namespace
