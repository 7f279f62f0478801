// Main window: read-back answers put into the controls. Every value is set without a notice, so
// nothing here raises a frame, and within the range of the control that shows it.
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <algorithm>

#include "console/control_ids.h"
#include "console/images.h"
#include "console/main_dialog.h"
#include "console/reply_decode.h"
#include "console/status_lamp_button.h"
#include "controls/graph_wave.h"
#include "link/frame.h"
#include "link/ui/page_setup.h"
#include "pages/channel_sliders.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_main_out.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"
#include "platform/trace.h"

using namespace console;
using reply::Answer;
using reply::Kind;

namespace {

template <class T>
T* PageAs(const std::array<QWidget*, 8>& pages, int index) {
    return dynamic_cast<T*>(pages[static_cast<std::size_t>(index)]);
}

void ApplyBand(Page* page, const reply::Band& b) {
    if (!page) return;
    page->SetBand(b.index, b.freq, b.gain, b.q, b.code);
    page->SetBandEnabled(b.index, b.enabled);
}

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

int SliderOfLevel(int kind) {
    static constexpr int kIds[] = {pageid::kMusicLevelSlider, pageid::kDirectLevelSlider,
                                   pageid::kEchoLevelSlider, pageid::kReverbLevelSlider};
    return kIds[kind];
}

}  // namespace

void CVelmor_Zem_R7Dlg::ApplyMaster(QSlider* slider, QLabel* label, int pos) {
    if (!slider) return;
    {
        const QSignalBlocker block(slider);
        slider->setValue(std::clamp(pos, slider->minimum(), slider->maximum()));
    }
    // The label shows the slider, never the unclamped answer.
    if (label) label->setText(QString::number(slider->value()));
}

int CVelmor_Zem_R7Dlg::ApplyReply(const std::uint32_t* answer) {
    const Answer a(answer);
    const Kind kind = a.Classify();
    if (kind == Kind::NotAnswer) return 0;
    // Byte 1 counts the frame's bytes; never read past the entries handed over.
    if (m_pageSetUp) m_pageSetUp->DebugPrint("resv", answer, std::min(a[1], reply::kWords));
    // A short answer would have the rest of its row read from an older, longer frame: refused, so
    // the step is asked again.
    if (!a.Whole()) return 0;

    auto* music = PageAs<PageMusic>(m_pages, reply::kMusic);
    auto* mic = PageAs<PageMic>(m_pages, reply::kMic);
    auto* effect = PageAs<PageEffect>(m_pages, reply::kEffect);
    auto* bass = PageAs<PageBassOut>(m_pages, reply::kBassOut);
    Page* mainOut = PageAs<Page>(m_pages, reply::kMainOut);
    Page* midOut = PageAs<Page>(m_pages, reply::kMidOut);
    Page* subOut = PageAs<Page>(m_pages, reply::kSubOut);

    switch (kind) {
        case Kind::NotAnswer:
        case Kind::Unknown:
            return 0;
        case Kind::PassOver:
            break;
        case Kind::MusicMaster:
            ApplyMaster(m_musicSlider, m_musicValue, reply::MusicMasterPos(a[6]));
            break;
        case Kind::MicMaster:
            ApplyMaster(m_micSlider, m_micValue, reply::MicMasterPos(a[6]));
            break;
        case Kind::EffectMaster:
            ApplyMaster(m_effectSlider, m_effectValue, reply::EffectMasterPos(a[6]));
            break;
        case Kind::MixLevels: {
            const int which = reply::LevelKind(a);
            const int id = SliderOfLevel(which);
            const reply::Outputs o = reply::DecodeOutputs(a);
            const std::pair<Page*, int> rows[] = {
                {mainOut, o.main}, {bass, o.bass}, {midOut, o.mid}, {subOut, o.surround}};
            for (const auto& [page, value] : rows) {
                if (!page) continue;
                page->SetSliderPos(id, value);
                page->UpdateVolumeLabel(which);
            }
            break;
        }
        case Kind::MusicEq: {
            if (!music) break;
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
            } else if (b.index <= 7) {
                ApplyBand(music, b);
            }
            break;
        }
        case Kind::MicEq: {
            if (!mic) break;
            const reply::Band b = reply::DecodeBand(a);
            if (b.index == 0) {
                const int hz = WithinSlider(mic, pageid::kHighPassSlider, b.freq);
                mic->SetSliderPos(pageid::kHighPassSlider, hz);
                mic->Model().band.freq[0] = hz;
                mic->Model().band.q[0] = 0.6f;
                mic->Model().band.type[0] = kTypeHighPass;
                mic->UpdateHighPassLabel();
            } else if (b.index <= 15) {
                ApplyBand(mic, b);
            }
            break;
        }
        case Kind::MicLimiter:
            ApplyLimiter(mic, reply::DecodeLimiter(a), false);
            break;
        case Kind::NoiseGate: {
            if (!mic) break;
            const reply::Gate g = reply::DecodeGate(a);
            mic->SetSliderPos(pageid::kGateStartSlider, g.start);
            mic->UpdateGateStartLabel();
            mic->SetSliderPos(pageid::kGateReleaseSlider, g.release);
            mic->UpdateGateReleaseLabel();
            break;
        }
        case Kind::Fbc:
            if (mic) mic->SetFbcMode(reply::DecodeFbcMode(a));
            break;
        case Kind::OutputLimiter:
            ApplyLimiter(PageAs<Page>(m_pages, reply::LimiterPage(a[6])), reply::DecodeLimiter(a), true);
            break;
        case Kind::Delays: {
            const reply::Outputs o = reply::DecodeOutputs(a);
            if (mainOut) {
                mainOut->SetSliderPos(pageid::kLeftDelaySlider, o.main);
                mainOut->SetSliderPos(pageid::kRightDelaySlider, o.mainRight);
                mainOut->UpdateLeftDelayLabel();
                mainOut->UpdateRightDelayLabel();
            }
            for (const auto& [page, value] : {std::pair<Page*, int>{bass, o.bass}, {midOut, o.mid}}) {
                if (!page) continue;
                page->SetSliderPos(pageid::kDelaySlider, value);
                page->UpdateDelayLabel();
            }
            if (subOut) {
                subOut->SetSliderPos(pageid::kLeftDelaySlider, o.surround);
                subOut->SetSliderPos(pageid::kRightDelaySlider, o.surroundRight);
                subOut->UpdateLeftDelayLabel();
                subOut->UpdateRightDelayLabel();
            }
            break;
        }
        case Kind::OutputEq: {
            const reply::Band b = reply::DecodeBand(a);
            Page* page = nullptr;
            if (b.channel == 0)
                page = mainOut;
            else if (b.channel == 3 && b.index <= 3)
                page = bass;
            else if ((b.channel == 2 || b.channel == 4) && b.index <= 3)
                page = b.channel == 2 ? midOut : subOut;
            ApplyBand(page, b);
            break;
        }
        case Kind::Crossover: {
            if (!bass) break;
            const reply::Band b = reply::DecodeBand(a);
            bass->ApplyCrossover(b.freq, static_cast<int>(b.gain), b.code, b.q);
            if (CurrentPage() == reply::kBassOut && m_graph) {
                const int last = bass->GetBandCount() - 1;
                m_graph->SetBandFreq(last, b.freq);
                m_graph->SetBandType(last, kTypeLowPass);
            }
            break;
        }
        case Kind::EchoEq: {
            if (!effect) break;
            const reply::Band b = reply::DecodeBand(a);
            const int last = effect->GetBandCount() - 1;
            if (b.index == 0) {
                effect->SetEchoHighPass(WithinSlider(effect, chan::fx::kEchoHighPass, b.freq));
            } else if (b.index == last) {
                const int hz = WithinSlider(effect, chan::fx::kEchoLowPass, b.freq);
                effect->SetEchoLowPass(hz);
                effect->SetSliderPos(chan::fx::kEchoPreDelay, b.preDelay);
                effect->UpdateEchoPreDelayLabel();
                const int type = hz >= kMaxFreq ? kTypeOff : kTypeLowPass;
                if (CurrentPage() == reply::kEffect && m_graph) {
                    m_graph->SetBandType(last, type);
                    m_graph->SetBandFreq(last, hz);
                }
                effect->SetBandFreqGain(last, hz, 0.0f);
                effect->SetTypeButtons(last, type);
            } else {
                ApplyBand(effect, b);
            }
            break;
        }
        case Kind::EffectBlock: {
            if (!effect) break;
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
            break;
        }
        case Kind::ReverbEq: {
            if (!effect) break;
            const reply::Band b = reply::DecodeBand(a);
            if (b.index == 0) {
                effect->SetReverbHighPass(b.freq);
            } else if (b.index == 1) {
                effect->SetReverbLowPass(b.freq);
                effect->SetSliderPos(chan::fx::kReverbPreDelay, b.preDelay);
                effect->UpdateReverbPreDelayLabel();
            }
            break;
        }
        case Kind::Status:
            ApplyStatus(answer);
            break;
    }
    return 1;
}

