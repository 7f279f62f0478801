#pragma once

#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QWidget>
#include <string>
#include <vector>

#include "pages/page.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_font.h"
#include "tests/pages/hex.h"
#include "tests/pages/test_page.h"

// A frame the page would send beside the one expected; each is checked on its own, by name.
struct NamedFrame {
    const char* name;
    std::string actual;
    std::string expected;
};
inline void ExpectFrames(const std::vector<NamedFrame>& frames) {
    for (const auto& f : frames) EXPECT_EQ(f.actual, f.expected) << f.name;
}

template <class P>
struct Harness {
    Harness() {
        TestApp();
        static const bool fontSet = (win::UseDialogFont(), true);  // lay out as the console does
        (void)fontSet;
        parent = std::make_unique<NoticeRecorder>();
        parent->resize(1800, 600);
        page = new P(parent.get());
        page->Init();
        page->SetLanguage(1);
        page->resize(1800, 600);
        parent->show();
        parent->notices.clear();
    }
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
    std::string Band(int b) const {
        const auto f = page->BuildBandCmd(b);
        return f ? testhex::Hex(*f) : "none";
    }
    // A band's frequency, type and enabled flag, each checked on its own; `when` names the moment.
    void ExpectBand(int b, int freq, int type, int enabled, const std::string& when) const {
        const auto& band = page->Model().band;
        EXPECT_EQ(band.freq[b], freq) << when << ": band " << b << " frequency";
        EXPECT_EQ(band.type[b], type) << when << ": band " << b << " type";
        EXPECT_EQ(band.enabled[b], enabled) << when << ": band " << b << " enabled";
    }
    Notices Take() { return std::exchange(parent->notices, {}); }
    std::unique_ptr<NoticeRecorder> parent;
    P* page = nullptr;  // owned by parent
};
