#pragma once
// Shared by the graph tests: one QApplication (never destroyed: Qt's test input devices are torn
// down at exit in an order that crashes a static application) and pixel helpers.

#include <QApplication>
#include <QImage>

inline void EnsureQtApp() {
    static int argc = 1;
    static char name[] = "graph_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

inline QRgb At(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

// Pixels that differ between two pictures of one size (-1 when the sizes differ).
inline int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += At(a, x, y) != At(b, x, y);
    return n;
}

inline int CountNonBlack(const QImage& img, const QRect& area) {
    int n = 0;
    const QRect r = area & img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += At(img, x, y) != 0;
    return n;
}
