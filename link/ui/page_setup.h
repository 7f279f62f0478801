#pragma once
// The set-up page: never shown, but the owner of the link machinery — the serial link with its
// firmware-update work, the send queue with its sender thread, and the log the link writes its
// text into (kept here and shown by the debug window). Its own port controls are reachable by no
// user action in the console, only by tests.

#include <QWidget>
#include <cstdint>
#include <string>

#include "link/frame.h"
#include "link/log_sink.h"
#include "link/send_queue.h"
#include "link/uart.h"
#include "link/ymodem.h"
#include "link/ymodem_transfer.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class CDlgDebug;

class PageSetUp : public QWidget {
  public:
    static constexpr int kPortListId = 1008;
    static constexpr int kOpenCloseId = 1010;
    static constexpr int kDebugId = 1011;
    static constexpr int kDebugPrintId = 1091;
    static constexpr int kPortGroupId = 1388;
    static constexpr int kPortLabelId = 1389;
    static constexpr int kGroupListId = 1417;
    static constexpr int kSaveId = 1418;

    explicit PageSetUp(QWidget* parent = nullptr, SendQueue::Timing timing = {},
                       ymodem::Timing updateTiming = {});
    // Stops the sender and closes the link before they go.
    ~PageSetUp() override;

    // Fills the port list, creates the hidden debug window, starts the sender thread. Runs once.
    void OnInitDialog();
    // Stops and joins the sender, then the reader (closing the port). Safe to call more than once.
    void Shutdown();

    void PushCmd(const ZemCmd::Cmd& cmd);
    void SetLanguage(int language);
    int Language() const { return language_; }

    void OnOpenClose();
    void OnDebug();
    void OnDebugPrint();
    void OnSave();
    // "label=" and each entry as "%x ", then a new line, into the debug log.
    void DebugPrint(const std::string& label, const std::uint32_t* entries, int count);

    Uart& Link() { return uart_; }
    SendQueue& Queue() { return queue_; }
    BoundedLog& Log() { return log_; }
    Ymodem& Firmware() { return firmware_; }
    CDlgDebug* DebugWindow() const { return debug_; }

  private:
    // Link text goes to the kept log and, once it exists, to the debug window.
    class Tee : public LogSink {
      public:
        explicit Tee(PageSetUp& page) : page_(page) {}
        void Append(std::string_view text) override;
        void ScrollToBottom() override;

      private:
        PageSetUp& page_;
    };

    void CreateControls();

    int language_ = 0;
    BoundedLog log_;
    std::atomic<LogSink*> debugSink_{nullptr};
    Tee tee_{*this};
    Ymodem firmware_;  // declared before the link: the update thread uses it until the link is gone
    Uart uart_;        // declared before the queue: the sender uses it until the queue is gone
    SendQueue queue_;
    bool started_ = false;

    QGroupBox* portGroup_ = nullptr;
    QLabel* portLabel_ = nullptr;
    QComboBox* portList_ = nullptr;
    QPushButton* openClose_ = nullptr;
    QPushButton* debugButton_ = nullptr;
    QCheckBox* debugPrint_ = nullptr;
    QComboBox* groupList_ = nullptr;
    QPushButton* save_ = nullptr;
    CDlgDebug* debug_ = nullptr;
};
