#pragma once

#include <QApplication>

inline QApplication& UiApp() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("platform_ui_tests"), nullptr};
    // Never destroyed: tearing Qt's input devices down in exit handlers crashes.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
