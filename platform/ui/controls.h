#pragma once
// Controls found by their numeric id inside the window that holds them (GetDlgItem).

#include <QPointer>
#include <QWidget>
#include <unordered_map>

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

// FindControl for a window that looks up its controls over and over (a page refreshing its sliders
// and labels): each id's control is remembered, and looked for again only when it was deleted, took
// another id or left the window's id space. A control that comes to share an id with a remembered
// one is not found by that id, as GetDlgItem finds one control per id.
class ControlCache {
  public:
    QWidget* Find(const QWidget* window, int id);

  private:
    std::unordered_map<int, QPointer<QWidget>> found_;
};

}  // namespace win
