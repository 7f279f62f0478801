#include "console/main_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "console/control_ids.h"
#include "console/images.h"
#include "console/main_template.h"
#include "console/status_lamp_button.h"
#include "controls/graph_wave.h"
#include "link/ui/page_setup.h"
#include "pages/page_effect.h"
#include "platform/ini.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_units.h"
#include "qt_app.h"

using namespace console;

namespace {

class MainWindow : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        std::remove(config.c_str());
    }
    void TearDown() override {
        dialog.reset();
        std::remove(config.c_str());
    }
    void WriteConfig(const std::string& text) { std::ofstream(config, std::ios::binary) << text; }
    std::string ReadConfig() {
        std::ifstream in(config, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    CVelmor_Zem_R7Dlg& Start() {
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = config;
        options.logPath.clear();
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
        return *dialog;
    }
    template <class T>
    T* Control(int id) {
        return win::FindControlAs<T>(dialog->Client(), id);
    }
    QString Text(int id) {
        if (auto* label = Control<QLabel>(id)) return label->text();
        if (auto* button = Control<QAbstractButton>(id)) return button->text();
        return QStringLiteral("<missing>");
    }

    std::string config = "main_dialog_test_config.ini";
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

// Controls of the top row widen where a text needs it; the others stand exactly where the template
// puts them.
bool InTopRow(int id) {
    return id != kIdTab && id != kIdGraph && id != kIdEqReset && id != kIdEqPass;
}

int NeededWidth(QWidget* control) {
    const QFontMetrics metrics(control->font());
    if (auto* label = qobject_cast<QLabel*>(control)) return metrics.horizontalAdvance(label->text());
    if (auto* button = qobject_cast<QPushButton*>(control)) return metrics.horizontalAdvance(button->text());
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return metrics.horizontalAdvance(combo->currentText());
    return 0;
}

class MainWindowLayout : public MainWindow, public testing::WithParamInterface<int> {};

TEST_P(MainWindowLayout, ControlsStandAtTheirTemplatePlacesInDialogFontPixels) {
    WriteConfig("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n");
    Start();
    const win::DialogUnits units(dialog->Client()->font());
    int previousRight = -1;
    for (const TemplateControl& c : MainTemplate()) {
        QWidget* control = win::FindControl(dialog->Client(), c.id);
        ASSERT_NE(control, nullptr) << c.id;
        const QRect expected(units.X(c.x), units.Y(c.y), units.X(c.x + c.width) - units.X(c.x),
                             units.Y(c.y + c.height) - units.Y(c.y));
        const QRect actual = control->geometry();
        if (InTopRow(c.id)) {
            // Same row, never left of its place, never over its left neighbour, its text whole.
            EXPECT_EQ(actual.top(), expected.top()) << c.id;
            EXPECT_GT(actual.left(), previousRight) << c.id;
            EXPECT_GE(actual.width(), NeededWidth(control)) << c.id;
            EXPECT_LE(actual.right(), 900 - 4) << c.id;
            previousRight = actual.right();
            if (c.id == kIdStatusLamp) {
                EXPECT_EQ(actual.size(), kStatusLampSize);
            }
            if (c.id == kIdPresetCombo) {
                EXPECT_GE(actual.width(), expected.width());
            }
            continue;
        }
        if (c.id == kIdGraph) {
            // Its top follows the pages; left, width and bottom stay.
            EXPECT_EQ(actual.left(), expected.left());
            EXPECT_EQ(actual.width(), expected.width());
            EXPECT_EQ(actual.bottom(), expected.bottom());
            EXPECT_EQ(actual.top(), dialog->m_pageRect.bottom() + 1 + 5);
            continue;
        }
        EXPECT_EQ(actual, expected) << c.id;
    }
    EXPECT_EQ(dialog->m_pageRect.top(), units.Y(25) + kTabItemSize.height());
    EXPECT_EQ(dialog->m_pageRect.left(), units.X(7));
    EXPECT_EQ(dialog->m_pageRect.width(), units.X(7 + 493) - units.X(7));
    EXPECT_EQ(dialog->m_layoutReady, 170);
    EXPECT_EQ(dialog->m_locked, 1);
    EXPECT_EQ(dialog->m_connected, 0);
    EXPECT_EQ(dialog->minimumSize(), QSize(900, 520));
}

INSTANTIATE_TEST_SUITE_P(Languages, MainWindowLayout, testing::Range(0, 5));

// On a 1280-pixel screen every shown control of every page lies inside its page, whole texts
// included, and the pages stop above the graph, in every language.
TEST_P(MainWindowLayout, EveryPageFitsInsideItsAreaOnAWideScreen) {
    WriteConfig("[Config]\nLanguage=" + std::to_string(GetParam()) + "\n");
    Start();
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
        for (QObject* o : page->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || !w->isVisibleTo(page)) continue;
            ++shown;
            const int id = win::ControlId(w);
            EXPECT_TRUE(page->rect().contains(w->geometry())) << "tab " << tab << " id " << id;
            if (auto* radio = qobject_cast<QRadioButton*>(w)) {
                EXPECT_GE(w->width(), radio->sizeHint().width()) << "tab " << tab << " id " << id;
            }
        }
        EXPECT_GT(shown, 10) << tab;
    }
}

