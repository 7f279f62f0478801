#include "console/dialog_pw.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "console/device_commands.h"
#include "platform/lang.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"

namespace {

// Chinese and English only; other languages fall back to English.
const char* const kCaption[] = {"请输入密码", "Please Enter Password"};
const char* const kPasswordLabel[] = {"密码：", "Password:"};
const char* const kRepeatLabel[] = {"重复密码：", "Repeat Password:"};
const char* const kOk[] = {"确定", "Ok"};
const char* const kCancel[] = {"取消", "Cancel"};
const char* const kPasswordEmpty[] = {"请输入密码", "Please Enter Password"};
const char* const kRepeatEmpty[] = {"请输入重复密码", "Please Enter Repeat Password"};
const char* const kDifferent[] = {"密码不一致", "Password Difference"};
const char* const kWrong[] = {"密码错误", "Password Error"};

template <std::size_t N>
QString Text(const char* const (&table)[N], int language) {
    return QString::fromUtf8(lang::Pick(table, language));
}

QLineEdit* MakeEdit(QWidget* parent, int id) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    win::SetControlId(edit, id);
    return edit;
}

}  // namespace

CDialogPW::CDialogPW(QWidget* parent) : QDialog(parent) {
    win::SetOwnIdSpace(this);
    auto* grid = new QGridLayout(this);
    passwordCaption_ = new QLabel(this);
    repeatCaption_ = new QLabel(this);
    win::SetControlId(passwordCaption_, 1391);
    win::SetControlId(repeatCaption_, 1393);
    password_ = MakeEdit(this, kIdPassword);
    repeat_ = MakeEdit(this, kIdRepeat);
    grid->addWidget(passwordCaption_, 0, 0);
    grid->addWidget(password_, 0, 1);
    grid->addWidget(repeatCaption_, 1, 0);
    grid->addWidget(repeat_, 1, 1);
    ok_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    win::SetControlId(ok_, 1);
    win::SetControlId(cancel_, 2);
    // Enter in an edit must not press OK.
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(ok_, &QPushButton::clicked, this, [this] { OnBnClickedOk(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    password_->installEventFilter(this);
    repeat_->installEventFilter(this);
}

int CDialogPW::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void CDialogPW::OnInitDialog() {
    password_->setText(password);
    repeat_->setText(repeat);
    setWindowTitle(Text(kCaption, language));
    passwordCaption_->setText(Text(kPasswordLabel, language));
    repeatCaption_->setText(Text(kRepeatLabel, language));
    ok_->setText(Text(kOk, language));
    cancel_->setText(Text(kCancel, language));
}

void CDialogPW::OnBnClickedOk() {
    password = password_->text();
    repeat = repeat_->text();
    const console::PasswordCheck check =
        console::CheckPassword(password.toStdU16String(), repeat.toStdU16String());
    auto tell = [this](const QString& text) { win::MessageBox(this, text, QString(), win::kMbOk, language); };
    switch (check) {
        case console::PasswordCheck::PasswordEmpty:
            tell(Text(kPasswordEmpty, language));
            return;
        case console::PasswordCheck::RepeatEmpty:
            tell(Text(kRepeatEmpty, language));
            return;
        case console::PasswordCheck::Different:
            tell(Text(kDifferent, language));
            return;
        case console::PasswordCheck::Wrong:
            tell(Text(kWrong, language));
            reject();
            return;
        case console::PasswordCheck::Accepted:
            accept();
            return;
    }
}

bool CDialogPW::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == password_ || watched == repeat_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
