#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLineEdit>
#include <QTest>

#include "comma_locale.h"
#include "pages/band_images.h"
#include "platform/ui/message_box.h"
#include "test_page.h"

namespace {

QLineEdit* Edit(Page* p, int id) {
    return qobject_cast<QLineEdit*>(p->Control(id));
}

// Types `text` into an edit as the user would, then moves the focus away.
void TypeAndLeave(PageHarness& h, int id, const QString& text) {
    QLineEdit* e = Edit(h.page, id);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    h.parent->setFocus();
    QApplication::processEvents();
}

std::vector<Notice> Without(const std::vector<Notice>& all, unsigned msg) {
    std::vector<Notice> out;
    for (const auto& n : all)
        if (n.msg != msg) out.push_back(n);
    return out;
}

TEST(BandEdits, AcceptedFrequency) {
    PageHarness h(5, {100, 1000, 10000});
    win::ScriptedMessageBoxes boxes;
    TypeAndLeave(h, 1802, "5000");
    EXPECT_EQ(h.page->Model().band.freq[2], 5000);
    EXPECT_EQ(Edit(h.page, 1802)->text(), "5000 Hz");
    EXPECT_EQ(Without(h.parent->notices, notice::kBandFocus), (std::vector<Notice>{{0x46B, 2, 5000}}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(BandEdits, RefusedFrequencyRestoresAndKeepsFocus) {
    PageHarness h(5, {100, 1000, 10000});
    h.page->SetLanguage(1);
    win::ScriptedMessageBoxes boxes;
    TypeAndLeave(h, 1802, "19");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Out of range(20 - 20000Hz).");
    EXPECT_EQ(boxes.shown[0].caption, "Invalid Value");
    EXPECT_EQ(boxes.shown[0].language, 1);
    EXPECT_EQ(h.page->Model().band.freq[2], 1000);
    EXPECT_EQ(Edit(h.page, 1802)->text(), "1000 Hz");
    EXPECT_EQ(QApplication::focusWidget(), Edit(h.page, 1802));
    EXPECT_EQ(Edit(h.page, 1802)->selectedText(), "1000 Hz");
    EXPECT_TRUE(Without(h.parent->notices, notice::kBandFocus).empty());
}

// Gain texts in every language: what is accepted, and which box refuses the rest.
TEST(BandEdits, GainMatrixWithBoxesInFiveLanguages) {
    const struct {
        const char* text;
        bool accepted;
        int tenths;
        const char* shown;
        bool invalidInputBox;
    } cases[] = {
        {"3.55", true, 36, "+3.6 dB", false}, {"-24", true, -240, "-24.0 dB", false},
        {"12", true, 120, "+12.0 dB", false}, {"-0.0 dB", true, 0, "+0.0 dB", false},
        {"0.00", true, 0, "+0.0 dB", false},  {"13", false, 0, "", false},
        {"nan", false, 0, "", false},         {"inf", false, 0, "", false},
        {"0x3", false, 0, "", false},         {"zero", false, 0, "", true},
    };
    const char* const rangeCaptions[] = {"无效值", "Invalid Value", "ค่าไม่ถูกต้อง", "giá trị không hợp",
                                         "Nilai tidak valid"};
    const char* const gainMessages[] = {"超出范围(-24 - 12dB)。", "Out of range(-24 - 12dB).",
                                        "เกินขอบเขต(-24 - 12dB).", "Ngoài phạm vi(-24 - 12dB)",
                                        "Di luar jangkauan(-24 - 12dB)"};
    const char* const invalid[] = {"非法输入", "Invalid input.", "ข้อมูลที่ผิดกฎหมาย", "Invalid input.",
                                   "Invalid input."};
    for (int language = 0; language < 5; ++language) {
        for (const auto& c : cases) {
            PageHarness h(5, {100, 1000, 10000});
            h.page->SetLanguage(language);
            h.page->SetBandFreqGain(1, 100, -5.0f);
            win::ScriptedMessageBoxes boxes;
            Edit(h.page, 1601)->setText(c.text);
            const bool ok = h.page->ValidateEdit(1601);
            EXPECT_EQ(ok, c.accepted) << c.text;
            if (c.accepted) {
                EXPECT_TRUE(boxes.shown.empty()) << c.text;
                EXPECT_FLOAT_EQ(h.page->Model().band.gain[1], static_cast<float>(c.tenths) / 10.0f) << c.text;
                EXPECT_EQ(Edit(h.page, 1601)->text(), c.shown);
                EXPECT_EQ(*h.page->SliderPos(1701), -c.tenths) << c.text;
                EXPECT_EQ(h.parent->notices, (std::vector<Notice>{{0x468, 1, c.tenths}})) << c.text;
            } else {
                ASSERT_EQ(boxes.shown.size(), 1u) << c.text;
                const auto& box = boxes.shown[0];
                EXPECT_EQ(box.text, c.invalidInputBox ? invalid[language] : gainMessages[language]) << c.text;
                EXPECT_EQ(box.caption, c.invalidInputBox ? invalid[language] : rangeCaptions[language])
                    << c.text;
                EXPECT_EQ(box.type, win::kMbOk);
                EXPECT_FLOAT_EQ(h.page->Model().band.gain[1], -5.0f);
                EXPECT_EQ(Edit(h.page, 1601)->text(), "-5.0 dB");
                EXPECT_EQ(*h.page->SliderPos(1701), 50);
                EXPECT_TRUE(h.parent->notices.empty());
            }
        }
    }
}

TEST(BandEdits, QAcceptedUpToATenthAndRefused) {
    PageHarness h(5, {100, 1000, 10000});
    win::ScriptedMessageBoxes boxes;
    Edit(h.page, 1903)->setText("0.45");
    EXPECT_TRUE(h.page->ValidateEdit(1903));
    EXPECT_FLOAT_EQ(h.page->Model().band.q[3], 0.5f);
    EXPECT_EQ(Edit(h.page, 1903)->text(), "0.5");
    Edit(h.page, 1903)->setText("0.3");
    EXPECT_FALSE(h.page->ValidateEdit(1903));
    EXPECT_EQ(Edit(h.page, 1903)->text(), "0.5");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "超出范围(0.4 - 128.0)。");
    Edit(h.page, 1903)->setText("128");
    EXPECT_TRUE(h.page->ValidateEdit(1903));
    EXPECT_EQ(h.parent->notices, (std::vector<Notice>{{0x469, 3, 5}, {0x469, 3, 1280}}));
}

TEST(BandEdits, UnknownIdsAreNotEdits) {
    PageHarness h(5, {100, 1000, 10000});
    for (int id : {1600, 1604, 1800, 1900, 1700, 0, -1, 5000}) EXPECT_FALSE(h.page->ValidateEdit(id)) << id;
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(BandEdits, UnchangedEditsSendNothingWhenTabbedThrough) {
    PageHarness h(5, {100, 1000, 10000});
    win::ScriptedMessageBoxes boxes;
    for (int id : {1601, 1801, 1901, 1602, 1802, 1902}) {
        Edit(h.page, id)->setFocus();
        h.parent->setFocus();
    }
    QApplication::processEvents();
    EXPECT_TRUE(Without(h.parent->notices, notice::kBandFocus).empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(Edit(h.page, 1801)->text(), "100 Hz");
}

TEST(BandEdits, FocusEnteringAnEditNamesItsBand) {
    PageHarness h(7, DefaultFreqs(7));
    Edit(h.page, 1904)->setFocus();
    Edit(h.page, 1602)->setFocus();
    EXPECT_EQ(h.parent->notices, (std::vector<Notice>{{0x47B, 4, 0}, {0x47B, 2, 0}}));
}

TEST(BandEdits, EnterValidatesOnceAndMovesFocusToTheParent) {
    PageHarness h(5, {100, 1000, 10000});
    QLineEdit* e = Edit(h.page, 1602);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, "2.5");
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Without(h.parent->notices, notice::kBandFocus), (std::vector<Notice>{{0x468, 2, 25}}));
    EXPECT_EQ(QApplication::focusWidget(), h.parent.get());
    EXPECT_TRUE(h.parent->keys.empty());
}

TEST(BandEdits, EnterOnARefusedValueKeepsFocusAndEscIsSwallowed) {
    PageHarness h(5, {100, 1000, 10000});
    win::ScriptedMessageBoxes boxes;
    QLineEdit* e = Edit(h.page, 1802);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, "99999");
    QTest::keyClick(e, Qt::Key_Enter);
    QTest::keyClick(e, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), e);
    EXPECT_EQ(e->text(), "1000 Hz");
    EXPECT_TRUE(h.parent->keys.empty());
    // Keys from any other control of the page stop at the page as well.
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(1701));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Escape);
    QTest::keyClick(slider, Qt::Key_Return);
    EXPECT_TRUE(h.parent->keys.empty());
}

