#include "console/page_factory.h"

#include <QLabel>

#include "console/control_ids.h"
#include "console/language_tables.h"
#include "link/ui/page_setup.h"
#include "pages/iwave.h"

namespace console {
namespace {

// Stand-in for a channel page that is not in yet.
QWidget* MakePlaceholder(QWidget* parent, int tab) {
    auto* page = new QWidget(parent);
    auto* label = new QLabel(QString::fromUtf8(TabText(tab, 1)), page);
    label->move(12, 12);
    page->setMinimumHeight(200);
    return page;
}

}  // namespace

std::array<QWidget*, 8> CreatePages(QWidget* parent) {
    // Construction order: microphone, music, effect, main, surround, bass, centre, set-up.
    QWidget* mic = MakePlaceholder(parent, 1);
    QWidget* music = MakePlaceholder(parent, 0);
    QWidget* effect = MakePlaceholder(parent, 2);
    QWidget* mainOut = MakePlaceholder(parent, 3);
    QWidget* surround = MakePlaceholder(parent, 6);
    QWidget* bass = MakePlaceholder(parent, 5);
    QWidget* centre = MakePlaceholder(parent, 4);
    auto* setUp = new PageSetUp(parent);
    std::array<QWidget*, 8> pages = {music, mic, effect, mainOut, centre, bass, surround, setUp};
    for (QWidget* page : pages) page->hide();
    return pages;
}

IWave* WaveOf(QWidget* page) {
    return dynamic_cast<IWave*>(page);
}

PageSetUp* SetUpOf(QWidget* page) {
    return dynamic_cast<PageSetUp*>(page);
}

std::optional<std::pair<int, int>> CopyEchoFilters(QWidget*) {
    return std::nullopt;
}

void SetPageLanguage(QWidget* page, int language) {
    if (IWave* wave = WaveOf(page)) wave->SetLanguage(language);
    if (PageSetUp* setUp = SetUpOf(page)) setUp->SetLanguage(language);
}

}  // namespace console
