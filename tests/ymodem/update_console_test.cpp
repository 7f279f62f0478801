// The DSP Update command, the set-up page and the debug window, with the console's main window
// against the simulated processor on a pseudo-terminal.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "link/ui/dlg_debug.h"
#include "link/ui/page_setup.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"
#include "sim/processor.h"
#include "tests/console/qt_app.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

template <class F>
bool PumpUntil(F done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class UpdateCommand : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        char dir[] = "updatecmd.XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
        sim::Options o;
        o.firmwareDir = dir_;
        sim_ = std::make_unique<sim::Processor>(o);
        std::string error;
        ASSERT_TRUE(sim_->Start(error)) << error;
        setenv("K417B_PORTS", sim_->SlavePath().c_str(), 1);
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = dir_ + "/config.ini";
        options.logPath.clear();
        options.firstConnectDelayMs = 1000000;
        dialog_ = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog_->OnInitDialog();
        page_ = dialog_->SetUpPage();
        ASSERT_NE(page_, nullptr);
    }
    void TearDown() override {
        dialog_.reset();
        sim_->Stop();
        unsetenv("K417B_PORTS");
        std::system(("rm -rf " + dir_).c_str());
    }
    void OpenLink() {
        ASSERT_EQ(page_->Link().Open("COM1"), 1);
        page_->Link().Start();
    }
    std::string WriteFile(const std::string& name, const Bytes& bytes) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    int FramesReceived() const {
        int n = 0;
        for (const sim::LogEntry& e : sim_->Log()) n += e.dir == "rx";
        return n;
    }
    bool SimGot(const Bytes& frame, std::chrono::milliseconds limit = 2s) {
        return PumpUntil(
            [&] {
                for (const sim::LogEntry& e : sim_->Log())
                    if (e.dir == "rx" && e.bytes == frame) return true;
                return false;
            },
            limit);
    }

    std::string dir_;
    std::unique_ptr<sim::Processor> sim_;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog_;
    PageSetUp* page_ = nullptr;
};

TEST_F(UpdateCommand, ClosedPortShowsTheLanguageBoxAndAsksForNoFile) {
    struct Case {
        int language;
        const char* text;
        const char* caption;
        int boxLanguage;
    };
    const Case cases[] = {{0, "设备未连接", "提示", 0},           {1, "Device disconnected", "Tips", 1},
                          {2, "หยุดการเชื่อมต่อ อุปกรณ์", "Tips", 2},   {3, "Alat Tidak Terhubung", "Tips", 3},
                          {4, "Alat Tidak Terhubung", "Tips", 4}, {7, "Device disconnected", "Tips", 1}};
    for (const Case& c : cases) {
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        dialog_->m_language = c.language;
        dialog_->OnCommand(console::kCmdDspUpdate);
        ASSERT_EQ(boxes.shown.size(), 1u) << c.language;
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(boxes.shown[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(boxes.shown[0].language, c.boxLanguage);
        EXPECT_EQ(files.asked, 0);
    }
}

TEST_F(UpdateCommand, FileThatCannotBeReadSendsNothingAndSaysSo) {
    OpenLink();
    const int before = FramesReceived();
    for (const std::string& path : {dir_ + "/missing.bin", dir_}) {
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(path));
        dialog_->m_language = 1;
        dialog_->OnCommand(console::kCmdDspUpdate);
        ASSERT_EQ(boxes.shown.size(), 1u) << path;
        EXPECT_TRUE(boxes.shown[0].text.startsWith("Cannot read the firmware file:")) << path;
        EXPECT_TRUE(boxes.shown[0].text.contains(QString::fromStdString(path)));
        EXPECT_EQ(page_->Link().updateResult.load(), -3);
        EXPECT_EQ(page_->Link().updateRequest.load(), 0);
        EXPECT_TRUE(dialog_->Timers().IsSet(console::kTimerHeartbeat));
    }
    {
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        files.answers.push_back(std::nullopt);  // cancelled: nothing at all
        dialog_->OnCommand(console::kCmdDspUpdate);
        EXPECT_TRUE(boxes.shown.empty());
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(FramesReceived(), before);
    EXPECT_FALSE(sim_->InUpdateMode());
}

TEST_F(UpdateCommand, ImageReachesTheProcessorAndTheDialogReportsSuccess) {
    OpenLink();
    Bytes image(3000);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13);
    const std::string path = WriteFile("dsp.bin", image);
    win::ScriptedMessageBoxes boxes;
    win::ScriptedFileDialogs files;
    files.answers.push_back(QString::fromStdString(path));
    dialog_->OnCommand(console::kCmdDspUpdate);  // modal until the result box
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Update Success");
    EXPECT_EQ(boxes.shown[0].caption, "Finish");
    EXPECT_TRUE(dialog_->Timers().IsSet(console::kTimerHeartbeat));
    ASSERT_TRUE(PumpUntil([&] { return sim_->SavedImages().size() == 1; }, 2s));
    std::ifstream in(sim_->SavedImages()[0], std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), image);
    EXPECT_TRUE(sim_->SavedImages()[0].ends_with("/dsp.bin"));
}

