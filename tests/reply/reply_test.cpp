// Read-back answers decoded, and applied to the pages without notifying or arming a timer.
#include <gtest/gtest.h>

#include "console/reply_decode.h"
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

// A5 len class group code, `data` from byte 5, then the checksum.
inline AnswerWords MakeAnswer(int group, int code, const std::vector<int>& data, int cls = 0xF6) {
    AnswerWords a;
    std::vector<int> bytes = {0xA5, static_cast<int>(data.size()) + 6, cls, group, code};
    bytes.insert(bytes.end(), data.begin(), data.end());
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) sum += a[k] = static_cast<std::uint32_t>(bytes[k] & 0xFF);
    a[bytes.size()] = sum & 0xFF;
    return a;
}

// An EQ band answer: 0, band, channel, enabled, gain field, Hz, Q field, filter code, pre-delay.
inline AnswerWords BandAnswer(int group, int code, int band, int channel, int enabled, int gainField, int hz,
                              int qField, int filterCode, int preDelay = 0) {
    return MakeAnswer(group, code,
                      {0, band, channel, enabled, gainField & 0xFF, gainField >> 8, hz & 0xFF, hz >> 8,
                       qField & 0xFF, qField >> 8, filterCode, preDelay & 0xFF, preDelay >> 8});
}

const auto Of = [](const AnswerWords& a) { return Answer(a.data()); };

TEST(ReplyDecode, MasterPositions) {  // beyond a slider's range: the applier's test clamps them
    // clang-format off
    const std::tuple<int (*)(int), int, int> cases[] = {
        {reply::MusicMasterPos, 0, 60}, {reply::MusicMasterPos, 24, 84}, {reply::MusicMasterPos, 0xFF, 59},
        {reply::MusicMasterPos, 0x88, 0}, {reply::MicMasterPos, 0xF6, 60},
        {reply::MicMasterPos, 0x05, 75}, {reply::EffectMasterPos, 0, 60}, {reply::EffectMasterPos, 0xFE, 58}};
    // clang-format on
    for (const auto& [pos, byte, expected] : cases) EXPECT_EQ(pos(byte), expected) << byte;
}

TEST(ReplyDecode, ClassifiesByClassGroupAndCode) {  // kinds the applier tests below do not reach
    // clang-format off
    const std::pair<AnswerWords, Kind> cases[] = {
        {MakeAnswer(0x06, 0xB1, {0}), Kind::Unknown}, {MakeAnswer(0xF0, 0x77, {0}), Kind::Unknown},
        {MakeAnswer(0x07, 0x98, {0}), Kind::PassOver}, {MakeAnswer(0x02, 0x81, {1, 3, 0, 1}), Kind::PassOver},
        {BandAnswer(0x04, 0xC2, 1, 3, 1, 25600, 100, 100, 0), Kind::OutputEq},
        {BandAnswer(0x04, 0xC2, 0, 2, 1, 25600, 100, 100, 0), Kind::OutputEq}, {MakeAnswer(0x08, 0x92, {0}), Kind::MixLevels}};
    // clang-format on
    for (const auto& [a, kind] : cases) EXPECT_EQ(Of(a).Classify(), kind) << std::hex << a[3] << " " << a[4];
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
        EXPECT_EQ(std::tie(b.index, b.gainField, b.freq, b.code, b.preDelay, b.gain, b.q),
                  std::tuple(4, gainField, hz, 5, 300, gain, q));
    }
}

