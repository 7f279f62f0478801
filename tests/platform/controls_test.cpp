#include "platform/ui/controls.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "ui_app.h"

namespace {

TEST(ControlIds, LookupAndTypedLookup) {
    UiApp();
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* box = new QWidget(&window);
    auto* deep = new QLabel(box);
    win::SetControlId(edit, 1601);
    win::SetControlId(deep, 1086);
    EXPECT_EQ(win::ControlId(edit), 1601);
    EXPECT_EQ(win::ControlId(box), -1);
    EXPECT_EQ(win::ControlId(nullptr), -1);
    EXPECT_EQ(win::FindControl(&window, 1601), edit);
    EXPECT_EQ(win::FindControl(&window, 1086), deep);
    EXPECT_EQ(win::FindControlAs<QLineEdit>(&window, 1601), edit);
    EXPECT_EQ(win::FindControlAs<QLabel>(&window, 1601), nullptr);  // another kind of control
    EXPECT_EQ(win::FindControl(&window, 4242), nullptr);
    EXPECT_EQ(win::FindControl(nullptr, 1601), nullptr);
}

TEST(ControlIds, PagesKeepTheirOwnIdSpace) {
    UiApp();
    QWidget main;
    auto* pageA = new QWidget(&main);
    auto* pageB = new QWidget(&main);
    win::SetOwnIdSpace(pageA);
    win::SetOwnIdSpace(pageB);
    auto* inA = new QLabel(pageA);
    auto* inB = new QLabel(pageB);
    win::SetControlId(inA, 1084);
    win::SetControlId(inB, 1084);
    EXPECT_EQ(win::FindControl(&main, 1084), nullptr);
    EXPECT_EQ(win::FindControl(pageA, 1084), inA);
    EXPECT_EQ(win::FindControl(pageB, 1084), inB);
    win::SetOwnIdSpace(pageA, false);
    EXPECT_EQ(win::FindControl(&main, 1084), inA);
}

TEST(ControlIds, NearestFirst) {
    UiApp();
    QWidget window;
    auto* group = new QWidget(&window);
    auto* deep = new QLabel(group);
    auto* near = new QLabel(&window);
    win::SetControlId(deep, 5);
    win::SetControlId(near, 5);
    EXPECT_EQ(win::FindControl(&window, 5), near);
}

}  // namespace
