#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <vector>

#include "ui_app.h"

namespace {

struct Received {
    unsigned msg;
    win::WPARAM w;
    win::LPARAM l;
    QWidget* from;
};

class Sink : public QWidget, public win::MessageSink {
  public:
    using QWidget::QWidget;
    win::LRESULT OnMessage(unsigned msg, win::WPARAM w, win::LPARAM l, QWidget* from) override {
        got.push_back({msg, w, l, from});
        return static_cast<win::LRESULT>(msg) + 1;
    }
    std::vector<Received> got;
};

TEST(SendMessage, SynchronousWithSenderAndResult) {
    UiApp();
    Sink parent;
    QWidget child(&parent);
    EXPECT_EQ(win::SendToParent(&child, win::kWmUser + 104, 3, -35), win::kWmUser + 105);
    ASSERT_EQ(parent.got.size(), 1u);
    EXPECT_EQ(parent.got[0].msg, 0x468u);
    EXPECT_EQ(parent.got[0].w, 3u);
    EXPECT_EQ(parent.got[0].l, -35);
    EXPECT_EQ(parent.got[0].from, &child);
    EXPECT_EQ(win::SendMessage(&parent, 7, 1, 2), 8);
    EXPECT_EQ(parent.got[1].from, nullptr);
}

TEST(SendMessage, TargetsWithoutASinkOrParent) {
    UiApp();
    QWidget plain;
    QWidget orphan;
    QWidget child(&plain);
    EXPECT_EQ(win::SendMessage(&plain, 1, 0, 0), 0);
    EXPECT_EQ(win::SendMessage(nullptr, 1, 0, 0), 0);
    EXPECT_EQ(win::SendToParent(&orphan, 1, 0, 0), 0);
    EXPECT_EQ(win::SendToParent(&child, 1, 0, 0), 0);
    EXPECT_EQ(win::SendToParent(nullptr, 1, 0, 0), 0);
}

TEST(PostMessage, DeliveredLaterInOrder) {
    UiApp();
    Sink target;
    QWidget from;
    win::PostMessage(&target, 0x4C9, 1, 2, &from);
    win::PostMessage(&target, 0x4CA, 3, 4);
    EXPECT_TRUE(target.got.empty());
    QApplication::processEvents();
    ASSERT_EQ(target.got.size(), 2u);
    EXPECT_EQ(target.got[0].msg, 0x4C9u);
    EXPECT_EQ(target.got[0].from, &from);
    EXPECT_EQ(target.got[1].msg, 0x4CAu);
}

TEST(PostMessage, DroppedWhenTargetIsGoneAndSenderClearedWhenGone) {
    UiApp();
    auto* target = new Sink;
    win::PostMessage(target, 1, 0, 0);
    delete target;
    QApplication::processEvents();  // must not crash

    Sink survivor;
    auto* sender = new QWidget;
    win::PostMessage(&survivor, 2, 0, 0, sender);
    delete sender;
    QApplication::processEvents();
    ASSERT_EQ(survivor.got.size(), 1u);
    EXPECT_EQ(survivor.got[0].from, nullptr);
    win::PostMessage(nullptr, 3, 0, 0);
    QApplication::processEvents();
}

}  // namespace
