#pragma once
// "Please Wait" dialog: counts 1 % .. 100 % while the processor recalls a preset or resets, then
// closes itself. Enter and Esc do not close it.

#include <QDialog>

#include "platform/ui/timers.h"

class QLabel;
class QProgressBar;

struct PageWaitTiming {
    int tickMs = 100;   // the step timer
    int pauseMs = 150;  // the GUI thread rests this long in every step
};

class PageWait : public QDialog {
  public:
    using Timing = PageWaitTiming;
    static constexpr std::uint32_t kStepTimer = 105;

    explicit PageWait(QWidget* parent = nullptr, Timing timing = {});

    int exec() override;
    void OnInitDialog();
    void OnTimer(std::uint32_t id);

    QProgressBar* Progress() const { return progress_; }
    QLabel* Text() const { return text_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    Timing timing_;
    QProgressBar* progress_ = nullptr;
    QLabel* text_ = nullptr;
    win::WindowTimers timers_;
};
