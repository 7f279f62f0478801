#include "platform/ui/timers.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <vector>

#include "ui_app.h"

namespace {

TEST(WindowTimers, FireByIdUntilKilled) {
    UiApp();
    std::vector<std::uint32_t> fired;
    win::WindowTimers timers([&](std::uint32_t id) { fired.push_back(id); });
    const std::uint32_t big = 0xFF01047Bu;  // band, page and message packed into 32 bits
    timers.Set(big, 1);
    EXPECT_TRUE(timers.IsSet(big));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired.size() >= 2; }, 2000));
    ASSERT_GE(fired.size(), 2u);  // repeats until killed
    for (auto id : fired) EXPECT_EQ(id, big);
    timers.Kill(big);
    EXPECT_FALSE(timers.IsSet(big));
    fired.clear();
    QTest::qWait(20);
    EXPECT_TRUE(fired.empty());
}

TEST(WindowTimers, OneShotByKillingInTheHandler) {
    UiApp();
    int fired = 0;
    win::WindowTimers* self = nullptr;
    win::WindowTimers timers([&](std::uint32_t id) {
        ++fired;
        self->Kill(id);
    });
    self = &timers;
    timers.Set(104, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired > 0; }, 2000));
    QTest::qWait(20);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(timers.Count(), 0u);
}

TEST(WindowTimers, ReArmingRestartsTheTimer) {
    UiApp();
    int fired = 0;
    win::WindowTimers timers([&](std::uint32_t) { ++fired; });
    timers.Set(7, 200);
    QElapsedTimer clock;
    clock.start();
    // Keep re-arming well inside the period: the timer must not fire meanwhile.
    while (clock.elapsed() < 400) {
        timers.Set(7, 200);
        QTest::qWait(20);
    }
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(timers.Count(), 1u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired > 0; }, 2000));
    EXPECT_GE(fired, 1);
}

TEST(WindowTimers, KillAllAndUnknownIds) {
    UiApp();
    int fired = 0;
    win::WindowTimers timers([&](std::uint32_t) { ++fired; });
    timers.Set(1, 1);
    timers.Set(2, 1);
    timers.Set(3, -5);  // negative periods run as soon as possible
    timers.Kill(99);
    EXPECT_EQ(timers.Count(), 3u);
    timers.KillAll();
    EXPECT_EQ(timers.Count(), 0u);
    QTest::qWait(20);
    EXPECT_EQ(fired, 0);
}

}  // namespace
