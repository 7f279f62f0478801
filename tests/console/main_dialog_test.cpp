#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

#include "console/images.h"
#include "console/main_template.h"
#include "console/status_lamp_button.h"
#include "pages/page.h"
#include "pages/page_effect.h"
#include "platform/ini.h"
#include "platform/ui/dialog_units.h"
#include "support.h"

using namespace console;

namespace {

using MainWindow = WindowTest;

// The title of menu m, or its item k.
QString MenuText(const CVelmor_Zem_R7Dlg& d, int m, int k = -1) {
    QAction* top = d.MenuBar()->actions()[m];
    return k < 0 ? top->text() : top->menu()->actions()[k]->text();
}

int NeededWidth(QWidget* control) {
    const QFontMetrics metrics(control->font());
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return metrics.horizontalAdvance(combo->currentText());
    const QString text = TextOf(control->parentWidget(), win::ControlId(control));
    return text == "<missing>" ? 0 : metrics.horizontalAdvance(text);
}

class MainWindowLayout : public WindowTest, public testing::WithParamInterface<int> {};

TEST_P(MainWindowLayout, TemplatePlacesInDialogFontPixelsAndEveryPageFits) {
    Start(("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n").c_str());
    const win::DialogUnits units(dialog->Client()->font());
    int previousRight = -1;
    for (const TemplateControl& c : MainTemplate()) {
        QWidget* control = win::FindControl(dialog->Client(), c.id);
        ASSERT_NE(control, nullptr) << c.id;
        const QRect expected(units.X(c.x), units.Y(c.y), units.X(c.x + c.width) - units.X(c.x),
                             units.Y(c.y + c.height) - units.Y(c.y));
        const QRect actual = control->geometry();
        if (c.id == kIdGraph) {  // its top follows the pages
            EXPECT_EQ(actual.adjusted(0, expected.top() - actual.top(), 0, 0), expected);
            EXPECT_EQ(actual.top(), dialog->PageRect().bottom() + 1 + 5);
        } else if (c.id == kIdTab) {
            EXPECT_EQ(actual, expected) << c.id;
        } else if (c.id == kIdEqReset || c.id == kIdEqPass) {
            // In their row, widened where a text needs it (EQ PASS does), never left of their places.
            EXPECT_EQ(actual.top(), expected.top()) << c.id;
            EXPECT_EQ(actual.height(), expected.height()) << c.id;
            EXPECT_GE(actual.left(), expected.left()) << c.id;
            EXPECT_GE(actual.width(), std::max(expected.width(), NeededWidth(control))) << c.id;
        } else {
            // The top row widens where a text needs it: same row, never left of its place or over its
            // neighbour, its text whole. A value comes down to its caption's baseline where a Thai or
            // CJK caption stands taller.
            const bool value = c.id == kIdMusicValue || c.id == kIdMicValue || c.id == kIdEffectValue;
            if (value) {
                EXPECT_GE(actual.top(), expected.top()) << c.id;
                EXPECT_LE(actual.top(), expected.top() + actual.height() / 2) << c.id;
            } else {
                EXPECT_EQ(actual.top(), expected.top()) << c.id;
            }
            EXPECT_GT(actual.left(), previousRight) << c.id;
            EXPECT_GE(actual.width(), NeededWidth(control)) << c.id;
            EXPECT_LE(actual.right(), 900 - 4) << c.id;
            previousRight = actual.right();
            if (c.id == kIdStatusLamp) {
                EXPECT_EQ(actual.size(), kStatusLampSize) << "the status lamp keeps its size";
            }
            if (c.id == kIdPresetCombo) {
                EXPECT_GE(actual.width(), expected.width()) << "the preset list never narrows";
            }
        }
    }
    EXPECT_EQ(dialog->PageRect(), QRect(units.X(7), units.Y(25) + kTabItemSize.height(),
                                        units.X(7 + 493) - units.X(7), dialog->PageRect().height()));
    EXPECT_TRUE(dialog->LayoutReady()) << "the resize rule waits for the layout";
    EXPECT_TRUE(dialog->Locked()) << "the panel starts locked";
    EXPECT_FALSE(dialog->Connected()) << "connected before any answer";
    EXPECT_EQ(dialog->minimumSize(), QSize(900, 520));

    // On a 1280-pixel screen every shown control lies inside its page, above the graph.
    dialog->show();
    dialog->resize(1264, dialog->height());
    QCoreApplication::processEvents();
    for (int tab = 0; tab < kTabCount; ++tab) {
        dialog->TabStrip()->setCurrentIndex(tab);
        QWidget* page = dialog->PageAt(tab);
        ASSERT_TRUE(page->isVisible()) << tab;
        EXPECT_LT(page->geometry().bottom(), dialog->Graph()->geometry().top()) << tab;
        EXPECT_LE(page->geometry().right(), dialog->Client()->width()) << tab;
        int shown = 0;
        for (auto* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isWindow() || !w->isVisibleTo(page)) continue;
            ++shown;
            EXPECT_TRUE(page->rect().contains(w->geometry())) << "tab " << tab << " id " << win::ControlId(w);
            if (qobject_cast<QRadioButton*>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width())
                    << "tab " << tab << ": radio button " << win::ControlId(w) << " cut short";
            }
        }
        EXPECT_GT(shown, 10) << tab;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, MainWindowLayout, testing::Range(0, 5));

