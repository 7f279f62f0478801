#pragma once
// The main window: master sliders, preset bar, status lamp, tab strip with the seven channel pages,
// the equaliser graph and the EQ buttons. Its behaviour is split over files by concern:
//   main_dialog.cpp            start-up, the page list, closing and keys, teardown
//   main_dialog_layout.cpp     controls at their places, page layout, tab switching, resizing
//   main_dialog_page_area.cpp  the page area's scroll bars and bringing a control into view
//   main_dialog_language.cpp   the language switch, menus, texts and the status lamp
//   main_dialog_events.cpp     menu commands
//   main_dialog_notices.cpp    change notices from the pages and the graph, debounce timers
//   main_dialog_timers.cpp     timer dispatch, the frames of settled changes, sync, heartbeat
//   main_dialog_master.cpp     master volumes and volume limits
//   main_dialog_reply.cpp      read-back answers (the pages' part: reply_apply.cpp)
//   main_dialog_connect.cpp    the connect request
//   main_dialog_presets.cpp    device presets, factory reset, the wait before a reconnect
//   main_dialog_lock.cpp       panel lock
//   main_dialog_file.cpp       the preset file's Export and Import
//   main_dialog_update.cpp     firmware update

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "console/channel_pages.h"
#include "console/console_config.h"
#include "console/master_index.h"
#include "console/page_wait.h"
#include "link/frame.h"
#include "platform/ui/qt_translation.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"

class QComboBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QScrollBar;
class QSlider;
class QTabBar;
class IWave;
class Page;
class PageSetUp;

namespace chan {
class OutputPage;
}
namespace preset {
struct MainSections;
struct MainSectionValues;
}  // namespace preset

namespace console {
class MainClient;
class StatusLampButton;
}  // namespace console
namespace console::frames {
struct Mutes;
}
namespace controls {
class CGraphWave;
}

class CVelmor_Zem_R7Dlg : public QMainWindow, public win::MessageSink {
  public:
    struct Options {
        std::string configPath = console::kConfigPath;
        // Where standard output goes; empty keeps it where it is (tests).
        std::string logPath = "log.txt";
        // The first connect is asked for this long after start.
        int firstConnectDelayMs = 2000;
        // Change notices: how long a change waits for the next before its frame goes out.
        int debounceMs = 200;
        // Heartbeat and link watchdog period while connected.
        int heartbeatPeriodMs = 1000;
        // Tick of the connect dialog's state machine.
        int connectTickMs = 100;
        // Sees every frame on its way into the send queue (tests).
        std::function<void(const ZemCmd::Cmd&)> frameTap;
    };

    CVelmor_Zem_R7Dlg();
    explicit CVelmor_Zem_R7Dlg(Options options);
    ~CVelmor_Zem_R7Dlg() override;

    // Builds and lays out everything; runs once, before the window is shown.
    bool OnInitDialog();

    void SetLanguage(int language);
    void OnTabSelChange(int selection);
    // The six master volume limits the master sliders and the volume-limit dialog use.
    void StoreVolumeLimits(const console::VolumeLimits& limits);
    void OnTimer(std::uint32_t id);
    void OnCommand(int id);
    void OnConnect();
    void OnExit();
    void OnAbout();

    // Preset file (import and export)
    void OnFileExport();
    void OnFileImport();
    // The whole preset file's text as the console stands.
    std::string BuildPresetText() const;
    // Puts a preset file's lines into the controls and pages; sends nothing.
    void ApplyPresetLines(const std::vector<std::string>& lines);

    // Firmware update
    void OnDspUpdate();
    win::LRESULT OnMessage(unsigned msg, win::WPARAM wParam, win::LPARAM lParam, QWidget* from) override;

    // The page at a pageindex::Index; null outside them.
    QWidget* PageAt(int index) const;
    // The pages by kind.
    console::ChannelPages Pages() const { return console::ChannelPages(m_pages); }
    IWave* WaveAt(int index) const;
    PageSetUp* SetUpPage() const { return m_pageSetUp; }
    QWidget* Client() const;
    // The part of the page area that shows the current page (client coordinates), and bringing a
    // control of that page into it.
    QRect PageView() const { return m_pageView; }
    void ScrollPageTo(QWidget* control);
    controls::CGraphWave* Graph() const { return m_graph; }
    QTabBar* TabStrip() const { return m_tab; }
    const win::WindowTimers& Timers() const { return m_timers; }

