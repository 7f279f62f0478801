#include "sim/answers.h"

#include <gtest/gtest.h>

#include "tests/sim/read_back_table.h"

namespace {

using simtest::ReadBackSteps;

ZemCmd::Cmd ToCmd(const std::vector<std::uint8_t>& b) {
    ZemCmd::Cmd c;
    for (std::size_t i = 0; i < b.size(); ++i) c[i] = b[i];
    return c;
}

std::optional<ZemCmd::Cmd> Ask(const sim::Store& s, int g, int c, int p1 = 0, int p2 = 0, int p3 = 0) {
    return sim::AnswerRead(s, ToCmd(simtest::Request({g, c, p1, p2, p3, 0})));
}

int Le16(const ZemCmd::Cmd& a, int at) {
    return a[at] | (a[at + 1] << 8);
}

TEST(Answers, EveryReadBackRequestIsAnsweredWithItsGroupCodeAndLength) {
    const sim::Store s = sim::DefaultStore();
    const auto steps = ReadBackSteps();
    ASSERT_EQ(steps.size(), 65u);
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << std::hex << step.group << " " << step.code << " p " << step.p1
                                        << "," << step.p2 << "," << step.p3);
        const auto a = Ask(s, step.group, step.code, step.p1, step.p2, step.p3);
        ASSERT_TRUE(a.has_value());
        EXPECT_EQ((*a)[0], 0xA5);
        EXPECT_EQ((*a)[1], step.answerLength);
        EXPECT_EQ((*a)[2], 0xF6);
        EXPECT_EQ((*a)[3], step.group);
        EXPECT_EQ((*a)[4], step.code);
        std::vector<std::uint8_t> bytes(a->data(), a->data() + step.answerLength);
        EXPECT_EQ(bytes.back(), simtest::Sum(bytes, bytes.size() - 1));
    }
}

TEST(Answers, RequestsThisProcessorDoesNotKnowGetNoAnswer) {
    const sim::Store s = sim::DefaultStore();
    struct Case {
        int g, c, p1, p2, p3;
    };
    const Case cases[] = {
        {0x04, 0xC3, 0, 0, 0},   // unknown code
        {0x05, 0xC2, 0, 1, 0},   // unknown group
        {0x04, 0xC2, 0, 1, 1},   // output EQ channel 1
        {0x04, 0xC2, 0, 1, 5},   // output EQ channel above 4
        {0x02, 0x81, 0, 17, 0},  // band beyond 16
        {0x07, 0x99, 0, 5, 0},   // echo has bands 0..4
        {0x08, 0x91, 0, 2, 0},   // reverb has its two filters only
        {0x04, 0xC0, 5, 0, 0},   // limiter channel beyond 4
    };
    for (const Case& c : cases)
        EXPECT_FALSE(Ask(s, c.g, c.c, c.p1, c.p2, c.p3).has_value()) << c.g << " " << c.c;
}