TEST_F(MainWindow, TextsThatFitKeepTheTemplateExactly) {
    Start("[Config]\nLanguage=1\n");
    const win::DialogUnits units(dialog->Client()->font());
    auto* caption = win::FindControl(dialog->Client(), kIdMicCaption);
    ASSERT_LE(NeededWidth(caption), units.X(135) - units.X(113));  // "Mic:" fits its 22 units
    EXPECT_EQ(caption->geometry(), units.Rect(113, 10, 22, 8));
    EXPECT_EQ(Control<QSlider>(kIdMicSlider)->geometry(), units.Rect(135, 8, 74, 17));
    EXPECT_EQ(win::FindControl(dialog->Client(), kIdMicValue)->geometry(), units.Rect(211, 10, 13, 8));
}

TEST_F(MainWindow, ConfigSetsTheMasterSlidersClampedAndTheLanguageIsWrittenBack) {
    // clang-format off
    // config null: no file; sliders: "max@shown value" of microphone, effect, music
    const struct { const char* config; const char* sliders; } rows[] = {
        {"[Config]\r\nmicendvol=40\r\nmicstartvol=10\r\n", "40@10 70@0 84@0"},
        {nullptr, "84@0 70@0 84@0"},
        {"[Config]\nmusicendvol=200\nmusicstartvol=150\neffectendvol=-3\nmicstartvol=x\nLanguage=9\n",
         "84@0 0@0 84@84"},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.config ? r.config : "no file");
        Start(r.config);
        QStringList sliders;
        for (int k = 0; k < 3; ++k) {
            auto* s = Control<QSlider>(kIdMicSlider + k);
            EXPECT_EQ(s->minimum(), 0) << "master " << k;
            EXPECT_EQ(s->tickInterval(), 8) << "master " << k;
            sliders << QString("%1@%2").arg(s->maximum()).arg(Text(kIdMicValue + k));
        }
        EXPECT_EQ(sliders.join(' '), r.sliders) << "maximum@label of the three masters";
        EXPECT_EQ(dialog->Language(), 0);
        EXPECT_EQ(ini::FindValue(ReadBytes(config), "Config", "Language"), std::optional<std::string>("0"))
            << "the language is written back";
    }
}

TEST_F(MainWindow, LanguageSwitchChangesEveryTextAndWritesTheFile) {
    Start("[Config]\r\nmicendvol=40\r\nLanguage=1\r\n");
    auto menuIds = [&] {  // 0: separator, -1: an item without text
        std::vector<int> ids;
        for (QAction* top : dialog->MenuBar()->actions())
            for (QAction* item : top->menu()->actions())
                ids.push_back(item->isSeparator() ? 0 : item->text().isEmpty() ? -1 : item->data().toInt());
        return ids;
    };
    // clang-format off
    const std::vector<int> ids = {kCmdImport, kCmdExport, 0, kCmdConnect, 0, kCmdExit, kCmdChinese, kCmdEnglish, kCmdThai,
                                  kCmdVietnamese, kCmdIndonesian, kCmdResetFactory, kCmdDspUpdate, kCmdVolumeLimit};
    // clang-format on
    for (int command : {kCmdEnglish, kCmdChinese, kCmdThai, kCmdIndonesian, kCmdEnglish}) {
        dialog->OnCommand(command);
        EXPECT_EQ(menuIds(), ids) << command;
    }
    EXPECT_EQ(MenuText(*dialog, 0), "File(F)") << "English file menu";
    EXPECT_EQ(MenuText(*dialog, 1, 1), "Englise(&E)") << "English language item";

    auto* combo = Control<QComboBox>(kIdPresetCombo);
    combo->setCurrentIndex(5);
    dialog->OnCommand(kCmdVietnamese);
    const char* const vietnameseTabs[] = {"Nhạc",      "Micro",       "Hiệu ứng",     "Kênh main",
                                          "Kênh center", "Kênh sub", "Kênh surround"};
    ASSERT_EQ(dialog->TabStrip()->count(), kTabCount);
    for (int i = 0; i < kTabCount; ++i)
        EXPECT_EQ(dialog->TabStrip()->tabText(i), QString::fromUtf8(vietnameseTabs[i])) << "tab " << i;
    const struct {
        const char* name;
        int id;
        const char* text;
    } vietnamese[] = {{"mic caption", kIdMicCaption, "Micro"},   {"effect caption", kIdEffectCaption, "Hiệu ứng"},
                      {"music caption", kIdMusicCaption, "Nhạc"}, {"save button", kIdSave, "Lưu"},
                      {"load button", kIdLoad, "Tải"},          {"EQ reset button", kIdEqReset, "EQ Reset"}};
    for (const auto& v : vietnamese) EXPECT_EQ(Text(v.id), QString::fromUtf8(v.text)) << v.name;
    EXPECT_EQ(combo->count(), 16);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(15), "Hiệu ứng16");
    EXPECT_EQ(menuIds(), ids);
    EXPECT_EQ(MenuText(*dialog, 0) + MenuText(*dialog, 1, 3), "Cấu hình(&F)ViệtName(&V)");
    EXPECT_EQ(dialog->Language(), 3);
    EXPECT_EQ(dialog->SetUpPage()->Language(), 3) << "the set-up page kept the old language";
    EXPECT_EQ(ReadBytes(config), "[Config]\r\nmicendvol=40\r\nLanguage=3\r\n");
}