TEST_F(MainWindow, TextsThatFitKeepTheTemplateExactly) {
    WriteConfig("[Config]\nLanguage=1\n");
    Start();
    const win::DialogUnits units(dialog->Client()->font());
    // "Mic:" fits its 22 units in any usual font; its slider keeps its place then.
    auto* caption = Control<QLabel>(kIdMicCaption);
    ASSERT_LE(NeededWidth(caption), units.X(135) - units.X(113));
    EXPECT_EQ(caption->geometry(), units.Rect(113, 10, 22, 8));
    EXPECT_EQ(Control<QSlider>(kIdMicSlider)->geometry(), units.Rect(135, 8, 74, 17));
    EXPECT_EQ(Control<QLabel>(kIdMicValue)->geometry(), units.Rect(211, 10, 13, 8));
}

struct SliderCase {
    int slider;
    int value;
    int end;
    int start;
};

TEST_F(MainWindow, VolumeLimitsSetTheMasterSliders) {
    WriteConfig("[Config]\r\nmicendvol=40\r\nmicstartvol=10\r\n");
    Start();
    const SliderCase cases[] = {{kIdMicSlider, kIdMicValue, 40, 10},
                                {kIdMusicSlider, kIdMusicValue, 84, 0},
                                {kIdEffectSlider, kIdEffectValue, 70, 0}};
    for (const SliderCase& c : cases) {
        auto* slider = Control<QSlider>(c.slider);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->minimum(), 0) << c.slider;
        EXPECT_EQ(slider->maximum(), c.end) << c.slider;
        EXPECT_EQ(slider->value(), c.start) << c.slider;
        EXPECT_EQ(slider->tickInterval(), 8);
        EXPECT_EQ(Text(c.value), QString::number(c.start)) << c.value;
    }
    EXPECT_EQ(dialog->m_micEndVol, 40);
    EXPECT_EQ(dialog->m_micStartVol, 10);
}

TEST_F(MainWindow, MissingConfigGivesDefaultsAndChineseAndWritesTheLanguage) {
    Start();
    EXPECT_EQ(Control<QSlider>(kIdMusicSlider)->maximum(), 84);
    EXPECT_EQ(Control<QSlider>(kIdEffectSlider)->maximum(), 70);
    EXPECT_EQ(dialog->m_language, 0);
    EXPECT_EQ(dialog->TabStrip()->tabText(0), QStringLiteral("音乐"));
    // The switch at start-up writes the language too.
    EXPECT_EQ(ini::FindValue(ReadConfig(), "Config", "Language"), "0");
}

TEST_F(MainWindow, GarbageConfigIsClamped) {
    WriteConfig("[Config]\nmusicendvol=200\nmusicstartvol=150\neffectendvol=-3\nmicstartvol=x\nLanguage=9\n");
    Start();
    auto* music = Control<QSlider>(kIdMusicSlider);
    EXPECT_EQ(music->maximum(), 84);
    EXPECT_EQ(music->value(), 84);
    EXPECT_EQ(Control<QSlider>(kIdEffectSlider)->maximum(), 0);
    EXPECT_EQ(Control<QSlider>(kIdMicSlider)->value(), 0);
    EXPECT_EQ(dialog->m_language, 0);
    EXPECT_EQ(ini::FindValue(ReadConfig(), "Config", "Language"), "0");
}

