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
    Edit(h.page, id)->setFocus();
    Edit(h.page, id)->selectAll();
    QTest::keyClicks(Edit(h.page, id), text);
    h.parent->setFocus();
    QApplication::processEvents();
}

std::vector<Notice> WithoutFocus(const std::vector<Notice>& all) {
    std::vector<Notice> out;
    for (const auto& n : all)
        if (n.msg != notice::kBandFocus) out.push_back(n);
    return out;
}

TEST(PageInit, BandControlIdsOf5And17BandPagesShowTheResetRecord) {
    for (int n : {2, 5, 17}) {
        PageHarness h(n, DefaultFreqs(n));
        for (int i = 0; i < n; ++i) {
            const bool peaking = i >= 1 && i <= n - 2;
            SCOPED_TRACE(testing::Message() << n << " band " << i);
            for (int id : {1600 + i, 1800 + i, 1900 + i})
                EXPECT_EQ(Edit(h.page, id) != nullptr, peaking) << id;
            EXPECT_EQ(qobject_cast<QAbstractSlider*>(h.page->Control(1700 + i)) != nullptr, peaking);
            for (int id : {2000 + 2 * i, 2001 + 2 * i, 2100 + 3 * i, 2101 + 3 * i, 2102 + 3 * i})
                EXPECT_EQ(qobject_cast<QAbstractButton*>(h.page->Control(id)) != nullptr, peaking) << id;
            if (!peaking) continue;
            EXPECT_EQ(Edit(h.page, 1600 + i)->text(), "+0.0 dB");
            EXPECT_EQ(Edit(h.page, 1800 + i)->text(), QString("%1 Hz").arg(100 * i));
            EXPECT_EQ(Edit(h.page, 1900 + i)->text(), "1.0");
        }
        EXPECT_EQ(h.page->resetsWithFlag, 1);
        EXPECT_EQ(h.page->GetContentHeight() > 0, n > 2);
        EXPECT_TRUE(h.parent->notices.empty());
    }
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
        {"3.55", true, 36, "+3.6 dB", false},   {"-24", true, -240, "-24.0 dB", false},
        {"-0.0 dB", true, 0, "+0.0 dB", false}, {"13", false, 0, "", false},
        {"nan", false, 0, "", false},           {"0x3", false, 0, "", false},
        {"zero", false, 0, "", true},
    };
    const char* const rangeCaptions[] = {"无效值", "Invalid Value", "ค่าไม่ถูกต้อง", "giá trị không hợp",
                                         "Nilai tidak valid"};
    const char* const gainMessages[] = {"超出范围(-24 - 12dB)。", "Out of range(-24 - 12dB).",
                                        "เกินขอบเขต(-24 - 12dB).", "Ngoài phạm vi(-24 - 12dB)",
                                        "Di luar jangkauan(-24 - 12dB)"};
    const char* const invalid[] = {"非法输入", "Invalid input.", "ข้อมูลที่ผิดกฎหมาย", "Invalid input.",
                                   "Invalid input."};
    PageHarness h(5, {100, 1000, 10000});
    for (int language = 0; language < 5; ++language) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << language << " " << c.text);
            h.page->SetLanguage(language);
            h.page->SetBandFreqGain(1, 100, -5.0f);
            h.parent->notices.clear();
            win::ScriptedMessageBoxes boxes;
            Edit(h.page, 1601)->setText(c.text);
            EXPECT_EQ(h.page->ValidateEdit(1601), c.accepted);
            const int tenths = c.accepted ? c.tenths : -50;
            EXPECT_FLOAT_EQ(h.page->Model().band.gain[1], static_cast<float>(tenths) / 10.0f);
            EXPECT_EQ(Edit(h.page, 1601)->text(), c.accepted ? c.shown : "-5.0 dB");
            EXPECT_EQ(*h.page->SliderPos(1701), -tenths);
            if (c.accepted) {
                EXPECT_TRUE(boxes.shown.empty());
                EXPECT_EQ(h.parent->notices, (std::vector<Notice>{{0x468, 1, c.tenths}}));
            } else {
                ASSERT_EQ(boxes.shown.size(), 1u);
                EXPECT_EQ(boxes.shown[0].text,
                          c.invalidInputBox ? invalid[language] : gainMessages[language]);
                EXPECT_EQ(boxes.shown[0].caption,
                          c.invalidInputBox ? invalid[language] : rangeCaptions[language]);
                EXPECT_EQ(boxes.shown[0].type, win::kMbOk);
                EXPECT_TRUE(h.parent->notices.empty());
            }
        }
    }
    for (int id : {1600, 1604, 1700, 0, 5000}) EXPECT_FALSE(h.page->ValidateEdit(id)) << id;
}

