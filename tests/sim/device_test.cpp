#include "sim/device.h"

#include <gtest/gtest.h>

#include "tests/sim/read_back_table.h"

namespace {

using namespace simtest;

sim::Reaction Action(sim::Device& d, int action) {
    return d.Handle(ToCmd(Sealed({0xA5, 0x06, 0xF9, 0x03, static_cast<std::uint8_t>(action)})));
}

sim::Reaction Group(sim::Device& d, int op, int n) {
    return d.Handle(ToCmd(
        Sealed({0xA5, 0x09, 0xF1, 0xF0, static_cast<std::uint8_t>(op), static_cast<std::uint8_t>(n), 0, 0})));
}

TEST(Device, SystemFramesAndTheirReplies) {
    sim::Device d(sim::DefaultStore());
    const auto hello = Action(d, 0x04);
    EXPECT_GE(hello.reply.size(), 5u);
    EXPECT_TRUE(GoodFrame(hello.reply));
    const auto beat = Action(d, 0x06);
    EXPECT_FALSE(beat.reply.empty());
    EXPECT_EQ(std::find(beat.reply.begin(), beat.reply.end(), 0xA5), beat.reply.end());
    // The end of the read-back and the enter-update frame are flagged, not answered.
    const auto end = Group(d, 0x77, 0);
    EXPECT_TRUE(end.endReadBack);
    EXPECT_TRUE(end.reply.empty());
    const auto update = Action(d, 0x02);
    EXPECT_TRUE(update.enterUpdate);
    EXPECT_TRUE(update.reply.empty());
}

TEST(Device, MutesAndMusicInput) {
    struct Case {
        int action, mutesBefore, mutesAfter;
    };
    const Case cases[] = {
        {0x17, 0x00, 0x01},  // main left
        {0x37, 0x3C, 0x3F},  // both main bits, others kept
        {0x07, 0x3F, 0x3C},  // main bits cleared
        {0x28, 0x00, 0x08},  // bass alone
        {0x18, 0x03, 0x07},  // mid, main kept
        {0xC8, 0x0F, 0x33},  // both surround bits, mid and bass cleared
    };
    for (const Case& c : cases) {
        sim::Store s = sim::DefaultStore();
        s.mutes = c.mutesBefore;
        sim::Device d(s);
        Action(d, c.action);
        EXPECT_EQ(d.store().mutes, c.mutesAfter) << std::hex << c.action;
    }
    sim::Device d(sim::DefaultStore());
    for (int input = 0; input <= 4; ++input) {
        Action(d, input << 4 | 9);
        EXPECT_EQ(d.store().musicInput, input);
    }
}

TEST(Device, GroupsInBothFormsAndFactorySettings) {
    const struct {
        const char* name;
        Bytes save, load;  // without checksum
        int group;
    } rows[] = {
        {"short group 1", {0xA5, 0x06, 0xF9, 0x03, 0x11}, {0xA5, 0x06, 0xF9, 0x03, 0x15}, 1},
        {"short group 15", {0xA5, 0x06, 0xF9, 0x03, 0xF1}, {0xA5, 0x06, 0xF9, 0x03, 0xF5}, 15},
        {"short group 16", {0xA5, 0x06, 0xF9, 0x03, 0xFD}, {0xA5, 0x06, 0xF9, 0x03, 0xFE}, 16},
        {"long group 16",
         {0xA5, 0x09, 0xF1, 0xF0, 0x70, 16, 0, 0},
         {0xA5, 0x09, 0xF1, 0xF0, 0x74, 16, 0, 0},
         16},
        {"short factory", {0xA5, 0x06, 0xF9, 0x03, 0x01}, {0xA5, 0x06, 0xF9, 0x03, 0x05}, 0},
        {"long factory", {0xA5, 0x09, 0xF1, 0xF0, 0x70, 0, 0, 0}, {0xA5, 0x09, 0xF1, 0xF0, 0x74, 0, 0, 0}, 0},
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

TEST(Device, UnknownFramesChangeNothing) {
    sim::Device d(sim::DefaultStore());
    const Bytes frames[] = {
        Sealed({0xA5, 0x06, 0xF9, 0x03, 0x0A}),            // unknown action
        Sealed({0xA5, 0x09, 0xF1, 0xF0, 0x70, 17, 0, 0}),  // group beyond 16
        Sealed({0xA5, 0x09, 0xF1, 0xF0, 0x71, 1, 0, 0}),   // unknown group operation
        Sealed({0xA5, 0x08, 0xF6, 0x02, 0x80, 0, 0}),      // an answer sent to us
        Sealed({0xA5, 0x06, 0xF9, 0x05, 0x00}),            // unknown system command
    };
    for (const Bytes& f : frames) {
        const auto r = d.Handle(ToCmd(f));
        EXPECT_TRUE(r.reply.empty() && !r.what.empty()) << Hex(f);
        EXPECT_EQ(d.store(), sim::DefaultStore()) << Hex(f);
    }
}

}  // namespace
