#pragma once
// The connect dialog: a small modal window without caption or buttons that shows which port is
// tried and how far the read-back has come, while a 100 ms timer drives the connect machine.
// Ends with Accepted when the read-back finished, Rejected when no port answered, an answer never
// came, or the user cancelled (Esc, or the window closed). Enter does nothing.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

#include "link/connect_machine.h"
#include "platform/ui/timers.h"

class QLabel;
class QProgressBar;
class PageSetUp;
class Uart;

// The connect machine's view of the serial link, the set-up page's queue and its log.
class UartConnectLink : public connect::ConnectLink {
  public:
    UartConnectLink(Uart& uart, PageSetUp& setUp) : uart_(uart), setUp_(setUp) {}
    bool IsOpen() const override;
    bool Open(const std::string& name) override;
    void Start() override;
    void Close() override;
    void SetFrameMode(bool on) override;
    bool FrameReady() const override;
    void ClearFrameReady() override;
    void CopyFrame(std::uint32_t (&words)[ZemCmd::kMaxFrame]) const override;
    void Push(const ZemCmd::Cmd& cmd) override;
    void Log(std::string_view line) override;

  private:
    Uart& uart_;
    PageSetUp& setUp_;
};

class UartConnect : public QDialog {
  public:
    static constexpr std::uint32_t kTimerId = 103;
    static constexpr int kStatusId = 1006;
    static constexpr int kProgressId = 1437;

    struct Callbacks {
        std::function<int(const std::uint32_t* answer)> apply;  // the main dialog's reply applier
        std::function<void()> finished;                         // refreshes the graph on success
    };

    UartConnect(Uart* link, PageSetUp* setUp, Callbacks callbacks, QWidget* parent = nullptr,
                int tickMs = 100);
    ~UartConnect() override;

    const connect::ConnectMachine& Machine() const { return *machine_; }
    QLabel* StatusText() const { return status_; }
    QProgressBar* Progress() const { return progress_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnTimer(std::uint32_t id);

    UartConnectLink link_;
    Callbacks callbacks_;
    std::unique_ptr<connect::ConnectMachine> machine_;
    win::WindowTimers timers_;
    int tickMs_;
    bool started_ = false;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
};
