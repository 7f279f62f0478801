#pragma once
// Pixel helpers and hostile states for the graph tests.

#include <climits>
#include <cmath>

#include "controls/graph_state.h"
#include "tests/controls/widget_test_support.h"

using controls_test::App;
using controls_test::Pixel;

// Pixels that differ between two pictures of one size (-1 when the sizes differ).
inline int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += Pixel(a, x, y) != Pixel(b, x, y);
    return n;
}

inline int CountNonBlack(const QImage& img, const QRect& area) {
    int n = 0;
    const QRect r = area & img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += Pixel(img, x, y) != 0;
    return n;
}

// Hostile band values: drawing and editing must survive them without reading past the arrays.
struct Hostile {
    const char* name;
    void (*apply)(controls::GraphState&);
};
using controls::GraphState;
// clang-format off
inline const Hostile kHostile[] = {
    {"q 0", [](GraphState& s) { s.q[3] = 0.0f; }},
    {"marker at 0 Hz", [](GraphState& s) { s.freq[2] = 0, s.type[2] = 1; }},
    {"negative and huge frequencies", [](GraphState& s) { s.freq[5] = INT_MIN, s.freq[6] = INT_MAX; }},
    {"NaN gain", [](GraphState& s) { s.gain[3] = NAN, s.type[3] = 1; }},
    {"huge gain", [](GraphState& s) { s.gain[8] = 1e30f, s.type[8] = 1; }},
    {"NaN q", [](GraphState& s) { s.q[9] = NAN, s.type[9] = 1; }},
    {"band count 17", [](GraphState& s) { s.bandCount = 17; }},
    {"band count 99", [](GraphState& s) { s.bandCount = 99, s.selected = 16; }},
    {"negative band count", [](GraphState& s) { s.bandCount = -5; }},
    {"selected out of range", [](GraphState& s) { s.selected = 40; }},
    {"unknown types", [](GraphState& s) { s.type[1] = 99, s.type[2] = -7; }},
    {"big blink step", [](GraphState& s) { s.selected = 2, s.blinkStep = 300; }},
};
// clang-format on
