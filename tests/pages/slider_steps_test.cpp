// How far one key or one click in the channel moves the pages' sliders that have a step of their own.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QTest>
#include <functional>

#include "controls/notices.h"
#include "pages/channel_sliders.h"
#include "pages/page_mic.h"
#include "tests/pages/page_harness.h"

namespace {

TEST(MicPage, HighPassMovesOneHertzPerKeyAndPerClickInItsChannel) {
    Harness<PageMic> h;
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(chan::id::kHighPass));
    ASSERT_NE(slider, nullptr) << "the microphone's high-pass slider";
    slider->setFocus();
    const QPoint rightEnd(slider->width() - 3, slider->height() / 2);  // in the channel, right of the thumb
    const struct {
        const char* name;
        std::function<void()> act;
        int hz;
    } steps[] = {
        {"Page Up", [&] { QTest::keyClick(slider, Qt::Key_PageUp); }, 21},
        {"Page Up again", [&] { QTest::keyClick(slider, Qt::Key_PageUp); }, 22},
        {"Page Down", [&] { QTest::keyClick(slider, Qt::Key_PageDown); }, 21},
        {"Right", [&] { QTest::keyClick(slider, Qt::Key_Right); }, 22},
        {"a click in the channel", [&] { QTest::mouseClick(slider, Qt::LeftButton, {}, rightEnd); }, 23},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(h.page->SliderPos(chan::id::kHighPass), step.hz) << step.name << ": the slider";
        EXPECT_EQ(h.Take(), (Notices{{notice::kPassBand, static_cast<win::WPARAM>(step.hz),
                                      notice::PackBandType(0, kTypeHighPass)}}))
            << step.name << ": the high-pass notice";
    }
    // A reset keeps the step: it sets the range again.
    h.page->ResetAll(true);
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(h.page->SliderPos(chan::id::kHighPass), 21) << "Page Up after a reset";
}

}  // namespace
