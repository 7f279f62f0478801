// Main window: the timer dispatch where settled changes become frames, the bulk senders (sync,
// EQ reset, EQ pass) and the heartbeat with its link watchdog.
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <algorithm>
#include <iterator>

#include "console/control_ids.h"
#include "console/frame_build.h"
#include "console/main_dialog.h"
#include "console/master_index.h"
#include "console/timer_ids.h"
#include "controls/graph_wave.h"
#include "controls/notices.h"
#include "link/ui/page_setup.h"
#include "pages/channel_output_page.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"

using namespace console;

namespace {

using pageindex::kBassOut;
using pageindex::kEffect;
using pageindex::kMainOut;
using pageindex::kMic;
using pageindex::kMidOut;
using pageindex::kSubOut;

void CopyCurveToGraph(const IWave& wave, controls::CGraphWave& graph) {
    CurveRecord curve;
    wave.CopyCurve(curve);
    controls::GraphCurve& g = graph.Curve();
    std::copy(std::begin(curve.freq), std::end(curve.freq), g.freq);
    std::copy(std::begin(curve.gain), std::end(curve.gain), g.gain);
    std::copy(std::begin(curve.q), std::end(curve.q), g.q);
    std::copy(std::begin(curve.type), std::end(curve.type), g.type);
    std::copy(std::begin(curve.shown), std::end(curve.shown), g.shown);
    std::copy(std::begin(curve.enabled), std::end(curve.enabled), g.enabled);
}

}  // namespace

void CVelmor_Zem_R7Dlg::OnTimer(std::uint32_t id) {
    switch (timer::Key(id)) {
        case kTimerHeartbeat:
            OnHeartbeat();  // keeps running
            return;
        case kTimerFirstConnect:
            m_timers.Kill(id);
            win::PostMessage(this, kMsgConnect, 0, 0);
            return;
        case kTimerStatusLamp:
            m_timers.Kill(id);
            SetStatusLamp();
            return;
        default:
            SendTimerFrames(id);
            m_timers.Kill(id);
            return;
    }
}

void CVelmor_Zem_R7Dlg::SendTimerFrames(std::uint32_t id) {
    const std::uint32_t key = timer::Key(id);
    switch (key) {
        case notice::kMasterVolume:
            SendMasterVolume(timer::Page(id));
            break;
        case notice::kGraphBandFreqGain:
        case notice::kBandGain:
        case notice::kPassBand:
            SendBand(timer::Page(id), timer::Band(id), true);
            break;
        case notice::kDelays:
            SendFrame(frames::Delays(OutputDelays()));
            break;
        case notice::kLimiter:
            SendLimiter(timer::Page(id));
            break;
        case notice::kFbc:
            if (auto* mic = Pages().Mic()) SendFrame(mic->BuildFbcCmd());
            break;
        case notice::kNoiseGate:
            if (auto* mic = Pages().Mic()) SendFrame(mic->BuildNoiseGateCmd());
            break;
        case notice::kEffectBlock:
            if (auto* effect = Pages().Effect()) SendFrame(effect->BuildEffectCmd());
            break;
        case notice::kMusicLevels:
            SendFrame(
                frames::MixLevels(frames::Mix::Music, OutputMutes(), OutputLevels(chan::id::kMusicLevel)));
            break;
        case notice::kDirectLevels:
            SendFrame(
                frames::MixLevels(frames::Mix::Direct, OutputMutes(), OutputLevels(chan::id::kDirectLevel)));
            break;
        case notice::kEchoLevels:
            SendFrame(
                frames::MixLevels(frames::Mix::Echo, OutputMutes(), OutputLevels(chan::id::kEchoLevel)));
            break;
        case notice::kReverbLevels:
            SendFrame(
                frames::MixLevels(frames::Mix::Reverb, OutputMutes(), OutputLevels(chan::id::kReverbLevel)));
            break;
        case notice::kEchoHighPass:
        case notice::kEchoLowPass:
        case notice::kReverbHighPass:
        case notice::kReverbLowPass:
            SendPathFilter(key);
            break;
        case notice::kMusicInput:
            SendMusicInput();
            break;
        case notice::kMutes:
            SendMutes();
            break;
        case notice::kCrossover:
            if (auto* bass = Pages().BassOut()) {
                ZemCmd::EqFrame frame = bass->BuildCrossoverCmd();
                frame.Seal();
                SendFrame(frame);
            }
            break;
        default:  // nothing to send for this id
            break;
    }
}

void CVelmor_Zem_R7Dlg::SendFrame(const ZemCmd::Cmd& frame) {
    if (m_options.frameTap) m_options.frameTap(frame);
    if (m_pageSetUp) m_pageSetUp->PushCmd(frame);
}

