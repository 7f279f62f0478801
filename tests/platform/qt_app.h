#pragma once
// One QApplication for the widget tests of this binary, created on first use and never destroyed:
// tearing it down among the static destructors at exit crashes inside Qt.

#include <QApplication>

inline void App() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("platform_tests"), nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}