TEST(ReplyDecode, BandValuesBroughtIntoTheBandRecordsRanges) {
    // Hz 0 / 65535, gain field 0 (-256 dB) / 0xFFFF (+399 dB), Q field 0 / 65535
    const reply::Band low = reply::DecodeBand(Of(BandAnswer(0x01, 0xA1, 3, 0, 1, 0, 0, 0, 0)));
    EXPECT_EQ(low.freq, 20);
    EXPECT_EQ(low.gain, -24.0f);
    EXPECT_EQ(low.q, 0.4f);
    EXPECT_EQ(low.gainField, 0) << "the slope test needs the field as sent";
    const reply::Band high = reply::DecodeBand(Of(BandAnswer(0x01, 0xA1, 3, 0, 1, 0xFFFF, 65535, 65535, 0)));
    EXPECT_EQ(high.freq, 20000);
    EXPECT_EQ(high.gain, 12.0f);
    EXPECT_EQ(high.q, 128.0f);
}

TEST(ReplyDecode, MinimumLengthIsTheLastByteTheRowReadsPlusTheChecksum) {
    // group, code, band byte [6], minimum length
    // clang-format off
    const int cases[][4] = {
        {0x02, 0x88, 0, 6}, {0x07, 0x98, 0, 6}, {0x01, 0xA0, 0, 8}, {0x02, 0x80, 0, 8}, {0x02, 0x85, 0, 8},
        {0x02, 0x83, 0, 9}, {0x02, 0x84, 0, 10}, {0x01, 0xA2, 0, 12}, {0x06, 0xB0, 0, 12}, {0x07, 0x9A, 0, 12},
        {0x08, 0x92, 0, 12}, {0x04, 0xC1, 0, 13}, {0x02, 0x82, 0, 14}, {0x04, 0xC0, 2, 14}, {0xF0, 0xD0, 0, 16},
        {0x01, 0xA1, 0, 17}, {0x02, 0x81, 5, 17}, {0x04, 0xC2, 0, 17}, {0x07, 0x99, 2, 17}, {0x07, 0x99, 4, 19},
        {0x08, 0x91, 0, 17}, {0x08, 0x91, 1, 19}, {0x08, 0x90, 0, 22}, {0x04, 0xC3, 0, 0}, {0xF0, 0x77, 0, 0}};
    // clang-format on
    for (const auto& [group, code, band, minimum] : cases) {
        AnswerWords a = MakeAnswer(group, code, {0, band});
        EXPECT_EQ(Of(a).MinimumLength(), minimum) << std::hex << group << " " << code << " band " << band;
        a[1] = static_cast<std::uint32_t>(minimum);
        EXPECT_TRUE(Of(a).Whole()) << std::hex << group << " " << code;
        a[1] = static_cast<std::uint32_t>(minimum - 1);
        EXPECT_EQ(Of(a).Whole(), minimum == 0) << std::hex << group << " " << code;
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
    std::vector<int> pages;
    for (int channel : {0, 1, 2, 3, 4, 9}) pages.push_back(reply::LimiterPage(channel));
    using namespace pageindex;
    EXPECT_EQ(pages, (std::vector<int>{kMainOut, kMainOut, kBassOut, kMidOut, kSubOut, kSubOut}));
}

TEST(ReplyDecode, GateFbcLevelsStatus) {
    const reply::Gate on = reply::DecodeGate(Of(MakeAnswer(2, 0x83, {1, 40, 10})));  // off: applier test
    EXPECT_EQ(std::tie(on.start, on.release), std::tuple(-40, -10));

    // byte 7 picks the mode only when on (5) and byte 8 is 0
    std::vector<int> modes, kinds;
    // clang-format off
    for (const std::vector<int>& b : {std::vector{1, 100, 10, 0}, {1, 100, 7, 0}, {1, 100, 4, 0}, {1, 100, 1, 0},
                                      {0, 100, 7, 0}, {1, 100, 7, 1}})
        // clang-format on
        modes.push_back(reply::DecodeFbcMode(Of(MakeAnswer(2, 0x84, b))));
    EXPECT_EQ(modes, (std::vector<int>{0, 1, 2, 3, 0, 0}));
    for (const auto& [group, code] : {std::pair{0x01, 0xA2}, {0x06, 0xB0}, {0x07, 0x9A}, {0x08, 0x92}})
        kinds.push_back(reply::LevelKind(Of(MakeAnswer(group, code, {}))));
    EXPECT_EQ(kinds, (std::vector<int>{0, 1, 2, 3}));

    // The status fields: through the applier below.
    EXPECT_EQ(reply::StatusTrace(
                  reply::DecodeStatus(Of(MakeAnswer(0xF0, 0xD0, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6})))),
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
    // not an answer: nothing printed; unknown; output channel 1: passed over
    EXPECT_EQ((std::tuple{Apply(MakeAnswer(0x01, 0xA0, {0, 0}, 0xF4)), log.LineCount() - lines,
                          Apply(MakeAnswer(0x04, 0xC3, {0})),
                          Apply(BandAnswer(0x04, 0xC2, 2, 1, 0, 25600 + 500, 1234, 200, 0))}),
              std::tuple(0, 0u, 0, 1));
    EXPECT_NE(log.Text().find("resv=a5 "), std::string::npos);
    // A length byte beyond the 50 entries prints those 50 and reads nothing past them.
    AnswerWords longer = MakeAnswer(0x02, 0x88, {0});
    longer[1] = 0xFF;
    EXPECT_EQ(Apply(longer), 1);
    const std::string last = log.Text().substr(log.Text().rfind("resv="));
    EXPECT_EQ(std::count(last.begin(), last.end(), ' '), 50);
}

TEST_F(ApplyReply, MusicHighPassSlopesAndMicrophoneEq) {
    auto* music = PageOf<PageMusic>(pageindex::kMusic);
    auto& mb = music->Model().band;
    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x5AA0, 80, 70, 5));  // "24db": band 8 joins band 0
    EXPECT_EQ(std::tuple(music->SlopeItem(), music->SliderPos(chan::id::kHighPass).value_or(-1), mb.freq[8],
                         mb.type[8]),
              std::tuple(1, 80, 80, kTypeHighPass));
    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x5F50, 120, 70, 5));  // "12db": band 8 off, as the combo does
    EXPECT_EQ(music->SlopeItem(), 0);
    EXPECT_EQ(mb.freq[0], 120);
    EXPECT_EQ(mb.freq[8], 20000);
    EXPECT_EQ(mb.type[8], kTypeOff) << "band 8 would go out as a second high-pass";
    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x6400, 150, 70, 5));  // another gain field: band 0 only
    EXPECT_EQ(music->SlopeItem(), 0);
    EXPECT_EQ(mb.freq[0], 150);
    EXPECT_EQ(mb.type[8], kTypeOff);
    // band 8 is not asked
    EXPECT_EQ(Apply(BandAnswer(0x01, 0xA1, 8, 0, 0, 25600 + 300, 5000, 200, 0)), 1);
    EXPECT_EQ(mb.freq[8], 20000);
    Apply(BandAnswer(0x01, 0xA1, 3, 0, 0, 25600 + 350, 2500, 250, 0));
    EXPECT_EQ(std::tuple(mb.freq[3], mb.gain[3], mb.q[3], mb.enabled[3]), std::tuple(2500, 3.5f, 2.5f, 0));

    auto* mic = PageOf<PageMic>(pageindex::kMic);
    auto& b = mic->Model().band;
    Apply(BandAnswer(0x02, 0x81, 0, 0, 1, 25600, 150, 100, 5));
    EXPECT_EQ(std::tuple(mic->SliderPos(pageid::kHighPassSlider).value_or(-1), b.type[0], b.q[0]),
              std::tuple(150, kTypeHighPass, 0.6f));
    Apply(BandAnswer(0x02, 0x81, 5, 2, 1, 25600, 777, 100, 0));  // channel 2: passed over
    EXPECT_NE(b.freq[5], 777);
    Apply(BandAnswer(0x02, 0x81, 5, 1, 1, 25600 - 600, 777, 100, 0));
    EXPECT_EQ(std::tuple(b.freq[5], b.gain[5]), std::tuple(777, -6.0f));
    Apply(MakeAnswer(0x02, 0x83, {0, 30, 42}));
    Apply(MakeAnswer(0x02, 0x84, {1, 100, 4, 0}));
    EXPECT_EQ(std::tuple(mic->SliderPos(pageid::kGateStartSlider), mic->SliderPos(pageid::kGateReleaseSlider),
                         mic->FbcMode()),
              std::tuple(-81, -42, 2));
}

