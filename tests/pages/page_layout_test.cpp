#include <gtest/gtest.h>

#include <QLabel>

#include "controls/double_label.h"
#include "controls/slider.h"
#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_ids.h"
#include "pages/page_main_out.h"
#include "pages/page_mic.h"
#include "pages/page_mid_out.h"
#include "pages/page_music.h"
#include "pages/page_sub_out.h"
#include "tests/pages/page_harness.h"

namespace {

// Where a slider paints its thumb and channel; a value label standing taller for Thai or CJK text may
// reach into the blank rows above or below them.
QRect PaintedPart(const QWidget* w) {
    const auto* slider = qobject_cast<const controls::Slider*>(w);
    if (!slider || slider->orientation() != Qt::Horizontal) return w->geometry();
    const QRect thumb = slider->Layout().thumb;
    return QRect(w->x(), w->y() + thumb.top(), w->width(), thumb.height());
}

bool Meet(const QWidget* a, const QWidget* b) {
    const bool label =
        qobject_cast<const controls::DoubleLabel*>(a) || qobject_cast<const controls::DoubleLabel*>(b);
    return label ? PaintedPart(a).intersects(PaintedPart(b)) : a->geometry().intersects(b->geometry());
}

bool IsBandControl(const QWidget* w) {
    const int id = win::ControlId(w);
    return id == pageid::kRowCaption || (id >= pageid::kGainEdit && id < pageid::kTypeButton + 100);
}

// In every language: visible direct children do not overlap (group boxes frame others; the base lays
// out the band controls; a value label may reach a slider's blank rows), and each row caption shows
// its whole text left of the first band column.
template <class P>
void ExpectLayout(bool rowCaptions) {
    Harness<P> h;
    const QWidget* firstEdit = win::FindControl(h.page, pageid::kGainEdit + 1);
    ASSERT_NE(firstEdit, nullptr);
    for (int language = 0; language < 5; ++language) {
        SCOPED_TRACE(testing::Message() << typeid(P).name() << " language " << language);
        h.page->SetLanguage(language);
        std::vector<QWidget*> shown;
        int captions = 0;
        for (QObject* o : h.page->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && w->isVisibleTo(h.page) && !w->inherits("QGroupBox")) shown.push_back(w);
            auto* label = qobject_cast<QLabel*>(o);
            if (!rowCaptions || !label || win::ControlId(label) != pageid::kRowCaption) continue;
            ++captions;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            EXPECT_LT(label->geometry().right(), firstEdit->x());
        }
        EXPECT_EQ(captions, rowCaptions ? 4 : 0);
        ASSERT_GT(shown.size(), 10u);
        for (std::size_t i = 0; i < shown.size(); ++i)
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                if (IsBandControl(shown[i]) && IsBandControl(shown[j])) continue;  // the base lays those out
                EXPECT_FALSE(Meet(shown[i], shown[j])) << "controls " << win::ControlId(shown[i]) << " and "
                                                       << win::ControlId(shown[j]) << " overlap";
            }
    }
}

TEST(PageLayout, NothingOverlapsAndRowCaptionsFit) {
    ExpectLayout<PageMusic>(true);
    ExpectLayout<PageMic>(true);
    ExpectLayout<PageMainOut>(true);
    ExpectLayout<PageEffect>(false);
    ExpectLayout<PageMidOut>(false);
    ExpectLayout<PageBassOut>(false);
    ExpectLayout<PageSubOut>(false);
}

}  // namespace
