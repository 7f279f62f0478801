#pragma once
// One QApplication for the whole test binary, created on first use. It is never destroyed: Qt's
// test input devices are torn down at exit in an order that crashes a static application object.

#include <QApplication>

inline void EnsureQtApp() {
    static int argc = 1;
    static char name[] = "graph_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}
