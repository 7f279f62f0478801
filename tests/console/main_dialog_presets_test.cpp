#include "console/frame_build.h"
#include "console/master_index.h"
#include "controls/notices.h"
#include "controls/slider.h"
#include "tests/console/support.h"
#include "console/vol_limit_ids.h"

using namespace console;
using testbytes::Bytes;
using testbytes::FromHex;

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

class MainWindowCommands : public WindowTest {
  protected:
    void SetUp() override {
        Start("[Config]\nLanguage=1\n",
              [](CVelmor_Zem_R7Dlg::Options& o) { o.firstConnectDelayMs = 1000000; });
        dialog->SetWaitTiming({1});
        dialog->SetUpPage()->Queue().Stop();  // frames stay in the queue where the test reads them
        dialog->installEventFilter(&posts);
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (dynamic_cast<PageWait*>(QApplication::activeModalWidget())) waitSeen = true;
        });
        watch.start(0);
    }
    void TearDown() override {
        watch.stop();
        WindowTest::TearDown();
    }
    // Frames queued after the first `before`, heartbeats left out.
    std::vector<Bytes> Since(std::size_t before) {
        std::vector<Bytes> out;
        const std::vector<Bytes> all = dialog->SetUpPage()->Queue().Pending();
        for (std::size_t i = before; i < all.size(); ++i)
            if (all[i] != testbytes::kHeartbeat) out.push_back(all[i]);
        return out;
    }
    std::size_t QueuedCount() { return dialog->SetUpPage()->Queue().Pending().size(); }
    // Lets the pending master-volume sends go now.
    void FireMasterTimers() {
        for (int i = 0; i < master::kCount; ++i) dialog->OnTimer(timer::Id(notice::kMasterVolume, i));
    }
    bool MasterArmed(int k) { return dialog->Timers().IsSet(timer::Id(notice::kMasterVolume, k)); }
    QAction* OperationItem() { return dialog->MenuBar()->actions()[2]->menu()->actions()[0]; }

    win::ScriptedMessageBoxes boxes;
    PostCounter posts;
    QTimer watch;
    bool waitSeen = false;
};

TEST_F(MainWindowCommands, PresetBarAsksThenQueuesAndRecallsWaitAndReconnect) {
    // clang-format off
    // selection -1: nothing selected
    const struct { int selection; bool load, frameMode; const char *question, *hex; } cases[] = {
        {15, false, false, "Save Effect to Group16?", "A5 06 F9 03 FD A4"},
        {0, true, false, "Load Effect to Group1?", "A5 06 F9 03 15 BC"},
        {-1, true, false, "Load Effect From Factory Settings?", "A5 06 F9 03 05 AC"},
        {2, false, true, "Save Effect to Group3?", "A5 09 F1 F0 70 03 00 00 02"},
        // clang-format on
    };
    for (const auto& c : cases) {
        for (bool answerOk : {false, true}) {
            SCOPED_TRACE(std::string(c.question) + (answerOk ? " OK" : " Cancel"));
            boxes.shown.clear();
            boxes.answers = {answerOk ? win::kIdOk : win::kIdCancel};
            waitSeen = false;
            posts.posts = 0;
            dialog->SetUpPage()->Link().frameMode = c.frameMode ? 1 : 0;
            Control<QComboBox>(kIdPresetCombo)->setCurrentIndex(c.selection);
            const std::size_t before = QueuedCount();
            Control<QPushButton>(c.load ? kIdLoad : kIdSave)->click();
            QCoreApplication::processEvents();
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.question));
            EXPECT_EQ(boxes.shown[0].caption, "Yes/No");
            EXPECT_EQ(boxes.shown[0].type & 0x0F, win::kMbOkCancel) << "the question offers OK and Cancel";
            EXPECT_EQ(Since(before), answerOk ? std::vector<Bytes>{FromHex(c.hex)} : std::vector<Bytes>{});
            const bool recalled = answerOk && c.load;
            EXPECT_EQ(waitSeen, recalled) << "only a recall waits";
            EXPECT_EQ(posts.posts, recalled ? 1 : 0) << "only a recall reconnects";
        }
    }
    // The group menu commands reach their group.
    const std::size_t before = QueuedCount();
    boxes.shown.clear();
    boxes.answers = {win::kIdCancel, win::kIdCancel};
    for (int command : {SaveGroupCommand(13), LoadGroupCommand(16)}) dialog->OnCommand(command);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Save Effect to Group13?") << "the save command of group 13";
    EXPECT_EQ(boxes.shown[1].text, "Load Effect to Group16?") << "the load command of group 16";
    EXPECT_EQ(QueuedCount(), before);

    // A factory reset asks nothing, queues at once, waits and reconnects.
    boxes.shown.clear();
    waitSeen = false;
    posts.posts = 0;
    dialog->OnCommand(kCmdResetFactory);
    QCoreApplication::processEvents();
    EXPECT_EQ(Since(before), std::vector<Bytes>{FromHex("A5 06 F9 03 0F B6")});
    EXPECT_EQ(boxes.shown.size(), 0u) << "a factory reset asks nothing";
    EXPECT_TRUE(waitSeen) << "a factory reset waits";
    EXPECT_EQ(posts.posts, 1) << "a factory reset reconnects";
}

