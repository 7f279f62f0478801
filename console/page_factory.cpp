#include "console/page_factory.h"

#include "link/ui/page_setup.h"
#include "pages/iwave.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_main_out.h"
#include "pages/page_mic.h"
#include "pages/page_mid_out.h"
#include "pages/page_music.h"
#include "pages/page_sub_out.h"
#include "platform/ui/controls.h"

namespace console {

PageArray CreatePages(QWidget* parent) {
    // Construction order: microphone, music, effect, main, surround, bass, centre, set-up.
    auto* mic = new PageMic(parent);
    auto* music = new PageMusic(parent);
    auto* effect = new PageEffect(parent);
    auto* mainOut = new PageMainOut(parent);
    auto* surround = new PageSubOut(parent);
    auto* bass = new PageBassOut(parent);
    auto* centre = new PageMidOut(parent);
    auto* setUp = new PageSetUp(parent);
    PageArray pages{};
    pages[pageindex::kMusic] = music;
    pages[pageindex::kMic] = mic;
    pages[pageindex::kEffect] = effect;
    pages[pageindex::kMainOut] = mainOut;
    pages[pageindex::kMidOut] = centre;
    pages[pageindex::kBassOut] = bass;
    pages[pageindex::kSubOut] = surround;
    pages[pageindex::kSetUp] = setUp;
    for (QWidget* page : pages) {
        win::SetOwnIdSpace(page);
        if (auto* channel = qobject_cast<Page*>(page)) channel->Init();
        page->hide();
    }
    return pages;
}

IWave* WaveOf(QWidget* page) {
    return dynamic_cast<IWave*>(page);
}

PageSetUp* SetUpOf(QWidget* page) {
    return dynamic_cast<PageSetUp*>(page);
}

std::optional<std::pair<int, int>> CopyEchoFilters(QWidget* page) {
    auto* effect = qobject_cast<PageEffect*>(page);
    if (!effect) return std::nullopt;
    const int highPass = effect->SyncEchoHighPassToGraph();
    const int lowPass = effect->SyncEchoLowPassToGraph();
    return std::make_pair(highPass, lowPass);
}

void SetPageLanguage(QWidget* page, int language) {
    if (IWave* wave = WaveOf(page)) wave->SetLanguage(language);
    if (PageSetUp* setUp = SetUpOf(page)) setUp->SetLanguage(language);
}

}  // namespace console
