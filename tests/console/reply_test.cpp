// Read-back answers decoded, and applied to the pages without notifying or arming a timer.
#include <gtest/gtest.h>

#include "console/master_index.h"
#include "console/reply_decode.h"
#include "link/frame.h"
#include "link/output_channels.h"
#include "link/readback_codes.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "tests/console/support.h"

using reply::Answer;
using reply::Kind;

namespace {

// Answer frames as the reader hands them over: one byte per 32-bit word.
using AnswerWords = std::array<std::uint32_t, 50>;

// Group/code pairs no answer row takes.
constexpr readback::Pair kNoSuchCode{0x06, 0xB1};
constexpr readback::Pair kNoSuchStatusCode{0xF0, 0x77};
constexpr readback::Pair kNoSuchOutputCode{0x04, 0xC3};

// A5 len class group code, `data` from byte 5, then the checksum.
inline AnswerWords MakeAnswer(readback::Pair pair, const std::vector<int>& data,
                              int cls = ZemCmd::kClassAnswer) {
    AnswerWords a;
    std::vector<int> bytes = {0xA5, static_cast<int>(data.size()) + 6, cls, pair.group, pair.code};
    bytes.insert(bytes.end(), data.begin(), data.end());
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) sum += a[k] = static_cast<std::uint32_t>(bytes[k] & 0xFF);
    a[bytes.size()] = sum & 0xFF;
    return a;
}

// An EQ band answer: 0, band, channel, enabled, gain field, Hz, Q field, filter code, pre-delay.
inline AnswerWords BandAnswer(readback::Pair pair, int band, int channel, int enabled, int gainField, int hz,
                              int qField, int filterCode, int preDelay = 0) {
    return MakeAnswer(pair, {0, band, channel, enabled, gainField & 0xFF, gainField >> 8, hz & 0xFF, hz >> 8,
                             qField & 0xFF, qField >> 8, filterCode, preDelay & 0xFF, preDelay >> 8});
}

const auto Of = [](const AnswerWords& a) { return Answer(a.data()); };

TEST(ReplyDecode, MasterPositions) {  // beyond a slider's range: the applier's test clamps them
    struct Case {
        const char* name;
        int (*pos)(int);
        int byte;
        int expected;
    };
    const Case cases[] = {
        {"music 0 dB", reply::MusicMasterPos, 0, 60},   {"music top", reply::MusicMasterPos, 24, 84},
        {"music -1", reply::MusicMasterPos, 0xFF, 59},  {"music bottom", reply::MusicMasterPos, 0x88, 0},
        {"mic -10", reply::MicMasterPos, 0xF6, 60},     {"mic +5", reply::MicMasterPos, 0x05, 75},
        {"effect 0 dB", reply::EffectMasterPos, 0, 60}, {"effect -2", reply::EffectMasterPos, 0xFE, 58},
    };
    for (const Case& c : cases) EXPECT_EQ(c.pos(c.byte), c.expected) << c.name;
}

TEST(ReplyDecode, ClassifiesByClassGroupAndCode) {  // kinds the applier tests below do not reach
    struct Case {
        const char* name;
        AnswerWords answer;
        Kind kind;
    };
    const Case cases[] = {
        {"unknown code", MakeAnswer(kNoSuchCode, {0}), Kind::Unknown},
        {"unknown status code", MakeAnswer(kNoSuchStatusCode, {0}), Kind::Unknown},
        {"echo 0x98", MakeAnswer(readback::kEchoOther, {0}), Kind::PassOver},
        {"mic EQ channel 3", MakeAnswer(readback::kMicEq, {1, 3, 0, 1}), Kind::PassOver},
        {"subwoofer band 1", BandAnswer(readback::kOutputEq, 1, outch::kMixSubwoofer, 1, 25600, 100, 100, 0),
         Kind::OutputEq},
        {"centre band 0", BandAnswer(readback::kOutputEq, 0, outch::kMixCentre, 1, 25600, 100, 100, 0),
         Kind::OutputEq},
        {"reverb level", MakeAnswer(readback::kReverbLevel, {0}), Kind::MixLevels},
    };
    for (const Case& c : cases) EXPECT_EQ(Of(c.answer).Classify(), c.kind) << c.name;
}

