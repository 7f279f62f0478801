#include "console/reply_decode.h"

#include <gtest/gtest.h>

#include <tuple>

#include "answer.h"

using reply::Answer;
using reply::Kind;

namespace {

Answer Of(const AnswerWords& a) {
    return Answer(a.data());
}

TEST(ReplyDecode, MasterPositions) {
    // clang-format off
    const std::tuple<int (*)(int), int, int> cases[] = {
        {reply::MusicMasterPos, 0, 60}, {reply::MusicMasterPos, 24, 84}, {reply::MusicMasterPos, 0xFF, 59},
        {reply::MusicMasterPos, 0x88, 0}, {reply::MusicMasterPos, 25, 201}, {reply::MicMasterPos, 0xF6, 60},
        {reply::MicMasterPos, 0x05, 75}, {reply::EffectMasterPos, 0, 60}, {reply::EffectMasterPos, 0xFE, 58}};
    // clang-format on
    for (const auto& [pos, byte, expected] : cases) EXPECT_EQ(pos(byte), expected) << byte;
}

TEST(ReplyDecode, ClassifiesByClassGroupAndCode) {
    // clang-format off
    const std::pair<AnswerWords, Kind> cases[] = {
        {MakeAnswer(0x01, 0xA0, {0, 0}, 0xF4), Kind::NotAnswer}, {MakeAnswer(0x04, 0xC3, {0}), Kind::Unknown},
        {MakeAnswer(0x01, 0xA3, {0}), Kind::Unknown}, {MakeAnswer(0x06, 0xB1, {0}), Kind::Unknown},
        {MakeAnswer(0x05, 0xC0, {0}), Kind::Unknown}, {MakeAnswer(0x02, 0x88, {0}), Kind::PassOver},
        {MakeAnswer(0x07, 0x98, {0}), Kind::PassOver}, {MakeAnswer(0x02, 0x81, {1, 3, 0, 1}), Kind::PassOver},
        {BandAnswer(0x02, 0x81, 3, 0, 1, 25600, 100, 100, 0), Kind::MicEq},
        {BandAnswer(0x02, 0x81, 3, 1, 1, 25600, 100, 100, 0), Kind::MicEq},
        {BandAnswer(0x02, 0x81, 3, 2, 1, 25600, 100, 100, 0), Kind::PassOver},
        {BandAnswer(0x04, 0xC2, 0, 3, 1, 25600, 100, 100, 4), Kind::Crossover},
        {BandAnswer(0x04, 0xC2, 1, 3, 1, 25600, 100, 100, 0), Kind::OutputEq},
        {BandAnswer(0x04, 0xC2, 0, 2, 1, 25600, 100, 100, 0), Kind::OutputEq},
        {MakeAnswer(0x08, 0x92, {0}), Kind::MixLevels}, {MakeAnswer(0xF0, 0xD0, {0}), Kind::Status},
        {MakeAnswer(0xF0, 0x77, {0}), Kind::Unknown}};
    // clang-format on
    for (const auto& [a, kind] : cases)
        EXPECT_EQ(Of(a).Classify(), kind) << std::hex << a.w[3] << " " << a.w[4];
}

TEST(ReplyDecode, BandFields) {
    // gain field, Hz, Q field -> gain dB, Q
    // clang-format off
    const std::tuple<int, int, int, float, float> cases[] = {{25600, 1000, 100, 0.0f, 1.0f},
        {25950, 20000, 450, 3.5f, 4.5f}, {0x5F50, 80, 70, -12.0f, 0.7f}, {25600 - 2400, 20, 12800, -24.0f, 128.0f}};
    // clang-format on
    for (const auto& [gainField, hz, qField, gain, q] : cases) {
        const reply::Band b =
            reply::DecodeBand(Of(BandAnswer(0x07, 0x99, 4, 0, 1, gainField, hz, qField, 5, 300)));
        EXPECT_EQ(std::tie(b.index, b.gainField, b.freq, b.code, b.preDelay),
                  std::tuple(4, gainField, hz, 5, 300));
        EXPECT_FLOAT_EQ(b.gain, gain) << gainField;
        EXPECT_FLOAT_EQ(b.q, q);
    }
}

TEST(ReplyDecode, LimiterAndItsPage) {
    // start, multiplier field, limit byte, ratio -> limit, ratio, start, multiplier
    // clang-format off
    const std::tuple<int, int, int, int, std::tuple<int, int, int, int>> cases[] = {
        {0, 7, 30, 5, {-34, 5, 1, 0}}, {50, 2, 84, 100, {20, 100, 50, 2}}, {90, 32, 64, 0, {0, 0, 90, 32}},
        {50, 2000, 64, 0, {0, 0, 50, 689}}};  // 100000 wraps to 34464 before the division
    // clang-format on
    for (const auto& [start, field, limitByte, ratio, expected] : cases) {
        const auto l = reply::DecodeLimiter(Of(MakeAnswer(
            0x04, 0xC0, {0, 2, start & 0xFF, start >> 8, field & 0xFF, field >> 8, limitByte, ratio})));
        EXPECT_EQ(std::tie(l.limit, l.ratio, l.start, l.multiplier), expected) << start << "x" << field;
    }
    const std::pair<int, int> pages[] = {{0, reply::kMainOut}, {1, reply::kMainOut}, {2, reply::kBassOut},
                                         {3, reply::kMidOut},  {4, reply::kSubOut},  {9, reply::kSubOut}};
    for (const auto& [channel, page] : pages) EXPECT_EQ(reply::LimiterPage(channel), page) << channel;
}

TEST(ReplyDecode, GateFbcLevelsStatus) {
    EXPECT_EQ(reply::DecodeGate(Of(MakeAnswer(2, 0x83, {0, 40, 10}))).start, -81);  // off
    const reply::Gate on = reply::DecodeGate(Of(MakeAnswer(2, 0x83, {1, 40, 10})));
    EXPECT_EQ(std::tie(on.start, on.release), std::tuple(-40, -10));

    const std::pair<std::vector<int>, int> fbc[] = {{{1, 100, 10, 0}, 0}, {{1, 100, 7, 0}, 1},
                                                    {{1, 100, 4, 0}, 2},  {{1, 100, 1, 0}, 3},
                                                    {{0, 100, 7, 0}, 0},  {{1, 100, 7, 1}, 0}};
    for (const auto& [bytes, mode] : fbc)
        EXPECT_EQ(reply::DecodeFbcMode(Of(MakeAnswer(2, 0x84, bytes))), mode);

    const std::tuple<int, int, int> levels[] = {
        {0x01, 0xA2, 0}, {0x06, 0xB0, 1}, {0x07, 0x9A, 2}, {0x08, 0x92, 3}};
    for (const auto& [group, code, kind] : levels)
        EXPECT_EQ(reply::LevelKind(Of(MakeAnswer(group, code, {}))), kind);

    const reply::Status s =
        reply::DecodeStatus(Of(MakeAnswer(0xF0, 0xD0, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6})));
    EXPECT_EQ(std::tie(s.preset, s.musicInput, s.mutes), std::tuple(-1, 5, 0x3F));
    EXPECT_EQ(reply::StatusTrace(s), "[recv]mic 1,2;musuc 3,4;effect 5,6\n");
}

}  // namespace
