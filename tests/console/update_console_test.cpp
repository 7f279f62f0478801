// The DSP Update command and the set-up page, against the simulator on a pty.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCheckBox>
#include <QGroupBox>
#include <thread>

#include "tests/link/image_files.h"
#include "sim/processor.h"
#include "tests/console/support.h"

namespace {

using namespace std::chrono_literals;

class UpdateCommand : public testing::Test {
  protected:
    void SetUp() override {
        sim::Options o;
        o.firmwareDir = dir_.path;
        sim_ = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(sim_->Start(error)) << error;
        setenv("K417B_PORTS", sim_->SlavePath().c_str(), 1);
        dialog_ =
            StartMainWindow(dir_.path + "/config.ini", [](auto& d) { d.firstConnectDelayMs = 1000000; });
        page_ = dialog_->SetUpPage();
        ASSERT_NE(page_, nullptr);
    }
    void TearDown() override {
        dialog_.reset();
        sim_->Stop();
        unsetenv("K417B_PORTS");
    }
    void OpenLink() {
        ASSERT_EQ(page_->Link().Open("COM1"), 1);
        page_->Link().Start();
    }
    int FramesReceived(const Bytes& frame = {}) const {
        int n = 0;
        for (const sim::LogEntry& e : sim_->Log()) n += e.dir == "rx" && (frame.empty() || e.bytes == frame);
        return n;
    }
    bool SimGot(const Bytes& frame) {
        return PumpUntil([&] { return FramesReceived(frame) > 0; });
    }
    QString Text(int id) {
        if (auto* g = win::FindControlAs<QGroupBox>(page_, id)) return g->title();
        return TextOf(page_, id);
    }

    ImageDir dir_;
    std::unique_ptr<sim::Processor> sim_;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog_;
    PageSetUp* page_ = nullptr;
};

TEST_F(UpdateCommand, ClosedPortShowsTheLanguageBoxAndAsksForNoFile) {
    // clang-format off
    const struct { const char* name; int language; const char* text; const char* caption; int boxLanguage; } cases[] = {
        {"Chinese", 0, "设备未连接", "提示", 0},
        {"English", 1, "Device disconnected", "Tips", 1}, {"Thai", 2, "หยุดการเชื่อมต่อ อุปกรณ์", "Tips", 2},
        {"Indonesian 3", 3, "Alat Tidak Terhubung", "Tips", 3}, {"Indonesian 4", 4, "Alat Tidak Terhubung", "Tips", 4},
        {"out of range: English", 7, "Device disconnected", "Tips", 1}};
    // clang-format on
    for (const auto& [name, language, text, caption, boxLanguage] : cases) {
        SCOPED_TRACE(name);
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        dialog_->SetLanguageForTests(language);
        dialog_->OnCommand(console::kCmdDspUpdate);
        EXPECT_EQ(files.asked, 0) << "no file is asked for while the port is closed";
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(text));
        EXPECT_EQ(boxes.shown[0].caption, QString::fromUtf8(caption));
        EXPECT_EQ(boxes.shown[0].language, boxLanguage) << "language of the box";
    }
}

TEST_F(UpdateCommand, UnreadableFileSendsNothingAndSaysSoAGoodOneReachesTheProcessor) {
    OpenLink();
    const int before = FramesReceived();
    dialog_->SetLanguageForTests(1);
    for (const std::optional<QString>& path :
         {std::optional(QString::fromStdString(dir_.path + "/missing.bin")), std::optional<QString>()}) {
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        files.answers.push_back(path);
        dialog_->OnCommand(console::kCmdDspUpdate);
        EXPECT_EQ(boxes.shown.size(), path ? 1u : 0u);  // cancelled: nothing at all
        if (!path || boxes.shown.empty()) continue;
        EXPECT_EQ(boxes.shown[0].text, "Cannot read the firmware file:\n" + *path);
        EXPECT_EQ(page_->Link().updateResult.load(), -3) << "result of an unreadable file";
        EXPECT_EQ(page_->Link().updateRequest.load(), 0) << "no update may be left requested";
        EXPECT_TRUE(dialog_->Timers().IsSet(console::kTimerHeartbeat)) << "the heartbeat must run again";
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(FramesReceived(), before) << "nothing may be sent for an unreadable file";
    EXPECT_FALSE(sim_->InUpdateMode());

    const Bytes image = Pattern(3000);
    win::ScriptedMessageBoxes boxes;
    win::ScriptedFileDialogs files;
    files.answers.push_back(QString::fromStdString(dir_.Write("dsp.bin", image)));
    dialog_->OnCommand(console::kCmdDspUpdate);  // modal until the result box
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Update Success");
    EXPECT_EQ(boxes.shown[0].caption, "Finish");
    EXPECT_TRUE(dialog_->Timers().IsSet(console::kTimerHeartbeat)) << "the heartbeat must run again";
    ASSERT_TRUE(PumpUntil([&] { return sim_->SavedImages().size() == 1; }));
    EXPECT_EQ(ReadFile(sim_->SavedImages()[0]), image);
    EXPECT_TRUE(sim_->SavedImages()[0].ends_with("/dsp.bin"));
}

TEST_F(UpdateCommand, EmptyAndOversizedImagesAreRefusedInTheLanguageBeforeAnythingIsSent) {
    OpenLink();
    const int before = FramesReceived();
    const std::string empty = dir_.Write("empty.bin", {});
    const std::string huge = dir_.Write("huge.bin", {});
    // Sparse: one byte over the limit without writing 64 MiB.
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(Ymodem::kMaxSize + 1)), 0);
    // clang-format off
    // the file's path follows the text after a line end
    const struct { int language; const std::string& path; const char* text; const char* caption; int boxLanguage; } cases[] = {
        {0, empty, "固件文件是空的：", "提示", 0},
        {1, empty, "The firmware file is empty:", "Tips", 1},
        {2, empty, "ไฟล์เฟิร์มแวร์ว่างเปล่า:", "Tips", 2},
        {3, empty, "Tệp firmware trống:", "Tips", 3},
        {4, empty, "File firmware kosong:", "Tips", 4},
        {0, huge, "固件文件太大（最大 64 MiB）：", "提示", 0},
        {1, huge, "The firmware file is too large (at most 64 MiB):", "Tips", 1},
        {2, huge, "ไฟล์เฟิร์มแวร์ใหญ่เกินไป (สูงสุด 64 MiB):", "Tips", 2},
        {3, huge, "Tệp firmware quá lớn (tối đa 64 MiB):", "Tips", 3},
        {4, huge, "File firmware terlalu besar (maksimal 64 MiB):", "Tips", 4},
        {7, huge, "The firmware file is too large (at most 64 MiB):", "Tips", 1},
    };
    // clang-format on
    for (const auto& [language, path, text, caption, boxLanguage] : cases) {
        SCOPED_TRACE(testing::Message() << path << ", language " << language);
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(path));
        dialog_->SetLanguageForTests(language);
        dialog_->OnCommand(console::kCmdDspUpdate);
        ASSERT_EQ(boxes.shown.size(), 1u) << "one box saying why, and no update dialog";
        EXPECT_EQ(boxes.shown[0].text.toStdString(), std::string(text) + "\n" + path);
        EXPECT_EQ(boxes.shown[0].caption.toStdString(), caption);
        EXPECT_EQ(boxes.shown[0].language, boxLanguage) << "language of the box";
        EXPECT_EQ(page_->Link().updateResult.load(), -3) << "result of a refused image";
        EXPECT_EQ(page_->Link().updateRequest.load(), 0) << "no update may be left requested";
        EXPECT_TRUE(dialog_->Timers().IsSet(console::kTimerHeartbeat)) << "the heartbeat must run again";
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(FramesReceived(), before) << "a refused image must send nothing, not even the enter-update frame";
    EXPECT_FALSE(sim_->InUpdateMode());
}