TEST(ReplyDecode, BandFields) {
    struct Case {
        const char* name;
        int gainField, hz, qField;
        float gain, q;
    };
    const Case cases[] = {
        {"flat", 25600, 1000, 100, 0.0f, 1.0f},
        {"boost", 25950, 20000, 450, 3.5f, 4.5f},
        {"12db slope field", 0x5F50, 80, 70, -12.0f, 0.7f},
        {"lowest gain, highest Q", 25600 - 2400, 20, 12800, -24.0f, 128.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const reply::Band b = reply::DecodeBand(
            Of(BandAnswer(readback::kEchoEq, 4, 0, 1, c.gainField, c.hz, c.qField, 5, 300)));
        EXPECT_EQ(b.index, 4);
        EXPECT_EQ(b.gainField, c.gainField);
        EXPECT_EQ(b.freq, c.hz);
        EXPECT_EQ(b.code, 5) << "filter code";
        EXPECT_EQ(b.preDelay, 300);
        EXPECT_EQ(b.gain, c.gain);
        EXPECT_EQ(b.q, c.q);
    }
}

TEST(ReplyDecode, BandValuesBroughtIntoTheBandRecordsRanges) {
    // Hz 0 / 65535, gain field 0 (-256 dB) / 0xFFFF (+399 dB), Q field 0 / 65535
    const reply::Band low = reply::DecodeBand(Of(BandAnswer(readback::kMusicEq, 3, 0, 1, 0, 0, 0, 0)));
    EXPECT_EQ(low.freq, 20);
    EXPECT_EQ(low.gain, -24.0f);
    EXPECT_EQ(low.q, 0.4f);
    EXPECT_EQ(low.gainField, 0) << "the slope test needs the field as sent";
    const reply::Band high =
        reply::DecodeBand(Of(BandAnswer(readback::kMusicEq, 3, 0, 1, 0xFFFF, 65535, 65535, 0)));
    EXPECT_EQ(high.freq, 20000);
    EXPECT_EQ(high.gain, 12.0f);
    EXPECT_EQ(high.q, 128.0f);
}

TEST(ReplyDecode, MinimumLengthIsTheLastByteTheRowReadsPlusTheChecksum) {
    struct Case {
        const char* name;
        readback::Pair pair;
        int band;  // byte 6
        int minimum;
    };
    const Case cases[] = {
        {"fbc threshold", readback::kFbcThreshold, 0, 6},
        {"echo 0x98", readback::kEchoOther, 0, 6},
        {"music master", readback::kMusicMaster, 0, 8},
        {"mic master", readback::kMicMaster, 0, 8},
        {"effect master", readback::kEffectMaster, 0, 8},
        {"noise gate", readback::kNoiseGate, 0, 9},
        {"fbc", readback::kFbc, 0, 10},
        {"music level", readback::kMusicLevel, 0, 12},
        {"direct level", readback::kDirectLevel, 0, 12},
        {"echo level", readback::kEchoLevel, 0, 12},
        {"reverb level", readback::kReverbLevel, 0, 12},
        {"delays", readback::kDelays, 0, 13},
        {"mic limiter", readback::kMicLimiter, 0, 14},
        {"output limiter", readback::kOutputLimiter, outch::kLimiterSubwoofer, 14},
        {"status", readback::kStatus, 0, 16},
        {"music EQ", readback::kMusicEq, 0, 17},
        {"mic EQ", readback::kMicEq, 5, 17},
        {"output EQ", readback::kOutputEq, 0, 17},
        {"echo EQ band 2", readback::kEchoEq, 2, 17},
        {"echo low-pass with pre-delay", readback::kEchoEq, 4, 19},
        {"reverb high-pass", readback::kReverbEq, 0, 17},
        {"reverb low-pass with pre-delay", readback::kReverbEq, 1, 19},
        {"effect block", readback::kEffectBlock, 0, 22},
        {"unknown output code", kNoSuchOutputCode, 0, 0},
        {"unknown status code", kNoSuchStatusCode, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnswerWords a = MakeAnswer(c.pair, {0, c.band});
        EXPECT_EQ(Of(a).MinimumLength(), c.minimum);
        a[1] = static_cast<std::uint32_t>(c.minimum);
        EXPECT_TRUE(Of(a).Whole()) << "the minimum length itself is whole";
        a[1] = static_cast<std::uint32_t>(c.minimum - 1);
        EXPECT_EQ(Of(a).Whole(), c.minimum == 0) << "one byte fewer is short";
    }
}

TEST(ReplyDecode, Limiter) {
    struct Case {
        const char* name;
        int start, field, limitByte, ratioByte;
        int limit, ratio, startPos, multiplier;
    };
    const Case cases[] = {
        {"start 0 reads as 1", 0, 7, 30, 5, -34, 5, 1, 0},
        {"top limit", 50, 2, 84, 100, 20, 100, 50, 2},
        {"longest multiplier", 90, 32, 64, 0, 0, 0, 90, 32},
        {"product wraps", 50, 2000, 64, 0, 0, 0, 50, 689},  // 100000 wraps to 34464 before the division
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto l = reply::DecodeLimiter(Of(
            MakeAnswer(readback::kOutputLimiter, {0, outch::kLimiterSubwoofer, c.start & 0xFF, c.start >> 8,
                                                  c.field & 0xFF, c.field >> 8, c.limitByte, c.ratioByte})));
        EXPECT_EQ(l.limit, c.limit);
        EXPECT_EQ(l.ratio, c.ratio);
        EXPECT_EQ(l.start, c.startPos);
        EXPECT_EQ(l.multiplier, c.multiplier);
    }
}

TEST(ReplyDecode, LimiterChannelsNumberTheSubwooferBeforeTheCentre) {
    using namespace pageindex;
    EXPECT_EQ(reply::LimiterPage(outch::kLimiterMain), kMainOut);
    EXPECT_EQ(reply::LimiterPage(outch::kLimiterMainSecond), kMainOut);
    EXPECT_EQ(reply::LimiterPage(outch::kLimiterSubwoofer), kBassOut);
    EXPECT_EQ(reply::LimiterPage(outch::kLimiterCentre), kMidOut);
    EXPECT_EQ(reply::LimiterPage(outch::kLimiterSurround), kSubOut);
    EXPECT_EQ(reply::LimiterPage(9), kSubOut) << "a channel past the outputs";
}

TEST(ReplyDecode, GateFbcLevelsStatus) {
    const reply::Gate on =
        reply::DecodeGate(Of(MakeAnswer(readback::kNoiseGate, {1, 40, 10})));  // off: applier
    EXPECT_EQ(on.start, -40);
    EXPECT_EQ(on.release, -10);

    // byte 7 picks the mode only when on (5) and byte 8 is 0
    struct FbcCase {
        const char* name;
        std::vector<int> bytes;
        int mode;
    };
    const FbcCase fbc[] = {
        {"no such step", {1, 100, 10, 0}, 0}, {"mode 1", {1, 100, 7, 0}, 1},
        {"mode 2", {1, 100, 4, 0}, 2},        {"mode 3", {1, 100, 1, 0}, 3},
        {"off", {0, 100, 7, 0}, 0},           {"byte 8 set", {1, 100, 7, 1}, 0},
    };
    for (const FbcCase& c : fbc)
        EXPECT_EQ(reply::DecodeFbcMode(Of(MakeAnswer(readback::kFbc, c.bytes))), c.mode) << c.name;

    EXPECT_EQ(reply::LevelKind(Of(MakeAnswer(readback::kMusicLevel, {}))), levelkind::kMusic);
    EXPECT_EQ(reply::LevelKind(Of(MakeAnswer(readback::kDirectLevel, {}))), levelkind::kDirect);
    EXPECT_EQ(reply::LevelKind(Of(MakeAnswer(readback::kEchoLevel, {}))), levelkind::kEcho);
    EXPECT_EQ(reply::LevelKind(Of(MakeAnswer(readback::kReverbLevel, {}))), levelkind::kReverb);

    // The status fields: through the applier below.
    EXPECT_EQ(reply::StatusTrace(reply::DecodeStatus(
                  Of(MakeAnswer(readback::kStatus, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6})))),
              "[recv]mic 1,2;musuc 3,4;effect 5,6\n");
}

class ApplyReply : public WindowTest {
  protected:
    void SetUp() override {
        Start(nullptr, [](auto& o) { o.firstConnectDelayMs = 1000000; });
        timersBefore = dialog->Timers().Count();
    }
    void TearDown() override {
        EXPECT_EQ(dialog->Timers().Count(), timersBefore);  // no debounce timer armed
        WindowTest::TearDown();
    }
    template <class T>
    T* PageOf(int i) {
        return dynamic_cast<T*>(dialog->PageAt(i));
    }
    int Apply(const AnswerWords& a) { return dialog->ApplyReply(a.data()); }
    std::vector<int> MuteBits() {
        std::vector<int> bits;
        for (int p : {pageindex::kMainOut, pageindex::kMidOut, pageindex::kBassOut, pageindex::kSubOut})
            bits.push_back(PageOf<chan::OutputPage>(p)->MuteBits());
        return bits;
    }
    int PresetItem() { return Control<QComboBox>(console::kIdPresetCombo)->currentIndex(); }
    std::size_t timersBefore = 0;
};

TEST_F(ApplyReply, ResultsAndTheDebugLog) {
    const auto& log = dialog->SetUpPage()->Log();
    const std::size_t lines = log.LineCount();
    EXPECT_EQ(Apply(MakeAnswer(readback::kMusicMaster, {0, 0}, ZemCmd::kClassRead)), 0) << "a request taken";
    EXPECT_EQ(log.LineCount(), lines) << "what is no answer is not printed";
    EXPECT_EQ(Apply(MakeAnswer(kNoSuchOutputCode, {0})), 0) << "an unknown pair taken";
    EXPECT_EQ(Apply(BandAnswer(readback::kOutputEq, 2, outch::kMixMainRight, 0, 25600 + 500, 1234, 200, 0)),
              1)
        << "the second main channel is taken and passed over";
    EXPECT_NE(log.Text().find("resv=a5 "), std::string::npos);
    // A length byte beyond the 50 entries prints those 50 and reads nothing past them.
    AnswerWords longer = MakeAnswer(readback::kFbcThreshold, {0});
    longer[1] = 0xFF;
    EXPECT_EQ(Apply(longer), 1);
    const std::string last = log.Text().substr(log.Text().rfind("resv="));
    EXPECT_EQ(std::count(last.begin(), last.end(), ' '), 50);
}

TEST_F(ApplyReply, MusicHighPassSlopesAndMicrophoneEq) {
    auto* music = dialog->Pages().Music();
    auto& mb = music->Model().band;
    Apply(BandAnswer(readback::kMusicEq, 0, 0, 1, 0x5AA0, 80, 70, 5));  // "24db": band 8 joins band 0
    EXPECT_EQ(music->SlopeItem(), 1);
    EXPECT_EQ(music->SliderPos(chan::id::kHighPass), 80);
    EXPECT_EQ(mb.freq[8], 80);
    EXPECT_EQ(mb.type[8], kTypeHighPass) << "at \"24db\" band 8 is the second high-pass";
    Apply(BandAnswer(readback::kMusicEq, 0, 0, 1, 0x5F50, 120, 70,
                     5));  // "12db": band 8 off, as the combo does
    EXPECT_EQ(music->SlopeItem(), 0);
    EXPECT_EQ(mb.freq[0], 120);
    EXPECT_EQ(mb.freq[8], 20000);
    EXPECT_EQ(mb.type[8], kTypeOff) << "band 8 would go out as a second high-pass";
    Apply(BandAnswer(readback::kMusicEq, 0, 0, 1, 0x6400, 150, 70, 5));  // another gain field: band 0 only
    EXPECT_EQ(music->SlopeItem(), 0);
    EXPECT_EQ(mb.freq[0], 150);
    EXPECT_EQ(mb.type[8], kTypeOff);
    // band 8 is not asked
    EXPECT_EQ(Apply(BandAnswer(readback::kMusicEq, 8, 0, 0, 25600 + 300, 5000, 200, 0)), 1);
    EXPECT_EQ(mb.freq[8], 20000);
    Apply(BandAnswer(readback::kMusicEq, 3, 0, 0, 25600 + 350, 2500, 250, 0));
    EXPECT_EQ(mb.freq[3], 2500);
    EXPECT_EQ(mb.gain[3], 3.5f);
    EXPECT_EQ(mb.q[3], 2.5f);
    EXPECT_EQ(mb.enabled[3], 0);

    auto* mic = dialog->Pages().Mic();
    auto& b = mic->Model().band;
    Apply(BandAnswer(readback::kMicEq, 0, 0, 1, 25600, 150, 100, 5));
    EXPECT_EQ(mic->SliderPos(pageid::kHighPassSlider), 150);
    EXPECT_EQ(b.type[0], kTypeHighPass);
    EXPECT_EQ(b.q[0], 0.6f) << "the microphone high-pass keeps its fixed Q";
    Apply(BandAnswer(readback::kMicEq, 5, 2, 1, 25600, 777, 100, 0));  // channel 2: passed over
    EXPECT_NE(b.freq[5], 777);
    Apply(BandAnswer(readback::kMicEq, 5, 1, 1, 25600 - 600, 777, 100, 0));
    EXPECT_EQ(b.freq[5], 777);
    EXPECT_EQ(b.gain[5], -6.0f);
    Apply(MakeAnswer(readback::kNoiseGate, {0, 30, 42}));
    Apply(MakeAnswer(readback::kFbc, {1, 100, 4, 0}));
    EXPECT_EQ(mic->SliderPos(pageid::kGateStartSlider), -81) << "a gate answered off starts at its off level";
    EXPECT_EQ(mic->SliderPos(pageid::kGateReleaseSlider), -42);
    EXPECT_EQ(mic->FbcMode(), 2);
}

TEST_F(ApplyReply, EchoLowPassAndCrossoverTouchTheGraphOnlyWhenShown) {
    auto* graph = dialog->Graph();
    const int graphFreq = graph->Curve().freq[4];
    Apply(BandAnswer(readback::kEchoEq, 4, 0, 1, 25600, 9000, 70, 4, 120));
    PageEffect* effect = dialog->Pages().Effect();
    const auto& fx = effect->Model().band;
    EXPECT_EQ(fx.freq[4], 9000);
    EXPECT_EQ(fx.type[4], kTypeLowPass);
    EXPECT_EQ(effect->SliderPos(chan::fx::kEchoPreDelay), 120);
    EXPECT_EQ(graph->Curve().freq[4], graphFreq) << "the music page is shown: the graph stays";

    dialog->TabStrip()->setCurrentIndex(pageindex::kEffect);
    Apply(BandAnswer(readback::kEchoEq, 4, 0, 1, 25600, 20000, 70, 4, 0));
    EXPECT_EQ(graph->Curve().freq[4], 20000);
    EXPECT_EQ(graph->Curve().type[4], kTypeOff) << "a low-pass at 20 kHz is off";

    dialog->TabStrip()->setCurrentIndex(pageindex::kBassOut);
    Apply(BandAnswer(readback::kOutputEq, 0, outch::kMixSubwoofer, 1, 25600 - 1000, 120, 50, 4));
    EXPECT_EQ(dialog->Pages().BassOut()->CrossoverHz(), 120);
    EXPECT_EQ(graph->Curve().freq[4], 120);
    EXPECT_EQ(graph->Curve().type[4], kTypeLowPass);
}

TEST_F(ApplyReply, EffectBlock) {
    auto* effect = dialog->Pages().Effect();
    Apply(MakeAnswer(readback::kEffectBlock,
                     {0, 30, 41, 42, 0x2C, 0x01, 43, 0, 44, 45, 0, 46, 47, 0, 48, 49}));  // bytes 5..20
    namespace fx = chan::fx;
    // clang-format off
    const std::pair<int, int> expected[] = {{fx::kDamp, 70}, {fx::kRoomSize, 41}, {fx::kWidth, 42},
        {fx::kEchoDelay, 300}, {fx::kEchoDecay, 43}, {fx::kEchoDirect, 44}, {fx::kEchoEffect, 45},
        {fx::kReverbDirect, 46}, {fx::kReverbEffect, 47}, {fx::kEchoInDry, 48}, {fx::kEchoInReverb, 49}};
    // clang-format on
    for (const auto& [id, value] : expected) {
        const SliderModel* s = effect->Slider(id);
        ASSERT_NE(s, nullptr) << id;
        EXPECT_EQ(s->pos, std::clamp(value, s->min, s->max)) << id;
    }
}

TEST_F(ApplyReply, StatusSetsMutesLimitsPresetAndConnected) {
    Apply(MakeAnswer(readback::kStatus, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(MuteBits(), (std::vector<int>{3, 1, 1, 3}));
    const auto& d = *dialog;
    console::VolumeLimits limits;  // the answer orders them microphone, music, effect
    limits.micStart = 1;
    limits.micEnd = 2;
    limits.musicStart = 3;
    limits.musicEnd = 4;
    limits.effectStart = 5;
    limits.effectEnd = 6;
    EXPECT_EQ(d.StoredVolumeLimits(), limits);
    EXPECT_EQ(d.LastMuteMask(), 0x3F);
    EXPECT_EQ(dialog->Pages().Music()->CheckedInput(), -1) << "input 5 is none of the buttons";
    EXPECT_EQ(PresetItem(), -1) << "group 0: no preset selected";
    EXPECT_TRUE(d.Connected()) << "the status answer ends the read-back";

    // Only the bass bit (3) and the second surround bit (5); preset 4; input "USB".
    Apply(MakeAnswer(readback::kStatus, {4, 0x30, 0x28, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(MuteBits(), (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(dialog->Pages().Music()->CheckedInput(), 3);
    EXPECT_EQ(PresetItem(), 3);
}

// The whole state an answer can change, as one text: the preset file's text, the master labels and
// what only the status answer sets.
// Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on `s += " " + x`.
std::string StateOf(CVelmor_Zem_R7Dlg& d) {
    std::string state = d.BuildPresetText();
    for (int id : {console::kIdMicValue, console::kIdEffectValue, console::kIdMusicValue})
        state.append(" label ").append(TextOf(d.Client(), id).toStdString());
    const console::VolumeLimits l = d.StoredVolumeLimits();
    for (int v : {l.micStart, l.micEnd, l.musicStart, l.musicEnd, l.effectStart, l.effectEnd,
                  d.LastMuteMask(), static_cast<int>(d.Connected())})
        state.append(" ").append(std::to_string(v));
    const auto* combo = win::FindControlAs<QComboBox>(d.Client(), console::kIdPresetCombo);
    state.append(" preset ").append(std::to_string(combo->currentIndex()));
    const auto* music = d.Pages().Music();
    state.append(" input ").append(std::to_string(music->CheckedInput()));
    return state;
}

TEST_F(ApplyReply, ShortAnswersAreRefusedAndApplyNothing) {
    // One answer of every row, each with values that differ from the start-up state.
    // clang-format off
    const AnswerWords answers[] = {
        MakeAnswer(readback::kMusicMaster, {0, 10}), MakeAnswer(readback::kMicMaster, {0, 0xF6}), MakeAnswer(readback::kEffectMaster, {0, 5}),
        MakeAnswer(readback::kMusicLevel, {0, 11, 0, 12, 13, 14, 0}), MakeAnswer(readback::kDirectLevel, {0, 11, 0, 12, 13, 14, 0}),
        MakeAnswer(readback::kEchoLevel, {0, 11, 0, 12, 13, 14, 0}), MakeAnswer(readback::kReverbLevel, {0, 11, 0, 12, 13, 14, 0}),
        BandAnswer(readback::kMusicEq, 3, 0, 1, 25600 + 350, 2500, 250, 0),
        BandAnswer(readback::kMicEq, 5, 0, 1, 25600 - 600, 777, 100, 0),
        MakeAnswer(readback::kMicLimiter, {0, 0, 90, 0, 3, 0, 70, 40}), MakeAnswer(readback::kOutputLimiter, {0, 2, 90, 0, 3, 0, 70, 40}),
        MakeAnswer(readback::kDelays, {0, 3, 4, 5, 6, 7, 8}), BandAnswer(readback::kOutputEq, 2, 0, 1, 25600 + 100, 1111, 100, 0),
        BandAnswer(readback::kOutputEq, 0, 3, 1, 25600 - 1000, 120, 70, 4),
        BandAnswer(readback::kEchoEq, 2, 0, 1, 25600 - 500, 1500, 100, 0), BandAnswer(readback::kEchoEq, 4, 0, 1, 25600, 9000, 70, 4, 120),
        MakeAnswer(readback::kEffectBlock, {0, 30, 41, 42, 0x2C, 0x01, 43, 0, 44, 45, 0, 46, 47, 0, 48, 49}),
        BandAnswer(readback::kReverbEq, 0, 0, 1, 25600, 300, 70, 5), BandAnswer(readback::kReverbEq, 1, 0, 1, 25600, 7000, 70, 4, 90),
        MakeAnswer(readback::kStatus, {3, 0x20, 0x05, 0, 1, 80, 2, 70, 3, 60})};
    // clang-format on
    for (const AnswerWords& whole : answers) {
        SCOPED_TRACE(testing::Message() << std::hex << whole[3] << " " << whole[4] << " band " << whole[6]);
        // The bytes past the shortened length stay, as those of an older, longer frame would.
        AnswerWords shortened = whole;
        shortened[1] = static_cast<std::uint32_t>(Of(whole).MinimumLength() - 1);
        const std::string before = StateOf(*dialog);
        EXPECT_EQ(Apply(shortened), 0) << "a short answer was taken";
        EXPECT_EQ(StateOf(*dialog), before) << "a short answer changed the console";
        EXPECT_EQ(Apply(whole), 1);
        EXPECT_NE(StateOf(*dialog), before) << "the whole answer should have changed something";
    }
    for (const auto& [name, pair] : {std::pair{"fbc threshold", readback::kFbcThreshold},
                                     std::pair{"echo 0x98", readback::kEchoOther}}) {
        AnswerWords a = MakeAnswer(pair, {});  // passed over: six bytes enough, five too few
        EXPECT_EQ(Apply(a), 1) << name;
        a[1] = 5;
        EXPECT_EQ(Apply(a), 0) << name;
    }
}

TEST_F(ApplyReply, MastersStayWithinTheirSlidersAndLabelsShowTheSliders) {
    // Sliders 0..84, 0..70, 0..84.
    using Master = console::master::Index;
    using enum console::master::Index;
    struct Case {
        const char* name;
        readback::Pair pair;
        int byte6;
        Master master;
        int pos;
    };
    const Case cases[] = {
        {"music above the top", readback::kMusicMaster, 25, kMusic, 84},
        {"music top", readback::kMusicMaster, 24, kMusic, 84},
        {"music bottom", readback::kMusicMaster, 0x88, kMusic, 0},
        {"music -1", readback::kMusicMaster, 0xFF, kMusic, 59},
        {"mic above the top", readback::kMicMaster, 0x7F, kMic, 84},
        {"mic below the bottom", readback::kMicMaster, 0x80, kMic, 0},
        {"mic -10", readback::kMicMaster, 0xF6, kMic, 60},
        {"effect above the top", readback::kEffectMaster, 0x7F, kEffect, 70},
        {"effect below the bottom", readback::kEffectMaster, 0x80, kEffect, 0},
        {"effect 0 dB", readback::kEffectMaster, 0, kEffect, 60},
    };
    const int labels[] = {console::kIdMicValue, console::kIdEffectValue, console::kIdMusicValue};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Apply(MakeAnswer(c.pair, {0, c.byte6})), 1);
        EXPECT_EQ(dialog->MasterSlider(c.master)->value(), c.pos);
        EXPECT_EQ(Text(labels[c.master]).toStdString(), std::to_string(c.pos))
            << "the label is not the slider";
    }
}

TEST_F(ApplyReply, BandAndFilterValuesStayWithinTheirControls) {
    auto* music = dialog->Pages().Music();
    const auto& mb = music->Model().band;
    Apply(BandAnswer(readback::kMusicEq, 3, 0, 1, 0, 0, 0, 0));
    EXPECT_EQ(mb.freq[3], 20);
    EXPECT_EQ(mb.gain[3], -24.0f);
    EXPECT_EQ(mb.q[3], 0.4f);
    Apply(BandAnswer(readback::kMusicEq, 4, 0, 1, 0xFFFF, 65535, 65535, 0));
    EXPECT_EQ(mb.freq[4], 20000);
    EXPECT_EQ(mb.gain[4], 12.0f);
    EXPECT_EQ(mb.q[4], 128.0f);

    // The music high-pass slider spans 20..300: band 0 (and band 8 at "24db") keep what it shows.
    Apply(BandAnswer(readback::kMusicEq, 0, 0, 1, 0x5AA0, 1000, 70, 5));
    EXPECT_EQ(music->SliderPos(chan::id::kHighPass), 300);
    EXPECT_EQ(mb.freq[0], 300);
    EXPECT_EQ(mb.freq[8], 300);
    ASSERT_NE(music->Label(pageid::kHighPassLabel), nullptr);
    EXPECT_EQ(music->Label(pageid::kHighPassLabel)->value, "300Hz") << "the label is not the slider";

    auto* mic = dialog->Pages().Mic();
    Apply(BandAnswer(readback::kMicEq, 0, 0, 1, 25600, 5, 100, 5));
    const SliderModel* micHighPass = mic->Slider(pageid::kHighPassSlider);
    ASSERT_NE(micHighPass, nullptr);
    EXPECT_EQ(micHighPass->pos, micHighPass->min);
    EXPECT_EQ(mic->Model().band.freq[0], micHighPass->pos);

    // Echo high-pass 20..1000 Hz, low-pass 5000..20000 Hz.
    auto* effect = dialog->Pages().Effect();
    const auto& fx = effect->Model().band;
    Apply(BandAnswer(readback::kEchoEq, 0, 0, 1, 25600, 5000, 70, 5));
    EXPECT_EQ(effect->SliderPos(chan::fx::kEchoHighPass), 1000);
    EXPECT_EQ(fx.freq[0], 1000);
    Apply(BandAnswer(readback::kEchoEq, 4, 0, 1, 25600, 100, 70, 4, 0));
    EXPECT_EQ(effect->SliderPos(chan::fx::kEchoLowPass), 5000);
    EXPECT_EQ(fx.freq[4], 5000);
    EXPECT_EQ(fx.type[4], kTypeLowPass);

    Apply(MakeAnswer(readback::kStatus, {200, 0x00, 0, 0, 0, 84, 0, 84, 0, 70}));
    EXPECT_EQ(PresetItem(), -1) << "no preset 200 in the combo";
}

TEST_F(ApplyReply, StatusInputIsTheStoredInputAndLimitsAreClampedAsConfigIniIs) {
    auto* music = dialog->Pages().Music();
    Apply(MakeAnswer(readback::kStatus, {0, 0x20, 0, 0, 90, 200, 50, 40, 80, 75}));  // "BT"
    EXPECT_EQ(music->CheckedInput(), 2);
    EXPECT_EQ(music->MusicInput(), 2) << "frames and the preset file would use another input";
    EXPECT_EQ(music->SaveText().rfind("[music type]\n2\n", 0), 0u);
    // ends to 0..84, 0..84, 0..70; each start to 0..its end
    const console::VolumeLimits l = dialog->StoredVolumeLimits();
    EXPECT_EQ(l.micEnd, 84);
    EXPECT_EQ(l.micStart, 84);
    EXPECT_EQ(l.musicEnd, 40);
    EXPECT_EQ(l.musicStart, 40);
    EXPECT_EQ(l.effectEnd, 70);
    EXPECT_EQ(l.effectStart, 70);

    Apply(MakeAnswer(readback::kStatus, {0, 0x50, 0, 0, 0, 84, 0, 84, 0, 70}));  // no such input
    EXPECT_EQ(music->CheckedInput(), -1);
    EXPECT_EQ(music->MusicInput(), 2) << "an input no button stands for replaced the stored one";
}

}  // namespace
