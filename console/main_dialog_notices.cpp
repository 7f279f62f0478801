// Main window: private messages from the pages and the graph. A change is mirrored into the graph
// or the page where needed and (re)arms a one-shot timer, so a quick series of changes sends only
// the last state; a few band edits off the effect page go out at once.
#include <QTabBar>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/timer_ids.h"
#include "controls/graph_wave.h"
#include "pages/page.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_ids.h"

using namespace console;

namespace {
constexpr int kEffectPage = 2;
constexpr int kBassPage = 5;
constexpr int kGraphHighPass = 4;
constexpr int kGraphLowPass = 5;

int Narrow(win::WPARAM v) {
    return static_cast<int>(static_cast<std::uint32_t>(v));
}
int Narrow(win::LPARAM v) {
    return static_cast<int>(static_cast<std::int32_t>(v));
}
}  // namespace

win::LRESULT CVelmor_Zem_R7Dlg::OnMessage(unsigned msg, win::WPARAM wParam, win::LPARAM lParam, QWidget*) {
    switch (msg) {
        case kMsgConnect:
            OnConnect();
            return 1;
        default:
            return OnNotice(msg, wParam, lParam);
    }
}

win::LRESULT CVelmor_Zem_R7Dlg::OnNotice(unsigned msg, win::WPARAM wParam, win::LPARAM lParam) {
    const int w = Narrow(wParam);
    const int l = Narrow(lParam);
    switch (msg) {
        case controls::kMsgBandQ:
            OnBandQ(w, l);
            break;
        case controls::kMsgBandFreqGain:
            OnBandFreqGain(wParam, lParam);
            break;
        case timer::kBandGain:
            OnBandGain(w, l);
            break;
        case ::notice::kBandQ:
            OnBandQValue(w, l);
            break;
        case ::notice::kBandType:
            OnBandType(w, l);
            break;
        case ::notice::kBandFreq:
            OnBandFreq(w, l);
            break;
        case timer::kDelays:
        case timer::kEffectBlock:
        case timer::kMusicMix:
        case timer::kDirectMix:
        case timer::kEchoMix:
        case timer::kReverbMix:
        case timer::kReverbHighPass:
        case timer::kReverbLowPass:
        case timer::kMusicInput:
        case timer::kMutes:
            Rearm(msg);
            break;
        case timer::kLimiter:
            if (WaveAt(CurrentPage())) Rearm(timer::Id(msg, CurrentPage()));
            break;
        case timer::kFbc:
        case timer::kNoiseGate:
            // Only the microphone and effect tabs carry these controls.
            if (CurrentPage() == 1 || CurrentPage() == 2) Rearm(timer::Id(msg, CurrentPage()));
            break;
        case timer::kEchoHighPass:
            OnEchoHighPassChanged();
            break;
        case timer::kEchoLowPass:
            OnEchoLowPassChanged();
            break;
        case timer::kPassBand:
            OnBandTypeFreq(w, lParam);
            break;
        case ::notice::kBandFocus:
            OnBandSelect(w);
            break;
        case timer::kCrossover:
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
    return (selection >= 0 && selection < kPageCount) ? selection : -1;
}

void CVelmor_Zem_R7Dlg::SelectOnGraph(int band) {
    m_graph->selected = band;
    m_graph->ArmBlink();
    m_graph->Invalidate();
}

void CVelmor_Zem_R7Dlg::OnBandQ(int band, int qTenths) {
    IWave* wave = WaveAt(CurrentPage());
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    wave->SetBandQ(band, static_cast<float>(qTenths) / 10.0f);
    // The wheel's path: queued as the page built it, whatever the page.
    if (const auto frame = wave->BuildBandCmd(band)) SendFrame(*frame);
}

void CVelmor_Zem_R7Dlg::OnBandFreqGain(win::WPARAM wParam, win::LPARAM lParam) {
    const int page = CurrentPage();
    IWave* wave = WaveAt(page);
    const int band = static_cast<int>((static_cast<std::uint32_t>(wParam) >> 16) & 0xFFFF);
    // A press carries band | 0x100, beyond every page: only a real change arms a send.
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    const int freq = static_cast<int>(wParam & 0xFFFF);
    wave->SetBandFreqGain(band, freq, static_cast<float>(Narrow(lParam) / 10.0));
    Rearm(timer::Id(timer::kGraphBand, page, band));
}

void CVelmor_Zem_R7Dlg::OnBandGain(int band, int gainTenths) {
    const int page = CurrentPage();
    IWave* wave = WaveAt(page);
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    if (band < kMaxBands) {
        m_graph->gain[band] = static_cast<float>(gainTenths) / 10.0f;
        SelectOnGraph(band);
    }
    Rearm(timer::Id(timer::kBandGain, page, band));
}

void CVelmor_Zem_R7Dlg::OnBandQValue(int band, int qTenths) {
    IWave* wave = WaveAt(CurrentPage());
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    if (band < kMaxBands) {
        m_graph->q[band] = static_cast<float>(qTenths) / 10.0f;
        SelectOnGraph(band);
    }
    SendBandNowOrLater(CurrentPage(), band);
}

void CVelmor_Zem_R7Dlg::OnBandType(int band, int type) {
    IWave* wave = WaveAt(CurrentPage());
    if (!wave || band < 0 || band >= wave->GetBandCount()) return;
    m_graph->SetBandType(band, type);
    SendBandNowOrLater(CurrentPage(), band);
}

void CVelmor_Zem_R7Dlg::OnBandFreq(int band, int freq) {
    IWave* wave = WaveAt(CurrentPage());
    if (!wave || band < 0 || band >= wave->GetBandCount()) return;
    m_graph->SetBandFreq(band, freq);
    SendBandNowOrLater(CurrentPage(), band);
}

void CVelmor_Zem_R7Dlg::SendBandNowOrLater(int page, int band) {
    // The effect page's bands travel as effect-path frames, which only the timer builds.
    if (page == kEffectPage) {
        Rearm(timer::Id(timer::kGraphBand, page, band));
        return;
    }
    IWave* wave = WaveAt(page);
    if (!wave) return;
    if (const auto frame = wave->BuildBandCmd(band)) SendFrame(*frame);
}

void CVelmor_Zem_R7Dlg::OnBandTypeFreq(int freq, win::LPARAM lParam) {
    const int page = CurrentPage();
    IWave* wave = WaveAt(page);
    const int band = static_cast<int>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF);
    if (!wave || band >= wave->GetBandCount()) return;
    m_graph->SetBandType(band, static_cast<int>(lParam & 0xFFFF));
    m_graph->SetBandFreq(band, freq);
    Rearm(timer::Id(timer::kPassBand, page, band));
}

