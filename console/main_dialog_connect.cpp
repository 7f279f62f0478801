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
    if (result == QDialog::Accepted) StartHeartbeat();
    // Whatever the dialog answered, the watchdog starts full and the link leaves frame mode.
    m_linkWatchdog = 4;
    link.frameMode = 0;
    m_connecting = false;
}
