#include "console/reply_apply.h"

#include <algorithm>
#include <utility>

#include "controls/band_limits.h"
#include "controls/graph_wave.h"
#include "link/frame.h"
#include "link/output_channels.h"
#include "pages/channel_output_page.h"
#include "pages/channel_sliders.h"
#include "pages/channel_traits.h"
#include "pages/level_kind.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"

namespace console::apply {
namespace {

using pageindex::kBassOut;
using pageindex::kMainOut;
using pageindex::kMidOut;
using pageindex::kSubOut;

void ApplyBand(Page* page, const reply::Band& b) {
    if (!page) return;
    page->SetBand(b.index, b.freq, b.gain, b.q, b.code);
    page->SetBandEnabled(b.index, b.enabled);
}

// The microphone answer orders ratio last; the outputs' order it second.
void ApplyLimiter(Page* page, const reply::Limiter& l, bool outputOrder) {
    if (!page) return;
    namespace id = pageid;
    page->SetSliderPos(id::kLimitSlider, l.limit);
    page->UpdateLimitLabel();
    if (outputOrder) {
        page->SetSliderPos(id::kRatioSlider, l.ratio);
        page->UpdateRatioLabel();
    }
    page->SetSliderPos(id::kStartTimeSlider, l.start);
    page->UpdateStartTimeLabel();
    page->SetSliderPos(id::kAttackSlider, l.multiplier);
    page->UpdateAttackLabel();
    if (!outputOrder) {
        page->SetSliderPos(id::kRatioSlider, l.ratio);
        page->UpdateRatioLabel();
    }
}

// A value brought into the range of a page's slider, so that what the page keeps beside the slider
// (a band's frequency) is what the slider shows.
int WithinSlider(const Page* page, int id, int value) {
    const SliderModel* s = page ? page->Slider(id) : nullptr;
    return s ? std::clamp(value, s->min, s->max) : value;
}

int SliderOfLevel(levelkind::Index kind) {
    static constexpr int kIds[levelkind::kCount] = {pageid::kMusicLevelSlider, pageid::kDirectLevelSlider,
                                                    pageid::kEchoLevelSlider, pageid::kReverbLevelSlider};
    return kIds[kind];
}

// The output page of an output-EQ answer's channel (outch::Mix); null for a channel or band no
// page has.
Page* OutputEqPage(const ChannelPages& pages, const reply::Band& b) {
    constexpr int kLastSmallBand = 3;  // the centre, subwoofer and surround pages' last band
    switch (b.channel) {
        case outch::kMixMainLeft:
            return pages.Output(kMainOut);
        case outch::kMixSubwoofer:
            return b.index <= kLastSmallBand ? pages.Output(kBassOut) : nullptr;
        case outch::kMixCentre:
            return b.index <= kLastSmallBand ? pages.Output(kMidOut) : nullptr;
        case outch::kMixSurroundLeft:
            return b.index <= kLastSmallBand ? pages.Output(kSubOut) : nullptr;
        default:
            return nullptr;
    }
}

}  // namespace

void MixLevels(const ChannelPages& pages, const reply::Answer& a) {
    const levelkind::Index which = reply::LevelKind(a);
    const int id = SliderOfLevel(which);
    const reply::Outputs o = reply::DecodeOutputs(a);
    const std::pair<Page*, int> rows[] = {{pages.Output(kMainOut), o.main},
                                          {pages.Output(kBassOut), o.bass},
                                          {pages.Output(kMidOut), o.mid},
                                          {pages.Output(kSubOut), o.surround}};
    for (const auto& [page, value] : rows) {
        if (!page) continue;
        page->SetSliderPos(id, value);
        page->UpdateVolumeLabel(which);
    }
}

void MusicEq(const ChannelPages& pages, const reply::Answer& a) {
    PageMusic* music = pages.Music();
    if (!music) return;
    const reply::Band b = reply::DecodeBand(a);
    if (b.index == 0) {
        const int hz = WithinSlider(music, chan::id::kHighPass, b.freq);
        music->SetHighPass(0, hz);
        ZemCmd::EqFrame slope;
        if (b.gainField == reply::kSlope12) {
            slope[15] = 0;
            music->SetSlopeFromCmd(slope);  // band 8 off, as the combo's "12db" does
        } else if (b.gainField == reply::kSlope24) {
            slope[15] = 1;
            music->SetSlopeFromCmd(slope);
            music->SetHighPass(music->GetBandCount() - 1, hz);
        }
    } else if (b.index < chan::music::kBandCount - 1) {
        ApplyBand(music, b);
    }
}

void MicEq(const ChannelPages& pages, const reply::Answer& a) {
    PageMic* mic = pages.Mic();
    if (!mic) return;
    const reply::Band b = reply::DecodeBand(a);
    if (b.index == 0) {
        const int hz = WithinSlider(mic, pageid::kHighPassSlider, b.freq);
        mic->SetSliderPos(pageid::kHighPassSlider, hz);
        mic->Model().band.freq[0] = hz;
        mic->Model().band.q[0] = 0.6f;
        mic->Model().band.type[0] = kTypeHighPass;
        mic->UpdateHighPassLabel();
    } else if (b.index < chan::mic::kBandCount - 1) {
        ApplyBand(mic, b);
    }
}

void MicLimiter(const ChannelPages& pages, const reply::Answer& a) {
    ApplyLimiter(pages.Mic(), reply::DecodeLimiter(a), false);
}

void NoiseGate(const ChannelPages& pages, const reply::Answer& a) {
    PageMic* mic = pages.Mic();
    if (!mic) return;
    const reply::Gate g = reply::DecodeGate(a);
    mic->SetSliderPos(pageid::kGateStartSlider, g.start);
    mic->UpdateGateStartLabel();
    mic->SetSliderPos(pageid::kGateReleaseSlider, g.release);
    mic->UpdateGateReleaseLabel();
}

void Fbc(const ChannelPages& pages, const reply::Answer& a) {
    if (PageMic* mic = pages.Mic()) mic->SetFbcMode(reply::DecodeFbcMode(a));
}

void OutputLimiter(const ChannelPages& pages, const reply::Answer& a) {
    ApplyLimiter(pages.Output(reply::LimiterPage(a[6])), reply::DecodeLimiter(a), true);
}

void Delays(const ChannelPages& pages, const reply::Answer& a) {
    const reply::Outputs o = reply::DecodeOutputs(a);
    // The main and surround pages have a delay per side, the others one.
    const auto pair = [](Page* page, int left, int right) {
        if (!page) return;
        page->SetSliderPos(pageid::kLeftDelaySlider, left);
        page->SetSliderPos(pageid::kRightDelaySlider, right);
        page->UpdateLeftDelayLabel();
        page->UpdateRightDelayLabel();
    };
    pair(pages.Output(kMainOut), o.main, o.mainRight);
    for (const auto& [page, value] :
         {std::pair<Page*, int>{pages.Output(kBassOut), o.bass}, {pages.Output(kMidOut), o.mid}}) {
        if (!page) continue;
        page->SetSliderPos(pageid::kDelaySlider, value);
        page->UpdateDelayLabel();
    }
    pair(pages.Output(kSubOut), o.surround, o.surroundRight);
}

void OutputEq(const ChannelPages& pages, const reply::Answer& a) {
    const reply::Band b = reply::DecodeBand(a);
    ApplyBand(OutputEqPage(pages, b), b);
}

void Crossover(const ChannelPages& pages, const reply::Answer& a, GraphTarget graph) {
    PageBassOut* bass = pages.BassOut();
    if (!bass) return;
    const reply::Band b = reply::DecodeBand(a);
    bass->ApplyCrossover(b.freq, static_cast<int>(b.gain), b.code, b.q);
    if (graph.shownPage == kBassOut && graph.graph) {
        const int last = bass->GetBandCount() - 1;
        graph.graph->SetBandFreq(last, b.freq);
        graph.graph->SetBandType(last, kTypeLowPass);
    }
}

void EchoEq(const ChannelPages& pages, const reply::Answer& a, GraphTarget graph) {
    PageEffect* effect = pages.Effect();
    if (!effect) return;
    const reply::Band b = reply::DecodeBand(a);
    const int last = effect->GetBandCount() - 1;
    if (b.index == 0) {
        effect->SetEchoHighPass(WithinSlider(effect, chan::fx::kEchoHighPass, b.freq));
    } else if (b.index == last) {
        const int hz = WithinSlider(effect, chan::fx::kEchoLowPass, b.freq);
        effect->SetEchoLowPass(hz);
        effect->SetSliderPos(chan::fx::kEchoPreDelay, b.preDelay);
        effect->UpdateEchoPreDelayLabel();
        const int type = hz >= controls::kMaxFreq ? kTypeOff : kTypeLowPass;
        if (graph.shownPage == pageindex::kEffect && graph.graph) {
            graph.graph->SetBandType(last, type);
            graph.graph->SetBandFreq(last, hz);
        }
        effect->SetBandFreqGain(last, hz, 0.0f);
        effect->SetTypeButtons(last, type);
    } else {
        ApplyBand(effect, b);
    }
}

void EffectBlock(const ChannelPages& pages, const reply::Answer& a) {
    PageEffect* effect = pages.Effect();
    if (!effect) return;
    namespace fx = chan::fx;
    const std::pair<int, int> sliders[] = {
        {fx::kReverbDirect, a[16]}, {fx::kReverbEffect, a[17]}, {fx::kWidth, a[8]},
        {fx::kRoomSize, a[7]},      {fx::kDamp, 100 - a[6]},    {fx::kEchoDelay, a.Le16(9)},
        {fx::kEchoDecay, a[11]},    {fx::kEchoEffect, a[14]},   {fx::kEchoDirect, a[13]},
        {fx::kEchoInDry, a[19]},    {fx::kEchoInReverb, a[20]}};
    for (const auto& [id, value] : sliders) effect->SetSliderPos(id, value);
    effect->UpdateReverbDirectVolumeLabel();
    effect->UpdateReverbEffectVolumeLabel();
    effect->UpdateWidthLabel();
    effect->UpdateRoomSizeLabel();
    effect->UpdateDampLabel();
    effect->UpdateEchoDelayLabel();
    effect->UpdateEchoDecayLabel();
    effect->UpdateEchoDirectVolumeLabel();
    effect->UpdateEchoEffectVolumeLabel();
    effect->UpdateEchoInDryLabel();
    effect->UpdateEchoInReverbLabel();
}

void ReverbEq(const ChannelPages& pages, const reply::Answer& a) {
    PageEffect* effect = pages.Effect();
    if (!effect) return;
    const reply::Band b = reply::DecodeBand(a);
    if (b.index == 0) {
        effect->SetReverbHighPass(b.freq);
    } else if (b.index == 1) {
        effect->SetReverbLowPass(b.freq);
        effect->SetSliderPos(chan::fx::kReverbPreDelay, b.preDelay);
        effect->UpdateReverbPreDelayLabel();
    }
}

void StatusPages(const ChannelPages& pages, const reply::Status& s) {
    // The stored input too (one of the five only): the music-input frame and the preset file's
    // "[music type]" use it.
    if (PageMusic* music = pages.Music()) music->ApplyDeviceInput(s.musicInput);
    // Each output page's own mute bits from the shared mute byte.
    struct MuteRoute {
        pageindex::Index page;
        int firstBit;
        int bits;
    };
    static constexpr MuteRoute kRoutes[] = {
        {kMainOut, 0, 2}, {kBassOut, 3, 1}, {kMidOut, 2, 1}, {kSubOut, 4, 2}};
    for (const MuteRoute& r : kRoutes) {
        if (chan::OutputPage* page = pages.Output(r.page))
            page->SetMuteBits((s.mutes >> r.firstBit) & ((1 << r.bits) - 1));
    }
}

namespace {

using Applier = void (*)(const ChannelPages&, const reply::Answer&, GraphTarget);

template <void (*Apply)(const ChannelPages&, const reply::Answer&)>
void WithoutGraph(const ChannelPages& pages, const reply::Answer& a, GraphTarget) {
    Apply(pages, a);
}

struct Route {
    reply::Kind kind;
    Applier apply;
};

constexpr Route kRoutes[] = {
    {reply::Kind::MixLevels, WithoutGraph<MixLevels>},
    {reply::Kind::MusicEq, WithoutGraph<MusicEq>},
    {reply::Kind::MicEq, WithoutGraph<MicEq>},
    {reply::Kind::MicLimiter, WithoutGraph<MicLimiter>},
    {reply::Kind::NoiseGate, WithoutGraph<NoiseGate>},
    {reply::Kind::Fbc, WithoutGraph<Fbc>},
    {reply::Kind::OutputLimiter, WithoutGraph<OutputLimiter>},
    {reply::Kind::Delays, WithoutGraph<Delays>},
    {reply::Kind::OutputEq, WithoutGraph<OutputEq>},
    {reply::Kind::Crossover, Crossover},
    {reply::Kind::EchoEq, EchoEq},
    {reply::Kind::EffectBlock, WithoutGraph<EffectBlock>},
    {reply::Kind::ReverbEq, WithoutGraph<ReverbEq>},
};

}  // namespace

bool ToPages(reply::Kind kind, const ChannelPages& pages, const reply::Answer& a, GraphTarget graph) {
    for (const Route& r : kRoutes) {
        if (r.kind != kind) continue;
        r.apply(pages, a, graph);
        return true;
    }
    return false;
}

}  // namespace console::apply