void CVelmor_Zem_R7Dlg::SendMasterVolume(int index) {
    const QSlider* slider = MasterSlider(index);
    if (!slider) return;
    SendFrame(frames::MasterVolume(index, slider->value()));
    m_masterPending[static_cast<std::size_t>(index)] = false;
}

void CVelmor_Zem_R7Dlg::SendBand(int page, int band, bool followUp) {
    IWave* wave = WaveAt(page);
    if (!wave || band < 0 || band >= wave->GetBandCount()) return;
    std::optional<ZemCmd::EqFrame> frame = wave->BuildBandCmd(band);
    if (!frame) return;
    if (frames::IsEffectPath(*frame)) {
        SendFrame(frames::ToEffectPath(*frame, EffectPreDelay(frames::ChannelCode(*frame) == 7)));
        return;
    }
    SendFrame(*frame);
    if (followUp && (*frame)[5] == 0 && wave->FollowUpBandCmd(*frame) != 0) SendFrame(*frame);
}

void CVelmor_Zem_R7Dlg::SendPeakingBands(int page) {
    IWave* wave = WaveAt(page);
    for (int band = 1; wave && band < wave->GetBandCount() - 1; ++band) SendBand(page, band, true);
}

void CVelmor_Zem_R7Dlg::SendLimiter(int page) {
    IWave* wave = WaveAt(page);
    if (!wave) return;
    ZemCmd::Cmd alc = wave->BuildAlcCmd();
    alc.Seal();
    SendFrame(alc);
    // The main pair's second channel takes the same settings.
    if (page == kMainOut) SendFrame(frames::SecondMainLimiter(alc));
}

void CVelmor_Zem_R7Dlg::SendMutes() {
    const frames::Mutes mutes = OutputMutes();
    // A change on the main pair and another output in one go needs both actions.
    SendMuteActions(mutes, frames::MuteActions(mutes, m_lastMuteMask));
}

void CVelmor_Zem_R7Dlg::SendAllMutes() {
    const frames::Mutes mutes = OutputMutes();
    SendMuteActions(mutes, frames::AllMuteActions(mutes));
}

void CVelmor_Zem_R7Dlg::SendMuteActions(const frames::Mutes& mutes,
                                        const std::vector<std::uint8_t>& actions) {
    m_lastMuteMask = frames::MuteMask(mutes);
    for (const std::uint8_t action : actions) {
        const ZemCmd::Cmd frame = ZemCmd::SystemAction(action);
        SendFrame(frame);
        SendFrame(frame);
    }
}

void CVelmor_Zem_R7Dlg::SendMusicInput() {
    if (auto* music = Pages().Music()) SendFrame(frames::MusicInput(music->MusicInput()));
}

void CVelmor_Zem_R7Dlg::SendPathFilter(std::uint32_t key) {
    auto* effect = Pages().Effect();
    if (!effect) return;
    struct Filter {
        std::uint32_t key;
        frames::PathFilter which;
        int sliderId;
    };
    static constexpr Filter kFilters[] = {
        {notice::kEchoHighPass, frames::PathFilter::EchoHighPass, chan::fx::kEchoHighPass},
        {notice::kEchoLowPass, frames::PathFilter::EchoLowPass, chan::fx::kEchoLowPass},
        {notice::kReverbHighPass, frames::PathFilter::ReverbHighPass, chan::fx::kReverbHighPass},
        {notice::kReverbLowPass, frames::PathFilter::ReverbLowPass, chan::fx::kReverbLowPass},
    };
    for (const Filter& f : kFilters) {
        if (f.key != key) continue;
        const int hz = effect->SliderPos(f.sliderId).value_or(0);
        const ZemCmd::EqFrame band = frames::PathFilterBand(f.which, hz, effect->GetBandCount());
        SendFrame(frames::ToEffectPath(band, EffectPreDelay(frames::IsEchoPath(f.which))));
    }
}

int CVelmor_Zem_R7Dlg::EffectPreDelay(bool echoPath) const {
    const auto* effect = Pages().Effect();
    if (!effect) return 0;
    return effect->SliderPos(echoPath ? chan::fx::kEchoPreDelay : chan::fx::kReverbPreDelay).value_or(0);
}

frames::Mutes CVelmor_Zem_R7Dlg::OutputMutes() const {
    auto bits = [this](pageindex::Index output) {
        const auto* page = Pages().Output(output);
        return page ? page->MuteBits() : 0;
    };
    frames::Mutes m;
    m.main = bits(kMainOut);
    m.mid = bits(kMidOut);
    m.bass = bits(kBassOut);
    m.surround = bits(kSubOut);
    return m;
}

