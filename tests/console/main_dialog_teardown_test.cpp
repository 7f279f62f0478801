// Closing the main window stops its timers and joins the link's threads before anything goes.
// Nothing here paints: Qt's own paint helper threads are not instrumented for the thread checker.
#include <gtest/gtest.h>

#include <cstdio>

#include "console/control_ids.h"
#include "link/ui/page_setup.h"
#include "support.h"

using namespace console;

namespace {

ZemCmd::Cmd Heartbeat() {
    ZemCmd::Cmd cmd;
    const std::uint8_t bytes[] = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
    std::copy(std::begin(bytes), std::end(bytes), cmd.b.begin());
    return cmd;
}

TEST(MainWindowTeardown, ExitOrDestructionJoinsTheSenderWhileItIsBusy) {
    const std::string config = "teardown_test_config.ini";
    auto dialog = StartMainWindow(config);
    PageSetUp* setUp = dialog->SetUpPage();
    ASSERT_TRUE(setUp->Queue().IsRunning());
    EXPECT_GT(dialog->Timers().Count(), 0u);
    for (int i = 0; i < 20; ++i) setUp->PushCmd(Heartbeat());
    dialog->OnCommand(kCmdExit);
    EXPECT_EQ(dialog->Timers().Count(), 0u);
    EXPECT_FALSE(setUp->Queue().IsRunning());
    EXPECT_FALSE(setUp->Link().IsOpen());
    dialog.reset();  // the pages and the link go after their threads
    for (int round = 0; round < 3; ++round) {
        dialog = StartMainWindow(config);
        for (int i = 0; i < 5; ++i) dialog->SetUpPage()->PushCmd(Heartbeat());
        ASSERT_TRUE(dialog->SetUpPage()->Queue().IsRunning());
        dialog.reset();
    }
    std::remove(config.c_str());
}

}  // namespace
