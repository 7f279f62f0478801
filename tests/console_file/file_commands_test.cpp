// The File menu's Export and Import on the real main window, with scripted file dialogs and boxes.
#include <gtest/gtest.h>

#include <QSignalBlocker>
#include <QTest>
#include <array>
#include <random>

#include "pages/channel_output_page.h"
#include "pages/page_effect.h"
#include "pages/page_ids.h"
#include "tests/console/support.h"

using namespace console;

namespace {

// The main dialog's own sections: three masters; music, direct, echo and reverb levels of main, mid,
// bass and surround; six delays.
using Mains = std::array<int, 25>;
// clang-format off
constexpr Mains kFirst{60, 50, 70, 11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42, 43, 44, 1, 2, 3, 4, 5, 6};
constexpr Mains kSecond{3, 4, 5, 101, 102, 103, 104, 111, 112, 113, 114, 121, 122, 123, 124, 131, 132, 133, 134,
                        40, 41, 42, 43, 44, 45};
const char* const kFirstMainText =
    "[vol]\n60\n50\n70\n\n[music vol]\n11,11,12,13,14,14\n\n\n[direct vol]\n21,21,22,23,24,24\n\n"
    "\n[echo vol]\n31,31,32,33,34,34\n\n\n[reverb vol]\n41,41,42,43,44,44\n\n\n[delay]\n1,2,3,4,5,6\n\n";
const char* const kResetMainText =
    "[vol]\n0\n0\n0\n\n[music vol]\n50,50,50,50,50,50\n\n\n[direct vol]\n50,50,50,50,50,50\n\n"
    "\n[echo vol]\n50,50,50,50,50,50\n\n\n[reverb vol]\n50,50,50,50,50,50\n\n\n[delay]\n0,0,0,0,0,0\n\n";
using namespace pageid;
const int kLevelIds[] = {kMusicLevelSlider, kDirectLevelSlider, kEchoLevelSlider, kReverbLevelSlider};
const int kDelayPage[6] = {0, 0, 1, 2, 3, 3};
const int kDelayId[6] = {kLeftDelaySlider, kRightDelaySlider, kDelaySlider, kDelaySlider, kLeftDelaySlider, kRightDelaySlider};
// clang-format on

class FileCommands : public WindowTest {
  protected:
    void SetUp() override {
        Start(nullptr, [this](CVelmor_Zem_R7Dlg::Options& o) {
            o.frameTap = [this](const ZemCmd::Cmd& frame) { sent.push_back(frame.b); };
        });
        dialog->m_waitTiming = {1};
    }
    QSlider* Master(int k) { return Control<QSlider>(kIdMicSlider + k); }
    chan::OutputPage* Output(int o) { return qobject_cast<chan::OutputPage*>(dialog->PageAt(3 + o)); }
    PageEffect* Effect() { return qobject_cast<PageEffect*>(dialog->PageAt(2)); }

