// Main window: read-back answers. The pages' parts are console/reply_apply; the master sliders,
// the preset combo, the volume limits and the status lamp are the window's own. Every value is set
// without a notice, so nothing here raises a frame, and within the range of the control that shows
// it.
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

#include "console/main_dialog.h"
#include "console/reply_apply.h"
#include "console/reply_decode.h"
#include "link/ui/page_setup.h"
#include "platform/trace.h"

using reply::Answer;
using reply::Kind;

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
        case Kind::Status:
            ApplyStatus(answer);
            break;
        default:
            console::apply::ToPages(kind, Pages(), a, {m_graph, CurrentPage()});
            break;
    }
    return 1;
}

void CVelmor_Zem_R7Dlg::ApplyStatus(const std::uint32_t* answer) {
    const reply::Status s = reply::DecodeStatus(Answer(answer));
    console::apply::StatusPages(Pages(), s);
    m_lastMuteMask = s.mutes;

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
