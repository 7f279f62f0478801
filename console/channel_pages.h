#pragma once
// The main window's pages by what they are, for code that works on one kind of page; where each
// page sits in the tab order is pages/page_index.h.

#include <array>

#include "pages/page_index.h"

class QWidget;
class Page;
class PageBassOut;
class PageEffect;
class PageMic;
class PageMusic;
namespace chan {
class OutputPage;
}

namespace console {

using PageArray = std::array<QWidget*, pageindex::kCount>;

class ChannelPages {
  public:
    explicit ChannelPages(const PageArray& pages) : pages_(pages) {}

    // Null when the page is missing or not of that kind.
    PageMusic* Music() const;
    PageMic* Mic() const;
    PageEffect* Effect() const;
    PageBassOut* BassOut() const;
    // One of the four output pages (kMainOut, kMidOut, kBassOut, kSubOut).
    chan::OutputPage* Output(pageindex::Index output) const;
    // Any channel page; null outside the channel pages.
    Page* Channel(int index) const;

  private:
    const PageArray& pages_;
};

}  // namespace console
