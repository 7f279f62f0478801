#include "console/reply_decode.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "answer.h"

using reply::Answer;
using reply::Kind;

namespace {

TEST(ReplyDecode, MasterPositions) {
    struct Case {
        int (*pos)(int);
        int byte;
        int expected;
    };
    const Case cases[] = {
        {reply::MusicMasterPos, 0, 60},     {reply::MusicMasterPos, 24, 84},
        {reply::MusicMasterPos, 0xFF, 59},  {reply::MusicMasterPos, 0x88, 0},
        {reply::MusicMasterPos, 25, 201},   {reply::MicMasterPos, 0xF6, 60},
        {reply::MicMasterPos, 0x05, 75},    {reply::EffectMasterPos, 0, 60},
        {reply::EffectMasterPos, 0xFE, 58},
    };
    for (const Case& c : cases) EXPECT_EQ(c.pos(c.byte), c.expected) << c.byte;
}

TEST(ReplyDecode, ClassifiesByClassGroupAndCode) {
    struct Case {
        AnswerWords a;
        Kind kind;
    };
    const Case cases[] = {
        {MakeAnswer(0x01, 0xA0, {0, 0}, 0xF4), Kind::NotAnswer},
        {MakeAnswer(0x04, 0xC3, {0}), Kind::Unknown},
        {MakeAnswer(0x01, 0xA3, {0}), Kind::Unknown},
        {MakeAnswer(0x06, 0xB1, {0}), Kind::Unknown},
        {MakeAnswer(0x05, 0xC0, {0}), Kind::Unknown},
        {MakeAnswer(0x02, 0x88, {0}), Kind::PassOver},
        {MakeAnswer(0x07, 0x98, {0}), Kind::PassOver},
        {BandAnswer(0x02, 0x81, 3, 0, 1, 25600, 100, 100, 0), Kind::MicEq},
        {BandAnswer(0x02, 0x81, 3, 1, 1, 25600, 100, 100, 0), Kind::MicEq},
        {BandAnswer(0x02, 0x81, 3, 2, 1, 25600, 100, 100, 0), Kind::PassOver},
        {MakeAnswer(0x02, 0x81, {1, 3, 0, 1}), Kind::PassOver},
        {BandAnswer(0x04, 0xC2, 0, 3, 1, 25600, 100, 100, 4), Kind::Crossover},
        {BandAnswer(0x04, 0xC2, 1, 3, 1, 25600, 100, 100, 0), Kind::OutputEq},
        {BandAnswer(0x04, 0xC2, 0, 2, 1, 25600, 100, 100, 0), Kind::OutputEq},
        {MakeAnswer(0x08, 0x92, {0}), Kind::MixLevels},
        {MakeAnswer(0xF0, 0xD0, {0}), Kind::Status},
        {MakeAnswer(0xF0, 0x77, {0}), Kind::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Answer(c.a.data()).Classify(), c.kind) << std::hex << c.a.w[3] << " " << c.a.w[4];
}

TEST(ReplyDecode, BandFields) {
    struct Case {
        int gainField, hz, qField;
        float gain, q;
    };
    const Case cases[] = {
        {25600, 1000, 100, 0.0f, 1.0f},
        {25950, 20000, 450, 3.5f, 4.5f},
        {0x5F50, 80, 70, -12.0f, 0.7f},
        {25600 - 2400, 20, 12800, -24.0f, 128.0f},
    };
    for (const Case& c : cases) {
        const auto a = BandAnswer(0x07, 0x99, 4, 0, 1, c.gainField, c.hz, c.qField, 5, 300);
        const reply::Band b = reply::DecodeBand(Answer(a.data()));
        EXPECT_EQ(b.index, 4);
        EXPECT_EQ(b.gainField, c.gainField);
        EXPECT_FLOAT_EQ(b.gain, c.gain) << c.gainField;
        EXPECT_EQ(b.freq, c.hz);
        EXPECT_FLOAT_EQ(b.q, c.q);
        EXPECT_EQ(b.code, 5);
        EXPECT_EQ(b.preDelay, 300);
    }
}

TEST(ReplyDecode, Limiter) {
    struct Case {
        int start, field, limitByte, ratio;
        reply::Limiter expected;
    };
    const Case cases[] = {
        {0, 7, 30, 5, {-34, 5, 1, 0}},
        {50, 2, 84, 100, {20, 100, 50, 2}},
        {90, 32, 64, 0, {0, 0, 90, 32}},
        {50, 2000, 64, 0, {0, 0, 50, 689}},  // 100000 wraps to 34464 before the division
    };
    for (const Case& c : cases) {
        const auto a = MakeAnswer(
            0x04, 0xC0,
            {0, 2, c.start & 0xFF, c.start >> 8, c.field & 0xFF, c.field >> 8, c.limitByte, c.ratio});
        const reply::Limiter l = reply::DecodeLimiter(Answer(a.data()));
        EXPECT_EQ(l.limit, c.expected.limit);
        EXPECT_EQ(l.ratio, c.expected.ratio);
        EXPECT_EQ(l.start, c.expected.start);
        EXPECT_EQ(l.multiplier, c.expected.multiplier) << c.start << "x" << c.field;
    }
}

TEST(ReplyDecode, LimiterChannelsFollowTheLimiterFrame) {
    const std::pair<int, int> cases[] = {{0, reply::kMainOut}, {1, reply::kMainOut}, {2, reply::kBassOut},
                                         {3, reply::kMidOut},  {4, reply::kSubOut},  {9, reply::kSubOut}};
    for (const auto& [channel, page] : cases) EXPECT_EQ(reply::LimiterPage(channel), page) << channel;
}

TEST(ReplyDecode, GateFbcLevelsStatus) {
    EXPECT_EQ(reply::DecodeGate(Answer(MakeAnswer(2, 0x83, {0, 40, 10}).data())).start, -81);
    const reply::Gate on = reply::DecodeGate(Answer(MakeAnswer(2, 0x83, {1, 40, 10}).data()));
    EXPECT_EQ(on.start, -40);
    EXPECT_EQ(on.release, -10);

    const std::pair<std::vector<int>, int> fbc[] = {{{1, 100, 10, 0}, 0}, {{1, 100, 7, 0}, 1},
                                                    {{1, 100, 4, 0}, 2},  {{1, 100, 1, 0}, 3},
                                                    {{0, 100, 7, 0}, 0},  {{1, 100, 7, 1}, 0}};
    for (const auto& [bytes, mode] : fbc)
        EXPECT_EQ(reply::DecodeFbcMode(Answer(MakeAnswer(2, 0x84, bytes).data())), mode);

    EXPECT_EQ(reply::LevelKind(Answer(MakeAnswer(0x01, 0xA2, {}).data())), 0);
    EXPECT_EQ(reply::LevelKind(Answer(MakeAnswer(0x06, 0xB0, {}).data())), 1);
    EXPECT_EQ(reply::LevelKind(Answer(MakeAnswer(0x07, 0x9A, {}).data())), 2);
    EXPECT_EQ(reply::LevelKind(Answer(MakeAnswer(0x08, 0x92, {}).data())), 3);

    const auto st = MakeAnswer(0xF0, 0xD0, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6});
    const reply::Status s = reply::DecodeStatus(Answer(st.data()));
    EXPECT_EQ(s.preset, -1);
    EXPECT_EQ(s.musicInput, 5);
    EXPECT_EQ(s.mutes, 0x3F);
    EXPECT_EQ(reply::StatusTrace(s), "[recv]mic 1,2;musuc 3,4;effect 5,6\n");
}

}  // namespace
