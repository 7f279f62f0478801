#include "console/frame_build.h"

#include <gtest/gtest.h>

#include "console/timer_ids.h"
#include "frame_bytes.h"

using namespace console;
using namespace console::frames;

namespace {

TEST(TimerIds, PageAndBandTravelInTheHighBytes) {
    EXPECT_EQ(timer::Id(0x467, 3, 5), 0x05030467u);
    EXPECT_EQ(timer::Id(0x465, 2), 0x00020465u);
    EXPECT_EQ(timer::Id(0x46C), 0x46Cu);
    const std::uint32_t id = timer::Id(0x47A, 7, 16);
    EXPECT_EQ(timer::Key(id), 0x47Au);
    EXPECT_EQ(timer::Page(id), 7);
    EXPECT_EQ(timer::Band(id), 16);
}

TEST(MasterVolume, LevelBytesPerSlider) {
    struct Row {
        int index, position, level;
    } rows[] = {{0, 0, 0x82}, {0, 84, 0xD6}, {1, 0, 0x8C},  {1, 70, 0xD2},
                {2, 0, 0x50}, {2, 59, 0xC6}, {2, 60, 0xC8}, {2, 84, 0xE0}};
    for (const Row& r : rows)
        EXPECT_EQ(MasterLevel(r.index, r.position), r.level) << r.index << " " << r.position;
}

TEST(MasterVolume, GoldenFrames) {
    struct Row {
        int index, position;
        std::vector<int> bytes;
    } rows[] = {
        {2, 59, {0xA5, 0x11, 0xF1, 0x0F, 1, 0x01, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0, 0, 4, 0}},
        {2, 0, {0xA5, 0x11, 0xF1, 0x0F, 1, 0x07, 0x50, 0x50, 0x50, 0x50, 0x50, 0x50, 0, 0, 4, 0}},
        {1, 0, {0xA5, 0x11, 0xF1, 0x0F, 2, 0x87, 0x8C, 0x8C, 0x8C, 0x8C, 0x8C, 0x8C, 0, 0, 4, 0}},
        {1, 70, {0xA5, 0x11, 0xF1, 0x0F, 2, 0x81, 0xD2, 0xD2, 0xD2, 0xD2, 0xD2, 0xD2, 0, 0, 4, 0}},
        {0, 84, {0xA5, 0x11, 0xF1, 0x0F, 2, 0x01, 0xD6, 0xD6, 0xD6, 0xD6, 0xD6, 0xD6, 0, 0, 4, 0}},
    };
    for (const Row& r : rows) EXPECT_EQ(Bytes(MasterVolume(r.index, r.position)), Sealed(r.bytes)) << r.index;
}

TEST(MixLevels, GoldenFramesWithMuteBits) {
    const Six levels = {10, 20, 30, 40, 50, 200};
    Mutes mainLeft;
    mainLeft.main = 1;
    Mutes all{3, 1, 1, 3};
    struct Row {
        Mix mix;
        Mutes mutes;
        std::vector<int> bytes;
    } rows[] = {
        {Mix::Music, mainLeft, {0xA5, 0x11, 0xF1, 0x0F, 1, 0x82, 10, 20, 30, 40, 50, 200, 0, 0, 4, 0}},
        {Mix::Direct, all, {0xA5, 0x11, 0xF1, 0x0F, 6, 0xFE, 10, 20, 30, 40, 50, 200, 0, 0, 4, 0}},
        {Mix::Music, Mutes{}, {0xA5, 0x11, 0xF1, 0x0F, 1, 0x80, 10, 20, 30, 40, 50, 200, 0, 0, 4, 0}},
        {Mix::Echo, mainLeft, {0xA5, 0x13, 0xF1, 0x0E, 8, 0x02, 10, 0, 20, 0, 30, 0, 40, 0, 50, 0, 200, 0}},
        {Mix::Reverb, mainLeft, {0xA5, 0x13, 0xF1, 0x0E, 8, 0x03, 10, 0, 20, 0, 30, 0, 40, 0, 50, 0, 200, 0}},
        {Mix::Reverb, all, {0xA5, 0x13, 0xF1, 0x0E, 8, 0x7F, 10, 0, 20, 0, 30, 0, 40, 0, 50, 0, 200, 0}},
    };
    for (const Row& r : rows) EXPECT_EQ(Bytes(MixLevels(r.mix, r.mutes, levels)), Sealed(r.bytes));
}

TEST(Delays, SixLittleEndianDelaysThenFF) {
    EXPECT_EQ(Bytes(Delays({1, 2, 3, 4, 5, 300})),
              Sealed({0xA5, 0x13, 0xF1, 0x10, 4, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 0x2C, 0x01, 0xFF}));
}

TEST(PathFilters, ConvertedToEffectPathFrames) {
    struct Row {
        PathFilter which;
        int hz;
        int preDelay;
        std::vector<int> bytes;
    } rows[] = {
        // At its "off" end a filter goes out switched off.
        {PathFilter::EchoHighPass,
         20,
         300,
         {0xA5, 0x12, 0xF1, 0x09, 8, 0, 20, 0, 0x50, 0x5F, 60, 0, 5, 0, 0, 0x2C, 0x01}},
        {PathFilter::EchoHighPass,
         21,
         0,
         {0xA5, 0x12, 0xF1, 0x09, 8, 0, 21, 0, 0x50, 0x5F, 60, 0, 5, 1, 0, 0, 0}},
        {PathFilter::EchoLowPass,
         20000,
         7,
         {0xA5, 0x12, 0xF1, 0x09, 8, 0, 0x20, 0x4E, 0x50, 0x5F, 60, 0, 4, 0, 4, 7, 0}},
        {PathFilter::ReverbHighPass,
         100,
         9,
         {0xA5, 0x12, 0xF1, 0x09, 8, 1, 100, 0, 0x50, 0x5F, 60, 0, 5, 1, 0, 9, 0}},
        {PathFilter::ReverbLowPass,
         15000,
         9,
         {0xA5, 0x12, 0xF1, 0x09, 8, 1, 0x98, 0x3A, 0x50, 0x5F, 60, 0, 4, 1, 4, 9, 0}},
    };
    for (const Row& r : rows) {
        const ZemCmd::EqFrame band = PathFilterBand(r.which, r.hz, 5);
        EXPECT_EQ(band.Length(), 17);
        EXPECT_EQ(band[16], band.CheckSum());
        EXPECT_TRUE(IsEffectPath(band));
        EXPECT_EQ(Bytes(ToEffectPath(band, r.preDelay)), Sealed(r.bytes)) << r.hz;
    }
}

TEST(PathFilters, BandFramesOfOtherChannelsStayAsTheyAre) {
    ZemCmd::EqFrame e;
    for (int code : {0, 1, 6, 9, 15}) {
        e[4] = static_cast<std::uint8_t>(code << 1 | 1);
        EXPECT_EQ(ChannelCode(e), code);
        EXPECT_FALSE(IsEffectPath(e)) << code;
    }
}

TEST(PathFilters, ConversionTakesFrequencyGainQTypeOnAndBand) {
    // An effect-page band frame (channel 7): the frequency's third byte is dropped.
    ZemCmd::EqFrame e;
    e[4] = 7 << 1 | 1;
    e[5] = 2;
    e[6] = 0x0B;
    e[7] = 0x34;
    e[8] = 0x64;
    e[9] = 0x45;
    e[10] = 0x23;
    e[11] = 0x8C;
    e[12] = 0x00;
    e[14] = 0x01;
    e[15] = 0;
    e.Seal();
    EXPECT_EQ(Bytes(ToEffectPath(e, 0x102)),
              Sealed({0xA5, 0x12, 0xF1, 0x09, 8, 0, 0x45, 0x23, 0x34, 0x64, 0x8C, 0, 0, 1, 2, 0x02, 0x01}));
}

TEST(SystemFrames, MusicInputHeartbeatAndLimiter) {
    const int actions[] = {0x09, 0x19, 0x29, 0x39, 0x49};
    for (int input = 0; input < 5; ++input)
        EXPECT_EQ(Bytes(MusicInput(input)), Sealed({0xA5, 0x06, 0xF9, 0x03, actions[input]}));
    EXPECT_EQ(Bytes(MusicInput(5)), Sealed({0xA5, 0x06, 0xF9, 0x03, 0}));
    EXPECT_EQ(Bytes(MusicInput(-1)), Sealed({0xA5, 0x06, 0xF9, 0x03, 0}));
    EXPECT_EQ(Bytes(Heartbeat()), (std::vector<int>{0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD}));

    ZemCmd::AlcFrame alc;
    alc[4] = 3;
    alc[7] = 9;
    alc.Seal();
    std::vector<int> second = Bytes(alc);
    second[6] = 1;
    second.back() = (second.back() + 1) & 0xFF;
    EXPECT_EQ(Bytes(SecondMainLimiter(alc)), second);
}

TEST(Mutes, MaskAndAction) {
    struct Row {
        Mutes mutes;
        int lastMask;
        int mask;
        int action;
    } rows[] = {
        {{1, 0, 0, 0}, 0, 0x01, 0x17},     // main left muted
        {{0, 0, 1, 0}, 0, 0x08, 0x28},     // bass alone
        {{1, 0, 1, 0}, 0, 0x09, 0x17},     // main and bass together: the main action wins
        {{1, 0, 1, 0}, 0x01, 0x09, 0x28},  // then the bass goes out with the next change
        {{3, 1, 0, 3}, 0x03, 0x37, 0xD8},  // mid and surround pair, main as sent
        {{0, 0, 0, 0}, 0x03, 0x00, 0x07},  // main unmuted
        {{0, 0, 0, 0}, 0x08, 0x00, 0x08},  // bass unmuted
    };
    for (const Row& r : rows) {
        EXPECT_EQ(MuteMask(r.mutes), r.mask);
        EXPECT_EQ(MuteAction(r.mutes, r.lastMask), r.action) << r.mask << " " << r.lastMask;
    }
}

TEST(Watchdog, LostOnTheFifthSilentTickAndRefilledByAnyByte) {
    int count = kWatchdogFull;
    const bool lostAt[] = {false, false, false, false, true};
    for (bool expected : lostAt) EXPECT_EQ(WatchdogTick(count, false), expected);

    count = kWatchdogFull;
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(WatchdogTick(count, false));
    EXPECT_FALSE(WatchdogTick(count, true));
    EXPECT_EQ(count, kWatchdogFull);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(WatchdogTick(count, false));
    EXPECT_TRUE(WatchdogTick(count, false));
}

}  // namespace