TEST_F(MainWindow, TimersOfTheLampAndTheFirstConnect) {
    Start("[Config]\nLanguage=4\n");
    auto* lamp = Control<StatusLampButton>(kIdStatusLamp);
    ASSERT_NE(lamp, nullptr);
    EXPECT_TRUE(dialog->Timers().IsSet(kTimerFirstConnect));
    EXPECT_EQ(lamp->BitmapId(), 194) << "Chinese, not connected, until the lamp timer fires";
    dialog->OnTimer(kTimerStatusLamp);
    EXPECT_EQ(lamp->BitmapId(), 212) << "Indonesian, not connected";
    EXPECT_FALSE(dialog->Timers().IsSet(kTimerStatusLamp)) << "the lamp timer fires once";
    dialog->SetConnectedForTests(true);
    dialog->OnCommand(kCmdThai);
    EXPECT_EQ(lamp->BitmapId(), 207);

    dialog->SetConnectedForTests(false);
    dialog->SetUpPage()->Link().frameMode = 1;
    dialog->OnTimer(kTimerFirstConnect);
    EXPECT_FALSE(dialog->Timers().IsSet(kTimerFirstConnect));
    QCoreApplication::processEvents();  // the posted connect request
    EXPECT_EQ(dialog->LinkWatchdog(), 4);
    EXPECT_EQ(dialog->SetUpPage()->Link().frameMode, 0) << "the connect request resets the frame mode";
}

TEST_F(MainWindow, ResizeStretchesGraphBothWaysAndPagesInWidth) {
    Start();
    const QRect graph = dialog->GraphRect(), pages = dialog->PageRect(), tab = dialog->TabStrip()->geometry();
    const QRect pass = dialog->EqPassRect(), reset = dialog->EqResetRect();
    dialog->show();
    dialog->resize(dialog->size() + QSize(130, 70));
    QCoreApplication::processEvents();
    const int dx = dialog->Client()->width() - dialog->InitClientRect().width();
    const int dy = dialog->Client()->height() - dialog->InitClientRect().height();
    ASSERT_GT(dx, 0);
    ASSERT_GT(dy, 0);
    EXPECT_EQ(dialog->Graph()->geometry(), graph.adjusted(0, 0, dx, dy));
    for (int i = 0; i < pageindex::kCount; ++i)
        EXPECT_EQ(dialog->PageAt(i)->geometry(), pages.adjusted(0, 0, dx, 0)) << "page " << i;
    EXPECT_EQ(Control(kIdEqPass)->geometry(), pass.translated(0, dy)) << "EQ Pass moves down with the graph";
    EXPECT_EQ(Control(kIdEqReset)->geometry(), reset.translated(0, dy))
        << "EQ Reset moves down with the graph";
    EXPECT_EQ(dialog->TabStrip()->geometry(), tab) << "the tab strip stays";
}

