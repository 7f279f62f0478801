// Closing the main window stops its timers and joins the link's threads before anything goes.
// Nothing here paints: Qt's own paint helper threads are not instrumented for the thread checker.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "link/frame.h"
#include "link/ui/page_setup.h"
#include "qt_app.h"

using namespace console;

namespace {

std::unique_ptr<CVelmor_Zem_R7Dlg> StartDialog(const std::string& config) {
    TestApp();
    CVelmor_Zem_R7Dlg::Options options;
    options.configPath = config;
    options.logPath.clear();
    auto dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
    dialog->OnInitDialog();
    return dialog;
}

ZemCmd::Cmd Heartbeat() {
    ZemCmd::Cmd cmd;
    const std::uint8_t bytes[] = {0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD};
    std::copy(std::begin(bytes), std::end(bytes), cmd.b.begin());
    return cmd;
}

TEST(MainWindowTeardown, ExitStopsTimersAndJoinsTheSender) {
    const std::string config = "teardown_test_config.ini";
    auto dialog = StartDialog(config);
    PageSetUp* setUp = dialog->SetUpPage();
    ASSERT_NE(setUp, nullptr);
    ASSERT_TRUE(setUp->Queue().IsRunning());
    EXPECT_GT(dialog->Timers().Count(), 0u);
    for (int i = 0; i < 20; ++i) setUp->PushCmd(Heartbeat());  // the sender is busy with these
    dialog->OnCommand(kCmdExit);
    EXPECT_EQ(dialog->Timers().Count(), 0u);
    EXPECT_FALSE(setUp->Queue().IsRunning());
    EXPECT_FALSE(setUp->Link().IsOpen());
    dialog.reset();  // the pages and the link go after their threads
    std::remove(config.c_str());
}

TEST(MainWindowTeardown, DestroyingARunningWindowJoinsTheSenderFirst) {
    const std::string config = "teardown_test_config2.ini";
    for (int round = 0; round < 3; ++round) {
        auto dialog = StartDialog(config);
        for (int i = 0; i < 5; ++i) dialog->SetUpPage()->PushCmd(Heartbeat());
        ASSERT_TRUE(dialog->SetUpPage()->Queue().IsRunning());
        dialog.reset();
    }
    std::remove(config.c_str());
}

}  // namespace
