#pragma once
// Read-back answers put into the channel pages, one function per answer kind. Every value is set
// without a notice, so nothing here raises a frame, and within the range of the control that
// shows it. The master sliders, the preset combo and the volume limits stay with the main window.

#include "console/channel_pages.h"
#include "console/reply_decode.h"

namespace controls {
class CGraphWave;
}

namespace console::apply {

// The graph follows an answer only for the page it shows.
struct GraphTarget {
    controls::CGraphWave* graph;
    int shownPage;
};

void MixLevels(const ChannelPages& pages, const reply::Answer& a);
void MusicEq(const ChannelPages& pages, const reply::Answer& a);
void MicEq(const ChannelPages& pages, const reply::Answer& a);
void MicLimiter(const ChannelPages& pages, const reply::Answer& a);
void NoiseGate(const ChannelPages& pages, const reply::Answer& a);
void Fbc(const ChannelPages& pages, const reply::Answer& a);
void OutputLimiter(const ChannelPages& pages, const reply::Answer& a);
void Delays(const ChannelPages& pages, const reply::Answer& a);
void OutputEq(const ChannelPages& pages, const reply::Answer& a);
void Crossover(const ChannelPages& pages, const reply::Answer& a, GraphTarget graph);
void EchoEq(const ChannelPages& pages, const reply::Answer& a, GraphTarget graph);
void EffectBlock(const ChannelPages& pages, const reply::Answer& a);
void ReverbEq(const ChannelPages& pages, const reply::Answer& a);
// The status answer's page parts: the music input and each output page's mute bits.
void StatusPages(const ChannelPages& pages, const reply::Status& s);

// The answer of a kind above into the pages; false for a kind no page takes (masters, status,
// pass-over, unknown).
bool ToPages(reply::Kind kind, const ChannelPages& pages, const reply::Answer& a, GraphTarget graph);

}  // namespace console::apply
