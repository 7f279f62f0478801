// The keyboard focus in the band columns: Tab visits only the three edits of each band, the slider
// and the bitmap buttons take the focus by a click, whatever has the focus shows it, and the Q
// arrows take their clicks at the default size and at 900 x 520.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <vector>

#include "controls/focus_ring.h"
#include "controls/slider.h"
#include "pages/page.h"
#include "pages/page_ids.h"
#include "support.h"
#include "tests/controls/widget_test_support.h"

namespace {

using controls_test::Pixel;
using controls_test::Render;
using controls_test::Rgb;

class WholeWindowBandFocus : public WindowTest {
  protected:
    void StartActive(const char* config = "[Config]\nLanguage=1\n") {
        Start(config);
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog.get());
        QCoreApplication::processEvents();
    }
    Page* ShowTab(int tab) {
        dialog->TabStrip()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        return dynamic_cast<Page*>(dialog->PageAt(tab));
    }
    static bool IsBandControl(const QWidget* w, const Page* page) {
        const int id = win::ControlId(w);
        return w && w->parentWidget() == page && id >= pageid::kGainEdit && id < pageid::kTypeButton + 100;
    }
    // The band controls the focus visits from `first` on, pressing `key` until it leaves them.
    std::vector<int> Walk(Page* page, int first, Qt::Key key) {
        std::vector<int> stops;
        QWidget* w = page->Control(first);
        w->setFocus(Qt::TabFocusReason);
        while (IsBandControl(w, page) && w->hasFocus() && stops.size() < 200) {
            stops.push_back(win::ControlId(w));
            QTest::keyClick(w, key);
            w = QApplication::focusWidget();
        }
        return stops;
    }
    // The control under the centre of `w` in the window as it is laid out now.
    QWidget* HitAtCentre(QWidget* w) {
        dialog->ScrollPageTo(w);
        QCoreApplication::processEvents();
        const QPoint at = w->mapTo(dialog->Client(), w->rect().center());
        return dialog->Client()->childAt(at);
    }
};

TEST_F(WholeWindowBandFocus, TabVisitsOnlyTheThreeEditsOfEachBandInColumnOrder) {
    StartActive();
    for (int tab = 0; tab < console::kTabCount; ++tab) {
        Page* page = ShowTab(tab);
        const int last = page->GetBandCount() - 2;
        std::vector<int> expected;
        for (int b = 1; b <= last; ++b)
            for (int id : {pageid::kGainEdit, pageid::kFreqEdit, pageid::kQEdit}) expected.push_back(id + b);
        EXPECT_EQ(Walk(page, pageid::kGainEdit + 1, Qt::Key_Tab), expected)
            << "tab " << tab << ": the Tab stops of the band columns, forwards";
        const std::vector<int> backwards(expected.rbegin(), expected.rend());
        EXPECT_EQ(Walk(page, pageid::kQEdit + last, Qt::Key_Backtab), backwards)
            << "tab " << tab << ": the Tab stops of the band columns, backwards";
    }
}

