#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "controls/double_label.h"
#include "controls/notices.h"
#include "pages/page_ids.h"
#include "platform/ui/controls.h"
#include "test_page.h"

namespace {

namespace id = pageid;

// An output-like page: limiter, levels and delays; id::kDirectLevelSlider and id::kEchoLevelSlider are
// sliders here.
PageHarness OutputLike() {
    // clang-format off
    return PageHarness(7, DefaultFreqs(7),
        {{id::kLimitSlider, -40, 0, -34}, {id::kStartTimeSlider, 0, 100, 10}, {id::kAttackSlider, 1, 8, 2}, {id::kRatioSlider, 1, 100, 5}, {id::kMusicLevelSlider, 0, 100, 40}, {id::kDirectLevelSlider, 0, 100, 41},
         {id::kEchoLevelSlider, 0, 100, 42}, {id::kReverbLevelSlider, 0, 100, 43}, {id::kLeftDelaySlider, 0, 30, 7}, {id::kRightDelaySlider, 0, 30, 8}, {id::kDelaySlider, 0, 30, 9}, {id::kGateStartSlider, -81, 0, -81},
         {id::kGateReleaseSlider, -81, 0, -50}, {id::kBassLowPassSlider, 40, 200, 100}},
        {id::kLimitLabel, id::kStartTimeLabel, id::kAttackLabel, id::kRatioLabel, id::kMusicLevelLabel, id::kDirectLevelLabel, id::kEchoLevelLabel, id::kReverbLevelLabel, id::kLeftDelayLabel, id::kRightDelayLabel, id::kDelayLabel, id::kGateStartLabel, id::kGateReleaseLabel, id::kBassLowPassLabel});
    // clang-format on
}

TEST(Labels, EverySliderLabelThenUserMovesNotifyAndRefresh) {
    PageHarness h = OutputLike();
    h.page->SetLanguage(1);
    h.page->UpdateBassLowPassLabel();
    // clang-format off
    const struct { int label; const char *caption, *value; int slider; unsigned msg; const char* moved; } cases[] = {
        {id::kLimitLabel, "Limit:", "-34db", id::kLimitSlider, notice::kLimiter, "-33db"}, {id::kStartTimeLabel, "Start time:", "10ms", id::kStartTimeSlider, notice::kLimiter, "11ms"},
        {id::kAttackLabel, "Attack:", "Atk x 2", id::kAttackSlider, notice::kLimiter, "Atk x 3"}, {id::kRatioLabel, "Ratio:", "5%", id::kRatioSlider, notice::kLimiter, "6%"},
        {id::kMusicLevelLabel, "Music Volume:", "40%", id::kMusicLevelSlider, notice::kMusicLevels, "41%"}, {id::kDirectLevelLabel, "Direct sound Volume:", "41%", id::kDirectLevelSlider, notice::kDirectLevels, "42%"},
        {id::kEchoLevelLabel, "Echo Volume:", "42%", id::kEchoLevelSlider, notice::kEchoLevels, "43%"}, {id::kReverbLevelLabel, "Reverb Volume:", "43%", id::kReverbLevelSlider, notice::kReverbLevels, "44%"},
        {id::kLeftDelayLabel, "Left channel delay:", "7ms", id::kLeftDelaySlider, notice::kDelays, "8ms"}, {id::kRightDelayLabel, "Right channel delay:", "8ms", id::kRightDelaySlider, notice::kDelays, "9ms"},
        {id::kDelayLabel, "Delay:", "9ms", id::kDelaySlider, notice::kDelays, "10ms"}, {id::kGateStartLabel, "NoiscGate Start Level:", "Off", id::kGateStartSlider, notice::kNoiseGate, "-80db"},
        {id::kGateReleaseLabel, "NoiscGate Release Level:", "-50db", id::kGateReleaseSlider, notice::kNoiseGate, "-49db"}, {id::kBassLowPassLabel, "LP:", "100Hz", id::kBassLowPassSlider, notice::kCrossover, "101Hz"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "label " << c.label << " (" << c.caption << ")");
        EXPECT_EQ(h.page->Label(c.label)->caption, std::string(c.caption)) << "caption shown";
        EXPECT_EQ(h.page->Label(c.label)->value, std::string(c.value)) << "value shown";
        EXPECT_EQ(qobject_cast<controls::DoubleLabel*>(h.page->Control(c.label))->Value(), QString(c.value))
            << "value part";
        auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(c.slider));
        ASSERT_NE(slider, nullptr);
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(h.page->Label(c.label)->value, std::string(c.moved)) << "value after a user step";
        EXPECT_EQ(h.Take(), (Notices{{c.msg, 0, 0}})) << "notice of the user step";
    }
    EXPECT_EQ(h.page->Model().band.freq[0], 101);
    h.page->SetLanguage(4);
    EXPECT_EQ(h.page->Label(id::kAttackLabel)->caption, "Attack:") << "Indonesian attack caption";
    EXPECT_EQ(h.page->Label(id::kLimitLabel)->caption, "Terbatas") << "Indonesian limit caption";
    EXPECT_EQ(h.page->Label(id::kStartTimeLabel)->caption, "Waktu Memulai")
        << "Indonesian start time caption";
    EXPECT_EQ(h.page->Label(id::kRatioLabel)->caption, "Rasio") << "Indonesian ratio caption";
    h.page->SetLanguage(42);  // clamped to Chinese
    EXPECT_EQ(h.page->Language(), 0) << "language 42 clamped to Chinese";
    EXPECT_EQ(h.page->Label(id::kLimitLabel)->caption, "压限启动电平：") << "Chinese limit caption";
}

