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

namespace {

// Whether a lookup in `window` reaches `control`: a descendant through widgets that have no id space
// of their own.
bool InIdSpace(const QWidget* window, const QWidget* control) {
    for (const QWidget* p = control->parentWidget(); p != window; p = p->parentWidget()) {
        if (!p || p->property(kOwnIdSpaceProperty).toBool()) return false;
    }
    return true;
}

}  // namespace

QWidget* ControlCache::Find(const QWidget* window, int id) {
    if (!window) return nullptr;
    if (const auto it = found_.find(id); it != found_.end()) {
        QWidget* control = it->second;
        if (control && ControlId(control) == id && InIdSpace(window, control)) return control;
    }
    QWidget* control = FindControl(window, id);
    if (control)
        found_[id] = control;
    else
        found_.erase(id);
    return control;
}

}  // namespace win
