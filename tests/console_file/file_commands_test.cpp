// The File menu's Export and Import on the real main window, with scripted file dialogs and boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <filesystem>
#include <memory>
#include <random>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/page_wait.h"
#include "controls/graph_wave.h"
#include "pages/channel_output_page.h"
#include "pages/page_effect.h"
#include "pages/page_ids.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"
#include "temp_dir.h"
#include "tests/console/qt_app.h"

using namespace console;

namespace {

// ASCII-only UTF-16LE back to text; fails the test on anything else.
std::string AsciiFromUtf16(const std::string& bytes) {
    EXPECT_EQ(bytes.size() % 2, 0u);
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        EXPECT_EQ(bytes[i + 1], '\0') << "at byte " << i;
        text += bytes[i];
    }
    return text;
}

// The values the main dialog's own sections hold, set on the window and expected in the file.
struct Distinct {
    int master[3];                                // 1015, 1016, 1017
    int music[4], direct[4], echo[4], reverb[4];  // main, mid, bass, surround
    int delay[6];
};
constexpr Distinct kFirst{{60, 50, 70},     {11, 12, 13, 14}, {21, 22, 23, 24},
                          {31, 32, 33, 34}, {41, 42, 43, 44}, {1, 2, 3, 4, 5, 6}};
constexpr Distinct kSecond{{3, 4, 5},
                           {101, 102, 103, 104},
                           {111, 112, 113, 114},
                           {121, 122, 123, 124},
                           {131, 132, 133, 134},
                           {40, 41, 42, 43, 44, 45}};

const char* const kFirstMainText =
    "[vol]\n60\n50\n70\n"
    "\n[music vol]\n11,11,12,13,14,14\n\n"
    "\n[direct vol]\n21,21,22,23,24,24\n\n"
    "\n[echo vol]\n31,31,32,33,34,34\n\n"
    "\n[reverb vol]\n41,41,42,43,44,44\n\n"
    "\n[delay]\n1,2,3,4,5,6\n\n";

class FileCommands : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = dir.File("config.ini");
        options.logPath.clear();
        options.frameTap = [this](const ZemCmd::Cmd& frame) { sent.push_back(frame.b); };
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
        dialog->m_waitTiming = {1, 0};
    }

    QSlider* Master(int k) { return win::FindControlAs<QSlider>(dialog->Client(), kIdMicSlider + k); }
    QLabel* MasterLabel(int k) { return win::FindControlAs<QLabel>(dialog->Client(), kIdMicValue + k); }
    chan::OutputPage* Output(int o) { return qobject_cast<chan::OutputPage*>(dialog->PageAt(3 + o)); }
    PageEffect* Effect() { return qobject_cast<PageEffect*>(dialog->PageAt(2)); }
    int Level(int o, int slider) { return Output(o)->SliderPos(slider).value_or(-1); }

    void Set(const Distinct& d) {
        for (int k = 0; k < 3; ++k) {
            const QSignalBlocker quiet(Master(k));
            Master(k)->setValue(d.master[k]);
            MasterLabel(k)->setText(QString::number(d.master[k]));
        }
        for (int o = 0; o < 4; ++o) {
            Output(o)->SetSliderPos(pageid::kMusicLevelSlider, d.music[o]);
            Output(o)->SetDirectVolume(d.direct[o]);
            Output(o)->SetEchoVolume(d.echo[o]);
            Output(o)->SetReverbVolume(d.reverb[o]);
        }
        const int delayPage[6] = {0, 0, 1, 2, 3, 3};
        const int delayId[6] = {pageid::kLeftDelaySlider, pageid::kRightDelaySlider,
                                pageid::kDelaySlider,     pageid::kDelaySlider,
                                pageid::kLeftDelaySlider, pageid::kRightDelaySlider};
        for (int i = 0; i < 6; ++i) Output(delayPage[i])->SetSliderPos(delayId[i], d.delay[i]);
    }
    void ExpectMain(const Distinct& d, const char* where) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(Master(k)->value(), d.master[k]) << where;
            EXPECT_EQ(MasterLabel(k)->text(), QString::number(d.master[k])) << where;
        }
        for (int o = 0; o < 4; ++o) {
            EXPECT_EQ(Level(o, pageid::kMusicLevelSlider), d.music[o]) << where << " output " << o;
            EXPECT_EQ(Level(o, pageid::kDirectLevelSlider), d.direct[o]) << where << " output " << o;
            EXPECT_EQ(Level(o, pageid::kEchoLevelSlider), d.echo[o]) << where << " output " << o;
            EXPECT_EQ(Level(o, pageid::kReverbLevelSlider), d.reverb[o]) << where << " output " << o;
        }
        EXPECT_EQ(Level(0, pageid::kLeftDelaySlider), d.delay[0]) << where;
        EXPECT_EQ(Level(3, pageid::kRightDelaySlider), d.delay[5]) << where;
    }
    // A change in every page's EQ, so the pages' sections differ from the reset.
    void ChangeBands(int freq, float gain) {
        for (int i = 0; i < kTabCount; ++i) dialog->WaveAt(i)->SetBandFreqGain(1, freq + i, gain);
    }
    void ResetPages() {
        for (int i = 0; i < kTabCount; ++i) dialog->WaveAt(i)->ResetAll(true);
    }

    std::string Export(const std::string& path) {
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(path));
        dialog->OnCommand(kCmdExport);
        EXPECT_EQ(files.asked, 1);
        return ReadBytes(path);
    }
    void Import(const std::string& path) {
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(path));
        dialog->OnCommand(kCmdImport);
    }
    // A whole-state send marks the effect EQ's ends as the echo filters; exports made after one
    // compare equal to exports made after the import's own.
    void Settle() {
        dialog->SyncAllToDevice();
        sent.clear();
    }
    std::string PageTexts() {
        std::string all;
        for (int i = 0; i < kTabCount; ++i) all += dialog->WaveAt(i)->SaveText() + "\n";
        return all;
    }

    TempDir dir{"file_commands"};
    win::ScriptedMessageBoxes boxes;
    std::vector<std::array<std::uint8_t, ZemCmd::kMaxFrame>> sent;  // frames handed to the queue at once
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

