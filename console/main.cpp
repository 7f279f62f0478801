#include <QApplication>

#include "console/app.h"
#include "platform/ui/dialog_font.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    win::UseDialogFont();
    CVelmor_Zem_R7App theApp;
    theApp.InitInstance();
    return 0;
}