QStringList MenuTexts(QMenuBar* bar) {
    QStringList texts;
    for (QAction* top : bar->actions()) {
        texts << top->text();
        for (QAction* item : top->menu()->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return texts;
}

TEST_F(MainWindow, VietnameseSwitchChangesEveryTextAndWritesTheFile) {
    WriteConfig("[Config]\r\nmicendvol=40\r\nLanguage=1\r\n");
    Start();
    auto* combo = Control<QComboBox>(kIdPresetCombo);
    combo->setCurrentIndex(5);
    dialog->OnCommand(kCmdVietnamese);

    const char* tabs[] = {"Nhạc",        "Micro",    "Hiệu ứng",     "Kênh main",
                          "Kênh center", "Kênh sub", "Kênh surround"};
    ASSERT_EQ(dialog->TabStrip()->count(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(dialog->TabStrip()->tabText(i), QString::fromUtf8(tabs[i])) << i;
    EXPECT_EQ(Text(kIdMicCaption), QStringLiteral("Micro"));
    EXPECT_EQ(Text(kIdEffectCaption), QString::fromUtf8("Hiệu ứng"));
    EXPECT_EQ(Text(kIdMusicCaption), QString::fromUtf8("Nhạc"));
    EXPECT_EQ(Text(kIdSave), QString::fromUtf8("Lưu"));
    EXPECT_EQ(Text(kIdLoad), QString::fromUtf8("Tải"));
    EXPECT_EQ(Text(kIdEqReset), QStringLiteral("EQ Reset"));
    EXPECT_EQ(combo->count(), 16);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(15), QString::fromUtf8("Hiệu ứng16"));
    const QStringList menu = MenuTexts(dialog->m_pMenu);
    EXPECT_EQ(menu.first(), QString::fromUtf8("Cấu hình(&F)"));
    EXPECT_TRUE(menu.contains(QString::fromUtf8("ViệtName(&V)")));
    EXPECT_EQ(dialog->m_language, 3);
    EXPECT_EQ(ReadConfig(), "[Config]\r\nmicendvol=40\r\nLanguage=3\r\n");
    EXPECT_EQ(dialog->SetUpPage()->Language(), 3);
}

TEST_F(MainWindow, EveryLanguageMenuHasTheSameCommandsAndEnglishKeepsItsSpelling) {
    Start();
    std::vector<int> firstIds;
    for (int command : {kCmdChinese, kCmdEnglish, kCmdThai, kCmdVietnamese, kCmdIndonesian}) {
        dialog->OnCommand(command);
        std::vector<int> ids;
        for (QAction* top : dialog->m_pMenu->actions())
            for (QAction* item : top->menu()->actions())
                ids.push_back(item->isSeparator() ? 0 : item->data().toInt());
        if (firstIds.empty()) firstIds = ids;
        EXPECT_EQ(ids, firstIds) << command;
    }
    dialog->OnCommand(kCmdEnglish);
    const QStringList menu = MenuTexts(dialog->m_pMenu);
    EXPECT_EQ(menu.first(), QStringLiteral("File(F)"));
    EXPECT_TRUE(menu.contains(QStringLiteral("Englise(&E)")));
}

TEST_F(MainWindow, LampFollowsLanguageAfterItsTimer) {
    WriteConfig("[Config]\nLanguage=4\n");
    Start();
    auto* lamp = Control<StatusLampButton>(kIdStatusLamp);
    ASSERT_NE(lamp, nullptr);
    // The start-up shows the Chinese lamp until timer 1226 fires.
    EXPECT_EQ(lamp->BitmapId(), 194);
    EXPECT_TRUE(dialog->Timers().IsSet(kTimerStatusLamp));
    EXPECT_TRUE(dialog->Timers().IsSet(kTimerFirstConnect));
    dialog->OnTimer(kTimerStatusLamp);
    EXPECT_EQ(lamp->BitmapId(), 212);
    EXPECT_FALSE(dialog->Timers().IsSet(kTimerStatusLamp));
    dialog->m_connected = 1;
    dialog->OnCommand(kCmdThai);
    EXPECT_EQ(lamp->BitmapId(), 207);
}

TEST_F(MainWindow, FirstConnectTimerIsOneShotAndLeavesTheLinkOutOfFrameMode) {
    Start();
    dialog->SetUpPage()->Link().frameMode = 1;
    dialog->OnTimer(kTimerFirstConnect);
    EXPECT_FALSE(dialog->Timers().IsSet(kTimerFirstConnect));
    QCoreApplication::processEvents();  // the posted connect request
    EXPECT_EQ(dialog->m_linkWatchdog, 4);
    EXPECT_EQ(dialog->SetUpPage()->Link().frameMode, 0);
}

TEST_F(MainWindow, ResizeStretchesGraphBothWaysAndPagesInWidth) {
    Start();
    const QRect graph = dialog->m_graphRect;
    const QRect pages = dialog->m_pageRect;
    const QRect pass = dialog->m_eqPassRect;
    const QRect reset = dialog->m_eqResetRect;
    QWidget* tab = dialog->TabStrip();
    const QRect tabRect = tab->geometry();
    dialog->show();
    dialog->resize(dialog->size() + QSize(130, 70));
    QCoreApplication::processEvents();
    const int dx = dialog->Client()->width() - dialog->m_initClientRect.width();
    const int dy = dialog->Client()->height() - dialog->m_initClientRect.height();
    ASSERT_GT(dx, 0);
    ASSERT_GT(dy, 0);
    EXPECT_EQ(dialog->Graph()->geometry(), graph.adjusted(0, 0, dx, dy));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(dialog->PageAt(i)->geometry(), pages.adjusted(0, 0, dx, 0)) << i;
    EXPECT_EQ(Control<QPushButton>(kIdEqPass)->geometry(), pass.translated(0, dy));
    EXPECT_EQ(Control<QPushButton>(kIdEqReset)->geometry(), reset.translated(0, dy));
    EXPECT_EQ(tab->geometry(), tabRect);
}

TEST_F(MainWindow, TabSwitchShowsOnePageAndIgnoresSelectionsOutsideTheTabs) {
    Start();
    dialog->OnTabSelChange(3);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(dialog->PageAt(i)->isVisibleTo(dialog->Client()), i == 3) << i;
    dialog->OnTabSelChange(7);
    dialog->OnTabSelChange(-1);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(dialog->PageAt(i)->isVisibleTo(dialog->Client()), i == 3) << i;
    EXPECT_EQ(dialog->Graph()->selected, -1);
}

TEST_F(MainWindow, EffectTabPutsTheEchoFiltersOnTheGraphBeforeItIsDrawn) {
    Start();
    auto* effect = qobject_cast<PageEffect*>(dialog->PageAt(2));
    ASSERT_NE(effect, nullptr);
    effect->SetEchoHighPass(125);
    effect->SetEchoLowPass(9000);
    controls::CGraphWave* graph = dialog->Graph();
    ASSERT_FALSE(graph->isVisible());  // nothing painted yet
    dialog->OnTabSelChange(2);
    const int last = effect->GetBandCount() - 1;
    EXPECT_EQ(graph->freq[0], 125);
    EXPECT_EQ(graph->type[0], 4);
    EXPECT_EQ(graph->freq[last], 9000);
    EXPECT_EQ(graph->type[last], 5);
    EXPECT_EQ(graph->bandCount, last - 1);
    EXPECT_EQ(graph->selected, -1);
    EXPECT_FALSE(graph->BlinkArmed());

    // Back on the music page the graph shows the music bands again.
    dialog->OnTabSelChange(0);
    EXPECT_EQ(graph->bandCount, dialog->WaveAt(0)->GetBandCount() - 2);
    CurveRecord music;
    dialog->WaveAt(0)->CopyCurve(music);
    EXPECT_EQ(graph->freq[0], music.freq[0]);
    EXPECT_EQ(graph->type[0], music.type[0]);
}

TEST_F(MainWindow, EveryTabedPageHasItsWaveAndTheSetUpPageNone) {
    Start();
    const int bands[] = {9, 17, 5, 7, 5, 5, 5};
    for (int i = 0; i < 7; ++i) {
        ASSERT_NE(dialog->WaveAt(i), nullptr) << i;
        EXPECT_EQ(dialog->WaveAt(i)->GetBandCount(), bands[i]) << i;
    }
    EXPECT_EQ(dialog->WaveAt(7), nullptr);
    EXPECT_NE(dialog->SetUpPage(), nullptr);
}

TEST_F(MainWindow, EnterAndEscLeaveTheWindowOpen) {
    Start();
    dialog->show();
    for (QWidget* target : {static_cast<QWidget*>(dialog.get()),
                            static_cast<QWidget*>(Control<QComboBox>(kIdPresetCombo)), dialog->Client()}) {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &press);
            QCoreApplication::processEvents();
            EXPECT_TRUE(dialog->isVisible()) << key;
        }
    }
}

}  // namespace
