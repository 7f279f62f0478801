#include "pages/channel_frames.h"

#include <algorithm>

#include "controls/band_limits.h"
#include "controls/band_types.h"

namespace chan {

void PutLe16(ZemCmd::Cmd& frame, int offset, unsigned value) {
    frame[offset] = static_cast<std::uint8_t>(value & 0xFF);
    frame[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

int BandFrameHz(const ZemCmd::Cmd& frame) {
    return frame[14] * 65536 + frame[10] * 256 + frame[9];
}

ZemCmd::AlcFrame LimiterFrame(LimiterTarget target, const LimiterValues& v) {
    ZemCmd::AlcFrame f;
    f[4] = target.group;
    f[5] = target.sub;
    f[6] = target.channel;
    PutLe16(f, 7, static_cast<unsigned>(v.startTime));
    PutLe16(f, 9, static_cast<unsigned>(v.startTime * v.releaseMultiplier));
    f[11] = static_cast<std::uint8_t>((v.limit + 64) & 0xFF);
    f[12] = static_cast<std::uint8_t>(v.ratio & 0xFF);
    f.Seal();
    return f;
}

const std::array<std::uint16_t, kGateAmplitudeCount> kNoiseGateAmplitude{
    32767, 29204, 26028, 23197, 20675, 18426, 16422, 14636, 13045, 11626,  //
    10362, 9235,  8230,  7335,  6538,  5827,  5193,  4628,  4125,  3676,   //
    3276,  2920,  2602,  2319,  2067,  1842,  1642,  1463,  1304,  1162,   //
    1036,  923,   823,   733,   653,   582,   519,   462,   412,   367,    //
    327,   292,   260,   231,   206,   184,   164,   146,   130,   116,    //
    103,   92,    82,    73,    65,    58,    51,    46,    41,    36,     //
    32,    29,    26,    23,    20,    18,    16,    14,    13,    12,     //
    10,    9,     8,     7,     6,     5,     4,     3,     2,     1,      //
    0};

std::uint16_t NoiseGateAmplitude(int levelDb) {
    if (levelDb <= kGateOff) return 0;
    const int index = std::clamp(-levelDb, 0, kGateAmplitudeCount - 1);
    return kNoiseGateAmplitude[static_cast<std::size_t>(index)];
}

ZemCmd::Cmd NoiseGateFrame(int startDb, int releaseDb) {
    ZemCmd::Cmd f = ZemCmd::Frame(15, ZemCmd::kClassWrite, 0x12);
    f[4] = startDb != kGateOff ? 1 : 0;
    f[5] = 2;
    const unsigned a = NoiseGateAmplitude(startDb);
    const unsigned b = NoiseGateAmplitude(releaseDb);
    PutLe16(f, 6, a);
    PutLe16(f, 8, a);
    PutLe16(f, 10, b);
    PutLe16(f, 12, b);
    f.Seal();
    return f;
}

int ClampFbcMode(int mode) {
    return std::clamp(mode, 0, kFbcModeCount - 1);
}

ZemCmd::Cmd FbcFrame(int mode) {
    const int k = ClampFbcMode(mode);
    ZemCmd::Cmd f = ZemCmd::Frame(11, ZemCmd::kClassWrite, 0x08);
    f[4] = 2;
    f[5] = k != 0 ? 1 : 0;
    f[6] = 3;
    for (int i = 0; i < 3; ++i) f[7 + i] = static_cast<std::uint8_t>(kFbcRows[k][i] & 0xFF);
    f.Seal();
    return f;
}

int FbcModeFromValues(int on, int v1, int v2, int v3) {
    if (on == 0) return 0;
    for (int k = 1; k < kFbcModeCount; ++k) {
        const auto& row = kFbcRows[k];
        if (row[0] == v1 && row[1] == v2 && row[2] == v3) return k;
    }
    return 0;
}

ZemCmd::Cmd EffectBlockFrame(const EffectBlockValues& v) {
    auto low = [](int x) { return static_cast<std::uint8_t>(x & 0xFF); };
    ZemCmd::Cmd f;
    const std::uint8_t bytes[] = {ZemCmd::kSync,
                                  22,
                                  ZemCmd::kClassWrite,
                                  0x0D,
                                  1,
                                  8,
                                  low(100 - v.damp),
                                  low(v.roomSize),
                                  low(v.width),
                                  low(v.echoDelay),
                                  low(v.echoDelay >> 8),
                                  low(v.echoDecay),
                                  100,
                                  low(v.echoDirect),
                                  low(v.echoEffect),
                                  100,
                                  low(v.reverbDirect),
                                  low(v.reverbEffect),
                                  100,
                                  low(v.echoInDry),
                                  low(v.echoInReverb)};
    std::copy(std::begin(bytes), std::end(bytes), f.b.begin());
    f.Seal();
    return f;
}

ZemCmd::EqFrame CrossoverFrame(int hz, int slopeItem) {
    ZemCmd::EqFrame f;
    f[4] = 0x09;
    f[5] = 0x00;
    f[6] = 0x0B;
    PutLe16(f, 7, hz == kCrossoverTop ? kGainField0db : kGainField12db);
    PutLe16(f, 9, static_cast<unsigned>(hz));
    PutLe16(f, 11, slopeItem == 0 ? 50 : 70);
    f[13] = outch::kEqPageSubwoofer;  // the crossover is the subwoofer's low-pass
    f[14] = 0x00;
    f[15] = 0x04;
    f[16] = 0x00;
    return f;
}

std::optional<ZemCmd::EqFrame> MarkBandFrame(const ZemCmd::EqFrame& base, int band, int bandCount,
                                             const BandMarks& marks) {
    if (band < 0 || band >= bandCount) return std::nullopt;
    ZemCmd::EqFrame f = base;
    f[4] |= marks.byte4;
    f[6] |= marks.byte6;
    if (marks.byte13) f[13] = *marks.byte13;
    f.Seal();
    return f;
}

void ApplyMusicSlope(ZemCmd::EqFrame& frame, int band, int lastBand, bool steep) {
    if (band == 0) {
        PutLe16(frame, 7, steep ? kGainField24db : kGainField12db);
    } else if (band == lastBand) {
        frame[6] = static_cast<std::uint8_t>((frame[6] & ~1u) | (steep ? 1u : 0u));
    } else {
        return;
    }
    frame.Seal();
}

MusicFollowUp RewriteMusicFollowUp(ZemCmd::EqFrame& frame, int lastBand, bool steep) {
    frame[5] = static_cast<std::uint8_t>(lastBand);
    frame[15] = 5;
    const int hz = BandFrameHz(frame);
    MusicFollowUp r{};
    r.hz = hz;
    if (steep) {
        frame[6] |= 1;
        r = {hz, controls::kTypeHighPass, true, hz};
    } else {
        frame[6] &= static_cast<std::uint8_t>(~1u);
        r = {controls::kMaxFreq, controls::kTypeOff, false, hz};
    }
    PutLe16(frame, 7, steep ? kGainField24db : kGainField12db);
    frame.Seal();
    return r;
}

}  // namespace chan