TEST(GainSlider, UpRaisesTheGain) {
    PageHarness h(5, {100, 1000, 10000});
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(1702));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_FLOAT_EQ(h.page->Model().band.gain[2], 0.1f);
    EXPECT_EQ(Edit(h.page, 1602)->text(), "+0.1 dB");
    QTest::keyClick(slider, Qt::Key_Down);
    QTest::keyClick(slider, Qt::Key_Down);
    EXPECT_FLOAT_EQ(h.page->Model().band.gain[2], -0.1f);
    EXPECT_EQ(Without(h.parent->notices, notice::kBandFocus),
              (std::vector<Notice>{{0x468, 2, 1}, {0x468, 2, 0}, {0x468, 2, -1}}));
    // At the top end a further Up changes nothing and sends nothing.
    h.page->SetBandFreqGain(2, 1000, 12.0f);
    h.parent->notices.clear();
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_TRUE(h.parent->notices.empty());
    EXPECT_FLOAT_EQ(h.page->Model().band.gain[2], 12.0f);
}

TEST(GainSlider, ProgrammaticSetsNeverNotifyAndHiddenPagesIgnoreScrolls) {
    PageHarness h(5, {100, 1000, 10000});
    h.page->SetBandFreqGain(1, 500, -3.5f);
    h.page->SetBand(2, 600, 2.0f, 3.0f, 6);
    h.page->ResetPeq(false);
    EXPECT_TRUE(h.parent->notices.empty());
    h.page->hide();
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(1701));
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_FLOAT_EQ(h.page->Model().band.gain[1], 0.0f);
    EXPECT_EQ(*h.page->SliderPos(1701), 0);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(QButtons, StepInTenthsAndClamp) {
    PageHarness h(5, {100, 1000, 10000});
    auto* plus = qobject_cast<QAbstractButton*>(h.page->Control(2003));
    auto* minus = qobject_cast<QAbstractButton*>(h.page->Control(2002));
    for (int k = 0; k < 10; ++k) plus->click();
    EXPECT_EQ(h.page->Model().band.q[1], 2.0f);
    EXPECT_EQ(Edit(h.page, 1901)->text(), "2.0");
    h.page->SetBandQ(1, 128.0f);
    h.parent->notices.clear();
    plus->click();
    EXPECT_EQ(h.page->Model().band.q[1], 128.0f);
    EXPECT_EQ(h.parent->notices, (std::vector<Notice>{{0x469, 1, 1280}}));
    h.page->SetBandQ(1, 0.4f);
    h.parent->notices.clear();
    minus->click();
    EXPECT_EQ(h.page->Model().band.q[1], 0.4f);
    EXPECT_EQ(h.parent->notices, (std::vector<Notice>{{0x469, 1, 4}}));
}