TEST_F(MainWindow, TabsShowTheirPageAndPutItsCurveOnTheGraph) {
    Start();
    const int bands[] = {9, 17, 5, 7, 5, 5, 5};  // in tab order
    for (int i = 0; i < pageindex::kSetUp; ++i)
        EXPECT_EQ(dialog->WaveAt(i)->GetBandCount(), bands[i]) << "page " << i;
    EXPECT_EQ(dialog->WaveAt(pageindex::kSetUp), nullptr);

    auto* effect = dialog->Pages().Effect();
    effect->SetEchoHighPass(125);
    effect->SetEchoLowPass(9000);
    controls::CGraphWave* graph = dialog->Graph();
    ASSERT_FALSE(graph->isVisible());  // nothing painted yet
    dialog->OnTabSelChange(pageindex::kEffect);
    EXPECT_EQ(graph->freq[0], 125);
    EXPECT_EQ(graph->type[0], controls::kTypeHighPass) << "the echo high-pass";
    EXPECT_EQ(graph->freq[4], 9000);
    EXPECT_EQ(graph->type[4], controls::kTypeLowPass) << "the echo low-pass";
    EXPECT_EQ(graph->bandCount, 3);
    EXPECT_EQ(graph->selected, -1) << "a page switch selects no band";
    EXPECT_FALSE(graph->BlinkArmed());
    dialog->OnTabSelChange(pageindex::kMusic);
    CurveRecord music;
    dialog->WaveAt(pageindex::kMusic)->CopyCurve(music);
    EXPECT_EQ(graph->bandCount, 7);
    EXPECT_EQ(graph->freq[0], music.freq[0]);
    EXPECT_EQ(graph->type[0], music.type[0]);

    dialog->OnTabSelChange(pageindex::kMainOut);
    dialog->OnTabSelChange(pageindex::kSetUp);  // outside the tabs: ignored
    dialog->OnTabSelChange(-1);
    for (int i = 0; i < pageindex::kCount; ++i)
        EXPECT_EQ(dialog->PageAt(i)->isVisibleTo(dialog->Client()), i == pageindex::kMainOut) << "page " << i;
}

TEST_F(MainWindow, EnterAndEscLeaveTheWindowOpen) {
    Start();
    dialog->show();
    for (QWidget* target : {static_cast<QWidget*>(dialog.get()), Control<QWidget>(kIdPresetCombo)}) {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &press);
            QCoreApplication::processEvents();
            EXPECT_TRUE(dialog->isVisible()) << key;
        }
    }
}

// The page sees Enter in its band edits before the main window does: a bad gain brings the box and
// stays out of the model, a good one goes to the device once.
TEST_F(MainWindow, EnterInAGainEditValidatesOnEveryPage) {
    std::vector<testbytes::Bytes> frames;
    Start(nullptr, [&frames](CVelmor_Zem_R7Dlg::Options& o) {
        o.firstConnectDelayMs = 600000;
        o.debounceMs = 5;
        o.frameTap = [&frames](const ZemCmd::Cmd& f) { frames.push_back(testbytes::Of(f)); };
    });
    dialog->show();
    for (int tab : {pageindex::kMusic, pageindex::kMic, pageindex::kMainOut}) {
        SCOPED_TRACE(testing::Message() << "tab " << tab);
        dialog->TabStrip()->setCurrentIndex(tab);
        auto* page = qobject_cast<Page*>(dialog->PageAt(tab));
        ASSERT_NE(page, nullptr);
        auto* edit = win::FindControlAs<QLineEdit>(page, pageid::kGainEdit + 1);
        ASSERT_NE(edit, nullptr);
        const float before = page->Model().band.gain[1];
        win::ScriptedMessageBoxes boxes;

        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "40");
        QTest::keyClick(edit, Qt::Key_Return);
        ASSERT_EQ(boxes.shown.size(), 1u) << "a gain of 40 dB must be refused at Enter";
        EXPECT_EQ(page->Model().band.gain[1], before);
        EXPECT_EQ(edit->text().toStdString(), "+0.0 dB");
        QTest::qWait(30);
        EXPECT_TRUE(frames.empty()) << "a refused value reached the device";

        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "-3.5");
        QTest::keyClick(edit, Qt::Key_Enter);
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(page->Model().band.gain[1], -3.5f);
        EXPECT_EQ(edit->text().toStdString(), "-3.5 dB");
        EXPECT_FALSE(edit->hasFocus()) << "an accepted Enter leaves the edit";
        ASSERT_TRUE(QTest::qWaitFor([&frames] { return !frames.empty(); }, 5000))
            << "the accepted gain never reached the device";
        QTest::qWait(30);  // six debounce periods: time for a second frame, were there one
        ASSERT_EQ(frames.size(), 1u) << "one band frame for one Enter";
        // The band frame carries band 1 and 25600 + 100 x gain, low byte first.
        EXPECT_EQ(frames[0][5], 1);
        EXPECT_EQ(frames[0][7] | frames[0][8] << 8, 25600 - 350);
        frames.clear();
    }
}

}  // namespace
