#include "console/frame_build.h"

#include "console/master_index.h"
#include "controls/band_limits.h"
#include "link/output_channels.h"

namespace console::frames {

namespace {

void Put16(ZemCmd::Cmd& f, int at, int value) {
    f[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
    f[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::uint8_t Low8(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

// Output mute bits in the mix frames' layout (bit 1 main left .. bit 6 surround right).
int MixMuteBits(const Mutes& m) {
    return (m.surround & 3) << 5 | (m.bass & 1) << 4 | (m.mid & 1) << 3 | (m.main & 3) << 1;
}

std::uint8_t MainMuteAction(const Mutes& m) {
    return static_cast<std::uint8_t>((m.main & 3) << 4 | ZemCmd::kActMainMute);
}

std::uint8_t OtherMuteAction(const Mutes& m) {
    const int others = (m.mid & 1) | (m.bass & 1) << 1 | (m.surround & 3) << 2;
    return Low8(others << 4 | ZemCmd::kActOtherMute);
}

}  // namespace

std::uint8_t MasterLevel(int index, int p) {
    switch (index) {
        case master::kMic:
            return Low8(p - 126);
        case master::kEffect:
            return Low8(p - 116);
        default:
            return Low8(p < 60 ? (p + 40) * 2 : p - 116);
    }
}

ZemCmd::Cmd MasterVolume(int index, int position) {
    ZemCmd::Cmd f = ZemCmd::Frame(17, ZemCmd::kClassWrite, 0x0F);
    f[4] = index == master::kMusic ? 1 : 2;
    f[5] =
        static_cast<std::uint8_t>(0x01 | (index == master::kEffect ? 0x80 : 0) | (position == 0 ? 0x06 : 0));
    const std::uint8_t level = MasterLevel(index, position);
    for (int i = 6; i <= 11; ++i) f[static_cast<std::size_t>(i)] = level;
    f[14] = 4;
    f.Seal();
    return f;
}

ZemCmd::Cmd MixLevels(Mix mix, const Mutes& mutes, const Six& levels) {
    ZemCmd::Cmd f;
    f[0] = ZemCmd::kSync;
    f[2] = ZemCmd::kClassWrite;
    if (mix == Mix::Music || mix == Mix::Direct) {
        f[1] = 17;
        f[3] = 0x0F;
        f[4] = mix == Mix::Music ? 1 : 6;
        f[5] = static_cast<std::uint8_t>(0x80 | MixMuteBits(mutes));
        for (int i = 0; i < 6; ++i)
            f[static_cast<std::size_t>(6 + i)] = Low8(levels[static_cast<std::size_t>(i)]);
        f[14] = 4;
    } else {
        f[1] = 19;
        f[3] = 0x0E;
        f[4] = 8;
        f[5] = static_cast<std::uint8_t>(MixMuteBits(mutes) | (mix == Mix::Reverb ? 1 : 0));
        for (int i = 0; i < 6; ++i) Put16(f, 6 + 2 * i, levels[static_cast<std::size_t>(i)]);
    }
    f.Seal();
    return f;
}

ZemCmd::Cmd Delays(const Six& ms) {
    ZemCmd::DelayFrame f;
    f[4] = 4;
    for (int i = 0; i < 6; ++i) Put16(f, 5 + 2 * i, ms[static_cast<std::size_t>(i)]);
    f[17] = 0xFF;
    f.Seal();
    return f;
}

bool IsEchoPath(PathFilter which) {
    return which == PathFilter::EchoHighPass || which == PathFilter::EchoLowPass;
}

ZemCmd::EqFrame PathFilterBand(PathFilter which, int hz, int effectBandCount) {
    const bool highPass = which == PathFilter::EchoHighPass || which == PathFilter::ReverbHighPass;
    ZemCmd::EqFrame f;
    f[4] = IsEchoPath(which) ? 0x0F : 0x11;
    f[5] = static_cast<std::uint8_t>(which == PathFilter::EchoHighPass || which == PathFilter::ReverbHighPass
                                         ? 0
                                         : (which == PathFilter::EchoLowPass ? 4 : effectBandCount - 1));
    const int off = highPass ? controls::kMinFreq : controls::kMaxFreq;
    f[6] = static_cast<std::uint8_t>(0x0A + (hz != off ? 1 : 0));
    Put16(f, 7, 24400);  // -12 dB
    f[9] = Low8(hz);
    f[10] = Low8(hz >> 8);
    f[14] = Low8(hz >> 16);
    Put16(f, 11, 60);  // Q 0.6
    f[13] = 0xFF;
    f[15] = highPass ? 5 : 4;
    f.Seal();
    return f;
}

int ChannelCode(const ZemCmd::Cmd& band) {
    return (band[4] >> 1) & 15;
}

bool IsEffectPath(const ZemCmd::Cmd& band) {
    const int c = ChannelCode(band);
    return c == 7 || c == 8;
}

ZemCmd::PassFrame ToEffectPath(const ZemCmd::Cmd& e, int preDelayMs) {
    ZemCmd::PassFrame p;
    p[4] = 8;
    p[5] = ChannelCode(e) == 8 ? 1 : 0;
    p[6] = e[9];
    p[7] = e[10];
    p[8] = e[7];
    p[9] = e[8];
    p[10] = e[11];
    p[11] = e[12];
    p[12] = e[15];
    p[13] = e[6] & 1;
    p[14] = e[5];
    Put16(p, 15, preDelayMs);
    p.Seal();
    return p;
}

ZemCmd::Cmd MusicInput(int input) {
    const bool known = input >= 0 && input <= 4;
    return ZemCmd::SystemAction(known ? static_cast<std::uint8_t>(input << 4 | ZemCmd::kActMusicInput) : 0);
}

int MuteMask(const Mutes& m) {
    return (m.surround & 3) << 4 | (m.bass & 1) << 3 | (m.mid & 1) << 2 | (m.main & 3);
}

std::vector<std::uint8_t> MuteActions(const Mutes& m, int lastMask) {
    const int changed = MuteMask(m) ^ lastMask;
    const bool mainChanged = (changed & 0x03) != 0;
    const bool othersChanged = (changed & ~0x03) != 0;
    std::vector<std::uint8_t> actions;
    if (mainChanged) actions.push_back(MainMuteAction(m));
    // With nothing changed the others' state goes out, as a repeated notice always did.
    if (othersChanged || !mainChanged) actions.push_back(OtherMuteAction(m));
    return actions;
}

std::vector<std::uint8_t> AllMuteActions(const Mutes& m) {
    return {MainMuteAction(m), OtherMuteAction(m)};
}

ZemCmd::Cmd SecondMainLimiter(const ZemCmd::Cmd& alc) {
    ZemCmd::Cmd f = alc;
    f[6] = outch::kLimiterMainSecond;
    f.Seal();
    return f;
}

ZemCmd::Cmd Heartbeat() {
    return ZemCmd::SystemAction(ZemCmd::kActHeartbeat);
}

bool WatchdogTick(int& count, bool received) {
    if (received) {
        count = kWatchdogFull;
        return false;
    }
    if (count > 0) {
        --count;
        return false;
    }
    return true;
}

}  // namespace console::frames
