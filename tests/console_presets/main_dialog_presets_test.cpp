#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "console/control_ids.h"
#include "console/dialog_pw.h"
#include "console/main_dialog.h"
#include "console/page_wait.h"
#include "console/timer_ids.h"
#include "console/vol_limit.h"
#include "controls/slider.h"
#include "link/ui/page_setup.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"
#include "test_app.h"

using namespace console;
using Frame = std::vector<std::uint8_t>;

namespace {

// Counts (and swallows) the queued calls that reach the main window: the reconnect request is one.
class PostCounter : public QObject {
  public:
    int posts = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MetaCall) return false;
        ++posts;
        return true;
    }
};

class MainWindowCommands : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        std::remove(config.c_str());
        std::ofstream(config, std::ios::binary) << "[Config]\nLanguage=1\n";
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = config;
        options.logPath.clear();
        options.firstConnectDelayMs = 1000000;
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
        dialog->m_waitTiming = {1, 0};
        // Frames stay in the queue where the test reads them.
        dialog->SetUpPage()->Queue().Stop();
        dialog->installEventFilter(&posts);
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (dynamic_cast<PageWait*>(QApplication::activeModalWidget())) waitSeen = true;
        });
        watch.start(0);
    }
    void TearDown() override {
        watch.stop();
        dialog.reset();
        std::remove(config.c_str());
    }
    std::vector<Frame> Queued() { return dialog->SetUpPage()->Queue().Pending(); }
    // Frames queued after the first `before`, heartbeats left out.
    std::vector<Frame> Since(std::size_t before) {
        const Frame heartbeat{0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
        std::vector<Frame> out;
        const std::vector<Frame> all = Queued();
        for (std::size_t i = before; i < all.size(); ++i)
            if (all[i] != heartbeat) out.push_back(all[i]);
        return out;
    }
    // Lets the pending master-volume sends go now.
    void FireMasterTimers() {
        for (int i = 0; i < 3; ++i) dialog->OnTimer(timer::Id(timer::kMasterVolume, i));
        dialog->m_masterPending = false;
    }
    void Settle() { QCoreApplication::processEvents(); }
    template <class T>
    T* Control(int id) {
        return win::FindControlAs<T>(dialog->Client(), id);
    }
    QString ReadConfig() {
        std::stringstream s;
        s << std::ifstream(config, std::ios::binary).rdbuf();
        return QString::fromStdString(s.str());
    }
    QAction* OperationItem() { return dialog->m_pMenu->actions()[2]->menu()->actions()[0]; }

    std::string config = "presets_test_config.ini";
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    win::ScriptedMessageBoxes boxes;
    PostCounter posts;
    QTimer watch;
    bool waitSeen = false;
};

struct BarCase {
    int selection;  // -1: nothing selected
    bool load;
    bool frameMode;
    const char* question;
    Frame frame;
};

TEST_F(MainWindowCommands, PresetBarAsksThenQueuesAndRecallsWaitAndReconnect) {
    const BarCase cases[] = {
        {15, false, false, "Save Effect to Group16?", {0xA5, 0x06, 0xF9, 0x03, 0xFD, 0xA4}},
        {0, true, false, "Load Effect to Group1?", {0xA5, 0x06, 0xF9, 0x03, 0x15, 0xBC}},
        {-1, false, false, "Save Effect to Factory Settings?", {0xA5, 0x06, 0xF9, 0x03, 0x01, 0xA8}},
        {-1, true, false, "Load Effect From Factory Settings?", {0xA5, 0x06, 0xF9, 0x03, 0x05, 0xAC}},
        {2, false, true, "Save Effect to Group3?", {0xA5, 0x09, 0xF1, 0xF0, 0x70, 0x03, 0, 0, 0x02}},
        {15, true, true, "Load Effect to Group16?", {0xA5, 0x09, 0xF1, 0xF0, 0x74, 0x10, 0, 0, 0x13}},
    };
    for (const BarCase& c : cases) {
        SCOPED_TRACE(c.question);
        for (bool answerOk : {false, true}) {
            boxes.shown.clear();
            boxes.answers = {answerOk ? win::kIdOk : win::kIdCancel};
            waitSeen = false;
            posts.posts = 0;
            dialog->SetUpPage()->Link().frameMode = c.frameMode ? 1 : 0;
            Control<QComboBox>(kIdPresetCombo)->setCurrentIndex(c.selection);
            const std::size_t before = Queued().size();
            Control<QPushButton>(c.load ? kIdLoad : kIdSave)->click();
            Settle();
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.question));
            EXPECT_EQ(boxes.shown[0].caption, "Yes/No");
            EXPECT_EQ(boxes.shown[0].type & 0x0F, win::kMbOkCancel);
            const std::vector<Frame> queued = Queued();
            if (!answerOk) {
                EXPECT_EQ(queued.size(), before);
                EXPECT_FALSE(waitSeen);
                EXPECT_EQ(posts.posts, 0);
                continue;
            }
            ASSERT_EQ(queued.size(), before + 1);
            EXPECT_EQ(queued.back(), c.frame);
            EXPECT_EQ(waitSeen, c.load);
            EXPECT_EQ(posts.posts, c.load ? 1 : 0);
        }
    }
}

