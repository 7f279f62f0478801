// Every band edit shows its whole value from its first character: read back or typed, at its widest
// and narrowest, in all five languages, at the window's default size and at its 900 x 520 minimum.
// The row captions stand level with the rows they name.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include "pages/page.h"
#include "pages/page_ids.h"
#include "pages/row_captions.h"
#include "support.h"
#include "tests/controls/widget_test_support.h"

namespace {

// The rectangle QLineEdit draws its text in: the style's contents rectangle less the text margins
// and QLineEdit's own 2-pixel gap on either side.
QRect TextArea(const QLineEdit& e) {
    QStyleOptionFrame option;
    option.initFrom(&e);
    option.rect = e.rect();
    option.lineWidth = e.hasFrame() ? e.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &e) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    constexpr int kLineEditMargin = 2;
    return e.style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, &e)
        .marginsRemoved(e.textMargins())
        .adjusted(kLineEditMargin, 0, -kLineEditMargin, 0);
}

// The edit's text fits its text area with the caret after it (else QLineEdit scrolls it), and as
// painted its first character is at the area's left edge and its last at the right edge.
void ExpectWhole(QLineEdit& e, const QString& expected, const std::string& what) {
    ASSERT_EQ(e.text(), expected) << what << ": the value shown";
    const QRect area = TextArea(e);
    const int caret = e.style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, &e);
    const int needed = e.fontMetrics().horizontalAdvance(e.text()) + 1 + caret;
    EXPECT_LE(needed, area.width()) << what << ": \"" << e.text().toStdString() << "\" needs " << needed
                                    << " px, the edit has " << area.width();
    // Upright too: QLineEdit centres a line of the font's height in its contents less a pixel above
    // and below; the value's ink keeps a pixel clear of the frame, or it reads as cut.
    const QRect inside = TextArea(e);
    const QFontMetrics fm = e.fontMetrics();
    const int lineTop = inside.top() + 1 + (inside.height() - 2 - fm.height() + 1) / 2;
    const QRect ink = fm.tightBoundingRect(e.text()).translated(0, lineTop + fm.ascent());
    EXPECT_TRUE(ink.top() > inside.top() && ink.bottom() < inside.bottom())
        << what << ": \"" << e.text().toStdString() << "\" is drawn over rows " << ink.top() << ".."
        << ink.bottom() << ", the edit's inside is rows " << inside.top() << ".." << inside.bottom();
    (void)e.grab();  // QLineEdit works out its scroll when it paints
    const int y = area.center().y();
    EXPECT_EQ(e.cursorPositionAt(QPoint(area.left(), y)), 0)
        << what << ": \"" << e.text().toStdString() << "\" is scrolled, its first character out of sight";
    EXPECT_EQ(e.cursorPositionAt(QPoint(area.right(), y)), e.text().size())
        << what << ": \"" << e.text().toStdString() << "\" is cut at the right";
}

struct Values {
    const char* name;
    int freq;
    float gain;
    float q;
    const char* freqText;
    const char* gainText;
    const char* qText;
};
constexpr Values kWidest{"widest", 20000, -24.0f, 128.0f, "20000 Hz", "-24.0 dB", "128.0"};
constexpr Values kNarrowest{"narrowest", 20, 12.0f, 0.4f, "20 Hz", "+12.0 dB", "0.4"};

class WholeWindowBandEdits : public WindowTest, public testing::WithParamInterface<int> {
  protected:
    Page* PageOf(int tab) { return dynamic_cast<Page*>(dialog->PageAt(tab)); }
    QLineEdit* Edit(Page* page, int id) { return win::FindControlAs<QLineEdit>(page, id); }

    // Every band of every page read back at `v`.
    void ReadBack(const Values& v) {
        for (int tab = 0; tab < console::kTabCount; ++tab) {
            Page* page = PageOf(tab);
            for (int b = 1; b < page->GetBandCount() - 1; ++b) page->SetBand(b, v.freq, v.gain, v.q, 0);
        }
    }

    void CheckEveryEdit(const Values& v, const std::string& when) {
        int edits = 0;
        for (int tab = 0; tab < console::kTabCount; ++tab) {
            dialog->TabStrip()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            Page* page = PageOf(tab);
            for (int b = 1; b < page->GetBandCount() - 1; ++b) {
                const std::string at =
                    when + ", " + v.name + ", tab " + std::to_string(tab) + " band " + std::to_string(b);
                const struct {
                    int id;
                    const char* text;
                    const char* name;
                } rows[] = {{pageid::kGainEdit + b, v.gainText, " gain"},
                            {pageid::kFreqEdit + b, v.freqText, " frequency"},
                            {pageid::kQEdit + b, v.qText, " Q"}};
                for (const auto& row : rows) {
                    QLineEdit* e = Edit(page, row.id);
                    ASSERT_NE(e, nullptr) << at << row.name;
                    ExpectWhole(*e, row.text, at + row.name);
                    ++edits;
                }
            }
        }
        EXPECT_EQ(edits, 3 * (7 + 15 + 3 + 5 + 3 + 3 + 3)) << "band edits checked";
    }
};