TEST(Answers, FieldsSitWhereTheConsoleReadsThem) {
    sim::Store s = sim::DefaultStore();
    s.micMaster = 0xF6;
    s.effectMaster = 0x11;
    s.musicMaster = 0x88;
    s.levels[sim::kEchoLevel] = {11, 12, 13, 14, 15, 16};
    s.delays = {1, 2, 3, 4, 5, 6};
    s.limiters[3] = sim::Limiter{40, 7, -20, 60};
    s.limiters[sim::kMicLimiter] = sim::Limiter{90, 32, -34, 100};
    s.gateOn = 1;
    s.gateStart = 55;
    s.gateRelease = 33;
    s.fbcOn = 1;
    s.fbc = {100, 4, 0};
    s.group = 7;
    s.musicInput = 3;
    s.mutes = 0x2A;
    s.limits = {1, 80, 2, 81, 3, 60};
    s.Eq(sim::Path::Bass)[2] = sim::Band{1, 25950, 70000, 1250, 6, 0};
    s.Eq(sim::Path::Echo)[4] = sim::Band{1, 24400, 8000, 60, 4, 123};

    EXPECT_EQ((*Ask(s, 0x02, 0x80))[6], 0xF6);
    EXPECT_EQ((*Ask(s, 0x02, 0x85))[6], 0x11);
    EXPECT_EQ((*Ask(s, 0x01, 0xA0))[6], 0x88);

    const auto echo = *Ask(s, 0x07, 0x9A);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(echo[6 + i], 11 + i);
    const auto delays = *Ask(s, 0x04, 0xC1);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(delays[6 + i], 1 + i);

    const auto lim = *Ask(s, 0x04, 0xC0, 3);
    EXPECT_EQ(lim[6], 3);
    EXPECT_EQ(Le16(lim, 7), 40);
    EXPECT_EQ(Le16(lim, 9), 7);
    EXPECT_EQ(lim[11], -20 + 64);
    EXPECT_EQ(lim[12], 60);
    const auto mic = *Ask(s, 0x02, 0x82);
    EXPECT_EQ(Le16(mic, 7), 90);
    EXPECT_EQ(Le16(mic, 9), 32);
    EXPECT_EQ(mic[11], 30);
    EXPECT_EQ(mic[12], 100);

    const auto gate = *Ask(s, 0x02, 0x83);
    EXPECT_EQ(gate[5], 1);
    EXPECT_EQ(gate[6], 55);
    EXPECT_EQ(gate[7], 33);
    const auto fbc = *Ask(s, 0x02, 0x84);
    EXPECT_EQ(fbc[5], 1);
    EXPECT_EQ(fbc[6], 100);
    EXPECT_EQ(fbc[7], 4);
    EXPECT_EQ(fbc[8], 0);

    const auto status = *Ask(s, 0xF0, 0xD0);
    EXPECT_EQ(status[5], 7);
    EXPECT_EQ(status[6], 0x30);
    EXPECT_EQ(status[7], 0x2A);
    const int limits[] = {1, 80, 2, 81, 3, 60};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(status[9 + i], limits[i]);

    const auto bass = *Ask(s, 0x04, 0xC2, 0, 2, 3);
    EXPECT_EQ(bass[5], 0);
    EXPECT_EQ(bass[6], 2);
    EXPECT_EQ(bass[7], 3);
    EXPECT_EQ(bass[8], 1);
    EXPECT_EQ(Le16(bass, 9), 25950);
    EXPECT_EQ(Le16(bass, 11), 70000 & 0xFFFF);
    EXPECT_EQ(Le16(bass, 13), 1250);
    EXPECT_EQ(bass[15], 6);

    const auto lowPass = *Ask(s, 0x07, 0x99, 0, 4);
    EXPECT_EQ(Le16(lowPass, 11), 8000);
    EXPECT_EQ(Le16(lowPass, 16), 123);
}

TEST(Answers, DefaultEffectBlockIsTheConsolesDefaultFrame) {
    // The effect block frame with every slider at its default, bytes 6..20.
    const std::uint8_t frame[] = {0x46, 0x5A, 0x64, 0xC8, 0x00, 0x1E, 0x64, 0x28,
                                  0x3C, 0x64, 0x00, 0x64, 0x64, 0x32, 0x32};
    const auto a = *Ask(sim::DefaultStore(), 0x08, 0x90);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(a[6 + i], frame[i]) << "byte " << 6 + i;
}

TEST(Answers, DefaultMastersReadBackAsTheStartPositions) {
    // The console's start positions are 0; it computes mic [6]+70, effect [6]+60 and music from [6].
    const sim::Store s = sim::DefaultStore();
    EXPECT_EQ(static_cast<std::int8_t>((*Ask(s, 0x02, 0x80))[6]) + 70, 0);
    EXPECT_EQ(static_cast<std::int8_t>((*Ask(s, 0x02, 0x85))[6]) + 60, 0);
    int v = (*Ask(s, 0x01, 0xA0))[6];
    if (v > 24) v -= 256;
    EXPECT_EQ(v >= 0 ? v + 60 : (v + 120) / 2, 0);
}

}  // namespace