TEST_F(MainWindowCommands, GroupCommandsReachTheirGroup) {
    const struct {
        int command;
        const char* question;
    } rows[] = {{32826, "Save Effect to Group13?"},
                {32807, "Save Effect to Group14?"},
                {32859, "Load Effect to Group16?"}};
    for (const auto& r : rows) {
        boxes.shown.clear();
        boxes.answers = {win::kIdCancel};
        dialog->OnCommand(r.command);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, r.question);
    }
    EXPECT_TRUE(Queued().empty());
}

TEST_F(MainWindowCommands, FactoryResetQueuesAtOnceWaitsAndReconnects) {
    dialog->OnCommand(kCmdResetFactory);
    Settle();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(Queued(), (std::vector<Frame>{{0xA5, 0x06, 0xF9, 0x03, 0x0F, 0xB6}}));
    EXPECT_TRUE(waitSeen);
    EXPECT_EQ(posts.posts, 1);
}

TEST_F(MainWindowCommands, MasterSlidersShareOnePendingSend) {
    auto* mic = Control<QSlider>(kIdMicSlider);
    auto* music = Control<QSlider>(kIdMusicSlider);
    FireMasterTimers();
    mic->setSliderPosition(30);
    EXPECT_EQ(Control<QLabel>(kIdMicValue)->text(), "30");
    EXPECT_TRUE(dialog->Timers().IsSet(timer::Id(timer::kMasterVolume, 0)));
    EXPECT_TRUE(dialog->m_masterPending);
    music->setSliderPosition(20);
    EXPECT_EQ(Control<QLabel>(kIdMusicValue)->text(), "20");
    EXPECT_FALSE(dialog->Timers().IsSet(timer::Id(timer::kMasterVolume, 2)));
    // Only the microphone's level goes out, with the position the slider holds then.
    const std::size_t before = Queued().size();
    dialog->OnTimer(timer::Id(timer::kMasterVolume, 0));
    const std::vector<Frame> sent = Since(before);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][3], 0x0F);
    EXPECT_EQ(sent[0][4], 2);
    EXPECT_EQ(sent[0][5] & 0x80, 0);
    EXPECT_FALSE(dialog->m_masterPending);
    // Once the pending send has gone, the next move arms again.
    music->setSliderPosition(21);
    EXPECT_TRUE(dialog->Timers().IsSet(timer::Id(timer::kMasterVolume, 2)));
    // Positions set from code arm nothing.
    dialog->m_masterPending = false;
    Control<controls::Slider>(kIdEffectSlider)->SetPosSilently(10);
    EXPECT_FALSE(dialog->Timers().IsSet(timer::Id(timer::kMasterVolume, 1)));
}

// Runs the volume-limit dialog, moves its sliders as a user would and answers it.
void AnswerVolumeLimit(std::vector<std::pair<int, int>> moves, bool ok) {
    WhenModal<CVolLimit>([moves, ok](CVolLimit* d) {
        for (const auto& [id, pos] : moves) d->SliderById(id)->setSliderPosition(pos);
        win::FindControlAs<QPushButton>(d, ok ? 1 : 2)->click();
    });
}

TEST_F(MainWindowCommands, VolumeLimitCancelChangesNothing) {
    AnswerVolumeLimit({{1004, 40}}, false);
    dialog->OnCommand(kCmdVolumeLimit);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(dialog->m_musicEndVol, 84);
    EXPECT_EQ(ReadConfig(), "[Config]\nLanguage=1\n");
}

