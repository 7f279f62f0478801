#pragma once
// The modal firmware-update dialog: shows the transfer's percentage while the link's update
// request is set, then the result in a box, then closes. Enter and Esc do not close it, and it
// has no close button: the transfer cannot be left running behind a closed dialog.

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class Uart;
class Ymodem;
namespace win {
class WindowTimers;
}

class UpdateDialog : public QDialog {
  public:
    static constexpr int kPercentId = 1450;
    static constexpr int kProgressId = 1451;
    static constexpr int kDefaultTickMs = 200;

    UpdateDialog(Uart& uart, const Ymodem& firmware, int language, QWidget* parent = nullptr,
                 int tickMs = kDefaultTickMs);
    ~UpdateDialog() override;

    void OnInitDialog();
    void OnTimer(unsigned id);
    int exec() override;

    QString PercentText() const;
    int ProgressValue() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    Uart& uart_;
    const Ymodem& firmware_;
    int language_;
    int tickMs_;
    QString percentText_;
    QLabel* percent_ = nullptr;
    QProgressBar* progress_ = nullptr;
    win::WindowTimers* timers_ = nullptr;
    bool finished_ = false;
};
