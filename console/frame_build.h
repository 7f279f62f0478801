#pragma once
// The main window's own frames, built from plain values read off the controls: master volumes,
// output mixes and delays, the effect path's filters and band frames, music input, mutes, the
// second main limiter and the heartbeat. No widgets here.

#include <array>
#include <cstdint>
#include <vector>

#include "link/frame.h"

namespace console::frames {

// Output mute words as the pages keep them: main and surround two bits (bit 0 left, bit 1 right),
// mid and bass one bit.
struct Mutes {
    int main = 0;
    int mid = 0;
    int bass = 0;
    int surround = 0;
};

// One value per output channel in frame order: main L, main R, mid, bass, surround L, surround R.
using Six = std::array<int, 6>;

// `index` is a console::master::Index.
std::uint8_t MasterLevel(int index, int position);
ZemCmd::Cmd MasterVolume(int index, int position);

enum class Mix { Music, Direct, Echo, Reverb };
ZemCmd::Cmd MixLevels(Mix mix, const Mutes& mutes, const Six& levels);

// Delays in ms.
ZemCmd::Cmd Delays(const Six& ms);

// The effect path's pass filters, as the band frame the conversion below turns into F1 09.
enum class PathFilter { EchoHighPass, EchoLowPass, ReverbHighPass, ReverbLowPass };
ZemCmd::EqFrame PathFilterBand(PathFilter which, int hz, int effectBandCount);
bool IsEchoPath(PathFilter which);

// Channel code of a band frame: 7 the echo path (effect page EQ), 8 the reverb path.
int ChannelCode(const ZemCmd::Cmd& band);
bool IsEffectPath(const ZemCmd::Cmd& band);
// The 18-byte effect-path frame for a band frame of channel code 7 or 8.
ZemCmd::PassFrame ToEffectPath(const ZemCmd::Cmd& band, int preDelayMs);

// A5 06 F9 03 with the input's action (0x09 | input << 4; 0 for an input outside 0..4).
ZemCmd::Cmd MusicInput(int input);

// The mute state as one mask: surround bits 4..5, bass 3, mid 2, main 0..1.
int MuteMask(const Mutes& mutes);
// The mute actions that bring the device from the mask last sent to the new state, in sending
// order: the main pair's ((main << 4) | 7) when a main bit changed, the other outputs' ((mid |
// bass << 1 | surround << 2) << 4 | 8) when another bit changed or no main bit did.
std::vector<std::uint8_t> MuteActions(const Mutes& mutes, int lastMask);
// Both mute actions, the main pair's first: they set every output whatever was sent before.
std::vector<std::uint8_t> AllMuteActions(const Mutes& mutes);

// The main page's limiter frame for its second channel (byte 6 = 1), sealed again.
ZemCmd::Cmd SecondMainLimiter(const ZemCmd::Cmd& alc);

ZemCmd::Cmd Heartbeat();

// One heartbeat tick of the link watchdog: bytes received refill the count, silence drains it.
// True when the link counts as lost on this tick (the count was already empty).
constexpr int kWatchdogFull = 4;
bool WatchdogTick(int& count, bool received);

}  // namespace console::frames
