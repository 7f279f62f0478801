// Closing the main window stops its timers and joins the link's threads before anything goes.
// Nothing here paints: Qt's own paint helper threads are not instrumented for the thread checker.
#include <gtest/gtest.h>

#include <cstdio>

#include "support.h"

using namespace console;

namespace {

const ZemCmd::Cmd kHeartbeat = testbytes::ToCmd(testbytes::kHeartbeat);

TEST(MainWindowTeardown, ExitOrDestructionJoinsTheSenderWhileItIsBusy) {
    const std::string config = "teardown_test_config.ini";
    auto dialog = StartMainWindow(config);
    PageSetUp* setUp = dialog->SetUpPage();
    ASSERT_TRUE(setUp->Queue().IsRunning()) << "the sender runs";
    ASSERT_GT(dialog->Timers().Count(), 0u) << "timers are armed";
    for (int i = 0; i < 20; ++i) setUp->PushCmd(kHeartbeat);
    dialog->OnCommand(kCmdExit);
    EXPECT_EQ(dialog->Timers().Count(), 0u) << "Exit stops every timer";
    EXPECT_FALSE(setUp->Queue().IsRunning()) << "Exit joins the sender";
    EXPECT_FALSE(setUp->Link().IsOpen()) << "Exit closes the link";
    dialog.reset();  // the pages and the link go after their threads
    for (int round = 0; round < 3; ++round) {
        dialog = StartMainWindow(config);
        for (int i = 0; i < 5; ++i) dialog->SetUpPage()->PushCmd(kHeartbeat);
        ASSERT_TRUE(dialog->SetUpPage()->Queue().IsRunning());
        dialog.reset();
    }
    std::remove(config.c_str());
}

}  // namespace
