#include "console/reply_decode.h"

#include <algorithm>
#include <cstdio>

#include "link/frame.h"
#include "link/output_channels.h"
#include "link/readback_codes.h"
#include "pages/page_model.h"

namespace reply {

Kind Answer::Classify() const {
    const Answer& a = *this;
    if (a[2] != ZemCmd::kClassAnswer) return Kind::NotAnswer;
    switch (a.Pair()) {
        case readback::kMusicMaster.Key():
            return Kind::MusicMaster;
        case readback::kMusicLevel.Key():
        case readback::kDirectLevel.Key():
        case readback::kEchoLevel.Key():
        case readback::kReverbLevel.Key():
            return Kind::MixLevels;
        case readback::kMusicEq.Key():
            return Kind::MusicEq;
        case readback::kMicMaster.Key():
            return Kind::MicMaster;
        case readback::kEffectMaster.Key():
            return Kind::EffectMaster;
        case readback::kMicLimiter.Key():
            return Kind::MicLimiter;
        case readback::kMicEq.Key():
            return (a[5] == 0 && a[7] < 2) ? Kind::MicEq : Kind::PassOver;
        case readback::kNoiseGate.Key():
            return Kind::NoiseGate;
        case readback::kFbc.Key():
            return Kind::Fbc;
        case readback::kFbcThreshold.Key():
        case readback::kEchoOther.Key():
            return Kind::PassOver;
        case readback::kOutputLimiter.Key():
            return Kind::OutputLimiter;
        case readback::kDelays.Key():
            return Kind::Delays;
        case readback::kOutputEq.Key():
            return (a[7] == 3 && a[6] == 0) ? Kind::Crossover : Kind::OutputEq;
        case readback::kEchoEq.Key():
            return Kind::EchoEq;
        case readback::kEffectBlock.Key():
            return Kind::EffectBlock;
        case readback::kReverbEq.Key():
            return Kind::ReverbEq;
        case readback::kStatus.Key():
            return Kind::Status;
        default:
            return Kind::Unknown;
    }
}

int Answer::MinimumLength() const {
    const Answer& a = *this;
    // The highest byte index a row reads, plus one, plus the checksum.
    auto upTo = [](int lastIndex) { return lastIndex + 2; };
    switch (a.Pair()) {
        case readback::kFbcThreshold.Key():
        case readback::kEchoOther.Key():
            return upTo(4);  // passed over: nothing past the code
        case readback::kMusicMaster.Key():
        case readback::kMicMaster.Key():
        case readback::kEffectMaster.Key():
            return upTo(6);
        case readback::kNoiseGate.Key():
            return upTo(7);
        case readback::kFbc.Key():
            return upTo(8);
        case readback::kMusicLevel.Key():
        case readback::kDirectLevel.Key():
        case readback::kEchoLevel.Key():
        case readback::kReverbLevel.Key():
            return upTo(10);
        case readback::kDelays.Key():
            return upTo(11);
        case readback::kMicLimiter.Key():
        case readback::kOutputLimiter.Key():
            return upTo(12);
        case readback::kStatus.Key():
            return upTo(14);
        case readback::kMusicEq.Key():
        case readback::kMicEq.Key():
        case readback::kOutputEq.Key():
            return upTo(15);
        case readback::kEchoEq.Key():  // the low-pass band carries the echo pre-delay
            return upTo(a[6] == 4 ? 17 : 15);
        case readback::kReverbEq.Key():  // the low-pass band carries the reverb pre-delay
            return upTo(a[6] == 1 ? 17 : 15);
        case readback::kEffectBlock.Key():
            return upTo(20);
        default:
            return 0;
    }
}

int MusicMasterPos(int b6) {
    const int v = b6 > 24 ? b6 - 256 : b6;
    const int p = v >= 0 ? v + 60 : (v + 120) / 2;
    return p & 0xFF;
}

int MicMasterPos(int b6) {
    return static_cast<std::int8_t>(b6) + 70;
}

int EffectMasterPos(int b6) {
    return static_cast<std::int8_t>(b6) + 60;
}

Band DecodeBand(const Answer& a) {
    Band b{};
    b.index = a[6];
    b.channel = a[7];
    b.enabled = a[8];
    b.gainField = a.Le16(9);
    b.gain = std::clamp(static_cast<float>((a[10] - 100) * 256 + a[9]) / 100.0f, kMinGain, kMaxGain);
    b.freq = std::clamp(a.Le16(11), kMinFreq, kMaxFreq);
    b.q = std::clamp(static_cast<float>(a[14] * 256 + a[13]) / 100.0f, kMinQ, kMaxQ);
    b.code = a[15];
    b.preDelay = a.Le16(16);
    return b;
}

Limiter DecodeLimiter(const Answer& a) {
    const unsigned start = static_cast<unsigned>(a.Le16(7));
    const unsigned field = static_cast<unsigned>(a.Le16(9));
    Limiter l{};
    l.limit = a[11] - 64;
    l.ratio = a[12];
    l.start = start == 0 ? 1 : static_cast<int>(start);
    // The field carries start x multiplier in 16 bits; dividing the wrapped product back gives
    // the multiplier when it fits, and 0 when the start time is 0.
    l.multiplier = static_cast<int>(((field * start) % 65536u) / std::max(start, 1u));
    return l;
}

pageindex::Index LimiterPage(int channel) {
    switch (channel) {
        case outch::kLimiterMain:
        case outch::kLimiterMainSecond:
            return pageindex::kMainOut;
        case outch::kLimiterSubwoofer:
            return pageindex::kBassOut;
        case outch::kLimiterCentre:
            return pageindex::kMidOut;
        default:
            return pageindex::kSubOut;
    }
}

Outputs DecodeOutputs(const Answer& a) {
    return Outputs{a[6], a[7], a[8], a[9], a[10], a[11]};
}

levelkind::Index LevelKind(const Answer& a) {
    switch (a.Pair()) {
        case readback::kDirectLevel.Key():
            return levelkind::kDirect;
        case readback::kEchoLevel.Key():
            return levelkind::kEcho;
        case readback::kReverbLevel.Key():
            return levelkind::kReverb;
        default:
            return levelkind::kMusic;
    }
}

Gate DecodeGate(const Answer& a) {
    return Gate{a[5] != 0 ? -a[6] : -81, -a[7]};
}

int DecodeFbcMode(const Answer& a) {
    if (a[5] == 0) return 0;
    static constexpr int kModes[3][3] = {{100, 7, 0}, {100, 4, 0}, {100, 1, 0}};
    for (int m = 0; m < 3; ++m)
        if (a[6] == kModes[m][0] && a[7] == kModes[m][1] && a[8] == kModes[m][2]) return m + 1;
    return 0;
}

Status DecodeStatus(const Answer& a) {
    Status s{};
    s.preset = a[5] - 1;
    s.musicInput = (a[6] >> 4) & 15;
    s.mutes = a[7];
    for (int i = 0; i < 6; ++i) s.limits[static_cast<std::size_t>(i)] = a[9 + i];
    return s;
}

std::string StatusTrace(const Status& s) {
    char line[96];
    std::snprintf(line, sizeof line, "[recv]mic %d,%d;musuc %d,%d;effect %d,%d\n", s.limits[0], s.limits[1],
                  s.limits[2], s.limits[3], s.limits[4], s.limits[5]);
    return line;
}

}  // namespace reply
