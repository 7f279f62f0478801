#include "link/ui/uart_connect.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <cstdio>

#include "link/uart.h"
#include "link/ui/page_setup.h"
#include "platform/ui/controls.h"

// ---- the link as the machine sees it ----

bool UartConnectLink::IsOpen() const {
    return uart_.IsOpen();
}
bool UartConnectLink::Open(const std::string& name) {
    return uart_.Open(name) != 0;
}
void UartConnectLink::Start() {
    uart_.Start();
}
void UartConnectLink::Close() {
    uart_.Close();
}
void UartConnectLink::SetFrameMode(bool on) {
    uart_.frameMode = on ? 1 : 0;
}
bool UartConnectLink::FrameReady() const {
    return uart_.frameReady.load() != 0;
}
void UartConnectLink::ClearFrameReady() {
    uart_.frameReady = 0;
}
void UartConnectLink::CopyFrame(std::uint32_t (&words)[ZemCmd::kMaxFrame]) const {
    // A snapshot: the reader may already be storing the next frame.
    const ReceivedFrame frame = uart_.LastFrame();
    for (int i = 0; i < ZemCmd::kMaxFrame; ++i) words[i] = frame.bytes[static_cast<std::size_t>(i)];
}
void UartConnectLink::Push(const ZemCmd::Cmd& cmd) {
    setUp_.PushCmd(cmd);
}
void UartConnectLink::Log(std::string_view line) {
    // Through the link's sink: the kept log and the debug window, when it is open.
    uart_.Log(line);
}

// ---- the dialog ----

UartConnect::UartConnect(Uart* link, PageSetUp* setUp, Callbacks callbacks, QWidget* parent, int tickMs)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      link_(*link, *setUp),
      callbacks_(std::move(callbacks)),
      timers_([this](std::uint32_t id) { OnTimer(id); }, this),
      tickMs_(tickMs) {
    setModal(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(249, 230, 200));
    setPalette(p);
    setAutoFillBackground(true);
    resize(220, 70);

    status_ = new QLabel(QStringLiteral("COM1"), this);
    status_->setGeometry(12, 8, 196, 20);
    win::SetControlId(status_, kStatusId);
    progress_ = new QProgressBar(this);
    progress_->setGeometry(12, 36, 196, 18);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    win::SetControlId(progress_, kProgressId);

    connect::ConnectMachine::Hooks hooks;
    hooks.apply = [this](const std::uint32_t* words) {
        return callbacks_.apply ? callbacks_.apply(words) : 1;
    };
    hooks.status = [this](const std::string& text) { status_->setText(QString::fromStdString(text)); };
    hooks.progress = [this](int percent) { progress_->setValue(percent); };
    hooks.flushTrace = [] { std::fflush(stdout); };
    machine_ = std::make_unique<connect::ConnectMachine>(link_, std::move(hooks));
}

UartConnect::~UartConnect() {
    timers_.KillAll();
}

void UartConnect::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    machine_->Begin();
    timers_.Set(kTimerId, tickMs_);
}

void UartConnect::keyPressEvent(QKeyEvent* event) {
    // Only a read-back that ran to its end may count as finished: Enter does nothing. Esc cancels.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void UartConnect::OnTimer(std::uint32_t id) {
    if (id != kTimerId) return;
    switch (machine_->Tick()) {
        case connect::Outcome::Running:
            break;
        case connect::Outcome::Finished:
            timers_.KillAll();
            if (callbacks_.finished) callbacks_.finished();
            accept();
            break;
        case connect::Outcome::Failed:
            timers_.KillAll();
            reject();
            break;
    }
}