    void Set(const Mains& m) {
        for (int k = 0; k < 3; ++k) {
            const QSignalBlocker quiet(Master(k));
            Master(k)->setValue(m[k]);
            Control<QLabel>(kIdMicValue + k)->setText(QString::number(m[k]));
        }
        for (int o = 0; o < 4; ++o) {
            Output(o)->SetSliderPos(pageid::kMusicLevelSlider, m[3 + o]);
            Output(o)->SetDirectVolume(m[7 + o]);
            Output(o)->SetEchoVolume(m[11 + o]);
            Output(o)->SetReverbVolume(m[15 + o]);
        }
        for (int i = 0; i < 6; ++i) Output(kDelayPage[i])->SetSliderPos(kDelayId[i], m[19 + i]);
    }
    // What the window shows; a master whose label disagrees with its slider reads -1.
    Mains Get() {
        Mains m{};
        for (int k = 0; k < 3; ++k)
            m[k] = Text(kIdMicValue + k) == QString::number(Master(k)->value()) ? Master(k)->value() : -1;
        for (int o = 0; o < 4; ++o)
            for (int l = 0; l < 4; ++l) m[3 + 4 * l + o] = Output(o)->SliderPos(kLevelIds[l]).value_or(-1);
        for (int i = 0; i < 6; ++i) m[19 + i] = Output(kDelayPage[i])->SliderPos(kDelayId[i]).value_or(-1);
        return m;
    }
    // Sets the main sections and changes every page's EQ, so the pages' sections differ from the reset.
    void Prepare(const Mains& m, int freq, float gain) {
        for (int i = 0; i < kTabCount; ++i) dialog->WaveAt(i)->ResetAll(true);
        Set(m);
        if (freq)
            for (int i = 0; i < kTabCount; ++i) dialog->WaveAt(i)->SetBandFreqGain(1, freq + i, gain);
        // A whole-state send marks the effect EQ's ends as the echo filters, as an import's own does.
        dialog->SyncAllToDevice();
        sent.clear();
    }
    std::string Export(const std::string& path) {
        Run(kCmdExport, path);
        return ReadBytes(path);
    }
    void Run(int command, std::optional<std::string> path) {
        win::ScriptedFileDialogs files;
        files.answers.push_back(path ? std::optional(QString::fromStdString(*path)) : std::nullopt);
        dialog->OnCommand(command);
        EXPECT_EQ(files.asked, 1);
    }
    std::string PageTexts() {
        std::string all;
        for (int i = 0; i < kTabCount; ++i) all += dialog->WaveAt(i)->SaveText() + "\n";
        return all;
    }

    TempDir dir{"file_commands"};
    win::ScriptedMessageBoxes boxes;
    std::vector<std::array<std::uint8_t, ZemCmd::kMaxFrame>> sent;  // frames handed to the queue at once
};

TEST_F(FileCommands, ExportIsUtf16LeWithoutMarkOrCarriageReturns) {
    EXPECT_EQ(Export(dir.File("reset.inf")), AsciiUtf16(kResetMainText + PageTexts()));
    Prepare(kFirst, 130, -3.5f);
    EXPECT_EQ(Export(dir.File("zem")), AsciiUtf16(kFirstMainText + PageTexts()));  // typed without extension
}

TEST_F(FileCommands, ImportRestoresWhatWasExportedBehindASelfClosingWait) {
    Prepare(kFirst, 130, -3.5f);
    Effect()->SetEchoHighPass(150);
    dialog->TabStrip()->setCurrentIndex(3);
    dialog->SyncAllToDevice();
    const std::string first = Export(dir.File("first.inf"));

    Prepare(kSecond, 0, 0);
    Effect()->SetEchoHighPass(60);
    dialog->Graph()->selected = 2;
    Run(kCmdImport, dir.File("first.inf"));
    const auto imported = sent;  // goes to the device once, as a whole
    sent.clear();
    dialog->SyncAllToDevice();
    EXPECT_TRUE(!imported.empty() && imported == sent);
    EXPECT_EQ(Get(), kFirst);
    // The shown page's curve is refilled, nothing selected.
    EXPECT_EQ(std::make_tuple(Effect()->Model().band.freq[0], dialog->Graph()->Curve().freq[1],
                              dialog->Graph()->selected),
              std::make_tuple(150, 133, -1));
    EXPECT_EQ(Export(dir.File("again.inf")), first);

    QPointer<PageWait> wait = dialog->findChild<PageWait*>();
    ASSERT_TRUE(wait && wait->isVisible());
    EXPECT_EQ(wait->Progress()->value(), 0);
    Run(kCmdImport, dir.File("first.inf"));  // starts the count again with one dialog
    QApplication::processEvents();
    EXPECT_EQ(dialog->findChildren<PageWait*>().size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->findChildren<PageWait*>().isEmpty(); }, 5000));
}