TEST_F(MainWindowCommands, EachMasterSliderHasItsOwnPendingSend) {
    FireMasterTimers();
    Control<QSlider>(kIdMicSlider)->setSliderPosition(30);
    EXPECT_EQ(Text(kIdMicValue), "30");
    EXPECT_TRUE(MasterArmed(master::kMic)) << "the first move arms the microphone's send";
    Control<QSlider>(kIdMusicSlider)->setSliderPosition(20);
    EXPECT_EQ(Text(kIdMusicValue), "20");
    EXPECT_TRUE(MasterArmed(master::kMusic)) << "another slider moved meanwhile arms its own send";
    EXPECT_FALSE(MasterArmed(master::kEffect));
    // A drag's further moves arm nothing until the slider's send has gone.
    dialog->OnTimer(timer::Id(notice::kMasterVolume, master::kMusic));
    const std::size_t before = QueuedCount();
    Control<QSlider>(kIdMicSlider)->setSliderPosition(31);
    dialog->OnTimer(timer::Id(notice::kMasterVolume, master::kCount));  // no such slider
    EXPECT_EQ(QueuedCount(), before);
    dialog->OnTimer(timer::Id(notice::kMasterVolume, master::kMic));
    std::vector<Bytes> sent = Since(before);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], testbytes::Of(frames::MasterVolume(master::kMic, 31)))
        << "the position at the time it goes";
    EXPECT_FALSE(dialog->MasterPending(master::kMic));
    Control<QSlider>(kIdMusicSlider)->setSliderPosition(21);  // its send has gone: the next move arms again
    EXPECT_TRUE(MasterArmed(master::kMusic));
    dialog->OnTimer(timer::Id(notice::kMasterVolume, master::kMusic));  // the music send goes
    Control<controls::Slider>(kIdEffectSlider)->SetPosSilently(10);  // positions set from code arm nothing
    EXPECT_FALSE(MasterArmed(master::kEffect));
}

// Notes, for every box shown, whether an import's wait was still counting then.
class BoxesWatchingTheWait : public win::ScriptedMessageBoxes {
  public:
    explicit BoxesWatchingTheWait(QWidget* window) : window_(window) {}
    int Show(QWidget* parent, const win::MessageBoxShown& box) override {
        const PageWait* wait = window_->findChild<PageWait*>();
        waitVisible.push_back(wait && wait->isVisible());
        return ScriptedMessageBoxes::Show(parent, box);
    }
    std::vector<bool> waitVisible;

  private:
    QWidget* window_;
};

TEST_F(MainWindowCommands, AFailedImportStopsItsWaitBeforeItsBox) {
    BoxesWatchingTheWait watching(dialog.get());
    win::ScriptedFileDialogs files;
    files.answers.push_back(QString("no_such_preset_file.inf"));
    dialog->OnCommand(kCmdImport);
    ASSERT_EQ(watching.shown.size(), 1u);
    EXPECT_EQ(watching.shown[0].text, "Read File Fail");
    EXPECT_FALSE(watching.waitVisible[0]) << "the wait counted on behind its own error box";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog->findChild<PageWait*>(), nullptr);
}

// Runs the volume-limit dialog, moves its sliders as a user would and answers it.
void AnswerVolumeLimit(std::vector<std::pair<int, int>> moves, bool ok) {
    WhenModal<CVolLimit>([moves, ok](CVolLimit* d) {
        for (const auto& [id, pos] : moves) d->SliderById(id)->setSliderPosition(pos);
        win::FindControlAs<QPushButton>(d, ok ? volid::kOk : volid::kCancel)->click();
    });
}

