// Main window: private messages from the pages and the graph. A change is mirrored into the graph
// or the page where needed and (re)arms a one-shot timer, so a quick series of changes sends only
// the last state; a few band edits off the effect page go out at once.
#include <QTabBar>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/timer_ids.h"
#include "controls/graph_wave.h"
#include "controls/notices.h"
#include "pages/page.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_ids.h"
#include "pages/page_index.h"

using namespace console;

namespace {
using pageindex::kBassOut;
using pageindex::kEffect;

int Narrow(win::WPARAM v) {
    return static_cast<int>(static_cast<std::uint32_t>(v));
}
int Narrow(win::LPARAM v) {
    return static_cast<int>(static_cast<std::int32_t>(v));
}
}  // namespace

win::LRESULT CVelmor_Zem_R7Dlg::OnMessage(unsigned msg, win::WPARAM wParam, win::LPARAM lParam,
                                          QWidget* from) {
    switch (msg) {
        case kMsgConnect:
            OnConnect();
            return 1;
        default:
            return OnNotice(msg, wParam, lParam, NoticePage(from));
    }
}

int CVelmor_Zem_R7Dlg::NoticePage(const QWidget* from) const {
    // A page's notice is about that page, whatever tab is shown by the time it arrives (a timer's
    // follow-up comes 200 ms after the move). The graph, and a caller that names no sender, speak
    // for the page shown.
    for (const QWidget* w = from; w; w = w->parentWidget()) {
        for (int i = 0; i < pageindex::kCount; ++i)
            if (m_pages[static_cast<std::size_t>(i)] == w) return i;
    }
    return CurrentPage();
}

win::LRESULT CVelmor_Zem_R7Dlg::OnNotice(unsigned msg, win::WPARAM wParam, win::LPARAM lParam, int page) {
    const int w = Narrow(wParam);
    const int l = Narrow(lParam);
    switch (msg) {
        case notice::kGraphBandQ:
            OnBandQ(page, w, l);
            break;
        case notice::kGraphBandFreqGain:
            OnBandFreqGain(page, wParam, lParam);
            break;
        case notice::kBandGain:
            OnBandGain(page, w, l);
            break;
        case notice::kBandQ:
            OnBandQValue(page, w, l);
            break;
        case notice::kBandType:
            OnBandType(page, w, l);
            break;
        case notice::kBandFreq:
            OnBandFreq(page, w, l);
            break;
        case notice::kDelays:
        case notice::kEffectBlock:
        case notice::kMusicLevels:
        case notice::kDirectLevels:
        case notice::kEchoLevels:
        case notice::kReverbLevels:
        case notice::kReverbHighPass:
        case notice::kReverbLowPass:
        case notice::kMusicInput:
        case notice::kMutes:
            Rearm(msg);
            break;
        case notice::kLimiter:
            if (WaveAt(page)) Rearm(timer::Id(msg, page));
            break;
        case notice::kFbc:
        case notice::kNoiseGate:
            // Only the microphone and effect pages carry these controls.
            if (page == pageindex::kMic || page == kEffect) Rearm(timer::Id(msg, page));
            break;
        case notice::kEchoHighPass:
            OnEchoHighPassChanged();
            break;
        case notice::kEchoLowPass:
            OnEchoLowPassChanged();
            break;
        case notice::kPassBand:
            OnBandTypeFreq(page, w, lParam);
            break;
        case notice::kBandFocus:
            OnBandSelect(page, w);
            break;
        case notice::kCrossover:
            OnCrossoverChanged();
            break;
        default:
            return 0;
    }
    return 1;
}

void CVelmor_Zem_R7Dlg::Rearm(std::uint32_t id, int milliseconds) {
    m_timers.Kill(id);
    m_timers.Set(id, milliseconds);
}

void CVelmor_Zem_R7Dlg::Rearm(std::uint32_t id) {
    Rearm(id, m_options.debounceMs);
}

int CVelmor_Zem_R7Dlg::CurrentPage() const {
    const int selection = m_tab ? m_tab->currentIndex() : -1;
    return (selection >= 0 && selection < pageindex::kCount) ? selection : -1;
}

bool CVelmor_Zem_R7Dlg::Shown(int page) const {
    return page >= 0 && page == CurrentPage();
}

void CVelmor_Zem_R7Dlg::SelectOnGraph(int band) {
    m_graph->selected = band;
    m_graph->ArmBlink();
    m_graph->Invalidate();
}

void CVelmor_Zem_R7Dlg::OnBandQ(int page, int band, int qTenths) {
    IWave* wave = WaveAt(page);
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    wave->SetBandQ(band, static_cast<float>(qTenths) / 10.0f);
    // The wheel's path: queued as the page built it, whatever the page.
    if (const auto frame = wave->BuildBandCmd(band)) SendFrame(*frame);
}