void CVelmor_Zem_R7Dlg::OnBandSelect(int band) {
    IWave* wave = WaveAt(CurrentPage());
    if (!wave || band < 1 || band >= wave->GetBandCount()) return;
    // Bands with a marker: 1 .. the graph's count of peaking bands.
    if (band > m_graph->LastMarkerBand()) return;
    SelectOnGraph(band);
}

void CVelmor_Zem_R7Dlg::OnEchoHighPassChanged() {
    if (auto* effect = qobject_cast<PageEffect*>(PageAt(kEffectPage))) {
        const int hz = effect->SyncEchoHighPassToGraph();
        if (CurrentPage() == kEffectPage) {
            m_graph->SetBandFreq(0, hz);
            m_graph->SetBandType(0, kGraphHighPass);
        }
    }
    Rearm(timer::kEchoHighPass);
}

void CVelmor_Zem_R7Dlg::OnEchoLowPassChanged() {
    if (auto* effect = qobject_cast<PageEffect*>(PageAt(kEffectPage))) {
        const int hz = effect->SyncEchoLowPassToGraph();
        const int last = effect->GetBandCount() - 1;
        if (CurrentPage() == kEffectPage && last < kMaxBands) {
            m_graph->SetBandFreq(last, hz);
            m_graph->SetBandType(last, kGraphLowPass);
        }
    }
    Rearm(timer::kEchoLowPass);
}

void CVelmor_Zem_R7Dlg::OnCrossoverChanged() {
    if (auto* bass = qobject_cast<PageBassOut*>(PageAt(kBassPage))) {
        const ZemCmd::EqFrame frame = bass->BuildCrossoverCmd();
        const int band = frame[5];
        const int freq = frame[9] | frame[10] << 8 | frame[14] << 16;
        if (band < kMaxBands) {
            m_graph->SetBandType(band, freq < 20000 ? kGraphLowPass : 0);
            m_graph->SetBandFreq(band, freq);
        }
    }
    Rearm(timer::kCrossover);
}
