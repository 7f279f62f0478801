// Every value label of every page whole, at every value's widest, in all five languages; the
// templates' group boxes around their slider pairs, covering nothing and taking no click.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <QTest>
#include <map>
#include <set>

#include "controls/double_label.h"
#include "pages/channel_sliders.h"
#include "pages/page.h"
#include "pages/page_index.h"
#include "support.h"

namespace {

using console::kTabCount;

std::vector<chan::SliderSpec> AllSpecs() {
    std::vector<chan::SliderSpec> all;
    for (auto specs :
         {chan::LimiterSliders(), chan::LevelSliders(), chan::GateSliders(), chan::EffectSliders()})
        all.insert(all.end(), specs.begin(), specs.end());
    for (const auto* s : {&chan::LeftDelaySlider(), &chan::RightDelaySlider(), &chan::DelaySlider(),
                          &chan::CrossoverSlider(), &chan::MicHighPassSlider()})
        all.push_back(*s);
    return all;
}

// The position of the range whose value text is widest in `font`.
int WidestPosition(const chan::SliderSpec& s, const QFont& font) {
    const QFontMetrics fm(font);
    int best = s.min, widest = -1;
    for (int pos = s.min; pos <= s.max; ++pos) {
        const int w = fm.horizontalAdvance(QString::fromStdString(chan::FormatValue(s.text, pos)));
        if (w > widest) widest = w, best = pos;
    }
    return best;
}

// Pairs whose captions are the same text in the tables themselves (the Vietnamese effect page names
// echo and reverb alike); as drawn they must read as written, and no other pair may read alike.
const std::set<std::string> kSameInTheTables = {
    "Âm lượng giọng thật:", "Cắt tần số thấp:", "Cắt tần số cao:"};

struct Pair {
    QWidget* slider;
    QWidget* label;
};

class WholeWindowCaptions : public WindowTest, public testing::WithParamInterface<int> {
  protected:
    int Language() const { return GetParam(); }
    Page* PageOf(int tab) { return qobject_cast<Page*>(dialog->PageAt(tab)); }

    // Every slider at its widest value text, every band at Q 128.0, -24.0 dB and 20000 Hz.
    void SetWidestValues() {
        for (int tab = 0; tab < kTabCount; ++tab) {
            Page* page = PageOf(tab);
            for (int band = 1; band < page->GetBandCount() - 1; ++band)
                page->SetBand(band, 20000, -24.0f, 128.0f, 0);
            for (const auto& s : AllSpecs())
                if (page->HasSlider(s.id)) page->SetSliderPos(s.id, WidestPosition(s, page->font()));
            if (page->HasSlider(pageid::kHighPassSlider)) {
                page->Model().band.freq[0] = *page->SliderPos(pageid::kHighPassSlider);
                page->UpdateHighPassLabel();
            }
        }
        dialog->SetLanguage(Language());
    }

    // The pairs that the page shows, each a slider with its value label.
    std::vector<Pair> ShownPairs(Page* page) {
        std::vector<Pair> pairs;
        for (const auto& s : AllSpecs()) {
            QWidget* slider = page->Control(s.id);
            QWidget* label = page->Control(s.labelId);
            if (slider && label && slider->isVisibleTo(page) && qobject_cast<controls::DoubleLabel*>(label))
                pairs.push_back({slider, label});
        }
        return pairs;
    }

    void CheckCaptions(Page* page, int tab) {
        std::map<QString, int> drawn;
        for (auto* label : page->findChildren<controls::DoubleLabel*>()) {
            if (!label->isVisibleTo(page) || label->Caption().isEmpty()) continue;
            const std::string what = "tab " + std::to_string(tab) + " " + label->Caption().toStdString();
            const controls::DoubleLabelLayout l = label->Layout();
            EXPECT_FALSE(l.shortened) << what << " is cut to " << l.caption.toStdString();
            EXPECT_TRUE(label->toolTip().isEmpty()) << what;
            EXPECT_GE(label->height(), l.height)
                << what << ": the strip is lower than its " << l.lines << " lines";
            EXPECT_TRUE(label->rect().contains(l.captionRect) && label->rect().contains(l.valueRect)) << what;
            EXPECT_FALSE(l.captionRect.intersects(l.valueRect)) << what;
            ++drawn[l.caption];
        }
        for (const auto& [caption, count] : drawn) {
            if (count > 1) {
                EXPECT_TRUE(kSameInTheTables.count(caption.toStdString()))
                    << "tab " << tab << ": " << count << " captions read " << caption.toStdString();
            }
        }
        // Plain captions (row names, channel names, the mode list's caption) fit their labels too.
        for (auto* label : page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (!label->isVisibleTo(page) || qobject_cast<controls::DoubleLabel*>(label)) continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
                << "tab " << tab << " " << label->text().toStdString();
        }
    }

