#include "link/ui/page_setup.h"

#ifdef K417B_HAVE_LINK_CORE

PageSetUp::PageSetUp(QWidget* parent, SendQueue::Timing timing) : QWidget(parent), queue_(uart_, timing) {}

PageSetUp::~PageSetUp() { Shutdown(); }

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

void PageSetUp::PushCmd(const ZemCmd::Cmd& cmd) { queue_.PushCmd(cmd); }

#else

PageSetUp::PageSetUp(QWidget* parent, SendQueue::Timing) : QWidget(parent) {}
PageSetUp::~PageSetUp() = default;
void PageSetUp::OnInitDialog() { started_ = queue_.running = true; }
void PageSetUp::Shutdown() { queue_.running = false; }
void PageSetUp::PushCmd(const ZemCmd::Cmd& cmd) { queue_.pushed.push_back(cmd); }

#endif
