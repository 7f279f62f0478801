#include "console/main_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>

#include "console/about_box.h"
#include "console/control_ids.h"
#include "console/images.h"
#include "console/language_tables.h"
#include "console/main_client.h"
#include "console/main_template.h"
#include "console/page_factory.h"
#include "console/status_lamp_button.h"
#include "controls/graph_wave.h"
#include "link/ui/page_setup.h"
#include "platform/lang.h"
#include "platform/log_redirect.h"

using namespace console;

CVelmor_Zem_R7Dlg::CVelmor_Zem_R7Dlg() : CVelmor_Zem_R7Dlg(Options{}) {}

CVelmor_Zem_R7Dlg::CVelmor_Zem_R7Dlg(Options options)
    : m_options(std::move(options)), m_timers([this](std::uint32_t id) { OnTimer(id); }) {
    setWindowTitle(QString::fromUtf8(WindowCaption()));
    m_client = new MainClient(this);
    setCentralWidget(m_client);
}

CVelmor_Zem_R7Dlg::~CVelmor_Zem_R7Dlg() {
    // Deleting a focused control moves the focus: no scrolling among pages being deleted.
    disconnect(m_focusWatch);
    Teardown();
    // The controls first, then the pages, the set-up page (the link's owner) before the channel pages.
    delete m_eqPass;
    delete m_eqReset;
    delete m_statusLamp;
    delete m_load;
    delete m_save;
    delete m_presetCombo;
    delete m_graph;
    delete m_tab;
    delete m_musicValue;
    delete m_effectValue;
    delete m_micValue;
    delete m_musicSlider;
    delete m_effectSlider;
    delete m_micSlider;
    for (int i : {7, 4, 5, 6, 3, 2, 0, 1}) {
        delete m_pages[static_cast<std::size_t>(i)];
        m_pages[static_cast<std::size_t>(i)] = nullptr;
    }
    m_pageSetUp = nullptr;
}

bool CVelmor_Zem_R7Dlg::OnInitDialog() {
    if (!m_options.logPath.empty()) trace::RedirectStdoutTo(m_options.logPath);
    m_hIcon = AppIcon();
    setWindowIcon(m_hIcon);
    m_lastMuteMask = 0;
    m_masterPending.fill(false);

    const VolumeLimits limits = ReadVolumeLimits(m_options.configPath);
    StoreVolumeLimits(limits);

    CreateControls();
    CreatePages();
    m_tab->blockSignals(true);
    for (int i = 0; i < kTabCount; ++i) m_tab->addTab(QString());
    m_tab->setCurrentIndex(pageindex::kMusic);
    m_tab->blockSignals(false);

    SetLanguage(ReadLanguage(m_options.configPath));
    LayoutPages();
    SetUpMasterSliders();
    WireMasterSliders();
    WirePresetButtons();
    ShowPageCurve(pageindex::kMusic);
    m_graph->setGeometry(m_graphRect);
    m_eqPassRect = m_eqPass->geometry();
    m_eqResetRect = m_eqReset->geometry();

    m_timers.Set(kTimerFirstConnect, m_options.firstConnectDelayMs);
    m_layoutReady = kLayoutReady;
    m_statusLamp->SetImage(StatusLamp(lang::kChinese, false), StatusLampBitmapId(lang::kChinese, false));

    // The client area starts at the template's size, widened for pages whose controls reach past it
    // (a long EQ, a long caption); the resize rule then stretches the graph and the pages.
    const int menuHeight = m_pMenu ? m_pMenu->sizeHint().height() : 0;
    setMinimumSize(kMinimumWindowSize);
    resize(StartClientWidth(), m_initClientRect.height() + menuHeight);
    return true;
}

void CVelmor_Zem_R7Dlg::CreatePages() {
    m_pages = console::CreatePages(m_client);
    m_pageSetUp = SetUpOf(m_pages[pageindex::kSetUp]);
    if (m_pageSetUp) m_pageSetUp->OnInitDialog();
}

QWidget* CVelmor_Zem_R7Dlg::PageAt(int index) const {
    return (index >= 0 && index < pageindex::kCount) ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

IWave* CVelmor_Zem_R7Dlg::WaveAt(int index) const {
    return WaveOf(PageAt(index));
}

QWidget* CVelmor_Zem_R7Dlg::Client() const {
    return m_client;
}

void CVelmor_Zem_R7Dlg::OnExit() {
    close();
}

void CVelmor_Zem_R7Dlg::OnAbout() {
    AboutBox box(this);
    box.exec();
}

void CVelmor_Zem_R7Dlg::Teardown() {
    if (m_tornDown) return;
    m_tornDown = true;
    m_timers.KillAll();
    if (m_pageSetUp) m_pageSetUp->Shutdown();
}

void CVelmor_Zem_R7Dlg::closeEvent(QCloseEvent* event) {
    Teardown();
    event->accept();
}

void CVelmor_Zem_R7Dlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc that no control or page took end here and do nothing. They arrive after the
    // focused control and its page had them, so a band edit's Enter is validated first.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QMainWindow::keyPressEvent(event);
    }
}

void CVelmor_Zem_R7Dlg::StoreVolumeLimits(const console::VolumeLimits& limits) {
    m_musicStartVol = limits.musicStart;
    m_musicEndVol = limits.musicEnd;
    m_micStartVol = limits.micStart;
    m_micEndVol = limits.micEnd;
    m_effectStartVol = limits.effectStart;
    m_effectEndVol = limits.effectEnd;
}

console::VolumeLimits CVelmor_Zem_R7Dlg::StoredVolumeLimits() const {
    console::VolumeLimits limits;
    limits.musicStart = m_musicStartVol;
    limits.musicEnd = m_musicEndVol;
    limits.micStart = m_micStartVol;
    limits.micEnd = m_micEndVol;
    limits.effectStart = m_effectStartVol;
    limits.effectEnd = m_effectEndVol;
    return limits;
}
