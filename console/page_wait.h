#pragma once
// "Please Wait" dialog: counts 1 % .. 100 % while the processor recalls a preset or resets, then
// closes itself. Enter and Esc do not close it. The count runs from a timer on the event loop, so
// the main window keeps repainting and its timers keep running meanwhile.

#include <QDialog>

#include "platform/ui/timers.h"

class QLabel;
class QProgressBar;

struct PageWaitTiming {
    int stepMs = 150;  // one percent: the whole wait takes about 15 s
};

class PageWait : public QDialog {
  public:
    using Timing = PageWaitTiming;
    static constexpr std::uint32_t kStepTimer = 105;

    explicit PageWait(QWidget* parent = nullptr, Timing timing = {});

    int exec() override;
    void OnInitDialog();
    void OnTimer(std::uint32_t id);
    // Ends the count early and closes the dialog (the import's wait when the import has failed).
    void Stop();

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
