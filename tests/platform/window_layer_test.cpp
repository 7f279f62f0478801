#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <tuple>
#include <vector>

#include "platform/ui/color.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/message_box.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"
#include "qt_app.h"

namespace {

using Received = std::tuple<unsigned, win::WPARAM, win::LPARAM, QWidget*>;

class Sink : public QWidget, public win::MessageSink {
  public:
    win::LRESULT OnMessage(unsigned msg, win::WPARAM w, win::LPARAM l, QWidget* from) override {
        got.push_back({msg, w, l, from});
        return static_cast<win::LRESULT>(msg) + 1;
    }
    std::vector<Received> got;
};

TEST(Messages, SentSynchronouslyWithSenderAndResult) {
    App();
    Sink parent;
    QWidget child(&parent), plain, orphan, plainChild(&plain);
    EXPECT_EQ(win::SendToParent(&child, win::kWmUser + 104, 3, -35), win::kWmUser + 105);
    EXPECT_EQ(parent.got, std::vector<Received>{Received(0x468u, 3u, -35, &child)});
    EXPECT_EQ((std::vector{win::SendMessage(&plain, 1, 0, 0), win::SendMessage(nullptr, 1, 0, 0),
                           win::SendToParent(&orphan, 1, 0, 0), win::SendToParent(&plainChild, 1, 0, 0)}),
              std::vector<win::LRESULT>(4, 0));
}

TEST(Messages, PostedLaterInOrderDroppedForGoneTargetsAndSenders) {
    App();
    Sink target;
    auto* sender = new QWidget;
    auto* gone = new Sink;
    win::PostMessage(&target, 0x4C9, 1, 2, sender);
    win::PostMessage(&target, 0x4CA, 3, 4);
    win::PostMessage(gone, 1, 0, 0);
    win::PostMessage(nullptr, 3, 0, 0);
    EXPECT_TRUE(target.got.empty());
    delete gone;
    delete sender;  // gone before delivery: no sender
    QApplication::processEvents();
    EXPECT_EQ(target.got, (std::vector<Received>{{0x4C9u, 1u, 2, nullptr}, {0x4CAu, 3u, 4, nullptr}}));
}

TEST(Timers, RepeatByFullIdUntilKilled) {
    App();
    std::vector<std::uint32_t> fired;
    win::WindowTimers timers([&](std::uint32_t id) { fired.push_back(id); });
    const std::uint32_t big = 0xFF01047Bu;  // band, page and message packed into 32 bits
    timers.Set(big, 1);
    timers.Set(3, -5);  // negative periods run as soon as possible
    timers.Kill(99);
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::count(fired.begin(), fired.end(), big) >= 2; }, 2000));
    timers.Kill(big);
    EXPECT_FALSE(timers.IsSet(big)) << "killed by its full id";
    EXPECT_EQ(timers.Count(), std::size_t{1}) << "only timer 3 is left";
    timers.KillAll();
    fired.clear();
    QTest::qWait(20);
    EXPECT_TRUE(fired.empty());
    QElapsedTimer clock;  // re-arming well inside the period restarts it
    for (clock.start(); clock.elapsed() < 400; QTest::qWait(20)) timers.Set(7, 200);
    EXPECT_TRUE(fired.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fired.empty(); }, 2000));
}