    // Change notices, debounce timers and frame building
    void SyncAllToDevice();
    void ArmMasterVolumeTimers();
    void OnEqReset();
    void OnEqPass();
    void OnCommand32789();
    // Every frame of the main window goes to the device through here.
    void SendFrame(const ZemCmd::Cmd& frame);

    // Heartbeat and link watchdog
    void StartHeartbeat();
    void StopHeartbeat();

    // Read-back answers and the connect request
    // Puts one read-back answer (one byte per word) into the controls without notifying anyone;
    // 1 when taken, 0 when not an answer or of an unknown kind.
    int ApplyReply(const std::uint32_t* answer);

    // State the tests look at.
    // The six master volume limits as stored.
    console::VolumeLimits StoredVolumeLimits() const;
    // The mute byte as last sent or read back.
    int LastMuteMask() const { return m_lastMuteMask; }
    // Heartbeats left before silence counts as a lost link.
    int LinkWatchdog() const { return m_linkWatchdog; }
    // A master slider's move waits for its timer; `index` is a console::master::Index.
    bool MasterPending(int index) const { return m_masterPending.at(static_cast<std::size_t>(index)); }
    bool Locked() const { return m_locked != 0; }
    bool LayoutReady() const { return m_layoutReady == kLayoutReady; }
    QMenuBar* MenuBar() const { return m_pMenu; }
    // Layout rectangles of the template, before any resize (client coordinates).
    QRect InitClientRect() const { return m_initClientRect; }
    QRect PageRect() const { return m_pageRect; }
    QRect GraphRect() const { return m_graphRect; }
    QRect EqPassRect() const { return m_eqPassRect; }
    QRect EqResetRect() const { return m_eqResetRect; }
    // How long the device-preset and import waits last (tests shorten them).
    void SetWaitTiming(const PageWait::Timing& timing) { m_waitTiming = timing; }

    int Language() const { return m_language; }
    bool Connected() const { return m_connected != 0; }
    // Tests fake a live link and a language without a processor or the menus; nothing else moves.
    void SetConnectedForTests(bool connected) { m_connected = connected ? 1 : 0; }
    void SetLanguageForTests(int language) { m_language = language; }

    // Master volumes and volume limits
    void OnHScroll(QSlider* slider);
    void OnVolumeLimit();
    QSlider* MasterSlider(int index) const;

    // Device presets, factory reset and the wait before a reconnect
    void OnSaveGroup(int group);
    void OnLoadGroup(int group);
    void OnSavePreset();
    void OnLoadPreset();
    void OnResetFactory();
    void WaitThenReconnect();
    // The group commands; false for any other command.
    bool OnGroupCommand(int id);

    // Panel lock
    void OnLock();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class console::MainClient;

    int m_language = 0;
    std::uint8_t m_connected = 0;
    // Qt's own texts (file dialogs, box buttons) follow the console's language.
    win::QtTranslation m_qtTranslation;

    void CreateControls();
    void CreatePages();
    void FitTopRow();
    void FitEqButtons();
    void LayoutPages();
    // Pixels the widest page's shown controls reach past the page's right edge (0 when all fit).
    int PageOverflow() const;
    // Client width that shows every page whole, within what the screen offers.
    int StartClientWidth() const;
    void SetUpMasterSliders();
    void ShowPageCurve(int index);
    void OnSize();
    // Places the pages, their scroll bars and the graph's top for the current size and page.
    void LayoutPageArea();
    void CreatePageScrollBars();
    QWidget* ShownPage() const;
    void BuildMenu(int language);
    void SetStatusLamp();
    void Teardown();
    void WireMasterSliders();
    void WirePresetButtons();

