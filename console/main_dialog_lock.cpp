// Main window: the panel lock, which freezes the three master sliders until the password is given.
#include <QMenu>
#include <QMenuBar>
#include <QSlider>

#include "console/control_ids.h"
#include "console/dialog_pw.h"
#include "console/main_dialog.h"
#include "console/master_index.h"
#include "platform/lang.h"

using namespace console;

namespace {

// Chinese and English only; other languages fall back to English.
const char* const kUnlockItem[] = {"解锁(&L)", "Unlock(&L)"};
const char* const kLockItem[] = {"锁定(&L)", "Lock(&L)"};

constexpr int kOperationMenu = 2;

}  // namespace

void CVelmor_Zem_R7Dlg::OnLock() {
    // The lock item takes the place of the Operation menu's first item until the menu is rebuilt.
    auto setItem = [this](const char* const(&table)[2]) {
        if (!m_pMenu) return;
        const QList<QAction*> menus = m_pMenu->actions();
        if (menus.size() <= kOperationMenu || !menus[kOperationMenu]->menu()) return;
        const QList<QAction*> items = menus[kOperationMenu]->menu()->actions();
        if (items.isEmpty()) return;
        QAction* item = items.front();
        disconnect(item, &QAction::triggered, this, nullptr);
        item->setSeparator(false);
        item->setText(QString::fromUtf8(lang::Pick(table, m_language)));
        item->setData(kCmdLock);
        connect(item, &QAction::triggered, this, [this] { OnCommand(kCmdLock); });
    };
    auto enableSliders = [this](bool on) {
        for (int i = 0; i < master::kCount; ++i)
            if (QSlider* slider = MasterSlider(i)) slider->setEnabled(on);
    };

    if (m_locked == 0) {
        setItem(kUnlockItem);
        enableSliders(false);
        m_locked = 1;
        return;
    }
    CDialogPW dialog(this);
    dialog.language = m_language;
    if (dialog.exec() != QDialog::Accepted) return;
    setItem(kLockItem);
    enableSliders(true);
    m_locked = 0;
}