TEST_F(UpdateCommand, SetUpPageCaptionsFollowTheLanguage) {
    auto text = [&](int id) {
        QWidget* w = win::FindControl(page_, id);
        if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        return QString("?");
    };
    struct Case {
        int language;
        const char *group, *port, *debug, *print, *open;
    };
    const Case cases[] = {{0, "串口设置", "端口：", "调试", "调试打印", "打开"},
                          {1, "Uart Setting", "Port:", "Debug", "Debug Printing", "Open"},
                          {2, "การตั้งค่าพอร์ตอนุกรม", "พอร์ตอนุกรม:", "ดีบั๊ก", "ขอนไม้", "เปิดเรียน"},
                          {3, "", "", "", "", "Open"},
                          {4, "", "", "", "", "Buka"}};
    for (const Case& c : cases) {
        page_->SetLanguage(c.language);
        EXPECT_EQ(text(1388), QString::fromUtf8(c.group)) << c.language;
        EXPECT_EQ(text(1389), QString::fromUtf8(c.port)) << c.language;
        EXPECT_EQ(text(1011), QString::fromUtf8(c.debug)) << c.language;
        EXPECT_EQ(text(1091), QString::fromUtf8(c.print)) << c.language;
        EXPECT_EQ(text(1010), QString::fromUtf8(c.open)) << c.language;
    }
    auto* ports = win::FindControlAs<QComboBox>(page_, 1008);
    ASSERT_NE(ports, nullptr);
    EXPECT_EQ(ports->count(), 14);
    EXPECT_EQ(ports->currentText(), "COM3");
    // Open with the port list, then close: the button flips between the language's texts.
    win::ScriptedMessageBoxes boxes;
    ports->setCurrentIndex(0);  // COM1 is the simulator
    page_->OnOpenClose();
    EXPECT_TRUE(page_->Link().IsOpen());
    EXPECT_EQ(text(1010), "Mati");
    page_->SetLanguage(1);
    EXPECT_EQ(text(1010), "Close");
    page_->OnOpenClose();
    EXPECT_FALSE(page_->Link().IsOpen());
    EXPECT_EQ(text(1010), "Open");
    ports->setCurrentIndex(5);  // COM6 maps to nothing
    page_->OnOpenClose();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("错误"));
    EXPECT_EQ(text(1010), "Open");
}

TEST_F(UpdateCommand, SetUpPageFramesGoToTheProcessor) {
    OpenLink();
    auto* groups = win::FindControlAs<QComboBox>(page_, 1417);
    ASSERT_NE(groups, nullptr);
    for (const auto& [index, action] : {std::pair{0, 0x01}, std::pair{15, 0xF1}}) {
        groups->setCurrentIndex(index);
        page_->OnSave();
        const std::uint8_t a = static_cast<std::uint8_t>(action);
        EXPECT_TRUE(
            SimGot({0xA5, 0x06, 0xF9, 0x03, a, static_cast<std::uint8_t>(0xA5 + 0x06 + 0xF9 + 0x03 + a)}))
            << index;
    }
    auto* print = win::FindControlAs<QCheckBox>(page_, 1091);
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isChecked());
    print->click();  // unticked: debug printing off
    EXPECT_TRUE(SimGot({0xA5, 0x06, 0xF9, 0x01, 0x03, 0xA8}));
    print->click();
    EXPECT_TRUE(SimGot({0xA5, 0x06, 0xF9, 0x01, 0x00, 0xA5}));
}

TEST_F(UpdateCommand, DebugWindowTakesTextFromAnyThreadAndClears) {
    CDlgDebug* debug = page_->DebugWindow();
    ASSERT_NE(debug, nullptr);
    EXPECT_FALSE(debug->isVisible());
    EXPECT_EQ(debug->Text(), "Hello!\n");
    // Writers on other threads never wait for the window; their text arrives whole and in order.
    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t)
        writers.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i)
                page_->Link().Log("w" + std::to_string(t) + ":" + std::to_string(i) + "\n");
        });
    for (std::thread& w : writers) w.join();
    ASSERT_TRUE(PumpUntil([&] { return debug->Text().count('\n') == 601; }, 2s));
    for (int t = 0; t < 3; ++t) {
        int last = -1;
        for (const QString& line : debug->Text().split('\n')) {
            if (!line.startsWith(QString("w%1:").arg(t))) continue;
            const int i = line.mid(3).toInt();
            EXPECT_EQ(i, last + 1);
            last = i;
        }
        EXPECT_EQ(last, 199);
    }
    const std::uint32_t entries[] = {0xa5, 0x0b, 0xf6, 0};
    page_->DebugPrint("Rx", entries, 4);
    debug->Flush();
    EXPECT_TRUE(debug->Text().endsWith("Rx=a5 b f6 0 \n"));
    EXPECT_TRUE(page_->Log().Text().ends_with("Rx=a5 b f6 0 \n"));

    debug->OnBnClickedClear();
    EXPECT_TRUE(debug->Text().isEmpty());
    page_->Link().Log("next\n");
    debug->Flush();
    EXPECT_EQ(debug->Text(), "next\n");

    debug->HexBox()->click();
    EXPECT_TRUE(page_->Link().hex.load());
    debug->HexBox()->click();
    EXPECT_FALSE(page_->Link().hex.load());

    // Only the page's own Debug button shows it.
    page_->SetLanguage(1);
    page_->OnDebug();
    EXPECT_FALSE(debug->isHidden());
    debug->hide();
}

}  // namespace
