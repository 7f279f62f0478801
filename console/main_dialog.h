#pragma once
// The main window: master sliders, preset bar, status lamp, tab strip with the seven channel pages,
// the equaliser graph and the EQ buttons. Its behaviour is split over several files by concern:
// main_dialog.cpp (start-up and teardown), main_dialog_layout.cpp (layout, tabs, resizing),
// main_dialog_language.cpp (menus and texts), main_dialog_events.cpp (timers, messages, commands).

#include <QIcon>
#include <QMainWindow>
#include <QRect>
#include <array>
#include <cstdint>
#include <string>

#include "console/console_config.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"

class QComboBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QSlider;
class QTabBar;
class IWave;
class PageSetUp;

namespace console {
class MainClient;
class StatusLampButton;
}  // namespace console
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
    };

    CVelmor_Zem_R7Dlg();
    explicit CVelmor_Zem_R7Dlg(Options options);
    ~CVelmor_Zem_R7Dlg() override;

    // Builds and lays out everything; runs once, before the window is shown.
    bool OnInitDialog();

    void SetLanguage(int language);
    void OnTabSelChange(int selection);
    void OnTimer(std::uint32_t id);
    void OnCommand(int id);
    void OnConnect();
    void OnExit();
    void OnAbout();
    win::LRESULT OnMessage(unsigned msg, win::WPARAM wParam, win::LPARAM lParam, QWidget* from) override;

    // Page i in tab order (7 is the set-up page); null outside 0..7.
    QWidget* PageAt(int index) const;
    IWave* WaveAt(int index) const;
    PageSetUp* SetUpPage() const { return m_pageSetUp; }
    QWidget* Client() const;
    controls::CGraphWave* Graph() const { return m_graph; }
    QTabBar* TabStrip() const { return m_tab; }
    const win::WindowTimers& Timers() const { return m_timers; }

    QIcon m_hIcon;
    int m_linkWatchdog = 0;
    int m_lastMuteMask = 0;
    bool m_masterPending = false;
    QRect m_pageRect;
    QRect m_graphRect;
    int m_layoutReady = 0;
    int m_musicStartVol = 0;
    int m_musicEndVol = console::kMusicMaxVol;
    int m_micStartVol = 0;
    int m_micEndVol = console::kMicMaxVol;
    int m_effectStartVol = 0;
    int m_effectEndVol = console::kEffectMaxVol;
    std::array<QWidget*, 8> m_pages{};
    QMenuBar* m_pMenu = nullptr;
    std::uint8_t m_locked = 1;
    int m_language = 0;
    QRect m_initClientRect;
    QRect m_eqPassRect;
    QRect m_eqResetRect;
    std::uint8_t m_connected = 0;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class console::MainClient;

    void CreateControls();
    void CreatePages();
    void FitTopRow();
    void LayoutPages();
    void SetUpMasterSliders();
    void ShowPageCurve(int index);
    void OnSize();
    void BuildMenu(int language);
    void SetStatusLamp();
    void Teardown();

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
    controls::CGraphWave* m_graph = nullptr;
    QComboBox* m_presetCombo = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_load = nullptr;
    console::StatusLampButton* m_statusLamp = nullptr;
    QPushButton* m_eqReset = nullptr;
    QPushButton* m_eqPass = nullptr;
};
