#include "console/frame_build.h"

#include <gtest/gtest.h>

#include "console/master_index.h"
#include "console/timer_ids.h"
#include "controls/notices.h"
#include "tests/link/bytes.h"

using namespace console;
using namespace console::frames;
using testbytes::Of;
using testbytes::Sealed;

namespace {

TEST(TimerIds, PageAndBandTravelInTheHighBytes) {
    const std::uint32_t id = timer::Id(notice::kPassBand, 7, 16);
    EXPECT_EQ(id, 0x1007047Au) << "band, page, key from the top byte down";
    EXPECT_EQ(timer::Key(id), notice::kPassBand) << "key";
    EXPECT_EQ(timer::Page(id), 7) << "page";
    EXPECT_EQ(timer::Band(id), 16) << "band";
}

// Expected frames are written without their checksum; the frames hold the other level bytes.
TEST(MasterVolume, LevelBytesAndGoldenFrames) {
    const int levels[][3] = {{master::kMic, 0, 0x82}, {master::kMusic, 60, 0xC8}, {master::kMusic, 84, 0xE0}};
    for (const auto& l : levels) EXPECT_EQ(MasterLevel(l[0], l[1]), l[2]) << l[0] << " " << l[1];
    // clang-format off
    const struct { int index, position; const char* hex; } rows[] = {
        {master::kMusic,  59, "A5 11 F1 0F 01 01 C6 C6 C6 C6 C6 C6 00 00 04 00"},
        {master::kMusic,  0,  "A5 11 F1 0F 01 07 50 50 50 50 50 50 00 00 04 00"},
        {master::kEffect, 0,  "A5 11 F1 0F 02 87 8C 8C 8C 8C 8C 8C 00 00 04 00"},
        {master::kEffect, 70, "A5 11 F1 0F 02 81 D2 D2 D2 D2 D2 D2 00 00 04 00"},
        {master::kMic,    84, "A5 11 F1 0F 02 01 D6 D6 D6 D6 D6 D6 00 00 04 00"},
        // clang-format on
    };
    for (const auto& r : rows)
        EXPECT_EQ(Of(MasterVolume(r.index, r.position)), Sealed(r.hex))
            << "master " << r.index << " at " << r.position;
}

TEST(MixLevels, GoldenFramesWithMuteBitsAndDelays) {
    const Six levels = {10, 20, 30, 40, 50, 200};
    const Mutes mainLeft{1, 0, 0, 0}, all{3, 1, 1, 3};
    // clang-format off
    const struct { Mix mix; Mutes mutes; const char* hex; } rows[] = {
        {Mix::Music,  mainLeft, "A5 11 F1 0F 01 82 0A 14 1E 28 32 C8 00 00 04 00"},
        {Mix::Direct, all,      "A5 11 F1 0F 06 FE 0A 14 1E 28 32 C8 00 00 04 00"},
        {Mix::Music,  Mutes{},  "A5 11 F1 0F 01 80 0A 14 1E 28 32 C8 00 00 04 00"},
        {Mix::Echo,   mainLeft, "A5 13 F1 0E 08 02 0A 00 14 00 1E 00 28 00 32 00 C8 00"},
        {Mix::Reverb, all,      "A5 13 F1 0E 08 7F 0A 00 14 00 1E 00 28 00 32 00 C8 00"},
        // clang-format on
    };
    for (const auto& r : rows) EXPECT_EQ(Of(MixLevels(r.mix, r.mutes, levels)), Sealed(r.hex)) << r.hex;
    EXPECT_EQ(Of(Delays({1, 2, 3, 4, 5, 300})),
              Sealed("A5 13 F1 10 04 01 00 02 00 03 00 04 00 05 00 2C 01 FF"));
}

TEST(PathFilters, ConvertedToEffectPathFrames) {
    // clang-format off
    const struct { const char* name; PathFilter which; int hz, preDelay; const char* hex; } rows[] = {
        {"echo high-pass at its end", PathFilter::EchoHighPass,   20,    300, "A5 12 F1 09 08 00 14 00 50 5F 3C 00 05 00 00 2C 01"},  // at its end: off
        {"echo high-pass inside", PathFilter::EchoHighPass,   21,    0,   "A5 12 F1 09 08 00 15 00 50 5F 3C 00 05 01 00 00 00"},
        {"echo low-pass at its end", PathFilter::EchoLowPass,    20000, 7,   "A5 12 F1 09 08 00 20 4E 50 5F 3C 00 04 00 04 07 00"},
        {"reverb high-pass", PathFilter::ReverbHighPass, 100,   9,   "A5 12 F1 09 08 01 64 00 50 5F 3C 00 05 01 00 09 00"},
        {"reverb low-pass", PathFilter::ReverbLowPass,  15000, 9,   "A5 12 F1 09 08 01 98 3A 50 5F 3C 00 04 01 04 09 00"},
        // clang-format on
    };
    for (const auto& r : rows) {
        const ZemCmd::EqFrame band = PathFilterBand(r.which, r.hz, 5);
        EXPECT_TRUE(IsEffectPath(band)) << r.name;
        EXPECT_EQ(Of(ToEffectPath(band, r.preDelay)), Sealed(r.hex)) << r.name;
    }
    // Band frames of other channels are no effect path.
    ZemCmd::EqFrame e;
    for (int code : {0, 1, 6, 9, 15}) {
        e[4] = static_cast<std::uint8_t>(code << 1 | 1);
        EXPECT_EQ(ChannelCode(e), code) << "channel code " << code;
        EXPECT_FALSE(IsEffectPath(e)) << "channel code " << code;
    }
    // An effect-page band frame (channel 7) keeps frequency, gain, Q, type, on and band; the
    // frequency's third byte is dropped.
    e = {};
    const std::pair<int, int> fields[] = {{4, 7 << 1 | 1}, {5, 2},     {6, 0x0B},  {7, 0x34}, {8, 0x64},
                                          {9, 0x45},       {10, 0x23}, {11, 0x8C}, {14, 1}};
    for (const auto& [at, value] : fields) e[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
    e.Seal();
    EXPECT_EQ(Of(ToEffectPath(e, 0x102)), Sealed("A5 12 F1 09 08 00 45 23 34 64 8C 00 00 01 02 02 01"));
}

// The heartbeat and the second main limiter are checked where the main window sends them.
TEST(SystemActions, MusicInputAndMutes) {
    const int actions[] = {0, 0x09, 0x19, 0x29, 0x39, 0x49, 0};  // inputs -1..5
    for (int input = -1; input <= 5; ++input)
        EXPECT_EQ(Of(MusicInput(input)),
                  Sealed({0xA5, 0x06, 0xF9, 0x03, static_cast<std::uint8_t>(actions[input + 1])}));
    // clang-format off
    const struct { const char* name; Mutes mutes; int lastMask, mask; std::vector<std::uint8_t> actions; } rows[] = {
        {"main left muted", {1, 0, 0, 0}, 0, 0x01, {0x17}},
        {"bass alone", {0, 0, 1, 0}, 0, 0x08, {0x28}},
        {"main and bass together: both go out", {1, 0, 1, 0}, 0, 0x09, {0x17, 0x28}},
        {"nothing changed: the others' state again", {1, 0, 1, 0}, 0x09, 0x09, {0x28}},
        {"mid and surround pair, main as sent", {3, 1, 0, 3}, 0x03, 0x37, {0xD8}},
        {"main left to right and surround left together", {2, 0, 0, 1}, 0x01, 0x12, {0x27, 0x48}},
        {"main unmuted", {0, 0, 0, 0}, 0x03, 0x00, {0x07}},
        {"bass unmuted", {0, 0, 0, 0}, 0x08, 0x00, {0x08}},
    };
    // clang-format on
    for (const auto& r : rows) {
        EXPECT_EQ(MuteMask(r.mutes), r.mask) << r.name << ": mask";
        EXPECT_EQ(MuteActions(r.mutes, r.lastMask), r.actions) << r.name << ": actions";
    }
}

}  // namespace
