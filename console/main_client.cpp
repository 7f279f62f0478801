#include "console/main_client.h"

#include <QContextMenuEvent>
#include <QMenu>

#include "console/control_ids.h"
#include "console/language_tables.h"
#include "console/main_dialog.h"

namespace console {

MainClient::MainClient(CVelmor_Zem_R7Dlg* dialog) : QWidget(dialog), dialog_(dialog) {}

win::LRESULT MainClient::OnMessage(unsigned msg, win::WPARAM wParam, win::LPARAM lParam, QWidget* from) {
    return dialog_->OnMessage(msg, wParam, lParam, from);
}

void MainClient::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    dialog_->OnSize();
}

void MainClient::contextMenuEvent(QContextMenuEvent* event) {
    // Only the bare background: controls and pages keep their own menus (or none).
    if (childAt(event->pos()) != nullptr) return;
    QMenu menu(this);
    QAction* about = menu.addAction(QString::fromUtf8(AboutMenuText()));
    about->setData(kCmdAbout);
    if (menu.exec(event->globalPos()) == about) dialog_->OnAbout();
}

}  // namespace console
