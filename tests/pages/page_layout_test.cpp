#include <gtest/gtest.h>

#include <QLabel>

#include "pages/page_bass_out.h"
#include "pages/page_effect.h"
#include "pages/page_main_out.h"
#include "pages/page_mic.h"
#include "pages/page_mid_out.h"
#include "pages/page_music.h"
#include "pages/page_sub_out.h"
#include "tests/pages/page_harness.h"

namespace {

bool IsBandControl(const QWidget* w) {
    const int id = win::ControlId(w);
    return id == 0xFFFF || (id >= 1600 && id < 2200);
}

// Visible direct children of a page must not overlap one another (group boxes frame others).
template <class P>
void ExpectNoOverlap() {
    Harness<P> h;
    for (int language = 0; language < 5; ++language) {
        h.page->SetLanguage(language);
        std::vector<QWidget*> shown;
        for (QObject* o : h.page->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && w->isVisibleTo(h.page) && !w->inherits("QGroupBox")) shown.push_back(w);
        }
        ASSERT_GT(shown.size(), 10u);
        for (std::size_t i = 0; i < shown.size(); ++i)
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                if (IsBandControl(shown[i]) && IsBandControl(shown[j])) continue;  // the base lays those out
                EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                    << typeid(P).name() << " " << language << ": " << win::ControlId(shown[i]) << " "
                    << win::ControlId(shown[j]);
            }
    }
}

TEST(PageLayout, NothingOverlaps) {
    ExpectNoOverlap<PageMusic>();
    ExpectNoOverlap<PageMic>();
    ExpectNoOverlap<PageEffect>();
    ExpectNoOverlap<PageMainOut>();
    ExpectNoOverlap<PageMidOut>();
    ExpectNoOverlap<PageBassOut>();
    ExpectNoOverlap<PageSubOut>();
}

}  // namespace

namespace {

// Every row caption shows its whole text in every language and ends before the first band column.
template <class P>
void ExpectRowCaptionsFit() {
    Harness<P> h;
    const QWidget* firstEdit = win::FindControl(h.page, 1601);
    ASSERT_NE(firstEdit, nullptr);
    for (int language = 0; language < 5; ++language) {
        h.page->SetLanguage(language);
        int captions = 0;
        for (QObject* o : h.page->children()) {
            auto* label = qobject_cast<QLabel*>(o);
            if (!label || win::ControlId(label) != 0xFFFF) continue;
            ++captions;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << typeid(P).name() << " " << language << ": " << label->text().toStdString();
            EXPECT_LT(label->geometry().right(), firstEdit->x()) << typeid(P).name() << " " << language;
        }
        EXPECT_EQ(captions, 4);
    }
}

TEST(PageLayout, RowCaptionsFitInEveryLanguage) {
    ExpectRowCaptionsFit<PageMusic>();
    ExpectRowCaptionsFit<PageMic>();
    ExpectRowCaptionsFit<PageMainOut>();
}

}  // namespace
