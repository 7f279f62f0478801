#pragma once
// One QApplication for the whole test binary, created on first use.

#include <QApplication>

inline void EnsureQtApp() {
    static int argc = 1;
    static char name[] = "graph_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    (void)app;
}