void CVelmor_Zem_R7Dlg::ApplyStatus(const std::uint32_t* answer) {
    const reply::Status s = reply::DecodeStatus(Answer(answer));
    // The stored input too: the music-input frame and the preset file's "[music type]" use it.
    if (auto* music = PageAs<PageMusic>(m_pages, reply::kMusic)) music->ApplyDeviceInput(s.musicInput);
    m_lastMuteMask = s.mutes;

    // Each output page's own mute bits from the shared mute byte.
    struct MuteRoute {
        int page;
        int firstBit;
        int bits;
    };
    static constexpr MuteRoute kRoutes[] = {
        {reply::kMainOut, 0, 2}, {reply::kBassOut, 3, 1}, {reply::kMidOut, 2, 1}, {reply::kSubOut, 4, 2}};
    for (const MuteRoute& r : kRoutes) {
        if (auto* page = PageAs<chan::OutputPage>(m_pages, r.page))
            page->SetMuteBits((s.mutes >> r.firstBit) & ((1 << r.bits) - 1));
    }

    // The status answer orders the limits microphone, music, effect.
    console::VolumeLimits limits;
    limits.micStart = s.limits[0];
    limits.micEnd = s.limits[1];
    limits.musicStart = s.limits[2];
    limits.musicEnd = s.limits[3];
    limits.effectStart = s.limits[4];
    limits.effectEnd = s.limits[5];
    StoreVolumeLimits(console::Clamped(limits));  // as config.ini's are
    trace::Write(reply::StatusTrace(s));

    if (m_presetCombo) {
        const QSignalBlocker block(m_presetCombo);
        m_presetCombo->setCurrentIndex(s.preset < m_presetCombo->count() ? s.preset : -1);
    }
    update();
    m_connected = 1;
    SetStatusLamp();
}
