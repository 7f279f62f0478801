#include <QApplication>

#include "console/app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CVelmor_Zem_R7App theApp;
    theApp.InitInstance();
    return 0;
}
