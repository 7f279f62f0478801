#pragma once
// Password dialog of the panel lock: the password typed twice. OK closes it only when both match
// the fixed password; a wrong password closes it with Cancel.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class CDialogPW : public QDialog {
  public:
    static constexpr int kIdPassword = 1390;
    static constexpr int kIdRepeat = 1392;

    explicit CDialogPW(QWidget* parent = nullptr);

    int exec() override;
    void OnInitDialog();
    void OnBnClickedOk();

    QString password;
    QString repeat;
    int language = 0;

    QLineEdit* PasswordEdit() const { return password_; }
    QLineEdit* RepeatEdit() const { return repeat_; }
    QPushButton* OkButton() const { return ok_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* password_ = nullptr;
    QLineEdit* repeat_ = nullptr;
    QLabel* passwordCaption_ = nullptr;
    QLabel* repeatCaption_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
