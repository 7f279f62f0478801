#include <gtest/gtest.h>

#include "console/console_config.h"

namespace {

// Ends to 0..84 (music, microphone) and 0..70 (effect), starts to 0..end. Reading garbage from the
// file is checked on the main window.
TEST(VolumeLimits, EndsToTheirRangeStartsToTheirEnd) {
    using console::VolumeLimits;
    // clang-format off
    const struct { VolumeLimits in, out; } rows[] = {
        {{0, 84, 0, 84, 0, 70}, {0, 84, 0, 84, 0, 70}}, {{85, 85, 85, 85, 71, 71}, {84, 84, 84, 84, 70, 70}},
        {{-1, -1, -1, -1, -1, -1}, {0, 0, 0, 0, 0, 0}}, {{60, 50, 41, 40, 33, 32}, {50, 50, 40, 40, 32, 32}}};
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(console::Clamped(r.in), r.out) << r.in.musicEnd;
}

}  // namespace