std::array<int, 6> CVelmor_Zem_R7Dlg::OutputLevels(int sliderId) const {
    // One level slider per page; the pairs send theirs for both channels.
    std::array<int, 6> levels{};
    const pageindex::Index order[] = {kMainOut, kMainOut, kMidOut, kBassOut, kSubOut, kSubOut};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto* page = Pages().Output(order[i]);
        levels[i] = page ? page->SliderPos(sliderId).value_or(0) : 0;
    }
    return levels;
}

std::array<int, 6> CVelmor_Zem_R7Dlg::OutputDelays() const {
    struct Source {
        pageindex::Index page;
        int sliderId;
    };
    const Source sources[] = {{kMainOut, chan::id::kLeftDelay}, {kMainOut, chan::id::kRightDelay},
                              {kMidOut, chan::id::kDelay},      {kBassOut, chan::id::kDelay},
                              {kSubOut, chan::id::kLeftDelay},  {kSubOut, chan::id::kRightDelay}};
    std::array<int, 6> delays{};
    for (std::size_t i = 0; i < delays.size(); ++i) {
        const auto* page = Pages().Output(sources[i].page);
        delays[i] = page ? page->SliderPos(sources[i].sliderId).value_or(0) : 0;
    }
    return delays;
}

void CVelmor_Zem_R7Dlg::ArmMasterVolumeTimers() {
    for (int i = 0; i < master::kCount; ++i) Rearm(timer::Id(notice::kMasterVolume, i), m_options.debounceMs);
}

void CVelmor_Zem_R7Dlg::SyncAllToDevice() {
    ArmMasterVolumeTimers();
    for (std::uint32_t key :
         {notice::kMusicLevels, notice::kDirectLevels, notice::kEchoLevels, notice::kReverbLevels})
        Rearm(key);
    OnEchoHighPassChanged();
    OnEchoLowPassChanged();
    for (std::uint32_t key :
         {notice::kReverbHighPass, notice::kReverbLowPass, notice::kDelays, notice::kEffectBlock})
        Rearm(key);
    if (auto* mic = Pages().Mic()) {
        SendFrame(mic->BuildAlcCmd());
        SendFrame(mic->BuildFbcCmd());
        SendFrame(mic->BuildNoiseGateCmd());
    }
    // The pass-filter ends that other frames already carry (or the user cannot set) stay out.
    for (int page = 0; page < pageindex::kCount; ++page) {
        IWave* wave = WaveAt(page);
        if (!wave) continue;
        const int n = wave->GetBandCount();
        const bool skipFirst = page == kEffect || page == kMainOut || page == kMidOut || page == kSubOut;
        const bool skipLast = skipFirst || page == kMic;
        for (int band = 0; band < n; ++band) {
            if ((band == 0 && skipFirst) || (band == n - 1 && skipLast)) continue;
            SendBand(page, band, false);
        }
    }
}

void CVelmor_Zem_R7Dlg::OnEqReset() {
    const int page = CurrentPage();
    IWave* wave = WaveAt(page);
    if (!wave) return;
    wave->ResetPeq(true);
    CopyCurveToGraph(*wave, *m_graph);
    m_graph->Invalidate();
    SendPeakingBands(page);
}

void CVelmor_Zem_R7Dlg::OnEqPass() {
    const int page = CurrentPage();
    IWave* wave = WaveAt(page);
    if (!wave) return;
    const bool on = !wave->RecomputeBypass();
    wave->SetBypass(on);
    m_graph->bypass = on;
    m_graph->Invalidate();
    SendPeakingBands(page);
}

void CVelmor_Zem_R7Dlg::OnCommand32789() {
    SyncAllToDevice();
    SendFrame(ZemCmd::SystemAction(ZemCmd::kActStoreFactory));
}

void CVelmor_Zem_R7Dlg::StartHeartbeat() {
    m_linkWatchdog = frames::kWatchdogFull;
    m_timers.Set(kTimerHeartbeat, m_options.heartbeatPeriodMs);
}

void CVelmor_Zem_R7Dlg::StopHeartbeat() {
    m_timers.Kill(kTimerHeartbeat);
}

void CVelmor_Zem_R7Dlg::OnHeartbeat() {
    const bool received = m_pageSetUp && m_pageSetUp->Link().received.exchange(0) != 0;
    if (frames::WatchdogTick(m_linkWatchdog, received)) {
        // Silence for five ticks: the link is gone. No box; the lamp says it.
        m_connected = 0;
        SetStatusLamp();
        StopHeartbeat();
    }
    SendFrame(frames::Heartbeat());
}
