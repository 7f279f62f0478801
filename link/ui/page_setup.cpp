#include "link/ui/page_setup.h"

PageSetUp::PageSetUp(QWidget* parent, SendQueue::Timing timing) : QWidget(parent), queue_(uart_, timing) {}

PageSetUp::~PageSetUp() {
    Shutdown();
}

void PageSetUp::OnInitDialog() {
    if (started_) return;
    started_ = true;
    if (uart_.IsOpen()) uart_.Close();
    uart_.hex = false;
    uart_.SetLogSink(&log_);
    uart_.frameMode = 0;
    queue_.Start();
}

void PageSetUp::Shutdown() {
    queue_.Stop();
    uart_.Close();
    uart_.SetLogSink(nullptr);
}

void PageSetUp::PushCmd(const ZemCmd::Cmd& cmd) {
    queue_.PushCmd(cmd);
}
