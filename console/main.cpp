#include <QApplication>
#include <cstdio>

#include "console/app.h"
#include "console/display_check.h"
#include "platform/ui/dialog_font.h"

int main(int argc, char** argv) {
    if (!console::HasDisplay(console::CurrentDisplaySetting(argc, argv))) {
        std::fputs(console::NoDisplayMessage(argv[0]).c_str(), stderr);
        return 1;
    }
    QApplication application(argc, argv);
    win::UseDialogFont();
    CVelmor_Zem_R7App theApp;
    theApp.InitInstance();
    return 0;
}
