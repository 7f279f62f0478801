// Main window: the preset file's Export and Import commands.
#include <QFile>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>

#include "console/language_tables.h"
#include "console/main_dialog.h"
#include "console/preset_file.h"
#include "controls/graph_wave.h"
#include "pages/channel_output_page.h"
#include "pages/level_kind.h"
#include "pages/page_effect.h"
#include "pages/page_ids.h"
#include "platform/ui/message_box.h"

namespace {

using pageindex::kBassOut;
using pageindex::kMainOut;
using pageindex::kMidOut;
using pageindex::kSubOut;

// The output pages in the preset file's order: main, mid, bass, surround.
constexpr pageindex::Index kOutputTabs[preset::kOutputCount] = {kMainOut, kMidOut, kBassOut, kSubOut};

const char* SaveFailedText(int language) {
    return language == 0 ? "文件保存失败" : "Save File Fail";
}
const char* ReadFailedText(int language) {
    return language == 0 ? "文件读取失败" : "Read File Fail";
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Where each delay lives: tab index and slider.
struct DelaySlot {
    pageindex::Index tab;
    int slider;
};
constexpr DelaySlot kDelaySlots[preset::kDelayCount] = {
    {kMainOut, pageid::kLeftDelaySlider}, {kMainOut, pageid::kRightDelaySlider},
    {kMidOut, pageid::kDelaySlider},      {kBassOut, pageid::kDelaySlider},
    {kSubOut, pageid::kLeftDelaySlider},  {kSubOut, pageid::kRightDelaySlider}};

}  // namespace

chan::OutputPage* CVelmor_Zem_R7Dlg::OutputPageAt(int output) const {
    if (output < 0 || output >= preset::kOutputCount) return nullptr;
    return Pages().Output(kOutputTabs[output]);
}

preset::MainSections CVelmor_Zem_R7Dlg::CollectMainSections() const {
    preset::MainSections s;
    for (int k = 0; k < console::master::kCount; ++k)
        s.master[static_cast<std::size_t>(k)] = MasterSlider(k)->value();
    for (int o = 0; o < preset::kOutputCount; ++o) {
        const chan::OutputPage* page = OutputPageAt(o);
        if (!page) continue;
        s.music[o] = page->SliderPos(pageid::kMusicLevelSlider).value_or(0);
        s.direct[o] = page->SliderPos(pageid::kDirectLevelSlider).value_or(0);
        s.echo[o] = page->SliderPos(pageid::kEchoLevelSlider).value_or(0);
        s.reverb[o] = page->SliderPos(pageid::kReverbLevelSlider).value_or(0);
    }
    for (int d = 0; d < preset::kDelayCount; ++d) {
        if (const auto* page = qobject_cast<const Page*>(PageAt(kDelaySlots[d].tab)))
            s.delay[d] = page->SliderPos(kDelaySlots[d].slider).value_or(0);
    }
    return s;
}

std::string CVelmor_Zem_R7Dlg::BuildPresetText() const {
    std::vector<std::string> pages;
    for (int i = 0; i < m_tab->count(); ++i) {
        if (const IWave* wave = WaveAt(i)) pages.push_back(wave->SaveText());
    }
    return preset::PresetText(CollectMainSections(), pages);
}

void CVelmor_Zem_R7Dlg::OnFileExport() {
    const QString filter = QString::fromUtf8(preset::kFileFilter);
    const auto path = win::Files().Save(this, filter, QString::fromUtf8(preset::kDefaultFileName));
    if (!path) return;
    // Written whole to a temporary file and then renamed, so a failed save keeps the old file.
    if (!preset::WriteTextFile(LocalPath(*path), BuildPresetText())) {
        win::MessageBox(this, QString::fromUtf8(SaveFailedText(m_language)),
                        QString::fromUtf8(console::WindowCaption()), win::kMbOk | win::kMbIconError,
                        m_language);
    }
}

void CVelmor_Zem_R7Dlg::ApplyMainSections(const preset::MainSectionValues& v) {
    QLabel* const values[console::master::kCount] = {m_micValue, m_effectValue, m_musicValue};
    for (int k = 0; k < console::master::kCount; ++k) {
        if (!v.master[k]) continue;
        QSlider* const slider = MasterSlider(k);
        const QSignalBlocker quiet(slider);
        slider->setValue(*v.master[k]);
        // The label shows where the slider stands, also when the file's value was out of range.
        values[k]->setText(QString::number(slider->value()));
    }
    for (int o = 0; o < preset::kOutputCount; ++o) {
        chan::OutputPage* page = OutputPageAt(o);
        if (!page) continue;
        if (v.music) {
            page->SetSliderPos(pageid::kMusicLevelSlider, (*v.music)[o]);
            page->UpdateVolumeLabel(levelkind::kMusic);
        }
        if (v.direct) page->SetDirectVolume((*v.direct)[o]);
        if (v.echo) page->SetEchoVolume((*v.echo)[o]);
        if (v.reverb) page->SetReverbVolume((*v.reverb)[o]);
    }
    if (v.delay) {
        for (int d = 0; d < preset::kDelayCount; ++d) {
            auto* page = qobject_cast<Page*>(PageAt(kDelaySlots[d].tab));
            if (!page) continue;
            page->SetSliderPos(kDelaySlots[d].slider, (*v.delay)[d]);
            if (kDelaySlots[d].slider == pageid::kLeftDelaySlider) page->UpdateLeftDelayLabel();
            if (kDelaySlots[d].slider == pageid::kRightDelaySlider) page->UpdateRightDelayLabel();
            if (kDelaySlots[d].slider == pageid::kDelaySlider) page->UpdateDelayLabel();
        }
    }
    if (auto* effect = Pages().Effect()) {
        if (v.echoHighPass) effect->SetEchoHighPass(*v.echoHighPass);
        if (v.echoLowPass) effect->SetEchoLowPass(*v.echoLowPass);
        if (v.reverbHighPass) effect->SetReverbHighPass(*v.reverbHighPass);
        if (v.reverbLowPass) effect->SetReverbLowPass(*v.reverbLowPass);
    }
}

void CVelmor_Zem_R7Dlg::ApplyPresetLines(const std::vector<std::string>& lines) {
    ApplyMainSections(preset::ParseMainSections(lines));
    const int current = m_tab->currentIndex();
    for (int j = 0; j < m_tab->count(); ++j) {
        IWave* wave = WaveAt(j);
        if (!wave) continue;
        wave->LoadText(lines);
        if (j == current) ShowPageCurve(j);
    }
    m_graph->selected = -1;
    m_graph->KillBlink();
}

void CVelmor_Zem_R7Dlg::OnFileImport() {
    const QString filter = QString::fromUtf8(preset::kFileFilter);
    const auto path = win::Files().Open(this, filter, QString::fromUtf8(preset::kDefaultFileName));
    if (!path) return;
    StartImportWait();
    // A file is applied whole or not at all: what the console itself writes tells which sections
    // there are and how many lines each holds, so a file cut short is found before anything changes.
    const preset::ReadLinesResult read =
        preset::ReadTextLines(LocalPath(*path), preset::ShapesOf(BuildPresetText()));
    if (read.status != preset::ReadStatus::Ok) {
        // Nothing is applied and nothing sent: say so rather than leave the user guessing, and
        // stop counting for an import that is over.
        if (m_importWait) m_importWait->Stop();
        win::MessageBox(this, QString::fromUtf8(ReadFailedText(m_language)),
                        QString::fromUtf8(console::WindowCaption()), win::kMbOk | win::kMbIconError,
                        m_language);
        return;
    }
    ApplyPresetLines(read.lines);
    // Values set from the file notified nobody: send the whole state once. The sync leaves out the
    // music input and the mutes; the screen now shows the file's, so the processor gets them too.
    SyncAllToDevice();
    SendMusicInput();
    SendAllMutes();
}

void CVelmor_Zem_R7Dlg::StartImportWait() {
    // The wait counts by itself beside the import, which is long done before it. Widgets live on
    // the GUI thread only, so it runs modeless on its timer at the pace of the device waits; a
    // second import starts the count again.
    delete m_importWait;
    m_importWait = new PageWait(this, m_waitTiming);
    m_importWait->setAttribute(Qt::WA_DeleteOnClose);
    m_importWait->OnInitDialog();
    m_importWait->show();
}
