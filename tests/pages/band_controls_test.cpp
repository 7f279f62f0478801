#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLineEdit>
#include <QTest>
#include <clocale>
#include <cstdlib>

#include "controls/notices.h"
#include "pages/band_images.h"
#include "pages/page_ids.h"
#include "pages/preset_text.h"
#include "platform/ui/message_box.h"
#include "test_page.h"

namespace {

// Control ids of band b's controls.
constexpr int GainEdit(int b) {
    return pageid::kGainEdit + b;
}
constexpr int GainSlider(int b) {
    return pageid::kGainSlider + b;
}
constexpr int FreqEdit(int b) {
    return pageid::kFreqEdit + b;
}
constexpr int QEdit(int b) {
    return pageid::kQEdit + b;
}
constexpr int QMinus(int b) {
    return pageid::kQButton + 2 * b;
}
constexpr int QPlus(int b) {
    return pageid::kQButton + 2 * b + 1;
}
constexpr int TypeButton(int b, int type) {
    return pageid::kTypeButton + 3 * b + type - 1;
}  // types 1..3

QLineEdit* Edit(Page* p, int id) {
    return qobject_cast<QLineEdit*>(p->Control(id));
}

// `key` ends the typing, or else the focus moves away
void Type(PageHarness& h, int id, const QString& text, Qt::Key key = Qt::Key_unknown) {
    QLineEdit* e = Edit(h.page, id);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    if (key != Qt::Key_unknown)
        QTest::keyClick(e, key);
    else
        h.parent->setFocus();
    QApplication::processEvents();
}

Notices WithoutFocus(PageHarness& h) {
    Notices out;
    for (const auto& n : h.Take())
        if (std::get<0>(n) != notice::kBandFocus) out.push_back(n);
    return out;
}

TEST(PageInit, BandControlIdsOf5And17BandPagesShowTheResetRecord) {
    for (int n : {2, 5, 17}) {
        PageHarness h(n, DefaultFreqs(n));
        for (int i = 0; i < n; ++i) {
            const bool peaking = i >= 1 && i <= n - 2;
            SCOPED_TRACE(testing::Message() << n << " band " << i);
            const struct {
                const char* name;
                int id;
            } edits[] = {{"gain edit", GainEdit(i)}, {"frequency edit", FreqEdit(i)}, {"Q edit", QEdit(i)}};
            for (const auto& e : edits) EXPECT_EQ(Edit(h.page, e.id) != nullptr, peaking) << e.name;
            EXPECT_EQ(qobject_cast<QAbstractSlider*>(h.page->Control(GainSlider(i))) != nullptr, peaking)
                << "gain slider";
            const struct {
                const char* name;
                int id;
            } buttons[] = {{"Q minus", QMinus(i)},
                           {"Q plus", QPlus(i)},
                           {"peaking", TypeButton(i, kTypePeaking)},
                           {"low shelf", TypeButton(i, kTypeLowShelf)},
                           {"high shelf", TypeButton(i, kTypeHighShelf)}};
            for (const auto& b : buttons)
                EXPECT_EQ(qobject_cast<QAbstractButton*>(h.page->Control(b.id)) != nullptr, peaking)
                    << b.name;
            if (!peaking) continue;
            EXPECT_EQ(Edit(h.page, GainEdit(i))->text(), QString("+0.0 dB")) << "gain shown";
            EXPECT_EQ(Edit(h.page, FreqEdit(i))->text(), QString("%1 Hz").arg(100 * i)) << "frequency shown";
            EXPECT_EQ(Edit(h.page, QEdit(i))->text(), QString("1.0")) << "Q shown";
        }
        SCOPED_TRACE(testing::Message() << n << " bands");
        EXPECT_EQ(h.page->resetsWithFlag, 1) << "one reset, with the flag";
        EXPECT_EQ(h.page->GetContentHeight() > 0, n > 2) << "content height";
        EXPECT_TRUE(h.parent->notices.empty()) << "building the page notifies nobody";
    }
}

TEST(BandEdits, GainMatrixWithBoxesInFiveLanguages) {
    // clang-format off
    const struct { const char* text; int tenths; const char* shown; bool invalidInputBox; } cases[] = {
        {"3.55", 36, "+3.6 dB", false}, {"-0.0 dB", 0, "+0.0 dB", false}, {"13", -50, "-5.0 dB", false},
        {"nan", -50, "-5.0 dB", false}, {"zero", -50, "-5.0 dB", true}};  // -50: refused, -5.0 kept
    const char* const rangeCaptions[] = {"无效值", "Invalid Value", "ค่าไม่ถูกต้อง", "giá trị không hợp", "Nilai tidak valid"};
    const char* const gainMessages[] = {"超出范围(-24 - 12dB)。", "Out of range(-24 - 12dB).", "เกินขอบเขต(-24 - 12dB).",
                                        "Ngoài phạm vi(-24 - 12dB)", "Di luar jangkauan(-24 - 12dB)"};
    const char* const invalid[] = {"非法输入", "Invalid input.", "ข้อมูลที่ผิดกฎหมาย", "Invalid input.", "Invalid input."};
    // clang-format on
    PageHarness h(5);
    for (int language = 0; language < 5; ++language) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << language << c.text);
            const bool accepted = c.tenths != -50;
            h.page->SetLanguage(language);
            h.page->SetBandFreqGain(1, 100, -5.0f);
            h.parent->notices.clear();
            win::ScriptedMessageBoxes boxes;
            Edit(h.page, GainEdit(1))->setText(c.text);
            EXPECT_EQ(h.page->ValidateEdit(GainEdit(1)), accepted) << "verdict";
            EXPECT_EQ(h.page->Model().band.gain[1], static_cast<float>(c.tenths) / 10.0f) << "model gain";
            EXPECT_EQ(Edit(h.page, GainEdit(1))->text(), QString(c.shown)) << "edit text";
            EXPECT_EQ(*h.page->SliderPos(GainSlider(1)), -c.tenths) << "slider position";
            EXPECT_EQ(h.Take(), (accepted ? Notices{{notice::kBandGain, 1, c.tenths}} : Notices{}))
                << "notices";
            ASSERT_EQ(boxes.shown.size(), accepted ? 0u : 1u) << "boxes shown";
            if (accepted) continue;
            EXPECT_EQ(boxes.shown[0].text,
                      QString(c.invalidInputBox ? invalid[language] : gainMessages[language]))
                << "box text";
            EXPECT_EQ(boxes.shown[0].caption,
                      QString(c.invalidInputBox ? invalid[language] : rangeCaptions[language]))
                << "box caption";
            EXPECT_EQ(boxes.shown[0].type, unsigned(win::kMbOk)) << "box buttons";
        }
    }
    for (int id : {GainEdit(0), GainEdit(4), GainSlider(0), 0, 5000})
        EXPECT_FALSE(h.page->ValidateEdit(id)) << "control " << id << " is no band edit";
}

