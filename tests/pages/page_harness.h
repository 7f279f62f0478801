#pragma once
// Channel pages under test: the application, a parent standing in for the main dialog that records
// every notice, and user-like slider moves and combo choices.

#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QWidget>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

#include "pages/page.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_font.h"
#include "platform/ui/window.h"
#include "tests/pages/hex.h"

inline QApplication& ChannelTestApp() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("channel_page_tests"), nullptr};
    static QApplication app(argc, argv);
    static const bool fontSet = (win::UseDialogFont(), true);  // lay out as the console does
    (void)fontSet;
    return app;
}

struct Sent {
    unsigned msg;
    win::WPARAM w;
    win::LPARAM l;
    bool operator==(const Sent& o) const { return msg == o.msg && w == o.w && l == o.l; }
};

inline std::ostream& operator<<(std::ostream& os, const Sent& n) {
    return os << std::hex << "{0x" << n.msg << std::dec << ", " << n.w << ", " << n.l << "}";
}

class MainDialogStandIn : public QWidget, public win::MessageSink {
  public:
    win::LRESULT OnMessage(unsigned msg, win::WPARAM w, win::LPARAM l, QWidget*) override {
        sent.push_back({msg, w, l});
        return 0;
    }
    std::vector<Sent> sent;
};

template <class P>
struct Harness {
    Harness() {
        ChannelTestApp();
        parent = std::make_unique<MainDialogStandIn>();
        parent->resize(1800, 600);
        page = new P(parent.get());
        page->Init();
        page->SetLanguage(1);
        page->resize(1800, 600);
        parent->show();
        parent->sent.clear();
    }
    // Moves a slider as the user's drag would.
    void Drag(int id, int pos) {
        auto* s = qobject_cast<QAbstractSlider*>(page->Control(id));
        ASSERT_NE(s, nullptr) << id;
        s->setSliderPosition(pos);
        s->triggerAction(QAbstractSlider::SliderMove);
    }
    void Choose(int comboId, int item) {
        auto* combo = qobject_cast<QComboBox*>(page->Control(comboId));
        ASSERT_NE(combo, nullptr) << comboId;
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
    // The band's frame as hex, or "none" when the page builds none.
    std::string Band(int b) const {
        const auto f = page->BuildBandCmd(b);
        return f ? testhex::Hex(*f) : "none";
    }
    // Frequency, type and enabled flag of a band in the page model.
    std::tuple<int, int, int> State(int b) const {
        const auto& band = page->Model().band;
        return {band.freq[b], band.type[b], band.enabled[b]};
    }
    std::vector<Sent> Take() { return std::exchange(parent->sent, {}); }
    std::unique_ptr<MainDialogStandIn> parent;
    P* page = nullptr;  // owned by parent
};
