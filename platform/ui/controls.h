#pragma once
// Controls found by their numeric id inside the window that holds them (GetDlgItem).

#include <QWidget>

namespace win {

void SetControlId(QWidget* control, int id);
// The control's id, or -1.
int ControlId(const QWidget* control);

// Marks a widget as a window with its own id space (a page, a dialog): a lookup in an outer
// window does not descend into it.
void SetOwnIdSpace(QWidget* window, bool own = true);

// The first control with this id among the window's descendants, not descending into
// descendants that have their own id space. Null when there is none.
QWidget* FindControl(const QWidget* window, int id);

template <class T>
T* FindControlAs(const QWidget* window, int id) {
    return qobject_cast<T*>(FindControl(window, id));
}

}  // namespace win
