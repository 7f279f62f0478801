#pragma once
// The eight pages of the main window and what the main window asks of them.

#include <QWidget>
#include <array>
#include <optional>
#include <utility>

#include "console/channel_pages.h"

class IWave;
class PageSetUp;

namespace console {

// Builds the pages in their construction order (microphone, music, effect, main, surround, bass,
// centre, set-up) as hidden children of the parent, and returns them in tab order (music,
// microphone, effect, main, centre, bass, surround, set-up).
PageArray CreatePages(QWidget* parent);

// The page's IWave, or null (the set-up page, or a page that is not a channel page).
IWave* WaveOf(QWidget* page);
PageSetUp* SetUpOf(QWidget* page);

// For the effect page: copies its echo high-pass and low-pass sliders into its band 0 and last band
// and returns the two frequencies. nullopt for every other page.
std::optional<std::pair<int, int>> CopyEchoFilters(QWidget* page);

// Sets the page's language, through IWave for channel pages and directly for the set-up page.
void SetPageLanguage(QWidget* page, int language);

}  // namespace console