TEST_P(WholeWindowBandEdits, ReadBackValuesShowWholeAtBothSizes) {
    Start(("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n").c_str());
    dialog->show();
    QCoreApplication::processEvents();
    const QSize started = dialog->size();
    for (const Values& v : {kWidest, kNarrowest}) {
        dialog->resize(started);
        QCoreApplication::processEvents();
        ReadBack(v);
        CheckEveryEdit(v, "as started");
        dialog->resize(900, 520);
        QCoreApplication::processEvents();
        CheckEveryEdit(v, "900 x 520");
    }
}

// A value typed and entered shows whole once it is taken, and so does the stored value a refusal
// puts back.
TEST_P(WholeWindowBandEdits, TypedValuesShowWholeAfterEnter) {
    Start(("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n").c_str());
    dialog->resize(900, 520);
    dialog->show();
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog.get());
    QCoreApplication::processEvents();
    win::ScriptedMessageBoxes boxes;
    constexpr int kMic = 1, kBand = 15;  // the last column of the widest page
    dialog->TabStrip()->setCurrentIndex(kMic);
    Page* page = PageOf(kMic);
    const struct {
        int id;
        const char* typed;
        const char* shown;
    } cases[] = {
        {pageid::kQEdit + kBand, "128", "128.0"},         {pageid::kQEdit + kBand, "10", "10.0"},
        {pageid::kQEdit + kBand, "500", "10.0"},  // refused: the stored 10.0 comes back
        {pageid::kGainEdit + kBand, "-24", "-24.0 dB"},   {pageid::kGainEdit + kBand, "12", "+12.0 dB"},
        {pageid::kFreqEdit + kBand, "20000", "20000 Hz"}, {pageid::kFreqEdit + kBand, "9", "20000 Hz"}};
    for (const auto& c : cases) {
        const std::string what = std::string("typed ") + c.typed + " into edit " + std::to_string(c.id);
        QLineEdit* e = Edit(page, c.id);
        ASSERT_NE(e, nullptr) << what;
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        QTest::keyClicks(e, c.typed);
        QTest::keyClick(e, Qt::Key_Return);
        QCoreApplication::processEvents();
        ExpectWhole(*e, c.shown, what);
    }
    EXPECT_EQ(boxes.shown.size(), 2u) << "the two values out of range are refused";
}

// Each row caption's text line, as its label lays it out, stands on the middle of the row it names
// and its ink within the row (a Thai tone mark or a CJK glyph's soft edge may pass a 12-pixel edit's
// frame by a row or two); the label holds the whole line and meets no other control.
TEST_P(WholeWindowBandEdits, RowCaptionsCentredOnTheirRows) {
    Start(("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n").c_str());
    dialog->Graph()->SetTraceSink([](const std::string&) {});
    dialog->show();
    for (const int width : {1188, 1008})  // as started on 1366- and 1024-pixel screens
        for (int tab = 0; tab < console::kTabCount; ++tab) {
            dialog->resize(width, 520);
            dialog->TabStrip()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            Page* page = PageOf(tab);
            auto at = [page](int id) { return win::FindControl(page, id)->geometry(); };
            const QRect rows[] = {at(pageid::kGainEdit + 1),
                                  at(pageid::kTypeButton + 3) | at(pageid::kTypeButton + 5),
                                  at(pageid::kFreqEdit + 1), at(pageid::kQEdit + 1)};
            const QImage image = controls_test::Render(*page);
            const QRgb background = controls_test::Rgb(page->palette().color(QPalette::Window));
            const QList<QWidget*> controls = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            int k = 0;
            for (auto* label : page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
                if (win::ControlId(label) != pageid::kRowCaption) continue;
                const QString text = label->text();
                ASSERT_EQ(text, QString::fromUtf8(rowcaption::Text(k, GetParam()))) << "tab " << tab;
                const std::string what = std::to_string(width) + " px, tab " + std::to_string(tab) + ", \"" +
                                         text.toStdString() + "\"";
                const QRect& row = rows[k++];
                const QRect line =
                    label->fontMetrics().boundingRect(label->contentsRect(), label->alignment(), text);
                const double low = label->y() + (line.top() + line.bottom() - row.top() - row.bottom()) / 2.0;
                EXPECT_LE(std::abs(low), 1.0)
                    << what << ": the line stands " << low << " px below its row's middle";
                EXPECT_TRUE(label->rect().contains(line)) << what << ": the label is lower than its line";
                const QRect ink = controls_test::InkBox(image, background, label->geometry());
                EXPECT_TRUE(ink.top() >= row.top() - 2 && ink.bottom() <= row.bottom() + 2)
                    << what << ": ink on rows " << ink.top() << ".." << ink.bottom() << ", the row is "
                    << row.top() << ".." << row.bottom();
                for (QWidget* w : controls)
                    EXPECT_TRUE(w == label || !w->isVisibleTo(page) ||
                                !w->geometry().intersects(label->geometry()))
                        << what << ": the label meets control " << win::ControlId(w);
            }
            EXPECT_EQ(k, rowcaption::kRows) << "tab " << tab << ": row captions";
        }
}

INSTANTIATE_TEST_SUITE_P(Languages, WholeWindowBandEdits, testing::Range(0, 5));

}  // namespace
