#include "platform/ui/window.h"

#include <QMetaObject>

namespace win {

LRESULT SendMessage(QWidget* target, unsigned msg, WPARAM wParam, LPARAM lParam, QWidget* from) {
    auto* sink = dynamic_cast<MessageSink*>(target);
    return sink ? sink->OnMessage(msg, wParam, lParam, from) : 0;
}

LRESULT SendToParent(QWidget* from, unsigned msg, WPARAM wParam, LPARAM lParam) {
    return from ? SendMessage(from->parentWidget(), msg, wParam, lParam, from) : 0;
}

void PostMessage(QWidget* target, unsigned msg, WPARAM wParam, LPARAM lParam, QWidget* from) {
    if (!target) return;
    QPointer<QWidget> to(target);
    QPointer<QWidget> sender(from);
    QMetaObject::invokeMethod(
        target,
        [to, sender, msg, wParam, lParam] {
            if (to) SendMessage(to.data(), msg, wParam, lParam, sender.data());
        },
        Qt::QueuedConnection);
}

}  // namespace win