TEST(BandEdits, LeavingValidatesOnlyChangedTextAndARefusalKeepsFocus) {
    PageHarness h(5, {100, 1000, 10000});
    win::ScriptedMessageBoxes boxes;
    for (int id : {1601, 1801, 1901, 1602}) {  // tabbing through unchanged edits
        Edit(h.page, id)->setFocus();
        h.parent->setFocus();
    }
    QApplication::processEvents();
    EXPECT_EQ(h.parent->notices,
              (std::vector<Notice>{{0x47B, 1, 0}, {0x47B, 1, 0}, {0x47B, 1, 0}, {0x47B, 2, 0}}));
    EXPECT_TRUE(boxes.shown.empty());
    h.parent->notices.clear();
    TypeAndLeave(h, 1802, "5000");
    EXPECT_EQ(WithoutFocus(h.parent->notices), (std::vector<Notice>{{0x46B, 2, 5000}}));
    EXPECT_EQ(Edit(h.page, 1802)->text(), "5000 Hz");
    h.page->SetLanguage(1);
    h.parent->notices.clear();
    TypeAndLeave(h, 1802, "19");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Out of range(20 - 20000Hz).");
    EXPECT_EQ(h.page->Model().band.freq[2], 5000);
    EXPECT_EQ(QApplication::focusWidget(), Edit(h.page, 1802));
    EXPECT_EQ(Edit(h.page, 1802)->selectedText(), "5000 Hz");
    EXPECT_TRUE(WithoutFocus(h.parent->notices).empty());
}

TEST(BandEdits, EnterValidatesOnceAndEnterOrEscNeverReachTheMainWindow) {
    PageHarness h(5, {100, 1000, 10000});
    win::ScriptedMessageBoxes boxes;
    QLineEdit* e = Edit(h.page, 1602);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, "2.5");
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(WithoutFocus(h.parent->notices), (std::vector<Notice>{{0x468, 2, 25}}));
    EXPECT_EQ(QApplication::focusWidget(), h.parent.get());
    e = Edit(h.page, 1802);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, "99999");
    QTest::keyClick(e, Qt::Key_Enter);
    QTest::keyClick(e, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), e);
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(1701));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Escape);
    QTest::keyClick(slider, Qt::Key_Return);
    EXPECT_TRUE(h.parent->keys.empty());
}

TEST(GainSlider, UpRaisesTheGainAndCodeNeverNotifies) {
    PageHarness h(5, {100, 1000, 10000});
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(1702));
    slider->setFocus();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) QTest::keyClick(slider, key);
    EXPECT_FLOAT_EQ(h.page->Model().band.gain[2], -0.1f);
    EXPECT_EQ(Edit(h.page, 1602)->text(), "-0.1 dB");
    EXPECT_EQ(WithoutFocus(h.parent->notices),
              (std::vector<Notice>{{0x468, 2, 1}, {0x468, 2, 0}, {0x468, 2, -1}}));
    h.page->SetBand(1, 600, 2.0f, 3.0f, 6);
    h.page->ResetPeq(false);
    h.page->SetBandFreqGain(2, 1000, 12.0f);
    h.parent->notices.clear();
    QTest::keyClick(slider, Qt::Key_Up);  // at the top: nothing changes, nothing is sent
    EXPECT_TRUE(h.parent->notices.empty());
    h.page->hide();
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);  // hidden pages ignore scrolls
    EXPECT_FLOAT_EQ(h.page->Model().band.gain[2], 12.0f);
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(Buttons, QStepsInTenthsAndClampsTypeSelects) {
    PageHarness h(5, {100, 1000, 10000});
    auto button = [&](int id) { return qobject_cast<QAbstractButton*>(h.page->Control(id)); };
    for (int k = 0; k < 10; ++k) button(2003)->click();
    EXPECT_EQ(h.page->Model().band.q[1], 2.0f);
    EXPECT_EQ(Edit(h.page, 1901)->text(), "2.0");
    h.page->SetBandQ(1, 128.0f);
    h.page->SetBandQ(2, 0.4f);
    h.parent->notices.clear();
    button(2003)->click();
    button(2004)->click();
    EXPECT_EQ(h.page->Model().band.q[1], 128.0f);
    EXPECT_EQ(h.page->Model().band.q[2], 0.4f);
    button(2101 + 3 * 2)->click();
    EXPECT_EQ(h.page->Model().band.type[2], 2);
    EXPECT_EQ(WithoutFocus(h.parent->notices),
              (std::vector<Notice>{{0x469, 1, 1280}, {0x469, 2, 4}, {0x46A, 2, 2}}));
    auto face = [&](int id) {
        return button(id)->icon().pixmap(kTypeImageSize, kTypeImageSize).toImage().pixel(1, 1);
    };
    const QRgb green = TypeImageFace(true).rgb(), grey = TypeImageFace(false).rgb();
    EXPECT_EQ(std::vector<QRgb>({face(2106), face(2107), face(2108)}),
              std::vector<QRgb>({grey, green, grey}));
    EXPECT_TRUE(h.page->SetTypeButtons(2, 4));  // a pass filter: none selected
    EXPECT_EQ(std::vector<QRgb>({face(2106), face(2107), face(2108)}), std::vector<QRgb>({grey, grey, grey}));
    EXPECT_FALSE(h.page->SetTypeButtons(5, 1));
    EXPECT_FALSE(h.page->SetTypeButtons(-1, 1));
}

