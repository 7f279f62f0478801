#include "platform/ui/controls.h"

#include <QVariant>
#include <deque>

namespace win {
namespace {
constexpr const char* kIdProperty = "k417b_control_id";
constexpr const char* kOwnIdSpaceProperty = "k417b_own_id_space";
}  // namespace

void SetControlId(QWidget* control, int id) {
    if (control) control->setProperty(kIdProperty, id);
}

int ControlId(const QWidget* control) {
    if (!control) return -1;
    const QVariant v = control->property(kIdProperty);
    return v.isValid() ? v.toInt() : -1;
}

void SetOwnIdSpace(QWidget* window, bool own) {
    if (window) window->setProperty(kOwnIdSpaceProperty, own);
}

QWidget* FindControl(const QWidget* window, int id) {
    if (!window) return nullptr;
    std::deque<const QObject*> pending{window};
    while (!pending.empty()) {
        const QObject* current = pending.front();
        pending.pop_front();
        for (QObject* child : current->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (!widget) continue;
            if (ControlId(widget) == id) return widget;
            if (!widget->property(kOwnIdSpaceProperty).toBool()) pending.push_back(widget);
        }
    }
    return nullptr;
}

}  // namespace win