    // Each group box frames one pair whole and meets no other control; the pairs' order is the
    // template's.
    void CheckFrames(Page* page, int tab, std::size_t expected) {
        std::vector<QGroupBox*> frames;
        for (auto* box : page->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            if (box->isVisibleTo(page) && box->title().isEmpty()) frames.push_back(box);
        const std::vector<Pair> pairs = ShownPairs(page);
        std::size_t framed = 0;
        for (const Pair& p : pairs) {
            const std::string what =
                "tab " + std::to_string(tab) + " slider " + std::to_string(win::ControlId(p.slider));
            QGroupBox* own = nullptr;
            for (QGroupBox* box : frames)
                if (box->geometry().contains(p.slider->geometry()) &&
                    box->geometry().contains(p.label->geometry())) {
                    EXPECT_EQ(own, nullptr) << what << " stands in two group boxes";
                    own = box;
                }
            if (!own) continue;
            ++framed;
            EXPECT_EQ(own->focusPolicy(), Qt::NoFocus) << what;
            for (auto* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (w == own || w == p.slider || w == p.label || !w->isVisibleTo(page)) continue;
                EXPECT_FALSE(own->geometry().intersects(w->geometry()))
                    << what << ": its group box meets control " << win::ControlId(w);
            }
            // What a click at the slider's or the label's middle reaches: they lie above their frame.
            dialog->ScrollPageTo(own);
            EXPECT_EQ(page->childAt(p.slider->geometry().center()), p.slider) << what;
            EXPECT_EQ(page->childAt(p.label->geometry().center()), p.label) << what;
        }
        EXPECT_EQ(framed, expected) << "tab " << tab << ": pairs in group boxes";
        EXPECT_EQ(frames.size(), expected) << "tab " << tab << ": group boxes shown";
    }

    // A real click through the window on a framed slider's channel moves it.
    void ClickEveryFramedSlider(Page* page, int tab) {
        for (const Pair& p : ShownPairs(page)) {
            auto* slider = qobject_cast<QAbstractSlider*>(p.slider);
            const int id = win::ControlId(slider);
            dialog->ScrollPageTo(slider);
            QCoreApplication::processEvents();
            const bool high = slider->value() > (slider->minimum() + slider->maximum()) / 2;
            const QPoint at(high ? 6 : slider->width() - 6, slider->height() / 2);
            const int before = *page->SliderPos(id);
            QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, slider->mapTo(dialog.get(), at));
            EXPECT_NE(*page->SliderPos(id), before) << "tab " << tab << " slider " << id << " took no click";
        }
    }
};

const std::map<int, std::size_t> kFramedPairs = {
    {pageindex::kMic, 5},    {pageindex::kEffect, 15}, {pageindex::kMainOut, 6},
    {pageindex::kMidOut, 5}, {pageindex::kSubOut, 6},
};

TEST_P(WholeWindowCaptions, WholeAtTheWidestValuesAndFramedAsTheTemplatesAre) {
    // Started in the language before, then switched: a page laid out for one language's captions
    // must take the next one's.
    const int startLanguage = (Language() + 4) % 5;
    Start(("[Config]\nLanguage=" + std::to_string(startLanguage) + "\n").c_str());
    dialog->Graph()->SetTraceSink([](const std::string&) {});
    dialog->show();
    QCoreApplication::processEvents();
    SetWidestValues();
    for (const QSize size : {dialog->size(), QSize(900, 520)}) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        dialog->resize(size);
        QCoreApplication::processEvents();
        for (int tab = 0; tab < kTabCount; ++tab) {
            dialog->TabStrip()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            Page* page = PageOf(tab);
            CheckCaptions(page, tab);
            // The music page's two boxes frame blocks of their own (the inputs, the high-pass and its slope).
            if (tab == pageindex::kMusic) continue;
            const auto framed = kFramedPairs.find(tab);
            CheckFrames(page, tab, framed == kFramedPairs.end() ? 0 : framed->second);
            if (framed != kFramedPairs.end()) ClickEveryFramedSlider(page, tab);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, WholeWindowCaptions, testing::Range(0, 5));

// The microphone page's frames by their ids: high-pass and the four limiter pairs shown, the noise
// gate's two hidden with their sliders.
TEST_F(WindowTest, MicrophoneFramesByTheirIds) {
    Start();
    QWidget* mic = dialog->PageAt(pageindex::kMic);
    const struct {
        int frame, slider, label;
        bool shown;
    } rows[] = {{1445, 1078, 1084, true}, {1446, 1083, 1086, true}, {1447, 1080, 1087, true},
                {1448, 1081, 1088, true}, {1449, 1082, 1089, true}, {1443, 1090, 1095, false},
                {1444, 1091, 1096, false}};
    int lastBottom = -1;
    for (const auto& r : rows) {
        auto* frame = win::FindControlAs<QGroupBox>(mic, r.frame);
        ASSERT_NE(frame, nullptr) << r.frame;
        EXPECT_EQ(frame->isVisibleTo(mic), r.shown) << r.frame;
        EXPECT_TRUE(frame->geometry().contains(win::FindControl(mic, r.slider)->geometry())) << r.frame;
        EXPECT_TRUE(frame->geometry().contains(win::FindControl(mic, r.label)->geometry())) << r.frame;
        if (!r.shown) continue;
        EXPECT_GT(frame->y(), lastBottom) << r.frame << " is not below the frame before it";
        lastBottom = frame->geometry().bottom();
    }
}

// The effect page's frames stand in the template's five columns, each column's pairs in its order
// from the top, and the output pages' level column left of their delays.
TEST_F(WindowTest, FramesInTheTemplatesColumns) {
    Start();
    auto frameOf = [](QWidget* page, int slider) -> QRect {
        const QRect at = win::FindControl(page, slider)->geometry();
        for (auto* box : page->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            if (box->isVisibleTo(page) && box->geometry().contains(at)) return box->geometry();
        ADD_FAILURE() << "slider " << slider << " has no group box";
        return {};
    };
    const std::vector<std::vector<int>> columns = {
        {1415, 1413, 1421, 1422}, {1120, 1122, 1113}, {1195, 1194, 1425, 1426}, {1110, 1115}, {1108, 1107}};
    QWidget* effect = dialog->PageAt(pageindex::kEffect);
    int lastRight = -1;
    for (const auto& column : columns) {
        int lastBottom = -1, right = -1;
        for (int slider : column) {
            const QRect f = frameOf(effect, slider);
            EXPECT_GT(f.left(), lastRight) << slider << " is not right of the column before";
            EXPECT_GT(f.top(), lastBottom) << slider << " is not below the pair before";
            EXPECT_EQ(f.left(), frameOf(effect, column.front()).left()) << slider << " leaves its column";
            lastBottom = f.bottom();
            right = std::max(right, f.right());
        }
        lastRight = right;
    }
    for (int tab : {pageindex::kMainOut, pageindex::kMidOut, pageindex::kSubOut}) {
        QWidget* page = dialog->PageAt(tab);
        int levelsRight = -1;
        for (const auto& s : chan::LevelSliders())
            levelsRight = std::max(levelsRight, frameOf(page, s.id).right());
        for (int delay : {chan::id::kLeftDelay, chan::id::kRightDelay, chan::id::kDelay})
            if (QWidget* w = win::FindControl(page, delay); w && w->isVisibleTo(page)) {
                EXPECT_GT(frameOf(page, delay).left(), levelsRight) << "tab " << tab << " delay " << delay;
            }
    }
}

}  // namespace
