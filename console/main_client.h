#pragma once
// The main window's client area: every control and page sits on it. Notices of the pages and the
// graph reach the main window through it, and its resizing drives the main window's resize rule.

#include <QWidget>

#include "platform/ui/window.h"

class CVelmor_Zem_R7Dlg;

namespace console {

class MainClient : public QWidget, public win::MessageSink {
  public:
    explicit MainClient(CVelmor_Zem_R7Dlg* dialog);

    win::LRESULT OnMessage(unsigned msg, win::WPARAM wParam, win::LPARAM lParam, QWidget* from) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    // The window manager owns the title-bar menu here, so its About item lives on the background.
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    CVelmor_Zem_R7Dlg* dialog_;
};

}  // namespace console
