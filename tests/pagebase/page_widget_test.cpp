#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLineEdit>

#include "platform/ui/controls.h"
#include "test_page.h"

namespace {

TEST(PageInit, BuildsBandControlIdsOf5And17BandPages) {
    for (int n : {5, 17}) {
        PageHarness h(n, DefaultFreqs(n));
        for (int i = 0; i < n; ++i) {
            const bool peaking = i >= 1 && i <= n - 2;
            EXPECT_EQ(qobject_cast<QLineEdit*>(h.page->Control(1600 + i)) != nullptr, peaking)
                << n << " " << i;
            EXPECT_EQ(qobject_cast<QAbstractSlider*>(h.page->Control(1700 + i)) != nullptr, peaking) << i;
            EXPECT_EQ(qobject_cast<QLineEdit*>(h.page->Control(1800 + i)) != nullptr, peaking) << i;
            EXPECT_EQ(qobject_cast<QLineEdit*>(h.page->Control(1900 + i)) != nullptr, peaking) << i;
            for (int id : {2000 + 2 * i, 2001 + 2 * i, 2100 + 3 * i, 2101 + 3 * i, 2102 + 3 * i})
                EXPECT_EQ(qobject_cast<QAbstractButton*>(h.page->Control(id)) != nullptr, peaking) << id;
        }
        EXPECT_EQ(h.page->resetsWithFlag, 1);
        EXPECT_GT(h.page->GetContentHeight(), 0);
        EXPECT_GT(h.page->EqRight(), 0);
    }
}

TEST(PageInit, TinyPageBuildsNoColumn) {
    PageHarness h(2, {});
    EXPECT_EQ(h.page->GetContentHeight(), -1);
    EXPECT_EQ(h.page->EqRight(), -1);
}

TEST(PageInit, ResetShowsTheRecordInTheEdits) {
    PageHarness h(5, {25, 60, 160});
    const char* const freqs[] = {"25 Hz", "60 Hz", "160 Hz"};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(qobject_cast<QLineEdit*>(h.page->Control(1600 + i))->text(), "+0.0 dB");
        EXPECT_EQ(qobject_cast<QLineEdit*>(h.page->Control(1800 + i))->text(), freqs[i - 1]);
        EXPECT_EQ(qobject_cast<QLineEdit*>(h.page->Control(1900 + i))->text(), "1.0");
        EXPECT_EQ(*h.page->SliderPos(1700 + i), 0);
    }
    EXPECT_TRUE(h.parent->notices.empty());
}

}  // namespace