TEST_F(ApplyReply, EchoLowPassAndCrossoverTouchTheGraphOnlyWhenShown) {
    auto* graph = dialog->Graph();
    const int graphFreq = graph->Curve().freq[4];
    Apply(BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 9000, 70, 4, 120));
    const auto& fx = PageOf<Page>(pageindex::kEffect)->Model().band;
    EXPECT_EQ(std::tuple(fx.freq[4], fx.type[4],
                         PageOf<PageEffect>(pageindex::kEffect)->SliderPos(chan::fx::kEchoPreDelay),
                         graph->Curve().freq[4]),
              std::tuple(9000, kTypeLowPass, 120, graphFreq));  // the music page is shown

    dialog->TabStrip()->setCurrentIndex(pageindex::kEffect);
    Apply(BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 20000, 70, 4, 0));
    EXPECT_EQ(std::tuple(graph->Curve().freq[4], graph->Curve().type[4]), std::tuple(20000, kTypeOff));

    dialog->TabStrip()->setCurrentIndex(pageindex::kBassOut);
    Apply(BandAnswer(0x04, 0xC2, 0, 3, 1, 25600 - 1000, 120, 50, 4));
    EXPECT_EQ(std::tuple(PageOf<PageBassOut>(pageindex::kBassOut)->CrossoverHz(), graph->Curve().freq[4],
                         graph->Curve().type[4]),
              std::tuple(120, 120, kTypeLowPass));
}

