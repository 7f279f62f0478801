#include "sim/answers.h"

#include <vector>

#include "link/output_channels.h"
#include "link/readback_codes.h"

namespace sim {

ZemCmd::Cmd MakeAnswer(int group, int code, const int* payload, int n) {
    ZemCmd::Cmd c = ZemCmd::Frame(static_cast<std::uint8_t>(5 + n + 1), ZemCmd::kClassAnswer,
                                  static_cast<std::uint8_t>(group));
    c[4] = static_cast<std::uint8_t>(code);
    for (int i = 0; i < n; ++i) c[5 + i] = static_cast<std::uint8_t>(payload[i] & 0xFF);
    c.Seal();
    return c;
}

bool OutputPathOfChannel(int channel, Path& out) {
    switch (channel) {
        case outch::kMixMainLeft:
            out = Path::Main;
            return true;
        case outch::kMixCentre:
            out = Path::Mid;
            return true;
        case outch::kMixSubwoofer:
            out = Path::Bass;
            return true;
        case outch::kMixSurroundLeft:
            out = Path::Surround;
            return true;
        default:
            return false;
    }
}

namespace {

using Payload = std::vector<int>;

ZemCmd::Cmd Make(int group, int code, const Payload& p) {
    return MakeAnswer(group, code, p.data(), static_cast<int>(p.size()));
}

void PutLe16(Payload& p, int v) {
    p.push_back(v & 0xFF);
    p.push_back((v >> 8) & 0xFF);
}

// Band layout from byte 5: 0, band, channel, enabled, gain, frequency, Q, code [, pre-delay].
ZemCmd::Cmd BandAnswer(int group, int code, int index, int channel, const Band& b, bool withPreDelay) {
    Payload p{0, index, channel, b.enabled};
    PutLe16(p, b.gainField);
    PutLe16(p, b.freq);
    PutLe16(p, b.qField);
    p.push_back(b.code);
    if (withPreDelay) PutLe16(p, b.preDelay);
    return Make(group, code, p);
}

ZemCmd::Cmd LimiterAnswer(int group, int code, int channel, const Limiter& l) {
    Payload p{0, channel};
    PutLe16(p, l.start);
    PutLe16(p, l.multiplier);
    p.push_back(l.limit + 64);
    p.push_back(l.ratio);
    return Make(group, code, p);
}

ZemCmd::Cmd SixBytes(int group, int code, const std::array<int, kOutputs>& v) {
    return Make(group, code, Payload{0, v[0], v[1], v[2], v[3], v[4], v[5]});
}

}  // namespace

std::optional<ZemCmd::Cmd> AnswerRead(const Store& s, const ZemCmd::Cmd& request) {
    const int group = request[3];
    const int code = request[4];
    const int p1 = request[5];
    const int p2 = request[6];
    const int p3 = request[7];
    const auto key = (group << 8) | code;
    switch (key) {
        case readback::kMicMaster.Key():
            return Make(group, code, {0, s.micMaster});
        case readback::kEffectMaster.Key():
            return Make(group, code, {0, s.effectMaster});
        case readback::kMusicMaster.Key():
            return Make(group, code, {0, s.musicMaster});
        case readback::kMicLimiter.Key():
            return LimiterAnswer(group, code, 1, s.limiters[kMicLimiter]);
        case readback::kNoiseGate.Key():
            return Make(group, code, {s.gateOn, s.gateStart, s.gateRelease});
        case readback::kFbc.Key():
            return Make(group, code, {s.fbcOn, s.fbc[0], s.fbc[1], s.fbc[2]});
        case readback::kFbcThreshold.Key():
            return Make(group, code, {0, 0});
        case readback::kEffectBlock.Key(): {
            Payload p{8};
            p.insert(p.end(), s.effect.begin(), s.effect.end());
            return Make(group, code, p);
        }
        case readback::kMusicLevel.Key():
            return SixBytes(group, code, s.levels[kMusicLevel]);
        case readback::kDirectLevel.Key():
            return SixBytes(group, code, s.levels[kDirectLevel]);
        case readback::kEchoLevel.Key():
            return SixBytes(group, code, s.levels[kEchoLevel]);
        case readback::kReverbLevel.Key():
            return SixBytes(group, code, s.levels[kReverbLevel]);
        case readback::kOutputLimiter.Key():
            if (p1 > 4) return std::nullopt;
            return LimiterAnswer(group, code, p1, s.limiters[p1]);
        case readback::kDelays.Key():
            return SixBytes(group, code, s.delays);
        case readback::kStatus.Key(): {
            Payload p{s.group, (s.musicInput & 0x0F) << 4, s.mutes, 0};
            p.insert(p.end(), s.limits.begin(), s.limits.end());
            return Make(group, code, p);
        }
        case readback::kMicEq.Key():
            if (p2 >= kMaxBands) return std::nullopt;
            return BandAnswer(group, code, p2, 0, s.Eq(Path::Mic)[p2], false);
        case readback::kMusicEq.Key():
            if (p2 >= kMaxBands) return std::nullopt;
            return BandAnswer(group, code, p2, 0, s.Eq(Path::Music)[p2], false);
        case readback::kOutputEq.Key(): {
            Path path;
            if (p2 >= kMaxBands || !OutputPathOfChannel(p3, path)) return std::nullopt;
            return BandAnswer(group, code, p2, p3, s.Eq(path)[p2], false);
        }
        case readback::kEchoEq.Key():
            if (p2 > 4) return std::nullopt;
            return BandAnswer(group, code, p2, 0, s.Eq(Path::Echo)[p2], p2 == 4);
        case readback::kReverbEq.Key():
            if (p2 > 1) return std::nullopt;
            return BandAnswer(group, code, p2, 0, s.Eq(Path::Reverb)[p2], p2 == 1);
        default:
            return std::nullopt;
    }
}

}  // namespace sim
