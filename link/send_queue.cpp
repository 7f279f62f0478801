#include "link/send_queue.h"

#include <algorithm>

#include "link/uart.h"
#include "platform/trace.h"

using ZemCmd::Cmd;

namespace {

const std::vector<std::uint8_t>& HeartbeatBytes() {
    static const std::vector<std::uint8_t> bytes = [] {
        const Cmd heartbeat = ZemCmd::SystemAction(ZemCmd::kActHeartbeat);
        return std::vector<std::uint8_t>(heartbeat.b.begin(), heartbeat.b.begin() + heartbeat.Length());
    }();
    return bytes;
}

}  // namespace

SendQueue::SendQueue(Uart& uart) : SendQueue(uart, Timing{}) {}
SendQueue::SendQueue(Uart& uart, Timing timing) : uart_(uart), timing_(timing) {}

SendQueue::~SendQueue() {
    Stop();
    DropWaiting();
}

void SendQueue::DropWaiting() {
    std::lock_guard lock(mutex_);
    queue_.clear();
}

void SendQueue::PushCmd(const Cmd& cmd) {
    if (!cmd.HasValidHeader()) {
        trace::Write(trace::BytesLine("[drop]", cmd.data(), 2));
        return;
    }
    std::vector<std::uint8_t> frame(cmd.b.begin(), cmd.b.begin() + cmd.Length());
    std::lock_guard lock(mutex_);
    const auto same = std::find(queue_.begin(), queue_.end(), frame);
    if (same != queue_.end()) {
        // A heartbeat already waiting keeps its place: moved back it would leave the frames it
        // follows without one.
        if (frame == HeartbeatBytes()) return;
        // The copy waiting ahead would go out before frames pushed after it: move it to the back so
        // the last value pushed is the last one sent.
        queue_.erase(same);
        queue_.push_back(std::move(frame));
        return;
    }
    const bool system = frame.size() > 2 && frame[2] == ZemCmd::kClassSystem;
    queue_.push_back(std::move(frame));
    if (system) {
        counter_ = 0;
    } else if (++counter_ > 2) {
        counter_ = 0;
        queue_.push_back(HeartbeatBytes());
    }
}

void SendQueue::Start() {
    if (sender_.joinable()) return;
    {
        std::lock_guard lock(wakeMutex_);
        stop_ = false;
    }
    sender_ = std::thread(SendThread, this);
}

void SendQueue::Stop() {
    if (!sender_.joinable()) return;
    {
        std::lock_guard lock(wakeMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    sender_.join();
}

bool SendQueue::Pause(std::chrono::milliseconds d) {
    std::unique_lock lock(wakeMutex_);
    return !wake_.wait_for(lock, d, [this] { return stop_; });
}

void SendQueue::SendThread(SendQueue* q) {
    for (;;) {
        {
            std::lock_guard lock(q->wakeMutex_);
            if (q->stop_) return;
        }
        if (q->uart_.updateRequest.load()) {
            q->Pause(q->timing_.updateIdle);
            continue;
        }
        std::vector<std::uint8_t> frame;
        {
            std::lock_guard lock(q->mutex_);
            if (!q->queue_.empty()) {
                frame = std::move(q->queue_.front());
                q->queue_.pop_front();
            }
        }
        // Written outside the queue lock, so a push never waits for the port.
        if (!frame.empty()) q->SendGuarded(frame);
        q->Pause(q->timing_.gap);
    }
}

void SendQueue::SendGuarded(const std::vector<std::uint8_t>& frame) {
    // Whatever is thrown while a frame is written or traced costs that frame only: it must neither end
    // the program nor the sender, which goes on with the next frame.
    try {
        SendOne(frame);
    } catch (...) {
        try {
            trace::Write("Exception...\n");
        } catch (...) {
        }
    }
}

void SendQueue::SendOne(const std::vector<std::uint8_t>& frame) {
    Cmd cmd;
    std::copy(frame.begin(), frame.end(), cmd.b.begin());
    std::uint8_t out[kOutSize] = {};
    if (uart_.frameMode.load() && TranslateCmd(cmd, out)) {
        uart_.Send(out, out[1]);
    } else {
        uart_.Send(frame.data(), static_cast<int>(frame.size()));
    }
}

std::vector<std::vector<std::uint8_t>> SendQueue::Pending() const {
    std::lock_guard lock(mutex_);
    return {queue_.begin(), queue_.end()};
}

int SendQueue::HeartbeatCount() const {
    std::lock_guard lock(mutex_);
    return counter_;
}
