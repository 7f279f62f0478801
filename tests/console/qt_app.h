#pragma once
// One QApplication for the widget tests of this binary, created on first use.

#include <QApplication>

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "console_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