QRgb FaceOf(QAbstractButton* b) {
    return b->icon().pixmap(kTypeImageSize, kTypeImageSize).toImage().pixel(1, 1);
}

TEST(TypeButtons, ClickSelectsAndNotifies) {
    PageHarness h(5, {100, 1000, 10000});
    const int i = 2;
    qobject_cast<QAbstractButton*>(h.page->Control(2101 + 3 * i))->click();
    EXPECT_EQ(h.page->Model().band.type[i], 2);
    EXPECT_EQ(Without(h.parent->notices, notice::kBandFocus), (std::vector<Notice>{{0x46A, 2, 2}}));
    const QRgb green = TypeImageFace(true).rgb(), grey = TypeImageFace(false).rgb();
    EXPECT_EQ(FaceOf(qobject_cast<QAbstractButton*>(h.page->Control(2100 + 3 * i))), grey);
    EXPECT_EQ(FaceOf(qobject_cast<QAbstractButton*>(h.page->Control(2101 + 3 * i))), green);
    EXPECT_EQ(FaceOf(qobject_cast<QAbstractButton*>(h.page->Control(2102 + 3 * i))), grey);
    // Type 4 (a pass filter) leaves all three unselected.
    EXPECT_TRUE(h.page->SetTypeButtons(i, 4));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(FaceOf(qobject_cast<QAbstractButton*>(h.page->Control(2100 + 3 * i + k))), grey);
    EXPECT_FALSE(h.page->SetTypeButtons(5, 1));
    EXPECT_FALSE(h.page->SetTypeButtons(-1, 1));
}

