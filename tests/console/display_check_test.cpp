// The console without a display: a plain message and a failed exit, not Qt's abort.
#include "console/display_check.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <cstdlib>
#include <string>
#include <vector>

#include "qt_app.h"

namespace {

TEST(DisplayCheck, ADisplayOrAScreenlessPlatformLetsTheConsoleStart) {
    struct Case {
        console::DisplaySetting setting;
        bool expected;
        const char* why;
    };
    const std::vector<Case> cases = {
        {{"", "", ""}, false, "nothing set"},
        {{":0", "", ""}, true, "an X display"},
        {{"", "wayland-0", ""}, true, "a Wayland display"},
        {{"", "", "offscreen"}, true, "Qt told to draw off the screen"},
        {{"", "", "vnc:size=800x600"}, true, "a platform with options that needs no display"},
        {{"", "", "xcb"}, false, "xcb without DISPLAY"},
        {{"", "", "wayland-egl"}, false, "a Wayland platform without WAYLAND_DISPLAY"},
        {{"", "", "wayland;xcb"}, false, "fallbacks that all need a display"},
        {{"", "", "xcb;offscreen"}, true, "a fallback that needs none"},
        {{"", "", ";"}, false, "an empty list"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(console::HasDisplay(c.setting), c.expected)
            << c.why << " (DISPLAY=\"" << c.setting.display << "\" WAYLAND_DISPLAY=\""
            << c.setting.waylandDisplay << "\" platform=\"" << c.setting.platform << "\")";
}

TEST(DisplayCheck, PlatformOnTheCommandLineWinsOverTheEnvironment) {
    // A platform the environment does not name (ctest sets offscreen), so only the argument can give it.
    const std::string environment = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    ASSERT_NE(environment, "minimal");
    const char* const argv[] = {"k417b", "-platform", "minimal"};
    EXPECT_EQ(console::CurrentDisplaySetting(3, argv).platform, "minimal")
        << "the -platform argument was not read";
    const char* const twoDashes[] = {"k417b", "--platform", "minimal", "-style", "fusion"};
    EXPECT_EQ(console::CurrentDisplaySetting(5, twoDashes).platform, "minimal")
        << "the --platform argument was not read";
    const char* const dangling[] = {"k417b", "-platform"};
    EXPECT_EQ(console::CurrentDisplaySetting(2, dangling).platform, environment)
        << "a -platform without a value must leave the environment's platform";
}

TEST(DisplayCheck, TheConsoleWithoutADisplaySaysSoAndFails) {
    TestApp();
    const char* build = std::getenv("K417B_BUILD_DIR");
    if (!build) GTEST_SKIP() << "K417B_BUILD_DIR is not set: run this through ctest";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess console;
    console.setProcessEnvironment(env);
    console.start(QString::fromLocal8Bit(build) + QStringLiteral("/console/k417b"), {});
    ASSERT_TRUE(console.waitForFinished(20000)) << "the console did not end without a display";
    const QString err = QString::fromLocal8Bit(console.readAllStandardError());
    EXPECT_EQ(console.exitStatus(), QProcess::NormalExit)
        << "the console crashed (Qt's abort?): " << err.toStdString();
    EXPECT_EQ(console.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("DISPLAY")) && err.contains(QStringLiteral("xvfb-run")))
        << "the message does not say what to do: " << err.toStdString();
}

}  // namespace
