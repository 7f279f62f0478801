#pragma once
// One QApplication for the widget tests of this binary, created on first use and never destroyed:
// tearing it down among the static destructors at exit crashes inside Qt.

#include <QApplication>

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "console_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
