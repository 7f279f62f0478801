#pragma once
// The set-up page: never shown, but the owner of the link machinery — the serial link, the send
// queue with its sender thread, and the log the link writes its text into.

#include <QWidget>

#include "link/frame.h"
#include "link/log_sink.h"
#include "link/send_queue.h"
#include "link/uart.h"

class PageSetUp : public QWidget {
  public:
    explicit PageSetUp(QWidget* parent = nullptr, SendQueue::Timing timing = {});
    // Stops the sender and closes the link before they go.
    ~PageSetUp() override;

    // Starts the sender thread; the frame-mode flag starts cleared. Runs once.
    void OnInitDialog();
    // Stops and joins the sender, then the reader (closing the port). Safe to call more than once.
    void Shutdown();

    void PushCmd(const ZemCmd::Cmd& cmd);
    void SetLanguage(int language) { language_ = language; }
    int Language() const { return language_; }

    Uart& Link() { return uart_; }
    SendQueue& Queue() { return queue_; }
    BoundedLog& Log() { return log_; }

  private:
    int language_ = 0;
    BoundedLog log_;
    Uart uart_;  // declared before the queue: the sender uses it until the queue is gone
    SendQueue queue_;
    bool started_ = false;
};
