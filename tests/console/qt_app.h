#pragma once
// One QApplication for the widget tests of this binary, created on first use and never destroyed:
// tearing it down among the static destructors at exit crashes inside Qt.

#include <QApplication>

#include "platform/ui/dialog_font.h"

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "console_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        win::UseDialogFont();  // lay out as the console does
        return a;
    }();
    return *app;
}
