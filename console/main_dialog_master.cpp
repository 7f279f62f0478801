// Main window: the three master sliders and the volume-limit dialog.
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "console/control_ids.h"
#include "console/device_commands.h"
#include "console/main_dialog.h"
#include "console/master_index.h"
#include "console/timer_ids.h"
#include "console/vol_limit.h"
#include "controls/notices.h"

using namespace console;

namespace {
// While a master slider is dragged, its level goes out at most this often.
constexpr int kMasterDragMs = 150;
}  // namespace

QSlider* CVelmor_Zem_R7Dlg::MasterSlider(int index) const {
    switch (index) {
        case master::kMic:
            return m_micSlider;
        case master::kEffect:
            return m_effectSlider;
        case master::kMusic:
            return m_musicSlider;
        default:
            return nullptr;
    }
}

void CVelmor_Zem_R7Dlg::WireMasterSliders() {
    for (int i = 0; i < master::kCount; ++i) {
        QSlider* slider = MasterSlider(i);
        connect(slider, &QAbstractSlider::actionTriggered, this, [this, slider](int) { OnHScroll(slider); });
    }
}

void CVelmor_Zem_R7Dlg::OnHScroll(QSlider* slider) {
    QLabel* const labels[master::kCount] = {m_micValue, m_effectValue, m_musicValue};
    for (int i = 0; i < master::kCount; ++i) {
        if (MasterSlider(i) != slider || !slider) continue;
        labels[i]->setText(QString::number(slider->sliderPosition()));
        // One pending send per slider: a drag sends about every 150 ms, the frame carries the
        // position at the time it goes, and another slider moved meanwhile sends its own.
        bool& pending = m_masterPending[static_cast<std::size_t>(i)];
        if (!pending) {
            m_timers.Set(timer::Id(notice::kMasterVolume, i), kMasterDragMs);
            pending = true;
        }
        return;
    }
}

void CVelmor_Zem_R7Dlg::OnVolumeLimit() {
    CVolLimit dialog(this);
    dialog.language = m_language;
    dialog.limits = {m_musicStartVol, m_musicEndVol,    m_micStartVol,
                     m_micEndVol,     m_effectStartVol, m_effectEndVol};
    if (dialog.exec() != QDialog::Accepted) return;

    const VolumeLimits limits = Clamped(dialog.limits);
    StoreVolumeLimits(limits);
    SendFrame(VolumeLimitFrame(limits));

    struct Master {
        QSlider* slider;
        QLabel* label;
        int end;
    };
    const Master masters[] = {{m_musicSlider, m_musicValue, limits.musicEnd},
                              {m_micSlider, m_micValue, limits.micEnd},
                              {m_effectSlider, m_effectValue, limits.effectEnd}};
    bool moved = false;
    for (const Master& m : masters) {
        const QSignalBlocker quiet(m.slider);
        if (m.slider->value() > m.end) {
            m.slider->setValue(m.end);
            m.label->setText(QString::number(m.end));
            moved = true;
        }
        m.slider->setRange(0, m.end);
    }
    if (moved) ArmMasterVolumeTimers();
    // A failed write is not reported: the limits still hold until the program ends.
    WriteVolumeLimits(m_options.configPath, limits);
}