TEST(BandEdits, OnlyChangedTextValidatesARefusalKeepsFocusAndKeysStayOnThePage) {
    PageHarness h(5);
    win::ScriptedMessageBoxes boxes;
    for (int id : {GainEdit(1), FreqEdit(1), QEdit(1), GainEdit(2)}) {  // tabbing through unchanged edits
        Edit(h.page, id)->setFocus();
        h.parent->setFocus();
    }
    QApplication::processEvents();
    EXPECT_EQ(h.Take(), (Notices{{notice::kBandFocus, 1, 0},
                                 {notice::kBandFocus, 1, 0},
                                 {notice::kBandFocus, 1, 0},
                                 {notice::kBandFocus, 2, 0}}));
    Type(h, FreqEdit(2), "5000");
    EXPECT_EQ(WithoutFocus(h), (Notices{{notice::kBandFreq, 2, 5000}})) << "an accepted frequency notifies";
    EXPECT_EQ(Edit(h.page, FreqEdit(2))->text(), QString("5000 Hz")) << "and is shown with its unit";
    h.page->SetLanguage(1);
    Type(h, FreqEdit(2), "19");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QString("Out of range(20 - 20000Hz).")) << "range box";
    EXPECT_EQ(h.page->Model().band.freq[2], 5000) << "a refused frequency keeps the old one";
    EXPECT_EQ(Edit(h.page, FreqEdit(2))->selectedText(), QString("5000 Hz"))
        << "the old text comes back selected";
    EXPECT_EQ(QApplication::focusWidget(), Edit(h.page, FreqEdit(2)));
    EXPECT_TRUE(WithoutFocus(h).empty());
    // Enter validates once and leaves the edit; a refused Enter keeps it; Enter and Esc stay here.
    Type(h, GainEdit(2), "2.5", Qt::Key_Return);
    EXPECT_EQ(WithoutFocus(h), (Notices{{notice::kBandGain, 2, 25}}));
    EXPECT_EQ(QApplication::focusWidget(), h.parent.get());
    Type(h, FreqEdit(2), "99999", Qt::Key_Enter);
    QTest::keyClick(Edit(h.page, FreqEdit(2)), Qt::Key_Escape);
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), Edit(h.page, FreqEdit(2)));
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(GainSlider(1)));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Escape);
    QTest::keyClick(slider, Qt::Key_Return);
    EXPECT_TRUE(h.parent->keys.empty());
}

