#include "sim/frame_reader.h"

#include <gtest/gtest.h>

#include "tests/sim/read_back_table.h"

namespace {

using namespace simtest;

const Bytes kRequest = Sealed({0xA5, 0x09, 0xF4, 0x02, 0x80, 0x00, 0x00, 0x00});

// "F:" a frame, "S:" skipped bytes, in the order the reader hands them out.
std::vector<std::string> Drain(sim::FrameReader& r, std::int64_t now) {
    std::vector<std::string> out;
    sim::FrameReader::Item item;
    while (r.Next(now, item)) {
        out.push_back((item.frame ? "F:" : "S:") + Hex(item.bytes));
    }
    return out;
}

struct Case {
    const char* name;
    Bytes input;
    std::vector<std::string> expected;
};

TEST(FrameReader, CutsFramesAndSkipsGarbage) {
    const Bytes badSum = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAE};
    const Case cases[] = {
        {"one frame", kHeartbeat, {"F:" + Hex(kHeartbeat)}},
        {"two frames in one read",
         Cat({kHeartbeat, kRequest}),
         {"F:" + Hex(kHeartbeat), "F:" + Hex(kRequest)}},
        {"garbage first", Cat({{0x00, 0x6F, 0x6B}, kHeartbeat}), {"S:00 6F 6B", "F:" + Hex(kHeartbeat)}},
        {"length 3 and 51 are no frames",
         Cat({{0xA5, 0x03, 0xA5, 0x33}, kRequest}),
         {"S:A5 03 A5 33", "F:" + Hex(kRequest)}},
        {"bad checksum skipped, next frame kept",
         Cat({badSum, kRequest}),
         {"S:" + Hex(badSum), "F:" + Hex(kRequest)}},
        // A stray A5 whose length reaches into the next frame must not swallow it.
        {"stray sync with a long length",
         Cat({{0xA5, 0x0C, 0x01}, kRequest}),
         {"S:A5 0C 01", "F:" + Hex(kRequest)}},
        {"A5 inside a frame's data",
         Sealed({0xA5, 0x07, 0xF1, 0x09, 0xA5, 0xA5}),
         {"F:" + Hex(Sealed({0xA5, 0x07, 0xF1, 0x09, 0xA5, 0xA5}))}},
    };
    for (const Case& c : cases) {
        sim::FrameReader r;
        r.Feed(c.input.data(), c.input.size(), 0);
        EXPECT_EQ(Drain(r, 0), c.expected) << c.name;
        EXPECT_EQ(r.Pending(), 0u) << c.name;
    }
}

TEST(FrameReader, SplitFramesAreAssembledStaleOnesGivenUp) {
    sim::FrameReader r(100);
    for (std::size_t i = 0; i < kRequest.size(); ++i) {
        EXPECT_TRUE(Drain(r, static_cast<std::int64_t>(i)).empty());
        r.Feed(&kRequest[i], 1, static_cast<std::int64_t>(i));
    }
    EXPECT_EQ(Drain(r, 20), (std::vector<std::string>{"F:" + Hex(kRequest)}));
    // An incomplete frame is given up only when it has gone stale.
    const Bytes head = {0xA5, 0x09, 0xF4, 0x02};
    r.Feed(head.data(), head.size(), 1000);
    EXPECT_TRUE(Drain(r, 1099).empty());
    EXPECT_EQ(r.Pending(), head.size());
    EXPECT_EQ(Drain(r, 1100), (std::vector<std::string>{"S:A5 09 F4 02"}));
    r.Feed(kHeartbeat.data(), kHeartbeat.size(), 1200);
    EXPECT_EQ(Drain(r, 1200), (std::vector<std::string>{"F:" + Hex(kHeartbeat)}));
}

TEST(FrameReader, TakeRestHandsOverUnreadBytes) {
    sim::FrameReader r;
    const Bytes input = Cat({kHeartbeat, {0x43, 0x01}});
    r.Feed(input.data(), input.size(), 0);
    sim::FrameReader::Item item;
    ASSERT_TRUE(r.Next(0, item));
    EXPECT_TRUE(item.frame);
    EXPECT_EQ(r.TakeRest(), (Bytes{0x43, 0x01}));
    EXPECT_EQ(r.Pending(), 0u);
}

}  // namespace
