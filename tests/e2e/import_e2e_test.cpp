// A preset file imported against the simulated processor: afterwards the processor holds what the
// screen shows, the music input and the mutes included, and a new read-back brings them back.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

#include "pages/channel_output_page.h"
#include "pages/page_index.h"
#include "pages/page_music.h"
#include "sim/processor.h"
#include "tests/console/support.h"
#include "tests/e2e/no_painting.h"

namespace {

using testbytes::Bytes;

class ImportEndToEnd : public testing::Test {
  protected:
    void SetUp() override {
        e2e::StopPainting();
        sim = std::make_unique<sim::Processor>(sim::Options{});
        std::string error;
        ASSERT_TRUE(sim->Start(error)) << error;
        setenv("K417B_PORTS", sim->SlavePath().c_str(), 1);
        dialog = StartMainWindow("import_e2e_test.ini", [this](auto& o) {
            o.firstConnectDelayMs = 1000000;  // the test asks for the connect itself
            o.connectTickMs = 40;
            o.frameTap = [this](const ZemCmd::Cmd& frame) { sent.push_back(testbytes::Of(frame)); };
        });
        dialog->SetWaitTiming({1});
    }
    void TearDown() override {
        dialog.reset();  // stops the sender and the reader before the terminal goes
        if (sim) sim->Stop();
        unsetenv("K417B_PORTS");
        std::remove("import_e2e_test.ini");
    }
    chan::OutputPage* Output(int page) { return dialog->Pages().Output(static_cast<pageindex::Index>(page)); }
    // Runs the event loop until the processor holds this input and these mutes.
    bool ProcessorHolds(int input, int mutes, int ms) {
        return QTest::qWaitFor(
            [&] {
                const sim::Store s = sim->GetStore();
                return s.musicInput == input && s.mutes == mutes;
            },
            ms);
    }
    bool QueueDrains(int ms) {
        return QTest::qWaitFor([&] { return dialog->SetUpPage()->Queue().Pending().empty(); }, ms);
    }
    int CountSent(const Bytes& frame) const {
        return static_cast<int>(std::count(sent.begin(), sent.end(), frame));
    }
    int CountReceivedSince(std::size_t from, const Bytes& frame) const {
        const std::vector<sim::LogEntry> log = sim->Log();
        int n = 0;
        for (std::size_t i = from; i < log.size(); ++i) n += log[i].dir == "rx" && log[i].bytes == frame;
        return n;
    }

    std::unique_ptr<sim::Processor> sim;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::vector<Bytes> sent;  // every frame the main window queued
};

TEST_F(ImportEndToEnd, AfterAnImportTheProcessorHoldsTheInputAndTheMutesTheScreenShows) {
    using namespace pageindex;
    // The port as a connect leaves it, without the read-back.
    Uart& link = dialog->SetUpPage()->Link();
    ASSERT_EQ(link.Open(sim->SlavePath()), 1);
    link.Start();
    PageMusic* music = dialog->Pages().Music();
    chan::OutputPage* main = Output(kMainOut);
    chan::OutputPage* bass = Output(kBassOut);

    // "BT", main left and the subwoofer muted: the processor takes it, and the file keeps it.
    music->InputButton(2)->click();
    main->MuteButton(0)->click();
    bass->MuteButton(0)->click();
    ASSERT_TRUE(ProcessorHolds(2, 0x09, 3000)) << "the clicks never reached the processor";
    TempDir dir("import_e2e_files");
    win::ScriptedFileDialogs files;
    win::ScriptedMessageBoxes boxes;
    files.answers = {QString::fromStdString(dir.File("bt_muted.inf"))};
    dialog->OnCommand(console::kCmdExport);

    // Then "OPT" and both unmuted, on the screen and in the processor.
    music->InputButton(4)->click();
    main->MuteButton(0)->click();
    bass->MuteButton(0)->click();
    ASSERT_TRUE(ProcessorHolds(4, 0x00, 3000)) << "the second clicks never reached the processor";
    ASSERT_TRUE(QueueDrains(3000));

    sent.clear();
    const std::size_t logFrom = sim->Log().size();
    files.answers = {QString::fromStdString(dir.File("bt_muted.inf"))};
    dialog->OnCommand(console::kCmdImport);
    EXPECT_TRUE(boxes.shown.empty()) << "the console's own file was refused";
    EXPECT_EQ(music->CheckedInput(), 2) << "the screen does not show \"BT\"";
    EXPECT_EQ(main->MuteBits(), 1) << "the screen does not show main left muted";
    EXPECT_EQ(bass->MuteBits(), 1) << "the screen does not show the subwoofer muted";
    const Bytes input = testbytes::Sealed("A5 06 F9 03 29");
    const Bytes mainMute = testbytes::Sealed("A5 06 F9 03 17");
    const Bytes otherMutes = testbytes::Sealed("A5 06 F9 03 28");
    EXPECT_EQ(CountSent(input), 1) << "the import's frames lack the input action";
    EXPECT_EQ(CountSent(mainMute), 2) << "the main output's mute action is not handed over twice";
    EXPECT_EQ(CountSent(otherMutes), 2) << "the other outputs' mute action is not handed over twice";
    ASSERT_TRUE(ProcessorHolds(2, 0x09, 15000)) << "the import left the processor on another input or mutes";
    ASSERT_TRUE(QueueDrains(15000)) << "the import's frames never all went out";
    EXPECT_EQ(CountReceivedSince(logFrom, input), 1);
    EXPECT_GE(CountReceivedSince(logFrom, mainMute), 1);
    EXPECT_GE(CountReceivedSince(logFrom, otherMutes), 1);

    // The screen put back quietly, so only the read-back can show the file's state again.
    music->ApplyDeviceInput(4);
    main->SetMuteBits(0);
    bass->SetMuteBits(0);
    dialog->OnConnect();
    ASSERT_TRUE(dialog->Connected()) << "the second connect failed";
    EXPECT_EQ(music->MusicInput(), 2) << "the read-back does not show \"BT\"";
    EXPECT_EQ(music->CheckedInput(), 2);
    EXPECT_EQ(main->MuteBits(), 1) << "the read-back does not show main left muted";
    EXPECT_EQ(bass->MuteBits(), 1) << "the read-back does not show the subwoofer muted";
    EXPECT_EQ(dialog->LastMuteMask(), 0x09);
}

}  // namespace