TEST_F(MainWindowCommands, VolumeLimitOkClampsSendsAndStores) {
    auto* music = Control<QSlider>(kIdMusicSlider);
    music->setSliderPosition(70);
    FireMasterTimers();
    std::size_t before = Queued().size();

    // music end 40, mic start 12 (music slider at 70 must drop to 40)
    AnswerVolumeLimit({{1004, 40}, {1003, 12}}, true);
    dialog->OnCommand(kCmdVolumeLimit);
    EXPECT_EQ(Since(before), (std::vector<Frame>{{0xA5, 0x0B, 0xF1, 0x1C, 12, 84, 0, 40, 0, 70, 0x8B}}));
    EXPECT_EQ(music->value(), 40);
    EXPECT_EQ(music->maximum(), 40);
    EXPECT_EQ(Control<QLabel>(kIdMusicValue)->text(), "40");
    EXPECT_EQ(Control<QSlider>(kIdMicSlider)->maximum(), 84);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(dialog->Timers().IsSet(timer::Id(timer::kMasterVolume, i))) << i;
    EXPECT_EQ(dialog->m_musicEndVol, 40);
    EXPECT_EQ(dialog->m_micStartVol, 12);
    EXPECT_EQ(ReadConfig(),
              "[Config]\nLanguage=1\nmusicstartvol=0\nmusicendvol=40\nmicstartvol=12\nmicendvol=84\n"
              "effectstartvol=0\neffectendvol=70\n");

    // Nothing above its new end: only the limit frame, no master timers.
    FireMasterTimers();
    before = Queued().size();
    AnswerVolumeLimit({{1006, 69}}, true);
    dialog->OnCommand(kCmdVolumeLimit);
    const std::vector<Frame> sent = Since(before);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][3], 0x1C);
    EXPECT_EQ(sent[0][9], 69);
    EXPECT_EQ(Control<QSlider>(kIdEffectSlider)->maximum(), 69);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(dialog->Timers().IsSet(timer::Id(timer::kMasterVolume, i)));
}

// Answers the password dialog with the password typed twice.
void AnswerPassword(const QString& password) {
    WhenModal<CDialogPW>([password](CDialogPW* d) {
        d->PasswordEdit()->setText(password);
        d->RepeatEdit()->setText(password);
        d->OkButton()->click();
    });
}

TEST_F(MainWindowCommands, LockAndUnlockWithThePassword) {
    const int sliders[] = {kIdMicSlider, kIdEffectSlider, kIdMusicSlider};
    auto enabled = [&](bool on) {
        for (int id : sliders) EXPECT_EQ(Control<QSlider>(id)->isEnabled(), on) << id;
    };
    enabled(true);
    // The first run asks for the password although nothing is locked yet.
    AnswerPassword("kavunPL");
    dialog->OnCommand(kCmdLock);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(dialog->m_locked, 0);
    EXPECT_EQ(OperationItem()->text(), "Lock(&L)");
    enabled(true);

    dialog->OnCommand(kCmdLock);
    EXPECT_EQ(dialog->m_locked, 1);
    EXPECT_EQ(OperationItem()->text(), "Unlock(&L)");
    enabled(false);

    AnswerPassword("KAVUNpl");
    OperationItem()->trigger();  // the item now carries the lock command
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Password Error");
    EXPECT_EQ(dialog->m_locked, 1);
    enabled(false);

    AnswerPassword("kavunPL");
    OperationItem()->trigger();
    EXPECT_EQ(dialog->m_locked, 0);
    enabled(true);

    // A language switch brings back the menu's own item and keeps the sliders as they are.
    dialog->OnCommand(kCmdLock);
    dialog->OnCommand(kCmdChinese);
    EXPECT_NE(OperationItem()->text(), "解锁(&L)");
    enabled(false);
    QString caption;
    WhenModal<CDialogPW>([&caption](CDialogPW* d) {
        caption = d->windowTitle();
        d->reject();
    });
    dialog->OnCommand(kCmdLock);
    EXPECT_EQ(caption, "请输入密码");
    EXPECT_EQ(dialog->m_locked, 1);
    enabled(false);
}

}  // namespace