TEST_F(FileCommands, ExportAtResetIsUtf16WithoutMarkOrCarriageReturns) {
    const std::string bytes = Export(dir.File("reset.inf"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], '\x5B');
    EXPECT_EQ(bytes[1], '\x00');
    const std::string text = AsciiFromUtf16(bytes);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text,
              "[vol]\n0\n0\n0\n"
              "\n[music vol]\n50,50,50,50,50,50\n\n"
              "\n[direct vol]\n50,50,50,50,50,50\n\n"
              "\n[echo vol]\n50,50,50,50,50,50\n\n"
              "\n[reverb vol]\n50,50,50,50,50,50\n\n"
              "\n[delay]\n0,0,0,0,0,0\n\n" +
                  PageTexts());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FileCommands, ExportAtDistinctValuesWritesThemInPlace) {
    Set(kFirst);
    ChangeBands(130, -3.5f);
    const std::string text = AsciiFromUtf16(Export(dir.File("zem")));  // typed without extension
    EXPECT_TRUE(std::filesystem::exists(dir.File("zem")));
    EXPECT_EQ(text, kFirstMainText + PageTexts());
    // Each page's sections stand in tab order: music, microphone, effect, main, mid, bass, surround.
    std::size_t at = 0;
    for (const char* name :
         {"[music eq]", "[mic eq]", "[effect eq]", "[main eq]", "[mid eq]", "[bass eq]", "[surround eq]"}) {
        const std::size_t found = text.find(name, at);
        EXPECT_NE(found, std::string::npos) << name;
        at = found == std::string::npos ? at : found;
    }
}

TEST_F(FileCommands, ImportRestoresWhatWasExported) {
    Set(kFirst);
    ChangeBands(130, -3.5f);
    Effect()->SetEchoHighPass(150);
    dialog->TabStrip()->setCurrentIndex(3);
    Settle();
    const std::string first = Export(dir.File("first.inf"));

    ResetPages();
    Set(kSecond);
    Effect()->SetEchoHighPass(60);
    dialog->Graph()->selected = 2;
    sent.clear();
    Import(dir.File("first.inf"));
    // The imported state goes to the device once, as a whole.
    const auto imported = sent;
    sent.clear();
    dialog->SyncAllToDevice();
    EXPECT_FALSE(imported.empty());
    EXPECT_EQ(imported, sent);

    EXPECT_TRUE(boxes.shown.empty());
    ExpectMain(kFirst, "after import");
    EXPECT_EQ(Effect()->Model().band.freq[0], 150);
    EXPECT_EQ(dialog->Graph()->Curve().freq[1], 133);  // the shown page's curve is refilled
    EXPECT_EQ(dialog->Graph()->selected, -1);
    EXPECT_EQ(Export(dir.File("again.inf")), first);
}

