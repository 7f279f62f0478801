// A window's remembered control lookups answer what a fresh search would, after the window's
// controls are deleted, renumbered, moved or added.
#include <gtest/gtest.h>

#include <QLabel>
#include <functional>
#include <memory>

#include "platform/ui/controls.h"
#include "qt_app.h"

namespace {

constexpr int kId = 1100;

QLabel* NewControl(QWidget* parent, int id) {
    auto* label = new QLabel(parent);
    win::SetControlId(label, id);
    return label;
}

TEST(ControlCache, AnswersAsAFreshSearchAfterTheWindowChanges) {
    App();
    // clang-format off
    const struct {
        const char* change;
        // Changes the window after `first` was found by kId; returns what must be found now (or null).
        std::function<QWidget*(QWidget& window, QWidget*& first, QWidget& group)> apply;
    } cases[] = {
        {"nothing", [](QWidget&, QWidget*& first, QWidget&) { return first; }},
        {"deleted, none left", [](QWidget&, QWidget*& first, QWidget&) {
             delete first; first = nullptr; return static_cast<QWidget*>(nullptr); }},
        {"deleted, another holds the id", [](QWidget& window, QWidget*& first, QWidget&) {
             QWidget* other = NewControl(&window, kId); delete first; first = nullptr; return other; }},
        {"renumbered", [](QWidget&, QWidget*& first, QWidget&) {
             win::SetControlId(first, kId + 1); return static_cast<QWidget*>(nullptr); }},
        {"moved into a group of the window", [](QWidget&, QWidget*& first, QWidget& group) {
             first->setParent(&group); return first; }},
        {"moved into a page of its own", [](QWidget&, QWidget*& first, QWidget& group) {
             win::SetOwnIdSpace(&group); first->setParent(&group); return static_cast<QWidget*>(nullptr); }},
        {"moved out of the window", [](QWidget&, QWidget*& first, QWidget&) {
             first->setParent(nullptr); return static_cast<QWidget*>(nullptr); }},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        QWidget window;
        QWidget* group = new QWidget(&window);
        QWidget* first = NewControl(&window, kId);
        win::ControlCache cache;
        ASSERT_EQ(cache.Find(&window, kId), first);
        QWidget* const expected = c.apply(window, first, *group);
        EXPECT_EQ(cache.Find(&window, kId), expected) << "the remembered lookup differs from what is there";
        EXPECT_EQ(win::FindControl(&window, kId), expected)
            << "the case expects other than a fresh search finds";
        if (first && !first->parent()) delete first;
    }
}

// An id that nothing held is searched again: a control made later is found.
TEST(ControlCache, FindsAControlMadeAfterAMissedLookup) {
    App();
    QWidget window;
    win::ControlCache cache;
    EXPECT_EQ(cache.Find(&window, kId), nullptr);
    QWidget* later = NewControl(&window, kId);
    EXPECT_EQ(cache.Find(&window, kId), later) << "a lookup that found nothing was remembered";
    EXPECT_EQ(cache.Find(nullptr, kId), nullptr) << "no window";
}

}  // namespace
