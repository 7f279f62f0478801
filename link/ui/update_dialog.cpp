#include "link/ui/update_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "link/uart.h"
#include "link/ymodem.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"
#include "platform/ui/timers.h"

namespace {
constexpr unsigned kTickTimer = 1;
}

UpdateDialog::UpdateDialog(Uart& uart, const Ymodem& firmware, int language, QWidget* parent, int tickMs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      uart_(uart),
      firmware_(firmware),
      language_(language),
      tickMs_(tickMs) {
    setWindowTitle("Update");
    win::SetOwnIdSpace(this);
    auto* layout = new QVBoxLayout(this);
    percent_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    layout->addWidget(percent_);
    layout->addWidget(progress_);
    win::SetControlId(percent_, kPercentId);
    win::SetControlId(progress_, kProgressId);
    timers_ = new win::WindowTimers([this](std::uint32_t id) { OnTimer(id); }, this);
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::OnInitDialog() {
    progress_->setRange(0, 100);
    progress_->setValue(0);
    timers_->Set(kTickTimer, tickMs_);
}

int UpdateDialog::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void UpdateDialog::OnTimer(unsigned id) {
    if (id != kTickTimer || finished_) return;
    if (uart_.updateRequest.load()) {
        const int percent = firmware_.Percent();
        percentText_ = QString::asprintf("%d%%", percent);
        percent_->setText(percentText_);
        progress_->setValue(percent);
        return;
    }
    timers_->Kill(kTickTimer);
    finished_ = true;
    const bool ok = uart_.updateResult.load() == 0;
    win::MessageBox(this, ok ? "Update Success" : "Update Fail", "Finish", win::kMbOk, language_);
    done(0);
}

QString UpdateDialog::PercentText() const {
    return percent_->text();
}

int UpdateDialog::ProgressValue() const {
    return progress_->value();
}

void UpdateDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void UpdateDialog::reject() {
    // Closing while the transfer runs would leave it without a view and let a second one start.
    if (finished_ || !uart_.updateRequest.load()) QDialog::reject();
}
