#include "sim/writes.h"

#include <cstdlib>

#include "link/output_channels.h"

namespace sim {

namespace {

const int kGateAmplitude[81] = {
    32767, 29204, 26028, 23197, 20675, 18426, 16422, 14636, 13045, 11626, 10362, 9235, 8230, 7335,
    6538,  5827,  5193,  4628,  4125,  3676,  3276,  2920,  2602,  2319,  2067,  1842, 1642, 1463,
    1304,  1162,  1036,  923,   823,   733,   653,   582,   519,   462,   412,   367,  327,  292,
    260,   231,   206,   184,   164,   146,   130,   116,   103,   92,    82,    73,   65,   58,
    51,    46,    41,    36,    32,    29,    26,    23,    20,    18,    16,    14,   13,   12,
    10,    9,     8,     7,     6,     5,     4,     3,     2,     1,     0};

int Le16(const ZemCmd::Cmd& f, int at) {
    return f[at] | (f[at + 1] << 8);
}

const char* const kLevelWhat[kLevelKinds] = {"music levels", "direct levels", "echo levels", "reverb levels"};

// Output EQ page by the band frame's page code (byte 13).
bool OutputPathOfPageCode(int code, Path& out) {
    switch (code) {
        case outch::kEqPageMain:
            out = Path::Main;
            return true;
        case outch::kEqPageCentre:
            out = Path::Mid;
            return true;
        case outch::kEqPageSubwoofer:
            out = Path::Bass;
            return true;
        case outch::kEqPageSurround:
            out = Path::Surround;
            return true;
        default:
            return false;
    }
}

// Band frames name the path by channel number (1 music, 2 mic, 4 outputs, 7 echo, 8 reverb).
bool PathOfChannel(int channel, int pageCode, Path& out) {
    switch (channel) {
        case 1:
            out = Path::Music;
            return true;
        case 2:
            out = Path::Mic;
            return true;
        case 4:
            return OutputPathOfPageCode(pageCode, out);
        case 7:
            out = Path::Echo;
            return true;
        case 8:
            out = Path::Reverb;
            return true;
        default:
            return false;
    }
}

// The reverb path keeps two filters: slot 0 high-pass, slot 1 low-pass (any band above 0).
int Slot(Path p, int band) {
    return p == Path::Reverb ? (band == 0 ? 0 : 1) : band;
}
int LowPassSlot(Path p) {
    return p == Path::Reverb ? 1 : 4;
}

bool SetBand(Store& s, Path p, int band, const Band& b, std::string& what) {
    if (band < 0 || band >= kMaxBands) return false;
    Band& dst = s.Eq(p)[Slot(p, band)];
    const int preDelay = dst.preDelay;
    dst = b;
    dst.preDelay = preDelay;
    what = std::string(PathName(p)) + " band " + std::to_string(band);
    return true;
}

// The levels frame F1 0F: masters and the music and direct mixes, by mode and bit 7 of byte 5.
bool SetLevels(Store& s, int mode, bool bit7, const int* values, std::string& what) {
    const int level = values[0];
    if (mode == 2 && !bit7) {
        s.micMaster = (level + 56) & 0xFF;
        what = "mic master";
    } else if (mode == 2) {
        s.effectMaster = (level + 56) & 0xFF;
        what = "effect master";
    } else if (mode == 1 && !bit7) {
        s.musicMaster = (level + 56) & 0xFF;
        what = "music master";
    } else {
        int kind;
        switch (mode) {
            case 1:
                kind = kMusicLevel;
                break;
            case 6:
                kind = kDirectLevel;
                break;
            case 7:
                kind = kEchoLevel;
                break;
            case 8:
                kind = kReverbLevel;
                break;
            default:
                return false;
        }
        for (int i = 0; i < kOutputs; ++i) s.levels[kind][i] = values[i] & 0xFF;
        what = kLevelWhat[kind];
    }
    return true;
}

bool SetLimiter(Store& s, int group, int channel, int start, int multiplier, int limitByte, int ratio,
                std::string& what) {
    int index;
    if (group == 2) {
        index = kMicLimiter;
    } else if (group == 4 && channel <= 4) {
        index = channel;
    } else {
        return false;
    }
    s.limiters[index] = Limiter{start, multiplier, limitByte - 64, ratio};
    what = index == kMicLimiter ? "mic limiter" : "limiter " + std::to_string(index);
    return true;
}

void SetGate(Store& s, int on, int startAmplitude, int releaseAmplitude) {
    s.gateOn = on ? 1 : 0;
    // With the gate off the start level has no amplitude of its own; keep the last one.
    if (on) s.gateStart = GateDbOfAmplitude(startAmplitude);
    s.gateRelease = GateDbOfAmplitude(releaseAmplitude);
}

bool ApplyNormal(Store& s, const ZemCmd::Cmd& f, std::string& what) {
    const int len = f[1];
    switch ((len << 8) | f[3]) {
        case (17 << 8) | 0x0A: {  // EQ band, also the crossover
            Path p;
            if (!PathOfChannel((f[4] >> 1) & 0x3F, f[13], p)) return false;
            const Band b{f[6] & 1, Le16(f, 7), f[9] | (f[10] << 8) | (f[14] << 16), Le16(f, 11), f[15], 0};
            return SetBand(s, p, f[5], b, what);
        }
        case (18 << 8) | 0x09: {  // effect-path band with the path's pre-delay
            if (f[5] > 1) return false;
            const Path p = f[5] == 0 ? Path::Echo : Path::Reverb;
            const Band b{f[13] & 1, Le16(f, 8), Le16(f, 6), Le16(f, 10), f[12], 0};
            if (!SetBand(s, p, f[14], b, what)) return false;
            s.Eq(p)[LowPassSlot(p)].preDelay = Le16(f, 15);
            return true;
        }
        case (17 << 8) | 0x0F: {
            const int values[kOutputs] = {f[6], f[7], f[8], f[9], f[10], f[11]};
            return SetLevels(s, f[4], (f[5] & 0x80) != 0, values, what);
        }
        case (19 << 8) | 0x0E: {  // echo (bit 0 clear) or reverb levels, 16 bits each
            const int kind = (f[5] & 1) ? kReverbLevel : kEchoLevel;
            for (int i = 0; i < kOutputs; ++i) s.levels[kind][i] = f[6 + 2 * i];
            what = kLevelWhat[kind];
            return true;
        }
        case (19 << 8) | 0x10:
            for (int i = 0; i < kOutputs; ++i) s.delays[i] = Le16(f, 5 + 2 * i);
            what = "delays";
            return true;
        case (14 << 8) | 0x18: {
            const int start = Le16(f, 7);
            const int multiplier = start ? Le16(f, 9) / start : 0;
            return SetLimiter(s, f[4], f[6], start, multiplier, f[11], f[12], what);
        }
        case (15 << 8) | 0x12:
            SetGate(s, f[4], Le16(f, 6), Le16(f, 10));
            what = "noise gate";
            return true;
        case (11 << 8) | 0x08:
            s.fbcOn = f[5] ? 1 : 0;
            s.fbc = {f[7], f[8], f[9]};
            what = "feedback canceller";
            return true;
        case (22 << 8) | 0x0D:
            for (int i = 0; i < 15; ++i) s.effect[i] = f[6 + i];
            what = "effect block";
            return true;
        case (11 << 8) | 0x1C:
            for (int i = 0; i < 6; ++i) s.limits[i] = f[4 + i];
            what = "volume limits";
            return true;
        default:
            return false;
    }
}

// Channel of a re-laid EQ band by its code byte.
int RelaidEqChannel(int code) {
    switch (code) {
        case 0x11:
            return 2;
        case 0x31:
            return 1;
        case 0x52:
            return 4;
        case 0x29:
            return 7;
        case 0x21:
            return 8;
        default:
            return -1;
    }
}

bool ApplyRelaid(Store& s, const ZemCmd::Cmd& f, std::string& what) {
    const int len = f[1];
    if (len == 14) {
        const int pair = (f[4] << 8) | f[5];
        struct Row {
            int mode, pair;
            bool bit7, lowered;
        };
        static const Row kRows[] = {{2, 0x1001, false, true}, {2, 0x1581, true, true},
                                    {1, 0x3001, false, true}, {1, 0x3280, true, false},
                                    {6, 0x4080, true, false}, {7, 0x2A80, true, false},
                                    {8, 0x2280, true, false}};
        for (const Row& r : kRows) {
            if (r.mode != f[3] || r.pair != pair) continue;
            int values[kOutputs];
            for (int i = 0; i < kOutputs; ++i) values[i] = (f[6 + i] + (r.lowered ? 0x40 : 0)) & 0xFF;
            return SetLevels(s, r.mode, r.bit7, values, what);
        }
        if ((f[3] == 2 && f[4] == 0x12) || (f[3] == 4 && f[4] == 0x50)) {
            const int start = Le16(f, 7);
            return SetLimiter(s, f[3], f[6], start, f[9], f[11], f[12], what);
        }
        return false;
    }
    if (len == 15 && f[4] == 0x13) {
        SetGate(s, f[5], Le16(f, 6), Le16(f, 10));
        what = "noise gate";
        return true;
    }
    if (len == 10 && f[4] == 0x14) {
        s.fbcOn = f[5] ? 1 : 0;
        s.fbc = {f[6], f[7], f[8]};
        what = "feedback canceller";
        return true;
    }
    if (len == 22 && f[4] == 0x20) {
        // Byte 20 (echo-in-reverb) does not travel in this layout: keep the stored one.
        for (int i = 0; i < 14; ++i) s.effect[i] = f[6 + i];
        what = "effect block";
        return true;
    }
    if (len == 17) {
        const int channel = RelaidEqChannel(f[4]);
        Path p;
        if (channel != f[3] || !PathOfChannel(channel, f[7], p)) return false;
        const Band b{f[8] & 1, Le16(f, 9), Le16(f, 11), Le16(f, 13), f[15], 0};
        return SetBand(s, p, f[6], b, what);
    }
    if (len == 13 && f[3] == 4 && f[4] == 0x51) {
        // Bass comes before mid in this layout.
        const int order[kOutputs] = {0, 1, 3, 2, 4, 5};
        for (int i = 0; i < kOutputs; ++i) s.delays[order[i]] = f[6 + i];
        what = "delays";
        return true;
    }
    return false;
}

}  // namespace

int GateAmplitude(int db) {
    return db < 0 || db > 80 ? 0 : kGateAmplitude[db];
}

int GateDbOfAmplitude(int amplitude) {
    int best = 0;
    for (int i = 1; i <= 80; ++i)
        if (std::abs(kGateAmplitude[i] - amplitude) < std::abs(kGateAmplitude[best] - amplitude)) best = i;
    return best;
}

bool ApplyWrite(Store& s, const ZemCmd::Cmd& frame, std::string& what) {
    if (frame[2] != ZemCmd::kClassWrite) return false;
    Store work = s;
    bool relaid = false;
    if (!ApplyNormal(work, frame, what) && !(relaid = ApplyRelaid(work, frame, what))) return false;
    s = work;
    if (relaid) what += " (re-laid)";
    return true;
}

}  // namespace sim
