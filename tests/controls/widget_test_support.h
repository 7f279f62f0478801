#pragma once
// Headless widget testing: one QApplication for the binary, and searches in rendered images.

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

namespace controls_test {

// Never destroyed: QTest's input devices are statics that must not outlive the application.
inline QApplication& App() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("controls_tests"), nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// clang-format off
inline QImage Render(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
inline QRgb Pixel(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
inline QRgb Rgb(const QColor& c) { return c.rgb() & 0xFFFFFF; }
// clang-format on

// Runs of rows [first, last] with any pixel other than `background` left of column `right`; in a
// graph's margin each run is one label unless labels touch.
inline std::vector<std::pair<int, int>> InkRuns(const QImage& img, int right, QRgb background) {
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < img.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < right && !ink; ++x) ink = Pixel(img, x, y) != background;
        if (!ink) continue;
        if (!runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else
            runs.emplace_back(y, y);
    }
    return runs;
}

// True when `part` sits pixel for pixel at `at` in `img`.
inline bool BlockAt(const QImage& img, const QImage& part, QPoint at) {
    if (!img.rect().contains(QRect(at, part.size()))) return false;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            if (Pixel(img, at.x() + x, at.y() + y) != Pixel(part, x, y)) return false;
    return true;
}

inline std::vector<QPoint> FindAll(const QImage& img, const QImage& part) {
    std::vector<QPoint> found;
    for (int y = 0; y + part.height() <= img.height(); ++y)
        for (int x = 0; x + part.width() <= img.width(); ++x)
            if (BlockAt(img, part, {x, y})) found.push_back({x, y});
    return found;
}

// The only place of `part` in `img`, if it appears exactly once.
inline std::optional<QPoint> FindOnce(const QImage& img, const QImage& part) {
    const std::vector<QPoint> all = FindAll(img, part);
    return all.size() == 1 ? std::optional(all.front()) : std::nullopt;
}

// Bounding box of the pixels in `area` that differ from `background`.
inline QRect InkBox(const QImage& img, QRgb background, QRect area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Pixel(img, x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace controls_test
