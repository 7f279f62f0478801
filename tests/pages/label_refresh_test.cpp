#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "controls/double_label.h"
#include "controls/notices.h"
#include "platform/ui/controls.h"
#include "test_page.h"

namespace {

// An output-like page: limiter, levels and delays; 1084 and 1085 are sliders here.
PageHarness OutputLike() {
    // clang-format off
    return PageHarness(7, DefaultFreqs(7),
        {{1083, -40, 0, -34}, {1080, 0, 100, 10}, {1081, 1, 8, 2}, {1082, 1, 100, 5}, {1101, 0, 100, 40}, {1084, 0, 100, 41},
         {1085, 0, 100, 42}, {1102, 0, 100, 43}, {1273, 0, 30, 7}, {1274, 0, 30, 8}, {1277, 0, 30, 9}, {1090, -81, 0, -81},
         {1091, -81, 0, -50}, {1278, 40, 200, 100}},
        {1086, 1087, 1088, 1089, 1092, 1093, 1094, 1100, 1275, 1276, 1279, 1095, 1096, 1280});
    // clang-format on
}

using Texts = std::pair<std::string, std::string>;

Texts Shown(const PageHarness& h, int id) {
    return {h.page->Label(id)->caption, h.page->Label(id)->value};
}

TEST(Labels, EverySliderLabelThenUserMovesNotifyAndRefresh) {
    PageHarness h = OutputLike();
    h.page->SetLanguage(1);
    h.page->UpdateBassLowPassLabel();
    // clang-format off
    const struct { int label; const char *caption, *value; int slider; unsigned msg; const char* moved; } cases[] = {
        {1086, "Limit:", "-34db", 1083, notice::kLimiter, "-33db"}, {1087, "Start time:", "10ms", 1080, notice::kLimiter, "11ms"},
        {1088, "Attack:", "Atk x 2", 1081, notice::kLimiter, "Atk x 3"}, {1089, "Ratio:", "5%", 1082, notice::kLimiter, "6%"},
        {1092, "Music Volume:", "40%", 1101, notice::kMusicLevels, "41%"}, {1093, "Direct sound Volume:", "41%", 1084, notice::kDirectLevels, "42%"},
        {1094, "Echo Volume:", "42%", 1085, notice::kEchoLevels, "43%"}, {1100, "Reverb Volume:", "43%", 1102, notice::kReverbLevels, "44%"},
        {1275, "Left channel delay:", "7ms", 1273, notice::kDelays, "8ms"}, {1276, "Right channel delay:", "8ms", 1274, notice::kDelays, "9ms"},
        {1279, "Delay:", "9ms", 1277, notice::kDelays, "10ms"}, {1095, "NoiscGate Start Level:", "Off", 1090, notice::kNoiseGate, "-80db"},
        {1096, "NoiscGate Release Level:", "-50db", 1091, notice::kNoiseGate, "-49db"}, {1280, "LP:", "100Hz", 1278, notice::kCrossover, "101Hz"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "label " << c.label << " (" << c.caption << ")");
        EXPECT_EQ(Shown(h, c.label), Texts(c.caption, c.value)) << "caption and value shown";
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
    for (auto [id, caption] :
         {std::pair{1088, "Attack:"}, {1086, "Terbatas"}, {1087, "Waktu Memulai"}, {1089, "Rasio"}})
        EXPECT_EQ(h.page->Label(id)->caption, caption);
    h.page->SetLanguage(42);  // clamped to Chinese
    EXPECT_EQ(std::pair(h.page->Language(), h.page->Label(1086)->caption),
              std::pair(0, std::string("压限启动电平：")));
}

TEST(Labels, RefreshersWithoutTheirSliderOrLabelDoNothing) {
    PageHarness h(5, {100, 1000, 10000}, {}, {1086, 1087, 1088, 1089, 1280});  // labels but no sliders
    h.page->SetLanguage(1);
    h.page->UpdateBassLowPassLabel();
    for (int id : {1086, 1087, 1088, 1089, 1280}) EXPECT_EQ(h.page->Label(id)->value, "") << id;
    EXPECT_EQ(h.page->Model().band.freq[0], 20);
    PageHarness out = OutputLike();  // 1084 is a slider there, not a label
    out.page->UpdateHighPassLabel();
    out.page->UpdateLowPassLabel();
    EXPECT_EQ(std::pair(out.page->HasLabel(1084), *out.page->SliderPos(1084)), std::pair(false, 41));
}

TEST(PassFilters, LabelsFromTheBandRecordAndSliders) {
    PageHarness h(9, DefaultFreqs(9), {{1078, 20, 1000, 20}, {1079, 1000, 20000, 20000}}, {1084, 1085});
    h.page->SetLanguage(1);
    for (auto [hp, lp, hpText, lpText] :
         {std::tuple{20, 20000, "OFF", "OFF"}, {21, 19999, "21Hz", "19999Hz"}, {19, 20001, "OFF", "OFF"}}) {
        h.page->Model().band.freq[0] = hp;
        h.page->Model().band.freq[8] = lp;
        h.page->UpdateHighPassLabel();
        h.page->UpdateLowPassLabel();
        EXPECT_EQ(std::pair(h.page->Label(1084)->value, h.page->Label(1085)->value), Texts(hpText, lpText));
    }
    h.page->ResetAll(false);
    auto* hp = qobject_cast<QAbstractSlider*>(h.page->Control(1078));
    auto* lp = qobject_cast<QAbstractSlider*>(h.page->Control(1079));
    hp->setFocus();
    QTest::keyClick(hp, Qt::Key_Right);
    EXPECT_EQ(
        std::tuple(h.page->Model().band.freq[0], h.page->Model().band.type[0], h.page->Label(1084)->value),
        std::tuple(21, 4, std::string("21Hz")));
    lp->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(h.page->Label(1085)->value, "19999Hz");
    lp->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(h.Take(), (Notices{{notice::kPassBand, 21, notice::PackBandType(0, kTypeHighPass)},
                                 {notice::kPassBand, 19999, notice::PackBandType(8, kTypeLowPass)},
                                 {notice::kPassBand, kMaxFreq, notice::PackBandType(8, kTypeOff)}}));
    h.page->SetSliderPos(1078, 500);  // from code: clamped, nobody notified
    h.page->SetSliderRange(1078, 20, 100);
    EXPECT_EQ(std::tuple(*h.page->SliderPos(1078), hp->value(), h.parent->notices.empty()),
              std::tuple(100, 100, true));
}

TEST(Language, TemplateAndRowCaptions) {
    TestApp();
    NoticeRecorder parent;
    struct CaptionPage : TestPage {
        using TestPage::TestPage;
        void BuildTemplate() override {
            for (int id : {1369, 1370, 1408}) win::SetControlId(new QLabel(this), id);
            win::SetControlId(new QPushButton(this), 1406);
            AddLabel(1019, QRect(0, 0, 10, 10));
        }
    };
    CaptionPage page(5, {100, 1000, 10000}, {}, {}, &parent);
    page.Init();
    auto text = [&](int id) { return qobject_cast<QLabel*>(page.Control(id))->text(); };
    page.SetLanguage(2);
    EXPECT_EQ((QStringList{text(1369), text(1370), qobject_cast<QPushButton*>(page.Control(1406))->text(),
                           QString::fromStdString(page.Label(1019)->caption)}),
              (QStringList{"ตัดเสียงต่ำ:", "ตัดเสียสูง:", "ปิด", "ความชัน:"}));
    page.SetLanguage(3);
    EXPECT_EQ((QStringList{text(1370), text(1408)}), (QStringList{"Cắt tần số cao", "Trái"}));
    auto rows = [&] {
        QStringList texts;
        for (QLabel* l : page.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (win::ControlId(l) == 0xFFFF) texts.push_back(l->text());
        return texts;
    };
    EXPECT_EQ(rows(), (QStringList{"Biên độ:", "Loại:", "Tần số:", "Độ nhọn"}));
    page.SetLanguage(1);
    EXPECT_EQ(rows(), (QStringList{"Gain: ", "Type: ", "Freq: ", "Q: "}));
}

}  // namespace