TEST(GainSlider, UpRaisesTheGainAndCodeNeverNotifies) {
    PageHarness h(5);
    auto* slider = qobject_cast<QAbstractSlider*>(h.page->Control(GainSlider(2)));
    slider->setFocus();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) QTest::keyClick(slider, key);
    EXPECT_EQ(h.page->Model().band.gain[2], -0.1f) << "model gain after up, down, down";
    EXPECT_EQ(Edit(h.page, GainEdit(2))->text(), QString("-0.1 dB")) << "gain edit";
    EXPECT_EQ(WithoutFocus(h),
              (Notices{{notice::kBandGain, 2, 1}, {notice::kBandGain, 2, 0}, {notice::kBandGain, 2, -1}}));
    h.page->SetBand(1, 600, 2.0f, 3.0f, 6);
    h.page->ResetPeq(false);
    h.page->SetBandFreqGain(2, 1000, 12.0f);
    h.Take();
    QTest::keyClick(slider, Qt::Key_Up);  // at the top: nothing changes, nothing is sent
    EXPECT_TRUE(h.parent->notices.empty());
    h.page->hide();
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);  // hidden pages ignore scrolls
    EXPECT_EQ(h.page->Model().band.gain[2], kMaxGain) << "a hidden page keeps its gain";
    EXPECT_TRUE(h.parent->notices.empty()) << "a hidden page sends nothing";
}

TEST(Buttons, QStepsInTenthsAndClampsTypeSelects) {
    PageHarness h(5);
    auto button = [&](int id) { return qobject_cast<QAbstractButton*>(h.page->Control(id)); };
    for (int k = 0; k < 10; ++k) button(QPlus(1))->click();
    EXPECT_EQ(h.page->Model().band.q[1], 2.0f) << "ten plus steps of 0.1";
    EXPECT_EQ(Edit(h.page, QEdit(1))->text(), QString("2.0")) << "Q edit";
    h.page->SetBandQ(1, 128.0f);
    h.page->SetBandQ(2, 0.4f);
    h.Take();
    button(QPlus(1))->click();
    button(QMinus(2))->click();
    EXPECT_EQ(h.page->Model().band.q[1], kMaxQ) << "plus stops at the top";
    EXPECT_EQ(h.page->Model().band.q[2], kMinQ) << "minus stops at the bottom";
    button(TypeButton(2, kTypeLowShelf))->click();
    EXPECT_EQ(WithoutFocus(h), (Notices{{notice::kBandQ, 1, kMaxQTenths},
                                        {notice::kBandQ, 2, kMinQTenths},
                                        {notice::kBandType, 2, kTypeLowShelf}}));
    auto faces = [&] {
        std::vector<QRgb> out;
        for (int type : {kTypePeaking, kTypeLowShelf, kTypeHighShelf})
            out.push_back(button(TypeButton(2, type))
                              ->icon()
                              .pixmap(kTypeImageSize, kTypeImageSize)
                              .toImage()
                              .pixel(1, 1));
        return out;
    };
    const QRgb green = TypeImageFace(true).rgb(), grey = TypeImageFace(false).rgb();
    EXPECT_EQ(faces(), (std::vector<QRgb>{grey, green, grey}));
    EXPECT_TRUE(h.page->SetTypeButtons(2, kTypeHighPass));  // a pass filter: none selected
    EXPECT_EQ(faces(), (std::vector<QRgb>{grey, grey, grey}));
    EXPECT_FALSE(h.page->SetTypeButtons(5, kTypePeaking)) << "band 5 is beyond a five-band page";
    EXPECT_FALSE(h.page->SetTypeButtons(-1, kTypePeaking)) << "band -1";
}

TEST(PageSetters, ShowBandsQuietlyAndGuardTheRange) {
    PageHarness h(5);
    h.page->SetBand(2, 2500, -3.5f, 2.0f, 6);
    EXPECT_EQ(h.page->Model().band.type[2], kTypeLowShelf) << "device code 6";
    EXPECT_EQ(Edit(h.page, GainEdit(2))->text(), QString("-3.5 dB")) << "gain shown";
    EXPECT_EQ(Edit(h.page, FreqEdit(2))->text(), QString("2500 Hz")) << "frequency shown";
    EXPECT_EQ(Edit(h.page, QEdit(2))->text(), QString("2.0")) << "Q shown";
    EXPECT_EQ(*h.page->SliderPos(GainSlider(2)), 35) << "gain slider";
    h.page->SetBand(3, 2500, 0, 1, 5);  // unknown device code: type 0, and the band off
    EXPECT_EQ(h.page->Model().band.type[3], kTypeOff) << "unknown device code";
    EXPECT_TRUE(h.page->Model().bypass) << "band 3 off as well";
    const auto before = h.page->Model().band;
    h.page->SetBand(5, 1, 1, 1, 0);
    h.page->SetBandQ(5, 9);
    h.page->SetBandEnabled(5, 0);
    h.page->SetBandEnabled(-1, 0);
    EXPECT_EQ(h.page->Model().band.q, before.q) << "setters beyond the page leave every Q";
    EXPECT_EQ(h.page->Model().band.enabled, before.enabled)
        << "setters beyond the page leave every band on or off";
    h.page->SetBandFreqGain(3, 800, 3.5f);
    EXPECT_EQ(*h.page->SliderPos(GainSlider(3)), -35) << "gain slider of band 3";
    EXPECT_TRUE(h.parent->notices.empty()) << "setters notify nobody";
}