TEST_F(ApplyReply, EffectBlock) {
    auto* effect = PageOf<PageEffect>(pageindex::kEffect);
    Apply(MakeAnswer(0x08, 0x90,
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
    Apply(MakeAnswer(0xF0, 0xD0, {0, 0x50, 0x3F, 0, 1, 2, 3, 4, 5, 6}));
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
    EXPECT_EQ(PageOf<PageMusic>(pageindex::kMusic)->CheckedInput(), -1) << "input 5 is none of the buttons";
    EXPECT_EQ(PresetItem(), -1) << "group 0: no preset selected";
    EXPECT_EQ(d.m_connected, 1) << "the status answer ends the read-back";

    // Only the bass bit (3) and the second surround bit (5); preset 4; input "USB".
    Apply(MakeAnswer(0xF0, 0xD0, {4, 0x30, 0x28, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(MuteBits(), (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(PageOf<PageMusic>(pageindex::kMusic)->CheckedInput(), 3);
    EXPECT_EQ(PresetItem(), 3);
}

// The whole state an answer can change, as one text: the preset file's text, the master labels and
// what only the status answer sets.
std::string StateOf(CVelmor_Zem_R7Dlg& d) {
    std::string state = d.BuildPresetText();
    for (int id : {console::kIdMicValue, console::kIdEffectValue, console::kIdMusicValue})
        state += " label " + TextOf(d.Client(), id).toStdString();
    const console::VolumeLimits l = d.StoredVolumeLimits();
    for (int v : {l.micStart, l.micEnd, l.musicStart, l.musicEnd, l.effectStart, l.effectEnd, d.LastMuteMask(),
                  static_cast<int>(d.m_connected)})
        state += " " + std::to_string(v);
    const auto* combo = win::FindControlAs<QComboBox>(d.Client(), console::kIdPresetCombo);
    state += " preset " + std::to_string(combo->currentIndex());
    const auto* music = dynamic_cast<PageMusic*>(d.PageAt(pageindex::kMusic));
    state += " input " + std::to_string(music->CheckedInput());
    return state;
}

TEST_F(ApplyReply, ShortAnswersAreRefusedAndApplyNothing) {
    // One answer of every row, each with values that differ from the start-up state.
    // clang-format off
    const AnswerWords answers[] = {
        MakeAnswer(0x01, 0xA0, {0, 10}), MakeAnswer(0x02, 0x80, {0, 0xF6}), MakeAnswer(0x02, 0x85, {0, 5}),
        MakeAnswer(0x01, 0xA2, {0, 11, 0, 12, 13, 14, 0}), MakeAnswer(0x06, 0xB0, {0, 11, 0, 12, 13, 14, 0}),
        MakeAnswer(0x07, 0x9A, {0, 11, 0, 12, 13, 14, 0}), MakeAnswer(0x08, 0x92, {0, 11, 0, 12, 13, 14, 0}),
        BandAnswer(0x01, 0xA1, 3, 0, 1, 25600 + 350, 2500, 250, 0),
        BandAnswer(0x02, 0x81, 5, 0, 1, 25600 - 600, 777, 100, 0),
        MakeAnswer(0x02, 0x82, {0, 0, 90, 0, 3, 0, 70, 40}), MakeAnswer(0x04, 0xC0, {0, 2, 90, 0, 3, 0, 70, 40}),
        MakeAnswer(0x04, 0xC1, {0, 3, 4, 5, 6, 7, 8}), BandAnswer(0x04, 0xC2, 2, 0, 1, 25600 + 100, 1111, 100, 0),
        BandAnswer(0x04, 0xC2, 0, 3, 1, 25600 - 1000, 120, 70, 4),
        BandAnswer(0x07, 0x99, 2, 0, 1, 25600 - 500, 1500, 100, 0), BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 9000, 70, 4, 120),
        MakeAnswer(0x08, 0x90, {0, 30, 41, 42, 0x2C, 0x01, 43, 0, 44, 45, 0, 46, 47, 0, 48, 49}),
        BandAnswer(0x08, 0x91, 0, 0, 1, 25600, 300, 70, 5), BandAnswer(0x08, 0x91, 1, 0, 1, 25600, 7000, 70, 4, 90),
        MakeAnswer(0xF0, 0xD0, {3, 0x20, 0x05, 0, 1, 80, 2, 70, 3, 60})};
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
    for (const auto& [group, code] : {std::pair{0x02, 0x88}, std::pair{0x07, 0x98}}) {
        AnswerWords a = MakeAnswer(group, code, {});  // passed over: six bytes enough, five too few
        EXPECT_EQ(Apply(a), 1) << std::hex << group << " " << code;
        a[1] = 5;
        EXPECT_EQ(Apply(a), 0) << std::hex << group << " " << code;
    }
}

TEST_F(ApplyReply, MastersStayWithinTheirSlidersAndLabelsShowTheSliders) {
    // group, code, byte 6, master index (0 mic, 1 effect, 2 music), position; sliders 0..84, 0..70, 0..84
    // clang-format off
    const int cases[][5] = {
        {0x01, 0xA0, 25, 2, 84}, {0x01, 0xA0, 24, 2, 84}, {0x01, 0xA0, 0x88, 2, 0}, {0x01, 0xA0, 0xFF, 2, 59},
        {0x02, 0x80, 0x7F, 0, 84}, {0x02, 0x80, 0x80, 0, 0}, {0x02, 0x80, 0xF6, 0, 60},
        {0x02, 0x85, 0x7F, 1, 70}, {0x02, 0x85, 0x80, 1, 0}, {0x02, 0x85, 0, 1, 60}};
    // clang-format on
    const int labels[] = {console::kIdMicValue, console::kIdEffectValue, console::kIdMusicValue};
    for (const auto& [group, code, byte, index, pos] : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << group << " " << code << " byte " << byte);
        EXPECT_EQ(Apply(MakeAnswer(group, code, {0, byte})), 1);
        EXPECT_EQ(dialog->MasterSlider(index)->value(), pos);
        EXPECT_EQ(Text(labels[index]).toStdString(), std::to_string(pos)) << "the label is not the slider";
    }
}

TEST_F(ApplyReply, BandAndFilterValuesStayWithinTheirControls) {
    auto* music = PageOf<PageMusic>(pageindex::kMusic);
    const auto& mb = music->Model().band;
    Apply(BandAnswer(0x01, 0xA1, 3, 0, 1, 0, 0, 0, 0));
    EXPECT_EQ(mb.freq[3], 20);
    EXPECT_EQ(mb.gain[3], -24.0f);
    EXPECT_EQ(mb.q[3], 0.4f);
    Apply(BandAnswer(0x01, 0xA1, 4, 0, 1, 0xFFFF, 65535, 65535, 0));
    EXPECT_EQ(mb.freq[4], 20000);
    EXPECT_EQ(mb.gain[4], 12.0f);
    EXPECT_EQ(mb.q[4], 128.0f);

    // The music high-pass slider spans 20..300: band 0 (and band 8 at "24db") keep what it shows.
    Apply(BandAnswer(0x01, 0xA1, 0, 0, 1, 0x5AA0, 1000, 70, 5));
    EXPECT_EQ(music->SliderPos(chan::id::kHighPass), 300);
    EXPECT_EQ(mb.freq[0], 300);
    EXPECT_EQ(mb.freq[8], 300);
    ASSERT_NE(music->Label(pageid::kHighPassLabel), nullptr);
    EXPECT_EQ(music->Label(pageid::kHighPassLabel)->value, "300Hz") << "the label is not the slider";

    auto* mic = PageOf<PageMic>(pageindex::kMic);
    Apply(BandAnswer(0x02, 0x81, 0, 0, 1, 25600, 5, 100, 5));
    const SliderModel* micHighPass = mic->Slider(pageid::kHighPassSlider);
    ASSERT_NE(micHighPass, nullptr);
    EXPECT_EQ(micHighPass->pos, micHighPass->min);
    EXPECT_EQ(mic->Model().band.freq[0], micHighPass->pos);

    // Echo high-pass 20..1000 Hz, low-pass 5000..20000 Hz.
    auto* effect = PageOf<PageEffect>(pageindex::kEffect);
    const auto& fx = effect->Model().band;
    Apply(BandAnswer(0x07, 0x99, 0, 0, 1, 25600, 5000, 70, 5));
    EXPECT_EQ(effect->SliderPos(chan::fx::kEchoHighPass), 1000);
    EXPECT_EQ(fx.freq[0], 1000);
    Apply(BandAnswer(0x07, 0x99, 4, 0, 1, 25600, 100, 70, 4, 0));
    EXPECT_EQ(effect->SliderPos(chan::fx::kEchoLowPass), 5000);
    EXPECT_EQ(fx.freq[4], 5000);
    EXPECT_EQ(fx.type[4], kTypeLowPass);

    Apply(MakeAnswer(0xF0, 0xD0, {200, 0x00, 0, 0, 0, 84, 0, 84, 0, 70}));
    EXPECT_EQ(PresetItem(), -1) << "no preset 200 in the combo";
}

TEST_F(ApplyReply, StatusInputIsTheStoredInputAndLimitsAreClampedAsConfigIniIs) {
    auto* music = PageOf<PageMusic>(pageindex::kMusic);
    Apply(MakeAnswer(0xF0, 0xD0, {0, 0x20, 0, 0, 90, 200, 50, 40, 80, 75}));  // "BT"
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

    Apply(MakeAnswer(0xF0, 0xD0, {0, 0x50, 0, 0, 0, 84, 0, 84, 0, 70}));  // no such input
    EXPECT_EQ(music->CheckedInput(), -1);
    EXPECT_EQ(music->MusicInput(), 5);
}

}  // namespace
