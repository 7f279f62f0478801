#include "console/channel_pages.h"

#include "pages/channel_output_page.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_mic.h"
#include "pages/page_music.h"

namespace console {
namespace {

template <class T>
T* PageOfKind(const PageArray& pages, int index) {
    if (index < 0 || index >= pageindex::kCount) return nullptr;
    return dynamic_cast<T*>(pages[static_cast<std::size_t>(index)]);
}

}  // namespace

PageMusic* ChannelPages::Music() const {
    return PageOfKind<PageMusic>(pages_, pageindex::kMusic);
}

PageMic* ChannelPages::Mic() const {
    return PageOfKind<PageMic>(pages_, pageindex::kMic);
}

PageEffect* ChannelPages::Effect() const {
    return PageOfKind<PageEffect>(pages_, pageindex::kEffect);
}

PageBassOut* ChannelPages::BassOut() const {
    return PageOfKind<PageBassOut>(pages_, pageindex::kBassOut);
}

chan::OutputPage* ChannelPages::Output(pageindex::Index output) const {
    return PageOfKind<chan::OutputPage>(pages_, output);
}

Page* ChannelPages::Channel(int index) const {
    return PageOfKind<Page>(pages_, index);
}

}  // namespace console