void CVelmor_Zem_R7Dlg::OnBandFreqGain(int page, win::WPARAM wParam, win::LPARAM lParam) {
    IWave* wave = WaveAt(page);
    const auto packed = static_cast<std::uint32_t>(wParam);
    // A press has already moved the marker: it is a change like a drag step.
    const int band = notice::WithoutPress(notice::BandOf(packed));
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    const int freq = notice::FreqOf(packed);
    wave->SetBandFreqGain(band, freq, static_cast<float>(Narrow(lParam) / 10.0));
    Rearm(timer::Id(notice::kGraphBandFreqGain, page, band));
}

void CVelmor_Zem_R7Dlg::OnBandGain(int page, int band, int gainTenths) {
    IWave* wave = WaveAt(page);
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    if (band < kMaxBands && Shown(page)) {
        m_graph->gain[band] = static_cast<float>(gainTenths) / 10.0f;
        SelectOnGraph(band);
    }
    Rearm(timer::Id(notice::kBandGain, page, band));
}

void CVelmor_Zem_R7Dlg::OnBandQValue(int page, int band, int qTenths) {
    IWave* wave = WaveAt(page);
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    if (band < kMaxBands && Shown(page)) {
        m_graph->q[band] = static_cast<float>(qTenths) / 10.0f;
        SelectOnGraph(band);
    }
    SendBandNowOrLater(page, band);
}

void CVelmor_Zem_R7Dlg::OnBandType(int page, int band, int type) {
    IWave* wave = WaveAt(page);
    if (!wave || band < 0 || band >= wave->GetBandCount()) return;
    if (Shown(page)) m_graph->SetBandType(band, type);
    SendBandNowOrLater(page, band);
}

void CVelmor_Zem_R7Dlg::OnBandFreq(int page, int band, int freq) {
    IWave* wave = WaveAt(page);
    if (!wave || band < 0 || band >= wave->GetBandCount()) return;
    if (Shown(page)) m_graph->SetBandFreq(band, freq);
    SendBandNowOrLater(page, band);
}

void CVelmor_Zem_R7Dlg::SendBandNowOrLater(int page, int band) {
    // The effect page's bands travel as effect-path frames, which only the timer builds.
    if (page == kEffect) {
        Rearm(timer::Id(notice::kGraphBandFreqGain, page, band));
        return;
    }
    IWave* wave = WaveAt(page);
    if (!wave) return;
    if (const auto frame = wave->BuildBandCmd(band)) SendFrame(*frame);
}

void CVelmor_Zem_R7Dlg::OnBandTypeFreq(int page, int freq, win::LPARAM lParam) {
    IWave* wave = WaveAt(page);
    const auto packed = static_cast<std::uint32_t>(lParam);
    const int band = notice::BandOf(packed);
    if (!wave || band >= wave->GetBandCount()) return;
    if (Shown(page)) {
        m_graph->SetBandType(band, notice::TypeOf(packed));
        m_graph->SetBandFreq(band, freq);
    }
    Rearm(timer::Id(notice::kPassBand, page, band));
}

void CVelmor_Zem_R7Dlg::OnBandSelect(int page, int band) {
    IWave* wave = WaveAt(page);
    if (!wave || !Shown(page) || band < 1 || band >= wave->GetBandCount()) return;
    // Bands with a marker: 1 .. the graph's count of peaking bands.
    if (band > m_graph->LastMarkerBand()) return;
    SelectOnGraph(band);
}

void CVelmor_Zem_R7Dlg::OnEchoHighPassChanged() {
    if (auto* effect = qobject_cast<PageEffect*>(PageAt(kEffect))) {
        const int hz = effect->SyncEchoHighPassToGraph();
        if (CurrentPage() == kEffect) {
            m_graph->SetBandFreq(0, hz);
            m_graph->SetBandType(0, kTypeHighPass);
        }
    }
    Rearm(notice::kEchoHighPass);
}

void CVelmor_Zem_R7Dlg::OnEchoLowPassChanged() {
    if (auto* effect = qobject_cast<PageEffect*>(PageAt(kEffect))) {
        const int hz = effect->SyncEchoLowPassToGraph();
        const int last = effect->GetBandCount() - 1;
        if (CurrentPage() == kEffect && last < kMaxBands) {
            m_graph->SetBandFreq(last, hz);
            m_graph->SetBandType(last, kTypeLowPass);
        }
    }
    Rearm(notice::kEchoLowPass);
}

void CVelmor_Zem_R7Dlg::OnCrossoverChanged() {
    if (auto* bass = qobject_cast<PageBassOut*>(PageAt(kBassOut))) {
        const ZemCmd::EqFrame frame = bass->BuildCrossoverCmd();
        const int band = frame[5];
        const int freq = frame[9] | frame[10] << 8 | frame[14] << 16;
        if (band < kMaxBands && Shown(kBassOut)) {
            m_graph->SetBandType(band, freq < kMaxFreq ? kTypeLowPass : kTypeOff);
            m_graph->SetBandFreq(band, freq);
        }
    }
    Rearm(notice::kCrossover);
}
