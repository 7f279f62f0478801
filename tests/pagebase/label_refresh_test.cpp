#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "controls/double_label.h"
#include "controls/slider.h"
#include "platform/ui/controls.h"
#include "test_page.h"

namespace {

using S = TestPage::SliderSpec;

// An output-like page: limiter, levels and delays; 1084 and 1085 are sliders here.
PageHarness OutputLike() {
    return PageHarness(7, DefaultFreqs(7),
                       {{1083, -40, 0, -34},
                        {1080, 0, 100, 10},
                        {1081, 1, 8, 2},
                        {1082, 1, 100, 5},
                        {1101, 0, 100, 40},
                        {1084, 0, 100, 41},
                        {1085, 0, 100, 42},
                        {1102, 0, 100, 43},
                        {1273, 0, 30, 7},
                        {1274, 0, 30, 8},
                        {1277, 0, 30, 9},
                        {1090, -81, 0, -81},
                        {1091, -81, 0, -50},
                        {1278, 40, 200, 100}},
                       {1086, 1087, 1088, 1089, 1092, 1093, 1094, 1100, 1275, 1276, 1279, 1095, 1096, 1280});
}

std::string Value(const PageHarness& h, int id) {
    return h.page->Label(id)->value;
}
std::string Caption(const PageHarness& h, int id) {
    return h.page->Label(id)->caption;
}

TEST(Labels, ValuesOfEverySliderLabel) {
    PageHarness h = OutputLike();
    h.page->SetLanguage(1);
    h.page->UpdateBassLowPassLabel();
    const struct {
        int label;
        const char* caption;
        const char* value;
    } cases[] = {
        {1086, "Limit:", "-34db"},
        {1087, "Start time:", "10ms"},
        {1088, "Attack:", "Atk x 2"},
        {1089, "Ratio:", "5%"},
        {1092, "Music Volume:", "40%"},
        {1093, "Direct sound Volume:", "41%"},
        {1094, "Echo Volume:", "42%"},
        {1100, "Reverb Volume:", "43%"},
        {1275, "Left channel delay:", "7ms"},
        {1276, "Right channel delay:", "8ms"},
        {1279, "Delay:", "9ms"},
        {1095, "NoiscGate Start Level:", "Off"},
        {1096, "NoiscGate Release Level:", "-50db"},
        {1280, "LP:", "100Hz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Caption(h, c.label), c.caption) << c.label;
        EXPECT_EQ(Value(h, c.label), c.value) << c.label;
        EXPECT_EQ(qobject_cast<controls::DoubleLabel*>(h.page->Control(c.label))->Value(),
                  c.value);  // widget mirrors
    }
}

TEST(Labels, IndonesianCaptionsAsGiven) {
    PageHarness h = OutputLike();
    h.page->SetLanguage(4);
    EXPECT_EQ(Caption(h, 1088), "Attack:");
    EXPECT_EQ(Caption(h, 1086), "Terbatas");
    EXPECT_EQ(Caption(h, 1087), "Waktu Memulai");
    EXPECT_EQ(Caption(h, 1089), "Rasio");
    h.page->SetLanguage(0);
    EXPECT_EQ(Caption(h, 1086), "压限启动电平：");
    h.page->SetLanguage(42);  // clamped
    EXPECT_EQ(h.page->Language(), 0);
}

TEST(Labels, HighAndLowPassFromTheBandRecord) {
    PageHarness h(9, DefaultFreqs(9), {}, {1084, 1085});
    h.page->SetLanguage(1);
    EXPECT_EQ(Caption(h, 1084), "High pass:");
    EXPECT_EQ(Value(h, 1084), "OFF");
    EXPECT_EQ(Value(h, 1085), "OFF");
    const struct {
        int hp, lp;
        const char *hpText, *lpText;
    } cases[] = {{20, 20000, "OFF", "OFF"}, {21, 19999, "21Hz", "19999Hz"}, {19, 20001, "OFF", "OFF"}};
    for (const auto& c : cases) {
        h.page->Model().band.freq[0] = c.hp;
        h.page->Model().band.freq[8] = c.lp;
        h.page->UpdateHighPassLabel();
        h.page->UpdateLowPassLabel();
        EXPECT_EQ(Value(h, 1084), c.hpText);
        EXPECT_EQ(Value(h, 1085), c.lpText);
    }
}

TEST(Labels, RefreshersWithoutTheirSliderOrLabelDoNothing) {
    // Labels present but no sliders; and a page where 1084 is a slider, not a label.
    PageHarness h(5, {100, 1000, 10000}, {}, {1086, 1087, 1088, 1089, 1280});
    h.page->SetLanguage(1);
    for (int id : {1086, 1087, 1088, 1089}) EXPECT_EQ(Value(h, id), "") << id;
    h.page->UpdateBassLowPassLabel();
    EXPECT_EQ(Value(h, 1280), "");
    EXPECT_EQ(h.page->Model().band.freq[0], 20);

    PageHarness out = OutputLike();
    out.page->UpdateHighPassLabel();
    out.page->UpdateLowPassLabel();
    EXPECT_FALSE(out.page->HasLabel(1084));
    EXPECT_EQ(*out.page->SliderPos(1084), 41);
}

TEST(HScroll, SlidersNotifyAndRefresh) {
    PageHarness h = OutputLike();
    h.page->SetLanguage(1);
    const struct {
        int slider, label;
        unsigned msg;
        const char* value;
    } cases[] = {{1080, 1087, 0x46D, "11ms"},  {1081, 1088, 0x46D, "Atk x 3"}, {1082, 1089, 0x46D, "6%"},
                 {1083, 1086, 0x46D, "-33db"}, {1084, 1093, 0x473, "42%"},     {1085, 1094, 0x474, "43%"},
                 {1090, 1095, 0x46F, "-80db"}, {1091, 1096, 0x46F, "-49db"},   {1101, 1092, 0x472, "41%"},
                 {1102, 1100, 0x475, "44%"},   {1273, 1275, 0x46C, "8ms"},     {1274, 1276, 0x46C, "9ms"},
                 {1277, 1279, 0x46C, "10ms"},  {1278, 1280, 0x47E, "101Hz"}};
    for (const auto& c : cases) {
        h.parent->notices.clear();
        auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(c.slider));
        ASSERT_NE(slider, nullptr) << c.slider;
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(Value(h, c.label), c.value) << c.slider;
        EXPECT_EQ(h.parent->notices, (std::vector<Notice>{{c.msg, 0, 0}})) << c.slider;
    }
    EXPECT_EQ(h.page->Model().band.freq[0], 101);
}

TEST(HScroll, PassFilterSliders) {
    PageHarness h(9, DefaultFreqs(9), {{1078, 20, 1000, 20}, {1079, 1000, 20000, 20000}}, {1084, 1085});
    auto* hp = qobject_cast<QAbstractSlider*>(h.page->Control(1078));
    auto* lp = qobject_cast<QAbstractSlider*>(h.page->Control(1079));
    hp->setFocus();
    QTest::keyClick(hp, Qt::Key_Right);
    EXPECT_EQ(h.page->Model().band.freq[0], 21);
    EXPECT_EQ(h.page->Model().band.type[0], 4);
    EXPECT_EQ(Value(h, 1084), "21Hz");
    lp->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(h.page->Model().band.type[8], 5);
    EXPECT_EQ(Value(h, 1085), "19999Hz");
    lp->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(h.page->Model().band.type[8], 0);
    EXPECT_EQ(h.parent->notices,
              (std::vector<Notice>{{0x47A, 21, 4}, {0x47A, 19999, (8 << 16) | 5}, {0x47A, 20000, 8 << 16}}));
    // Setting from code notifies nobody.
    h.parent->notices.clear();
    h.page->SetSliderPos(1078, 500);
    h.page->SetSliderRange(1078, 20, 100);
    EXPECT_EQ(*h.page->SliderPos(1078), 100);
    EXPECT_EQ(hp->value(), 100);
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(Language, TemplateAndRowCaptions) {
    TestApp();
    NoticeRecorder parent;
    struct CaptionPage : TestPage {
        using TestPage::TestPage;
        void BuildTemplate() override {
            for (int id : {1369, 1370, 1408, 1409}) win::SetControlId(new QLabel(this), id);
            win::SetControlId(new QPushButton(this), 1406);
            AddLabel(1019, QRect(0, 0, 10, 10));
        }
    };
    CaptionPage page(5, {100, 1000, 10000}, {}, {}, &parent);
    page.Init();
    page.SetLanguage(2);
    EXPECT_EQ(qobject_cast<QLabel*>(page.Control(1369))->text(), "ตัดเสียงต่ำ:");
    EXPECT_EQ(qobject_cast<QLabel*>(page.Control(1370))->text(), "ตัดเสียสูง:");
    EXPECT_EQ(qobject_cast<QPushButton*>(page.Control(1406))->text(), "ปิด");
    EXPECT_EQ(page.Label(1019)->caption, "ความชัน:");
    page.SetLanguage(3);
    EXPECT_EQ(qobject_cast<QLabel*>(page.Control(1370))->text(), "Cắt tần số cao");
    EXPECT_EQ(qobject_cast<QLabel*>(page.Control(1408))->text(), "Trái");
    auto rows = [&] {
        std::vector<QString> texts;
        for (QLabel* l : page.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (win::ControlId(l) == 0xFFFF) texts.push_back(l->text());
        return texts;
    };
    EXPECT_EQ(rows(), (std::vector<QString>{"Biên độ:", "Loại:", "Tần số:", "Độ nhọn"}));
    page.SetLanguage(1);
    EXPECT_EQ(rows(), (std::vector<QString>{"Gain: ", "Type: ", "Freq: ", "Q: "}));
}

}  // namespace
