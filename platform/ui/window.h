#pragma once
// Private window messages between our widgets: (msg, wParam, lParam), sent synchronously or posted,
// with the sending widget known.

#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace win {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr unsigned kWmUser = 0x400;

// A widget that takes private messages implements this.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // `from` is the widget that sent the message, or null when it came from nowhere in particular.
    virtual LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam, QWidget* from) = 0;
};

// Delivers at once, on the calling (GUI) thread. Returns 0 when the target takes no messages.
LRESULT SendMessage(QWidget* target, unsigned msg, WPARAM wParam, LPARAM lParam, QWidget* from = nullptr);

// Same as SendMessage to from->parentWidget(), the way a child control notifies its owner.
LRESULT SendToParent(QWidget* from, unsigned msg, WPARAM wParam, LPARAM lParam);

// Queued: delivered later from the event loop; dropped when the target is gone by then.
void PostMessage(QWidget* target, unsigned msg, WPARAM wParam, LPARAM lParam, QWidget* from = nullptr);

}  // namespace win