TEST(Labels, RefreshersWithoutTheirSliderOrLabelDoNothing) {
    PageHarness h(5, {100, 1000, 10000}, {},
                  {id::kLimitLabel, id::kStartTimeLabel, id::kAttackLabel, id::kRatioLabel,
                   id::kBassLowPassLabel});  // labels but no sliders
    h.page->SetLanguage(1);
    h.page->UpdateBassLowPassLabel();
    for (int label :
         {id::kLimitLabel, id::kStartTimeLabel, id::kAttackLabel, id::kRatioLabel, id::kBassLowPassLabel})
        EXPECT_EQ(h.page->Label(label)->value, "") << "label " << label;
    EXPECT_EQ(h.page->Model().band.freq[0], kMinFreq) << "no crossover slider: band 0 untouched";
    // The high-pass label's id is the direct level slider there.
    PageHarness out = OutputLike();
    out.page->UpdateHighPassLabel();
    out.page->UpdateLowPassLabel();
    EXPECT_FALSE(out.page->HasLabel(id::kHighPassLabel)) << "no high-pass label appears";
    EXPECT_EQ(*out.page->SliderPos(id::kDirectLevelSlider), 41)
        << "the slider of the same id keeps its position";
}

TEST(PassFilters, LabelsFromTheBandRecordAndSliders) {
    PageHarness h(9, DefaultFreqs(9),
                  {{id::kHighPassSlider, 20, 1000, 20}, {id::kLowPassSlider, 1000, 20000, 20000}},
                  {id::kHighPassLabel, id::kLowPassLabel});
    h.page->SetLanguage(1);
    const struct {
        const char* name;
        int hp, lp;
        const char *hpText, *lpText;
    } cases[] = {{"at the ends", kMinFreq, kMaxFreq, "OFF", "OFF"},
                 {"one step inside", 21, 19999, "21Hz", "19999Hz"},
                 {"beyond the ends", 19, 20001, "OFF", "OFF"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.page->Model().band.freq[0] = c.hp;
        h.page->Model().band.freq[8] = c.lp;
        h.page->UpdateHighPassLabel();
        h.page->UpdateLowPassLabel();
        EXPECT_EQ(h.page->Label(id::kHighPassLabel)->value, c.hpText) << "high-pass label";
        EXPECT_EQ(h.page->Label(id::kLowPassLabel)->value, c.lpText) << "low-pass label";
    }
    h.page->ResetAll(false);
    auto* hp = qobject_cast<QAbstractSlider*>(h.page->Control(id::kHighPassSlider));
    auto* lp = qobject_cast<QAbstractSlider*>(h.page->Control(id::kLowPassSlider));
    hp->setFocus();
    QTest::keyClick(hp, Qt::Key_Right);
    EXPECT_EQ(h.page->Model().band.freq[0], 21) << "a user step moves band 0";
    EXPECT_EQ(h.page->Model().band.type[0], kTypeHighPass) << "band 0 becomes a high-pass";
    EXPECT_EQ(h.page->Label(id::kHighPassLabel)->value, "21Hz") << "high-pass label";
    lp->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(h.page->Label(id::kLowPassLabel)->value, "19999Hz");
    lp->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(h.Take(), (Notices{{notice::kPassBand, 21, notice::PackBandType(0, kTypeHighPass)},
                                 {notice::kPassBand, 19999, notice::PackBandType(8, kTypeLowPass)},
                                 {notice::kPassBand, kMaxFreq, notice::PackBandType(8, kTypeOff)}}));
    h.page->SetSliderPos(id::kHighPassSlider, 500);  // from code: clamped, nobody notified
    h.page->SetSliderRange(id::kHighPassSlider, 20, 100);
    EXPECT_EQ(*h.page->SliderPos(id::kHighPassSlider), 100) << "the stored position clamped to the new range";
    EXPECT_EQ(hp->value(), 100) << "the slider shows the clamped position";
    EXPECT_TRUE(h.parent->notices.empty()) << "code-set positions notify nobody";
}

TEST(Language, TemplateAndRowCaptions) {
    TestApp();
    NoticeRecorder parent;
    struct CaptionPage : TestPage {
        using TestPage::TestPage;
        void BuildTemplate() override {
            for (int label : {id::kHighPassCaption, id::kLowPassCaption, id::kLeftChannelCaption})
                win::SetControlId(new QLabel(this), label);
            win::SetControlId(new QPushButton(this), id::kMuteButtons[0]);
            AddLabel(id::kFilterSlopeLabel, QRect(0, 0, 10, 10));
        }
    };
    CaptionPage page(5, {100, 1000, 10000}, {}, {}, &parent);
    page.Init();
    auto text = [&](int control) { return qobject_cast<QLabel*>(page.Control(control))->text(); };
    page.SetLanguage(2);
    EXPECT_EQ(text(id::kHighPassCaption), QString("ตัดเสียงต่ำ:")) << "Thai high-pass caption";
    EXPECT_EQ(text(id::kLowPassCaption), QString("ตัดเสียสูง:")) << "Thai low-pass caption";
    EXPECT_EQ(qobject_cast<QPushButton*>(page.Control(id::kMuteButtons[0]))->text(), QString("ปิด"))
        << "Thai mute button";
    EXPECT_EQ(page.Label(id::kFilterSlopeLabel)->caption, "ความชัน:") << "Thai slope caption";
    page.SetLanguage(3);
    EXPECT_EQ(text(id::kLowPassCaption), QString("Cắt tần số cao")) << "Vietnamese low-pass caption";
    EXPECT_EQ(text(id::kLeftChannelCaption), QString("Trái")) << "Vietnamese left channel caption";
    auto rows = [&] {
        QStringList texts;
        for (QLabel* l : page.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (win::ControlId(l) == id::kRowCaption) texts.push_back(l->text());
        return texts;
    };
    EXPECT_EQ(rows(), (QStringList{"Biên độ:", "Loại:", "Tần số:", "Độ nhọn"}));
    page.SetLanguage(1);
    EXPECT_EQ(rows(), (QStringList{"Gain: ", "Type: ", "Freq: ", "Q: "}));
}

}  // namespace
