// What the whole window shows around its captions, in all five languages, at the sizes it starts at
// on 1366- and 1024-pixel screens and at its 900 x 520 minimum: each group box's top line drawn above
// the caption it frames, not under it; every button's text clear of its frame; the status lamp clear
// of the tab strip; the master sliders' values on their captions' baselines.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QStyleOptionButton>

#include "console/status_lamp_button.h"
#include "controls/double_label.h"
#include "controls/text_height.h"
#include "support.h"
#include "tests/controls/widget_test_support.h"

namespace {

using console::kTabCount;
using controls_test::Pixel;
using controls_test::Render;
using controls_test::Rgb;

// Room a button's text keeps from the edges of the style's contents rectangle, on each side.
constexpr int kButtonTextMargin = 4;

class WholeWindowFrames : public WindowTest, public testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        Start(("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n").c_str());
        dialog->Graph()->SetTraceSink([](const std::string&) {});
        dialog->show();
        QCoreApplication::processEvents();
    }

    // Between a framed caption's top and its box's top edge, some row of the caption's middle column
    // is drawn: the frame's line, visible.
    void CheckFrameLines(QWidget* page, const std::string& where) {
        const QImage image = Render(*page);
        const QRgb background = Rgb(page->palette().color(QPalette::Window));
        std::size_t framed = 0;
        for (auto* box : page->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
            if (!box->isVisibleTo(page) || !box->title().isEmpty()) continue;
            for (auto* label : page->findChildren<controls::DoubleLabel*>(Qt::FindDirectChildrenOnly)) {
                if (!label->isVisibleTo(page) || !box->geometry().contains(label->geometry())) continue;
                ++framed;
                const int x = label->geometry().center().x();
                bool lineAbove = false;
                for (int y = box->y(); y < label->y() && !lineAbove; ++y)
                    lineAbove = Pixel(image, x, y) != background;
                EXPECT_TRUE(lineAbove) << where << ": the top line of the box around "
                                       << label->Caption().toStdString() << " lies under the caption";
            }
        }
        const bool framesPairs = !page->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly).isEmpty();
        if (framesPairs) {
            EXPECT_GT(framed, 0u) << where << ": no caption checked";
        }
    }

    void CheckButtonTexts(QWidget* parent, const std::string& where) {
        for (auto* button : parent->findChildren<QPushButton*>()) {
            if (!button->isVisibleTo(dialog.get()) || button->text().isEmpty()) continue;
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const int text = button->fontMetrics().horizontalAdvance(button->text());
            EXPECT_LE(text + 2 * kButtonTextMargin, contents.width())
                << where << ": the text " << button->text().toStdString() << " (" << text
                << " px) runs onto the frame of its " << button->width() << " px button";
        }
    }

    // A master slider's value stands on its caption's baseline, whatever script the caption is in
    // (the template puts the effect value one dialog unit higher: a pixel or two).
    void CheckMasterBaselines(const std::string& where) {
        const int pairs[][2] = {{console::kIdMusicCaption, console::kIdMusicValue},
                                {console::kIdMicCaption, console::kIdMicValue},
                                {console::kIdEffectCaption, console::kIdEffectValue}};
        for (const auto& pair : pairs) {
            auto* caption = Control<QLabel>(pair[0]);
            auto* value = Control<QLabel>(pair[1]);
            ASSERT_TRUE(caption && value);
            auto baseline = [](const QLabel* l) {
                return l->y() + controls::TextLineAscent(l->font(), l->text());
            };
            EXPECT_LE(std::abs(baseline(caption) - baseline(value)), 2)
                << where << ": the value " << value->text().toStdString() << " stands "
                << baseline(caption) - baseline(value) << " px above the baseline of "
                << caption->text().toStdString();
        }
    }

    void CheckLampClearOfTabs(const std::string& where) {
        auto* lamp = dialog->Client()->findChild<console::StatusLampButton*>();
        ASSERT_NE(lamp, nullptr);
        const QRect lampRect(lamp->mapTo(dialog.get(), QPoint(0, 0)), lamp->size());
        QTabBar* tabs = dialog->TabStrip();
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect tab = tabs->tabRect(i).translated(tabs->mapTo(dialog.get(), QPoint(0, 0)));
            EXPECT_FALSE(lampRect.intersects(tab)) << where << ": the status lamp meets tab " << i;
        }
    }
};

TEST_P(WholeWindowFrames, FrameLinesAboveCaptionsButtonTextsInsideLampClearOfTabs) {
    // As the window starts on a 1366- and on a 1024-pixel screen, and at its minimum.
    for (const QSize size : {QSize(1188, 520), QSize(1008, 520), QSize(900, 520)}) {
        dialog->resize(size);
        QCoreApplication::processEvents();
        const std::string at = "language " + std::to_string(GetParam()) + " at " +
                               std::to_string(size.width()) + " x " + std::to_string(size.height());
        CheckLampClearOfTabs(at);
        CheckMasterBaselines(at);
        CheckButtonTexts(dialog->Client(), at);
        for (int tab = 0; tab < kTabCount; ++tab) {
            dialog->TabStrip()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            CheckFrameLines(dialog->PageAt(tab), at + ", tab " + std::to_string(tab));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, WholeWindowFrames, testing::Range(0, 5));

}  // namespace