TEST_F(WholeWindowBandFocus, SliderAndBitmapButtonsTakeTheFocusByAClickAndShowIt) {
    StartActive();
    Page* page = ShowTab(0);
    constexpr int kBand = 2;
    const QRgb ring = Rgb(controls::FocusRingColor(page->palette()));

    struct Button {
        const char* name;
        int id;
    };
    const Button buttons[] = {{"Q minus", pageid::kQButton + 2 * kBand},
                              {"Q plus", pageid::kQButton + 2 * kBand + 1},
                              {"P", pageid::kTypeButton + 3 * kBand},
                              {"LS", pageid::kTypeButton + 3 * kBand + 1},
                              {"HS", pageid::kTypeButton + 3 * kBand + 2}};
    for (const Button& b : buttons) {
        QWidget* w = page->Control(b.id);
        ASSERT_NE(w, nullptr) << b.name;
        page->Control(pageid::kGainEdit + kBand)->setFocus();
        const QImage before = Render(*w);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), w) << b.name << " takes the focus when clicked";
        const QImage after = Render(*w);
        const QRect r = w->rect();
        for (const QPoint p : {QPoint(r.center().x(), r.top()), QPoint(r.center().x(), r.bottom()),
                               QPoint(r.left(), r.center().y()), QPoint(r.right(), r.center().y())}) {
            EXPECT_EQ(Pixel(after, p.x(), p.y()), ring)
                << b.name << " shows the focus at its edge " << p.x() << "," << p.y();
            EXPECT_NE(Pixel(before, p.x(), p.y()), ring) << b.name << " shows a focus it does not have";
        }
    }

    auto* slider = qobject_cast<controls::Slider*>(page->Control(pageid::kGainSlider + kBand));
    ASSERT_NE(slider, nullptr);
    page->Control(pageid::kGainEdit + kBand)->setFocus();
    const QRect thumb = slider->Layout().thumb;
    const QImage before = Render(*slider);
    QTest::mouseClick(slider, Qt::LeftButton, {}, thumb.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), slider) << "the gain slider takes the focus when clicked";
    EXPECT_EQ(slider->Layout().thumb, thumb) << "a click on the thumb leaves the gain where it was";
    const QImage after = Render(*slider);
    for (const QPoint p : {QPoint(thumb.center().x(), thumb.top()), QPoint(thumb.left(), thumb.center().y()),
                           QPoint(thumb.right(), thumb.center().y())}) {
        EXPECT_EQ(Pixel(after, p.x(), p.y()), ring)
            << "the focused slider's thumb at " << p.x() << "," << p.y();
        EXPECT_NE(Pixel(before, p.x(), p.y()), ring) << "the slider shows a focus it does not have";
    }

    // A band edit with the focus shows it on its frame.
    auto* edit = qobject_cast<QLineEdit*>(page->Control(pageid::kFreqEdit + kBand));
    const QImage unfocused = Render(*edit);
    edit->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    const QImage focused = Render(*edit);
    EXPECT_NE(Pixel(focused, edit->width() / 2, 0), Pixel(unfocused, edit->width() / 2, 0))
        << "the focused frequency edit's frame looks as it did without the focus";
}

TEST_F(WholeWindowBandFocus, QArrowsTakeTheirClicksAtBothSizes) {
    StartActive();
    const QSize started = dialog->size();
    for (const QSize size : {started, QSize(900, 520)}) {
        dialog->resize(size);
        QCoreApplication::processEvents();
        for (int tab = 0; tab < console::kTabCount; ++tab) {
            Page* page = ShowTab(tab);
            const int band = page->GetBandCount() - 2;  // the last column, the first to go out of view
            const std::string at = std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                                   ", tab " + std::to_string(tab);
            QWidget* minus = page->Control(pageid::kQButton + 2 * band);
            QWidget* plus = page->Control(pageid::kQButton + 2 * band + 1);
            auto* q = qobject_cast<QLineEdit*>(page->Control(pageid::kQEdit + band));
            ASSERT_TRUE(minus && plus && q) << at;
            page->SetBandQ(band, 128.0f);
            const struct {
                QWidget* button;
                const char* name;
                const char* shown;
                float q;
            } clicks[] = {{plus, "Q plus", "128.0", 128.0f},
                          {minus, "Q minus", "127.9", 127.9f},
                          {minus, "Q minus", "127.8", 127.8f},
                          {plus, "Q plus", "127.9", 127.9f}};
            for (const auto& c : clicks) {
                ASSERT_EQ(HitAtCentre(c.button), c.button) << at << ": something covers " << c.name;
                QTest::mouseClick(c.button, Qt::LeftButton, {}, c.button->rect().center());
                EXPECT_EQ(page->Model().band.q[band], c.q) << at << ": Q after a click on " << c.name;
                EXPECT_EQ(q->text(), QString(c.shown)) << at << ": the Q edit after a click on " << c.name;
            }
        }
    }
}

}  // namespace