TEST_F(MainWindowCommands, VolumeLimitOkClampsSendsAndStoresCancelDoesNothing) {
    AnswerVolumeLimit({{volid::kMusicEndSlider, 40}}, false);
    dialog->OnCommand(kCmdVolumeLimit);
    EXPECT_EQ(QueuedCount(), 0u) << "Cancel sent a frame";
    EXPECT_EQ(dialog->StoredVolumeLimits().musicEnd, 84) << "Cancel stored a limit";
    EXPECT_EQ(ReadBytes(config), "[Config]\nLanguage=1\n") << "Cancel wrote config.ini";

    auto* music = Control<QSlider>(kIdMusicSlider);
    music->setSliderPosition(70);
    FireMasterTimers();
    std::size_t before = QueuedCount();
    AnswerVolumeLimit({{volid::kMusicEndSlider, 40}, {volid::kMicStartSlider, 12}}, true);  // music end 40 (the slider at 70 drops), mic start 12
    dialog->OnCommand(kCmdVolumeLimit);
    EXPECT_EQ(Since(before), std::vector<Bytes>{FromHex("A5 0B F1 1C 0C 54 00 28 00 46 8B")});
    EXPECT_EQ(music->value(), 40) << "the music slider drops to its new end";
    EXPECT_EQ(music->maximum(), 40);
    EXPECT_EQ(Control<QSlider>(kIdMicSlider)->maximum(), 84);
    EXPECT_EQ(Text(kIdMusicValue), "40") << "the label is not the slider";
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(MasterArmed(k)) << "master " << k << " not sent again";
    EXPECT_EQ(dialog->StoredVolumeLimits().musicEnd, 40);
    EXPECT_EQ(dialog->StoredVolumeLimits().micStart, 12);
    EXPECT_EQ(ReadBytes(config),
              "[Config]\nLanguage=1\nmusicstartvol=0\nmusicendvol=40\nmicstartvol=12\nmicendvol=84\n"
              "effectstartvol=0\neffectendvol=70\n");

    // Nothing above its new end: only the limit frame, no master timers.
    FireMasterTimers();
    before = QueuedCount();
    AnswerVolumeLimit({{volid::kEffectEndSlider, 69}}, true);
    dialog->OnCommand(kCmdVolumeLimit);
    EXPECT_EQ(Since(before), std::vector<Bytes>{FromHex("A5 0B F1 1C 0C 54 00 28 00 45 8A")});
    EXPECT_EQ(Control<QSlider>(kIdEffectSlider)->maximum(), 69);
    for (int k = 0; k < master::kCount; ++k) EXPECT_FALSE(MasterArmed(k)) << "master " << k << " armed";
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
    // clang-format off
    // password null: no dialog expected; via the menu item, which carries the lock command once it says "Unlock"
    const struct { const char* name; const char* password; bool viaItem; int locked; const char *item, *box; } steps[] = {
        {"the first run asks although nothing is locked yet", "kavunPL", false, 0, "Lock(&L)", nullptr},
        {"lock", nullptr, false, 1, "Unlock(&L)", nullptr},
        {"unlock with the wrong case refused", "KAVUNpl", true, 1, "Unlock(&L)", "Password Error"},
        {"unlock", "kavunPL", true, 0, "Lock(&L)", nullptr},
        {"lock again", nullptr, false, 1, "Unlock(&L)", nullptr},
    };
    // clang-format on
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        boxes.shown.clear();
        if (s.password) AnswerPassword(s.password);
        s.viaItem ? OperationItem()->trigger() : dialog->OnCommand(kCmdLock);
        EXPECT_EQ(dialog->Locked(), s.locked != 0) << "locked";
        EXPECT_EQ(OperationItem()->text(), s.item) << "the menu item";
        ASSERT_EQ(boxes.shown.size(), s.box ? 1u : 0u);
        for (const auto& box : boxes.shown) EXPECT_EQ(box.text, s.box);
        for (int id : {kIdMicSlider, kIdEffectSlider, kIdMusicSlider})
            EXPECT_EQ(Control<QSlider>(id)->isEnabled(), s.locked == 0) << id;
    }
    // A language switch brings back the menu's own item and keeps the sliders as they are.
    dialog->OnCommand(kCmdChinese);
    EXPECT_NE(OperationItem()->text(), "解锁(&L)");
    EXPECT_FALSE(Control<QSlider>(kIdMicSlider)->isEnabled()) << "a language switch unlocked the sliders";
    QString caption;
    WhenModal<CDialogPW>([&caption](CDialogPW* d) {
        caption = d->windowTitle();
        d->reject();
    });
    dialog->OnCommand(kCmdLock);
    EXPECT_EQ(caption, "请输入密码");
    EXPECT_TRUE(dialog->Locked()) << "a cancelled password unlocked the panel";
    EXPECT_FALSE(Control<QSlider>(kIdMicSlider)->isEnabled());
}

}  // namespace