TEST(PageSetters, ShowBandsQuietlyAndGuardTheRange) {
    PageHarness h(5, {100, 1000, 10000});
    h.page->SetBand(2, 2500, -3.5f, 2.0f, 6);
    EXPECT_EQ(h.page->Model().band.type[2], 2);
    EXPECT_EQ(std::vector<QString>(
                  {Edit(h.page, 1602)->text(), Edit(h.page, 1802)->text(), Edit(h.page, 1902)->text()}),
              std::vector<QString>({"-3.5 dB", "2500 Hz", "2.0"}));
    EXPECT_EQ(*h.page->SliderPos(1702), 35);
    h.page->SetBand(3, 2500, 0, 1, 5);  // unknown device code: type 0, and the band off
    EXPECT_EQ(h.page->Model().band.type[3], 0);
    EXPECT_TRUE(h.page->Model().bypass);
    h.page->SetBandEnabled(3, 1);
    EXPECT_FALSE(h.page->Model().bypass);
    const auto before = h.page->Model().band;
    h.page->SetBand(5, 1, 1, 1, 0);
    h.page->SetBandQ(5, 9);
    h.page->SetBandEnabled(5, 0);
    h.page->SetBandEnabled(-1, 0);
    EXPECT_EQ(h.page->Model().band.q, before.q);
    EXPECT_EQ(h.page->Model().band.enabled, before.enabled);
    EXPECT_FALSE(h.page->BuildBandCmd(5).has_value());
    h.page->SetBandFreqGain(3, 800, 3.5f);
    EXPECT_EQ(*h.page->SliderPos(1703), -35);
    EXPECT_TRUE(h.parent->notices.empty());
}

TEST(PageText, LoadShowsValuesSendsNothingAndPointDecimalsUnderACommaLocale) {
    PageHarness h(5, {100, 1000, 10000});
    const std::string text =
        "20,-2400,70,0\n500,-350,150,3\n1000,0,100,1\n10000,0,100,1\n20000,-2400,70,0\n0\n";
    UseCommaLocale();  // when the system has one: the texts must not follow a decimal-comma locale
    h.page->LoadText({"[TEST EQ]", "20,-2400,70,0", "500,-350,150,3", "1000,0,100,1", "10000,0,100,1",
                      "20000,-2400,70,0", "0"});
    const QString gain = Edit(h.page, 1601)->text(), freq = Edit(h.page, 1801)->text(),
                  q = Edit(h.page, 1901)->text();
    const std::string saved = h.page->SaveText();
    RestoreCLocale();
    EXPECT_EQ(*h.page->SliderPos(1701), 35);
    EXPECT_TRUE(h.parent->notices.empty());
    EXPECT_EQ(gain, "-3.5 dB");
    EXPECT_EQ(freq, "500 Hz");
    EXPECT_EQ(q, "1.5");
    EXPECT_EQ(saved, text);
}

}  // namespace
