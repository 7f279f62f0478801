#include "console/reply_decode.h"

#include <algorithm>
#include <cstdio>

#include "pages/page_model.h"

namespace reply {

Kind Answer::Classify() const {
    const Answer& a = *this;
    if (a[2] != 0xF6) return Kind::NotAnswer;
    switch (a[3] << 8 | a[4]) {
        case 0x01A0:
            return Kind::MusicMaster;
        case 0x01A2:
        case 0x06B0:
        case 0x079A:
        case 0x0892:
            return Kind::MixLevels;
        case 0x01A1:
            return Kind::MusicEq;
        case 0x0280:
            return Kind::MicMaster;
        case 0x0285:
            return Kind::EffectMaster;
        case 0x0282:
            return Kind::MicLimiter;
        case 0x0281:
            return (a[5] == 0 && a[7] < 2) ? Kind::MicEq : Kind::PassOver;
        case 0x0283:
            return Kind::NoiseGate;
        case 0x0284:
            return Kind::Fbc;
        case 0x0288:
        case 0x0798:
            return Kind::PassOver;
        case 0x04C0:
            return Kind::OutputLimiter;
        case 0x04C1:
            return Kind::Delays;
        case 0x04C2:
            return (a[7] == 3 && a[6] == 0) ? Kind::Crossover : Kind::OutputEq;
        case 0x0799:
            return Kind::EchoEq;
        case 0x0890:
            return Kind::EffectBlock;
        case 0x0891:
            return Kind::ReverbEq;
        case 0xF0D0:
            return Kind::Status;
        default:
            return Kind::Unknown;
    }
}

int Answer::MinimumLength() const {
    const Answer& a = *this;
    // The highest byte index a row reads, plus one, plus the checksum.
    auto upTo = [](int lastIndex) { return lastIndex + 2; };
    switch (a[3] << 8 | a[4]) {
        case 0x0288:
        case 0x0798:
            return upTo(4);  // passed over: nothing past the code
        case 0x01A0:
        case 0x0280:
        case 0x0285:
            return upTo(6);
        case 0x0283:
            return upTo(7);
        case 0x0284:
            return upTo(8);
        case 0x01A2:
        case 0x06B0:
        case 0x079A:
        case 0x0892:
            return upTo(10);
        case 0x04C1:
            return upTo(11);
        case 0x0282:
        case 0x04C0:
            return upTo(12);
        case 0xF0D0:
            return upTo(14);
        case 0x01A1:
        case 0x0281:
        case 0x04C2:
            return upTo(15);
        case 0x0799:  // the low-pass band carries the echo pre-delay
            return upTo(a[6] == 4 ? 17 : 15);
        case 0x0891:  // the low-pass band carries the reverb pre-delay
            return upTo(a[6] == 1 ? 17 : 15);
        case 0x0890:
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

int LimiterPage(int channel) {
    // The limiter frames number the subwoofer 2 and the centre 3; the answers echo that channel.
    switch (channel) {
        case 0:
        case 1:
            return kMainOut;
        case 2:
            return kBassOut;
        case 3:
            return kMidOut;
        default:
            return kSubOut;
    }
}

Outputs DecodeOutputs(const Answer& a) {
    return Outputs{a[6], a[7], a[8], a[9], a[10], a[11]};
}

int LevelKind(const Answer& a) {
    switch (a[3] << 8 | a[4]) {
        case 0x06B0:
            return 1;
        case 0x079A:
            return 2;
        case 0x0892:
            return 3;
        default:
            return 0;
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
