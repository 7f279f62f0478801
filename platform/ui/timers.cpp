#include "platform/ui/timers.h"

#include <QTimerEvent>

namespace win {

WindowTimers::WindowTimers(Handler onTimer, QObject* parent) : QObject(parent), onTimer_(std::move(onTimer)) {}

WindowTimers::~WindowTimers() { KillAll(); }

void WindowTimers::Set(std::uint32_t id, int milliseconds) {
    Kill(id);
    const int qtId = startTimer(milliseconds < 0 ? 0 : milliseconds, Qt::PreciseTimer);
    if (qtId == 0) return;
    byId_[id] = qtId;
    byQt_[qtId] = id;
}

void WindowTimers::Kill(std::uint32_t id) {
    auto it = byId_.find(id);
    if (it == byId_.end()) return;
    killTimer(it->second);
    byQt_.erase(it->second);
    byId_.erase(it);
}

void WindowTimers::KillAll() {
    for (auto& [id, qtId] : byId_) killTimer(qtId);
    byId_.clear();
    byQt_.clear();
}

void WindowTimers::timerEvent(QTimerEvent* event) {
    auto it = byQt_.find(event->timerId());
    if (it == byQt_.end()) return;
    if (onTimer_) onTimer_(it->second);
}

}  // namespace win