TEST_F(UpdateCommand, SetUpPageCaptionsFollowTheLanguageAndItsButtonOpensAndCloses) {
    // group, port, debug, print, open
    // clang-format off
    const std::pair<int, std::vector<const char*>> cases[] = {
        {0, {"串口设置", "端口：", "调试", "调试打印", "打开"}},
        {1, {"Uart Setting", "Port:", "Debug", "Debug Printing", "Open"}},
        {2, {"การตั้งค่าพอร์ตอนุกรม", "พอร์ตอนุกรม:", "ดีบั๊ก", "ขอนไม้", "เปิดเรียน"}},
        {3, {"", "", "", "", "Open"}}, {4, {"", "", "", "", "Buka"}}};
    // clang-format on
    for (const auto& [language, texts] : cases) {
        page_->SetLanguage(language);
        const struct {
            const char* name;
            int id;
        } controls[] = {{"port group", PageSetUp::kPortGroupId},
                        {"port label", PageSetUp::kPortLabelId},
                        {"debug button", PageSetUp::kDebugId},
                        {"debug printing box", PageSetUp::kDebugPrintId},
                        {"open button", PageSetUp::kOpenCloseId}};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Text(controls[i].id), QString::fromUtf8(texts[i]))
                << "language " << language << ", " << controls[i].name;
    }
    auto* ports = win::FindControlAs<QComboBox>(page_, PageSetUp::kPortListId);
    ASSERT_TRUE(ports);
    EXPECT_EQ(ports->count(), 14) << "ports listed";
    EXPECT_EQ(ports->currentText(), QString("COM3")) << "port chosen at first";
    win::ScriptedMessageBoxes boxes;
    // port item clicked (-1: none), language then -> open, button text; COM1 is the simulator, COM6 nothing
    const struct {
        const char* name;
        int item;
        int language;
        bool open;
        const char* text;
    } steps[] = {{"COM1 opened, Indonesian", 0, 4, true, "Mati"},
                 {"language changed while open", -1, 1, true, "Close"},
                 {"COM1 closed", 0, 1, false, "Open"},
                 {"COM6 has nothing", 5, 1, false, "Open"}};
    for (const auto& [name, item, language, open, text] : steps) {
        SCOPED_TRACE(name);
        if (item >= 0) ports->setCurrentIndex(item), page_->OnOpenClose();
        page_->SetLanguage(language);
        EXPECT_EQ(page_->Link().IsOpen(), open) << "link open";
        EXPECT_EQ(Text(PageSetUp::kOpenCloseId), QString(text)) << "button text";
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("错误"));  // COM6
}

TEST_F(UpdateCommand, SetUpPageFramesGoToTheProcessor) {
    OpenLink();
    auto* groups = win::FindControlAs<QComboBox>(page_, PageSetUp::kGroupListId);
    auto* print = win::FindControlAs<QCheckBox>(page_, PageSetUp::kDebugPrintId);
    ASSERT_TRUE(groups) << "group list";
    ASSERT_TRUE(print) << "debug printing box";
    for (const auto& [index, hex] : {std::pair{0, "A5 06 F9 03 01 A8"}, {15, "A5 06 F9 03 F1 98"}}) {
        groups->setCurrentIndex(index);
        page_->OnSave();
        EXPECT_TRUE(SimGot(testbytes::FromHex(hex))) << index;
    }
    EXPECT_TRUE(print->isChecked());
    print->click();  // unticked: debug printing off
    EXPECT_TRUE(SimGot(testbytes::FromHex("A5 06 F9 01 03 A8")));
}

}  // namespace
