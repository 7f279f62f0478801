#include "console/app.h"

#include <QApplication>

#include "console/main_dialog.h"
#include "console/startup_probe.h"

bool CVelmor_Zem_R7App::InitInstance() {
    CVelmor_Zem_R7Dlg dialog;
    dialog.OnInitDialog();
    console::WatchStartup(&dialog);
    dialog.show();
    QApplication::exec();
    return false;
}
