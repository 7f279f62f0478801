// Main window: connect and menu commands.
#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "link/ui/page_setup.h"

using namespace console;

void CVelmor_Zem_R7Dlg::OnCommand(int id) {
    switch (id) {
        case kCmdExit:
            OnExit();
            break;
        case kCmdConnect:
            OnConnect();
            break;
        case kCmdChinese:
            SetLanguage(0);
            break;
        case kCmdEnglish:
            SetLanguage(1);
            break;
        case kCmdThai:
            SetLanguage(2);
            break;
        case kCmdVietnamese:
            SetLanguage(3);
            break;
        case kCmdIndonesian:
            SetLanguage(4);
            break;
        case kCmdAbout:
            OnAbout();
            break;
        case kCmdSyncAll:
            OnCommand32789();
            break;
        case kCmdVolumeLimit:
            OnVolumeLimit();
            break;
        case kCmdResetFactory:
            OnResetFactory();
            break;
        case kCmdLock:
            OnLock();
            break;
        case kCmdExport:
            OnFileExport();
            break;
        case kCmdImport:
            OnFileImport();
            break;
        case kCmdDspUpdate:
            OnDspUpdate();
            break;
        default:
            OnGroupCommand(id);
            break;
    }
}