TEST(ControlIds, TypedNearestFirstAndPagesKeepTheirOwnIdSpace) {
    App();
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* group = new QWidget(&window);
    auto* deep = new QLabel(group);
    auto* near = new QLabel(&window);
    constexpr int kEditId = 1601, kSharedId = 5, kUnusedId = 4242, kPageId = 1084;
    win::SetControlId(edit, kEditId);
    win::SetControlId(deep, kSharedId);
    win::SetControlId(near, kSharedId);
    EXPECT_EQ(win::ControlId(group), -1) << "a widget without an id";
    EXPECT_EQ(win::FindControlAs<QLineEdit>(&window, kEditId), edit) << "found with its own type";
    EXPECT_EQ(win::FindControl(&window, kSharedId), static_cast<QWidget*>(near))
        << "the nearest of two equal ids wins";
    EXPECT_EQ(win::FindControlAs<QLabel>(&window, kEditId), nullptr) << "an id of another type";
    EXPECT_EQ(win::FindControl(&window, kUnusedId), nullptr) << "an id nobody holds";
    EXPECT_EQ(win::FindControl(nullptr, kEditId), nullptr) << "no window";
    auto* pageA = new QWidget(&window);
    auto* pageB = new QWidget(&window);
    win::SetOwnIdSpace(pageA);
    win::SetOwnIdSpace(pageB);
    auto* inA = new QLabel(pageA);
    auto* inB = new QLabel(pageB);
    win::SetControlId(inA, kPageId);
    win::SetControlId(inB, kPageId);
    EXPECT_EQ(win::FindControl(&window, kPageId), nullptr)
        << "ids inside a page's own space are hidden from the window";
    EXPECT_EQ(win::FindControl(pageB, kPageId), static_cast<QWidget*>(inB)) << "the page finds its own";
    win::SetOwnIdSpace(pageA, false);
    EXPECT_EQ(win::FindControl(&window, kPageId), inA) << "a page that gives up its own space shows its ids";
}

TEST(ScriptedDialogs, AnswerInOrderRecordAndNest) {
    App();
    win::ScriptedMessageBoxes outer;
    outer.answers = {win::kIdNo};
    EXPECT_EQ(win::MessageBox(nullptr, "Save?", "Q", win::kMbYesNo | win::kMbIconQuestion, 2), win::kIdNo);
    EXPECT_EQ(win::MessageBox(nullptr, "Again?", "Q", win::kMbYesNo, 1), win::kIdYes);
    {
        win::ScriptedMessageBoxes inner;
        EXPECT_EQ(win::MessageBox(nullptr, "inner", "", win::kMbOkCancel, 0), win::kIdOk);
        EXPECT_EQ(inner.shown.size(), 1u);
    }
    ASSERT_EQ(outer.shown.size(), 2u);
    const auto& box = outer.shown[0];
    EXPECT_EQ(box.text, QString("Save?"));
    EXPECT_EQ(box.caption, QString("Q"));
    EXPECT_EQ(box.type, win::kMbYesNo | win::kMbIconQuestion);
    EXPECT_EQ(box.language, 2);

    win::ScriptedFileDialogs files;
    files.answers = {QString("/tmp/a.inf"), std::nullopt};
    EXPECT_EQ(win::Files().Save(nullptr, "Zem信息(*.inf)|*.inf|", "zem.inf"), QString("/tmp/a.inf"));
    for (int k = 0; k < 2; ++k) EXPECT_EQ(win::Files().Open(nullptr, "", ""), std::nullopt);  // then used up
    EXPECT_EQ(files.asked, 3);
    // Each filter shown once: a name that lists its own patterns keeps them, others get them added.
    EXPECT_EQ(win::QtFilterFromWindows("Zem信息(*.inf)|*.inf|"), "Zem信息(*.inf)");
    EXPECT_EQ(win::QtFilterFromWindows("Bin(*.bin)|*.bin|All(*.*)|*.*;*.x|Two(*.a;*.b)|*.a;*.b|Plain|*.p|"),
              "Bin(*.bin);;All(*.*) (*.* *.x);;Two(*.a *.b);;Plain (*.p)");
    EXPECT_EQ(win::QtFilterFromWindows("Odd|"), "");
}

TEST(Geometry, DialogUnitsAndBgrColours) {
    App();
    const win::DialogUnits du(6, 13);
    EXPECT_EQ(du.Rect(4, 8, 10, 3), QRect(6, 13, 15, 5));                    // 39 / 8 rounds to 5
    EXPECT_EQ(du.Rect(0, 0, 7, 5).right() + 1, du.Rect(7, 0, 7, 5).left());  // adjacent stays adjacent
    EXPECT_EQ(win::ColorRef(0xEAD999), QColor(0x99, 0xD9, 0xEA));
    EXPECT_EQ(win::Rgb(153, 217, 234), 0xEAD999u);
    EXPECT_EQ(win::Rgb(300, -1, 256), 0x00FF2Cu);  // each channel keeps its low byte
    EXPECT_EQ(win::Argb(0x80102030), QColor(0x10, 0x20, 0x30, 0x80));
}

}  // namespace