TEST(PageSetters, ReadBackBandsAndGuards) {
    PageHarness h(5, {100, 1000, 10000});
    h.page->SetBand(2, 2500, -3.5f, 2.0f, 6);
    EXPECT_EQ(h.page->Model().band.type[2], 2);
    EXPECT_EQ(Edit(h.page, 1602)->text(), "-3.5 dB");
    EXPECT_EQ(Edit(h.page, 1802)->text(), "2500 Hz");
    EXPECT_EQ(Edit(h.page, 1902)->text(), "2.0");
    EXPECT_EQ(*h.page->SliderPos(1702), 35);
    EXPECT_FALSE(h.page->Model().bypass);
    h.page->SetBand(3, 2500, 0, 1, 5);
    EXPECT_EQ(h.page->Model().band.type[3], 0);
    EXPECT_TRUE(h.page->Model().bypass);
    h.page->SetBandEnabled(3, 1);
    EXPECT_FALSE(h.page->Model().bypass);
    const auto before = h.page->Model().band;
    h.page->SetBand(0, 1, 1, 1, 0);
    h.page->SetBand(5, 1, 1, 1, 0);
    h.page->SetBandFreqGain(0, 1, 1);
    h.page->SetBandQ(5, 9);
    h.page->SetBandEnabled(5, 0);
    h.page->SetBandEnabled(-1, 0);
    EXPECT_EQ(h.page->Model().band.freq, before.freq);
    EXPECT_EQ(h.page->Model().band.q, before.q);
    EXPECT_EQ(h.page->Model().band.enabled, before.enabled);
    h.page->SetBandFreqGain(3, 800, 3.5f);
    EXPECT_EQ(*h.page->SliderPos(1703), -35);
    h.page->SetBandQ(0, 2.0f);
    EXPECT_EQ(h.page->Model().band.q[0], 2.0f);
    h.page->SetBandFreqGain(4, 15000, 0);  // the low-pass band has no controls but is stored
    EXPECT_EQ(h.page->Model().band.freq[4], 15000);
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(PageText, LoadShowsValuesAndSendsNothing) {
    PageHarness h(5, {100, 1000, 10000});
    h.page->LoadText({"[TEST EQ]", "20,-2400,70,0", "500,-350,150,3", "1000,0,100,1", "10000,0,100,1",
                      "20000,-2400,70,0", "0"});
    EXPECT_EQ(Edit(h.page, 1601)->text(), "-3.5 dB");
    EXPECT_EQ(Edit(h.page, 1801)->text(), "500 Hz");
    EXPECT_EQ(Edit(h.page, 1901)->text(), "1.5");
    EXPECT_EQ(*h.page->SliderPos(1701), 35);
    EXPECT_EQ(h.page->Model().band.type[1], 3);
    EXPECT_TRUE(h.parent->notices.empty());
    EXPECT_EQ(h.page->SaveText(),
              "20,-2400,70,0\n500,-350,150,3\n1000,0,100,1\n10000,0,100,1\n20000,-2400,70,0\n0\n");
}

TEST(PageText, ShowsPointDecimalsUnderACommaLocale) {
    PageHarness h(5, {100, 1000, 10000});
    if (!UseCommaLocale()) GTEST_SKIP() << "no decimal-comma locale available";
    h.page->SetBandFreqGain(1, 100, 3.5f);
    h.page->SetBandQ(1, 0.7f);
    const QString gain = Edit(h.page, 1601)->text(), q = Edit(h.page, 1901)->text();
    const std::string text = h.page->SaveText();
    RestoreCLocale();
    EXPECT_EQ(gain, "+3.5 dB");
    EXPECT_EQ(q, "0.7");
    EXPECT_EQ(text.substr(0, 14), "20,-2400,70,0\n");
}

TEST(PageFrames, BuildAndFollowUp) {
    PageHarness h(5, {100, 1000, 10000});
    EXPECT_FALSE(h.page->BuildBandCmd(5).has_value());
    auto f = *h.page->BuildBandCmd(0);
    EXPECT_EQ(h.page->FollowUpBandCmd(f), 0);
    EXPECT_EQ(h.page->Model().band.freq[0], 20);
    CurveRecord curve;
    h.page->CopyCurve(curve);
    EXPECT_EQ(curve.freq[2], 1000);
    EXPECT_EQ(curve.enabled[5], 0);
    EXPECT_EQ(h.page->BuildAlcCmd()[3], 0x18);
}

}  // namespace