TEST_F(FileCommands, DamagedFilesLoadWhatTheyHoldAndKeepTheRest) {
    Prepare(kSecond, 0, 0);
    const std::string second = Export(dir.File("second.inf"));
    Prepare(kFirst, 130, -3.5f);
    const std::string first = Export(dir.File("first.inf"));
    std::string crlf;
    for (char c : kFirstMainText + PageTexts()) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Mains volOnly = kSecond, allButVol = kFirst;
    volOnly[0] = 60;
    std::copy(kSecond.begin(), kSecond.begin() + 3, allButVol.begin());
    const std::size_t cut = AsciiUtf16("[vol]\n60\n").size();
    // clang-format off
    const struct { const char* name; std::string bytes; Mains expected; } cases[] = {
        {"cut inside [vol]", first.substr(0, cut), volOnly},
        {"a byte-order mark hides the first section", "\xFF\xFE" + first, allButVol},
        {"carriage returns break every section name", AsciiUtf16(crlf), kSecond},
    };
    // clang-format on
    for (const auto& c : cases) {
        Prepare(kSecond, 0, 0);
        WriteBytes(dir.File("broken.inf"), c.bytes);
        Run(kCmdImport, dir.File("broken.inf"));
        EXPECT_EQ(Get(), c.expected) << c.name;
    }
    EXPECT_EQ(Export(dir.File("after.inf")), second);  // the CRLF file left the pages alone too
    EXPECT_TRUE(boxes.shown.empty());

    // Any truncation or garbage imports without harm; the whole file still brings everything back.
    std::mt19937 random(417);
    for (std::size_t at = 0; at <= first.size(); at += 1 + random() % 97) {
        WriteBytes(dir.File("cut.inf"), first.substr(0, at));
        Run(kCmdImport, dir.File("cut.inf"));
    }
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    WriteBytes(dir.File("garbage.inf"), garbage);
    Run(kCmdImport, dir.File("garbage.inf"));
    Run(kCmdImport, dir.File("first.inf"));
    EXPECT_EQ(Export(dir.File("again.inf")), first);
}

TEST_F(FileCommands, FailuresSaySoInTheLanguageAndCancelsSayNothingAndNothingChanges) {
    Set(kFirst);
    const std::string before = Export(dir.File("before.inf"));
    WriteBytes(dir.File("empty.inf"), AsciiUtf16("\n\n\n"));  // no line
    std::filesystem::create_directory(dir.File("folder.inf"));
    // clang-format off
    // text null: no box; path nullopt: cancelled
    const struct { int command, language; const char* text; std::optional<std::string> path; } cases[] = {
        {kCmdExport, 1, nullptr, std::nullopt},
        {kCmdImport, 1, nullptr, std::nullopt},
        {kCmdImport, 0, "文件读取失败", dir.File("missing.inf")},
        {kCmdImport, 4, "Read File Fail", dir.File("empty.inf")},
        {kCmdImport, 1, "Read File Fail", dir.File("folder.inf")},
        {kCmdExport, 0, "文件保存失败", dir.File("no/such/zem.inf")},
        {kCmdExport, 1, "Save File Fail", dir.File("folder.inf")},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.value_or("cancelled"));
        dialog->SetLanguage(c.language);
        boxes.shown.clear();
        sent.clear();
        Run(c.command, c.path);
        EXPECT_TRUE(sent.empty() && (c.path || !dialog->findChild<PageWait*>()));  // a cancel shows no wait
        ASSERT_EQ(boxes.shown.size(), c.text ? 1u : 0u);
        for (const auto& box : boxes.shown)
            EXPECT_EQ(std::make_pair(box.text, box.language),
                      std::make_pair(QString::fromUtf8(c.text), c.language));
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.inf")) &&
                !std::filesystem::exists(dir.File("no")));
    int files = 0;  // before, empty and the folder: nothing from a failure or a cancel
    for (const auto& entry : std::filesystem::directory_iterator(dir.path))
        files += entry.path().extension() == ".inf";
    EXPECT_EQ(files, 3);
    EXPECT_EQ(Export(dir.File("after.inf")), before);
}

}  // namespace