// The gain and Q fields of the band frame the page would send, as plain numbers.
int FrameGainField(const Page& page, int band) {
    const ZemCmd::EqFrame f = *page.BuildBandCmd(band);
    return f[7] | f[8] << 8;
}
int FrameQField(const Page& page, int band) {
    const ZemCmd::EqFrame f = *page.BuildBandCmd(band);
    return f[11] | f[12] << 8;
}

TEST(PageValuesFromOutside, FileAndReadBackValuesShowWhatTheBandFrameCarries) {
    PageHarness h(5);
    // Finer than the wire: -12.34 dB and Q 1.23; 5.67 dB and Q 0.45; the pass bands' Q 0.71.
    const std::vector<std::string> file = {
        "[test eq]", "20,-2400,71,0", "500,-1234,123,1", "1000,567,45,1", "10000,0,100,1", "20000,-2400,71,0",
        "0"};
    h.page->LoadText(file);
    EXPECT_EQ(Edit(h.page, GainEdit(1))->text(), "-12.4 dB") << "a tenth away from zero, as typed values";
    EXPECT_EQ(FrameGainField(*h.page, 1), 25600 - 1240) << "the frame carries the gain shown";
    EXPECT_EQ(*h.page->SliderPos(GainSlider(1)), 124);
    EXPECT_EQ(Edit(h.page, QEdit(1))->text(), "1.3") << "Q up to its step";
    EXPECT_EQ(FrameQField(*h.page, 1), 130);
    EXPECT_EQ(Edit(h.page, GainEdit(2))->text(), "+5.7 dB");
    EXPECT_EQ(FrameGainField(*h.page, 2), 25600 + 570);
    EXPECT_EQ(Edit(h.page, QEdit(2))->text(), "0.5");
    EXPECT_EQ(h.page->Model().band.q[0], QuantiseQ(0.71f)) << "pass bands take the same steps";
    EXPECT_TRUE(h.parent->notices.empty()) << "values put in from a file notify nobody";

    // Export, import, export: the same bytes.
    const std::string exported = h.page->SaveText();
    EXPECT_NE(exported.find("500,-1240,130,1\n"), std::string::npos) << exported;
    std::vector<std::string> again = {"[test eq]"};
    SplitString(again, exported, "\n");
    h.page->LoadText(again);
    EXPECT_EQ(h.page->SaveText(), exported);

    // A band read back from the processor with a finer value.
    h.page->SetBand(3, 4000, -12.34f, 1.23f, 0);
    EXPECT_EQ(Edit(h.page, GainEdit(3))->text(), "-12.4 dB");
    EXPECT_EQ(FrameGainField(*h.page, 3), 25600 - 1240);
    EXPECT_EQ(Edit(h.page, QEdit(3))->text(), "1.3");
    EXPECT_EQ(FrameQField(*h.page, 3), 130);
}

TEST(PageText, LoadShowsValuesSendsNothingAndPointDecimalsUnderACommaLocale) {
    PageHarness h(5);
    const std::vector<std::string> lines = {
        "[TEST EQ]", "20,-2400,70,0", "500,-350,150,3", "1000,0,100,1", "10000,0,100,1", "20000,-2400,70,0",
        "0"};
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        setenv("LOCPATH", "locales", 1);
        [[maybe_unused]] int rc = std::system(
            "mkdir -p locales && localedef -i de_DE -f UTF-8 locales/de_DE.UTF-8 >/dev/null 2>&1");
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // without one the test still checks the C locale
    }
    h.page->LoadText(lines);
    const QString gainShown = Edit(h.page, GainEdit(1))->text(),
                  freqShown = Edit(h.page, FreqEdit(1))->text(), qShown = Edit(h.page, QEdit(1))->text();
    const int sliderPos = *h.page->SliderPos(GainSlider(1));
    const bool quiet = h.parent->notices.empty();
    const std::string saved = h.page->SaveText();
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(gainShown, QString("-3.5 dB")) << "gain shown";
    EXPECT_EQ(freqShown, QString("500 Hz")) << "frequency shown";
    EXPECT_EQ(qShown, QString("1.5")) << "Q shown";
    EXPECT_EQ(sliderPos, 35) << "gain slider";
    EXPECT_TRUE(quiet) << "a load notifies nobody";
    std::string expected;
    for (std::size_t i = 1; i < lines.size(); ++i) expected += lines[i] + "\n";
    EXPECT_EQ(saved, expected);
}

}  // namespace
