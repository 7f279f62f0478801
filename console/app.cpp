#include "console/app.h"

#include "console/main_dialog.h"
#include "console/startup_probe.h"

#include <QApplication>

bool CVelmor_Zem_R7App::InitInstance() {
    CVelmor_Zem_R7Dlg dialog;
    dialog.OnInitDialog();
    console::WatchStartup(&dialog);
    dialog.show();
    QApplication::exec();
    return false;
}
