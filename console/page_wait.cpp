#include "console/page_wait.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "platform/ui/controls.h"

namespace {
constexpr int kIdProgress = 1440;
}

PageWait::PageWait(QWidget* parent, Timing timing)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint),
      timing_(timing),
      timers_([this](std::uint32_t id) { OnTimer(id); }) {
    win::SetOwnIdSpace(this);
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(QStringLiteral("Please Wait"), this);
    text_->setAlignment(Qt::AlignCenter);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setMinimumWidth(240);
    win::SetControlId(progress_, kIdProgress);
    layout->addWidget(text_);
    layout->addWidget(progress_);
}

int PageWait::exec() {
    OnInitDialog();
    const int result = QDialog::exec();
    timers_.KillAll();
    return result;
}

void PageWait::OnInitDialog() {
    progress_->setRange(0, 100);
    progress_->setValue(0);
    timers_.Set(kStepTimer, timing_.stepMs);
}

void PageWait::OnTimer(std::uint32_t id) {
    if (id != kStepTimer) return;
    const int p = progress_->value();
    if (p >= 100) {
        timers_.Kill(kStepTimer);
        done(QDialog::Accepted);
        return;
    }
    text_->setText(QString::asprintf("%d%%", p + 1));
    progress_->setValue(p + 1);
}

void PageWait::Stop() {
    timers_.Kill(kStepTimer);
    done(QDialog::Rejected);
}

void PageWait::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Esc and the window's close request end nothing: only the count does.
void PageWait::reject() {}
