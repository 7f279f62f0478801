// Main window: the device's effect groups (store and recall), its factory settings and the
// factory reset, each followed by the wait and a reconnect where the device changes its state.
#include <QComboBox>
#include <QPushButton>

#include "console/control_ids.h"
#include "console/device_commands.h"
#include "console/main_dialog.h"
#include "console/page_wait.h"
#include "link/ui/page_setup.h"
#include "platform/ui/message_box.h"

using namespace console;

namespace {

bool Confirmed(QWidget* parent, PresetOp op, int group, int language) {
    const QString text = QString::fromStdString(PresetQuestion(op, group));
    return win::MessageBox(parent, text, QString::fromUtf8(kPresetQuestionCaption), win::kMbOkCancel,
                           language) == win::kIdOk;
}

}  // namespace

void CVelmor_Zem_R7Dlg::WirePresetButtons() {
    connect(m_save, &QPushButton::clicked, this, [this] { OnSavePreset(); });
    connect(m_load, &QPushButton::clicked, this, [this] { OnLoadPreset(); });
}

void CVelmor_Zem_R7Dlg::OnSaveGroup(int group) {
    if (!Confirmed(this, PresetOp::Save, group, m_language) || !m_pageSetUp) return;
    SendFrame(PresetFrame(PresetOp::Save, group, m_pageSetUp->Link().frameMode != 0));
}

void CVelmor_Zem_R7Dlg::OnLoadGroup(int group) {
    if (!Confirmed(this, PresetOp::Load, group, m_language) || !m_pageSetUp) return;
    SendFrame(PresetFrame(PresetOp::Load, group, m_pageSetUp->Link().frameMode != 0));
    WaitThenReconnect();
}

// No selection means the device's own factory settings.
void CVelmor_Zem_R7Dlg::OnSavePreset() {
    const int selection = m_presetCombo->currentIndex();
    OnSaveGroup(selection >= 0 && selection < kGroupCount ? selection + 1 : kFactoryGroup);
}

void CVelmor_Zem_R7Dlg::OnLoadPreset() {
    const int selection = m_presetCombo->currentIndex();
    OnLoadGroup(selection >= 0 && selection < kGroupCount ? selection + 1 : kFactoryGroup);
}

void CVelmor_Zem_R7Dlg::OnResetFactory() {
    SendFrame(FactoryResetFrame());
    WaitThenReconnect();
}

void CVelmor_Zem_R7Dlg::WaitThenReconnect() {
    {
        PageWait wait(this, m_waitTiming);
        wait.exec();
    }
    win::PostMessage(this, kMsgConnect, 0, 0);
}

bool CVelmor_Zem_R7Dlg::OnGroupCommand(int id) {
    if (const int group = GroupOfSaveCommand(id)) {
        OnSaveGroup(group);
        return true;
    }
    if (const int group = GroupOfLoadCommand(id)) {
        OnLoadGroup(group);
        return true;
    }
    return false;
}