TEST_F(FileCommands, ImportShowsTheWaitThatCountsAndClosesByItself) {
    const std::string path = dir.File("a.inf");
    Export(path);
    Import(path);
    QPointer<PageWait> wait = dialog->findChild<PageWait*>();
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(wait->Progress()->value(), 0);
    // A second import starts the count again with one dialog.
    Import(path);
    QApplication::processEvents();
    EXPECT_EQ(dialog->findChildren<PageWait*>().size(), 1);
    QElapsedTimer clock;
    clock.start();
    while (!dialog->findChildren<PageWait*>().isEmpty() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(dialog->findChildren<PageWait*>().isEmpty());
}

TEST_F(FileCommands, BrokenFilesLoadWhatTheyHoldAndKeepTheRest) {
    Set(kFirst);
    ChangeBands(130, -3.5f);
    Settle();
    const std::string first = Export(dir.File("first.inf"));
    ResetPages();
    Set(kSecond);
    Settle();
    const std::string second = Export(dir.File("second.inf"));
    const std::string text = AsciiFromUtf16(first);

    struct Case {
        const char* name;
        std::string bytes;
        Distinct expected;
    };
    // The [vol] section cut after its first value, the rest of the file gone.
    Distinct volOnly = kSecond;
    volOnly.master[0] = 60;
    // Carriage returns break every section name: nothing changes.
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    // A byte-order mark hides only the first section.
    Distinct allButVol = kFirst;
    std::copy(std::begin(kSecond.master), std::end(kSecond.master), allButVol.master);
    const Case cases[] = {
        {"cut inside [vol]", first.substr(0, AsciiUtf16("[vol]\n60\n").size()), volOnly},
        {"cut to an odd length", first.substr(0, AsciiUtf16("[vol]\n60\n").size() + 1), volOnly},
        {"carriage returns", AsciiUtf16(crlf), kSecond},
        {"byte-order mark", "\xFF\xFE" + first, allButVol},
    };
    for (const auto& c : cases) {
        ResetPages();
        Set(kSecond);
        WriteBytes(dir.File("broken.inf"), c.bytes);
        Import(dir.File("broken.inf"));
        ExpectMain(c.expected, c.name);
    }
    EXPECT_TRUE(boxes.shown.empty());
    // Only the main sections were cut away in the first cases; the CRLF file left the pages alone.
    ResetPages();
    Set(kSecond);
    WriteBytes(dir.File("broken.inf"), AsciiUtf16(crlf));
    Import(dir.File("broken.inf"));
    EXPECT_EQ(Export(dir.File("after.inf")), second);
}

TEST_F(FileCommands, EveryTruncationAndGarbageImportsWithoutHarm) {
    Set(kFirst);
    ChangeBands(130, -3.5f);
    Settle();
    const std::string first = Export(dir.File("first.inf"));
    std::mt19937 random(417);
    for (std::size_t cut = 0; cut <= first.size(); cut += 1 + random() % 97) {
        WriteBytes(dir.File("cut.inf"), first.substr(0, cut));
        Import(dir.File("cut.inf"));
    }
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    WriteBytes(dir.File("garbage.inf"), garbage);
    Import(dir.File("garbage.inf"));
    // Whatever the pieces did, the whole file still brings everything back.
    Import(dir.File("first.inf"));
    EXPECT_EQ(Export(dir.File("again.inf")), first);
}

TEST_F(FileCommands, FilesThatCannotBeReadOrWrittenSaySoInTheLanguageAndChangeNothing) {
    Set(kFirst);
    const std::string before = Export(dir.File("before.inf"));
    WriteBytes(dir.File("empty.inf"), "");
    WriteBytes(dir.File("blank.inf"), AsciiUtf16("\n\n\n"));
    std::filesystem::create_directory(dir.File("folder.inf"));
    const struct {
        int command, language;
        const char* text;
        std::string path;
    } cases[] = {{kCmdImport, 0, "文件读取失败", dir.File("missing.inf")},
                 {kCmdImport, 1, "Read File Fail", dir.File("empty.inf")},
                 {kCmdImport, 4, "Read File Fail", dir.File("blank.inf")},
                 {kCmdImport, 1, "Read File Fail", dir.File("folder.inf")},
                 {kCmdExport, 0, "文件保存失败", dir.File("no/such/zem.inf")},
                 {kCmdExport, 1, "Save File Fail", dir.File("folder.inf")},
                 {kCmdExport, 3, "Save File Fail", dir.File("before.inf/x")}};
    for (const auto& c : cases) {
        dialog->SetLanguage(c.language);
        boxes.shown.clear();
        sent.clear();
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(c.path));
        dialog->OnCommand(c.command);
        EXPECT_TRUE(sent.empty()) << c.path;
        ASSERT_EQ(boxes.shown.size(), 1u) << c.path;
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.text)) << c.path;
        EXPECT_EQ(boxes.shown[0].language, c.language);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.inf")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
    EXPECT_EQ(Export(dir.File("after.inf")), before);
}

TEST_F(FileCommands, CancelledDialogsDoNothing) {
    Set(kFirst);
    const std::string before = Export(dir.File("before.inf"));
    sent.clear();
    for (int command : {kCmdExport, kCmdImport}) {
        win::ScriptedFileDialogs files;
        files.answers.push_back(std::nullopt);
        dialog->OnCommand(command);
        EXPECT_EQ(files.asked, 1);
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(dialog->findChild<PageWait*>(), nullptr);
    int presets = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        presets += entry.path().extension() == ".inf";
    EXPECT_EQ(presets, 1);  // only before.inf
    EXPECT_EQ(Export(dir.File("after.inf")), before);
}

}  // namespace
