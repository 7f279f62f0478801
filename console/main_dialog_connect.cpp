// Main window: the connect request runs the connect dialog and starts the link watch afterwards.
#include "console/main_dialog.h"
#include "link/ui/page_setup.h"
#include "link/ui/uart_connect.h"

void CVelmor_Zem_R7Dlg::OnConnect() {
    if (!m_pageSetUp) return;
    // A request that arrives while the dialog runs (its modal loop delivers posted messages) would
    // scan the ports under the running read-back: one connect at a time.
    if (m_connecting) return;
    m_connecting = true;
    Uart& link = m_pageSetUp->Link();
    int result = QDialog::Rejected;
    {
        UartConnect dialog(&link, m_pageSetUp,
                           {[this](const std::uint32_t* answer) { return ApplyReply(answer); },
                            [this] { ShowPageCurve(CurrentPage()); }},
                           this, m_options.connectTickMs);
        result = dialog.exec();
    }
    if (result == QDialog::Accepted) {
        StartHeartbeat();
    } else {
        // A read-back that did not finish leaves part of the pages at values the processor may not
        // hold: the console is not connected, whatever the status answer said on the way, and no
        // heartbeat of an earlier connection keeps running. The values applied so far stay, and the
        // graph shows them for the page on screen.
        StopHeartbeat();
        m_connected = 0;
        SetStatusLamp();
        ShowPageCurve(CurrentPage());
    }
    // Whatever the dialog answered, the watchdog starts full and the link leaves frame mode.
    m_linkWatchdog = 4;
    link.frameMode = 0;
    m_connecting = false;
}