    // Change notices, debounce timers and frame building
    // Notices carry the page that sent them (the graph's: the page shown).
    int NoticePage(const QWidget* from) const;
    win::LRESULT OnNotice(unsigned msg, win::WPARAM wParam, win::LPARAM lParam, int page);
    void Rearm(std::uint32_t id, int milliseconds);
    void Rearm(std::uint32_t id);
    int CurrentPage() const;
    bool Shown(int page) const;
    Page* ChannelPage(int index) const;
    void SelectOnGraph(int band);
    void OnBandQ(int page, int band, int qTenths);
    void OnBandFreqGain(int page, win::WPARAM wParam, win::LPARAM lParam);
    void OnBandGain(int page, int band, int gainTenths);
    void OnBandQValue(int page, int band, int qTenths);
    void OnBandType(int page, int band, int type);
    void OnBandFreq(int page, int band, int freq);
    void OnBandTypeFreq(int page, int freq, win::LPARAM lParam);
    void OnBandSelect(int page, int band);
    void OnEchoHighPassChanged();
    void OnEchoLowPassChanged();
    void OnCrossoverChanged();
    void SendBandNowOrLater(int page, int band);
    void SendTimerFrames(std::uint32_t id);
    void SendMasterVolume(int index);
    void SendBand(int page, int band, bool followUp);
    void SendBandFrame(const ZemCmd::EqFrame& frame);
    void SendPeakingBands(int page);
    void SendLimiter(int page);
    void SendMutes();
    void SendAllMutes();
    void SendMuteActions(const console::frames::Mutes& mutes, const std::vector<std::uint8_t>& actions);
    void SendMusicInput();
    void SendPathFilter(std::uint32_t key);
    int EffectPreDelay(bool echoPath) const;
    console::frames::Mutes OutputMutes() const;
    std::array<int, 6> OutputLevels(int sliderId) const;
    std::array<int, 6> OutputDelays() const;

    // Heartbeat and link watchdog
    void OnHeartbeat();

    // Read-back answers (main_dialog_reply.cpp)
    void ApplyMaster(QSlider* slider, QLabel* label, int pos);
    void ApplyStatus(const std::uint32_t* answer);

    // Preset file (import and export)
    chan::OutputPage* OutputPageAt(int output) const;
    preset::MainSections CollectMainSections() const;
    void ApplyMainSections(const preset::MainSectionValues& values);
    void StartImportWait();
    QPointer<PageWait> m_importWait;

    // The value m_layoutReady takes once the controls are laid out.
    static constexpr int kLayoutReady = 170;

    bool m_connecting = false;  // a connect dialog runs
    QIcon m_hIcon;
    int m_linkWatchdog = 0;
    int m_lastMuteMask = 0;
    // One pending master-volume send per master slider (0 microphone, 1 effect, 2 music).
    std::array<bool, console::master::kCount> m_masterPending{};
    QRect m_pageRect;
    QRect m_graphRect;
    int m_layoutReady = 0;
    int m_musicStartVol = 0;
    int m_musicEndVol = console::kMusicMaxVol;
    int m_micStartVol = 0;
    int m_micEndVol = console::kMicMaxVol;
    int m_effectStartVol = 0;
    int m_effectEndVol = console::kEffectMaxVol;
    console::PageArray m_pages{};
    QMenuBar* m_pMenu = nullptr;
    std::uint8_t m_locked = 1;
    QRect m_initClientRect;
    QRect m_eqPassRect;
    QRect m_eqResetRect;
    PageWait::Timing m_waitTiming;

    Options m_options;
    console::MainClient* m_client = nullptr;
    win::WindowTimers m_timers;
    bool m_tornDown = false;

    PageSetUp* m_pageSetUp = nullptr;
    QSlider* m_micSlider = nullptr;
    QSlider* m_effectSlider = nullptr;
    QSlider* m_musicSlider = nullptr;
    QLabel* m_micValue = nullptr;
    QLabel* m_effectValue = nullptr;
    QLabel* m_musicValue = nullptr;
    QTabBar* m_tab = nullptr;
    QScrollBar* m_pageHBar = nullptr;
    QScrollBar* m_pageVBar = nullptr;
    QRect m_pageView;
    QMetaObject::Connection m_focusWatch;  // scrolls a focused control into view
    controls::CGraphWave* m_graph = nullptr;
    QComboBox* m_presetCombo = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_load = nullptr;
    console::StatusLampButton* m_statusLamp = nullptr;
    QPushButton* m_eqReset = nullptr;
    QPushButton* m_eqPass = nullptr;
};
