// The File menu's Export and Import on the real main window, with scripted file dialogs and boxes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSignalBlocker>
#include <QTest>
#include <array>
#include <atomic>
#include <random>
#include <thread>

#include "pages/channel_output_page.h"
#include "pages/page_effect.h"
#include "pages/page_ids.h"
#include "pages/page_music.h"
#include "tests/console/support.h"
#include "tests/console/unprivileged.h"

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
        dialog->SetWaitTiming({1});
    }
    QSlider* Master(int k) { return Control<QSlider>(kIdMicSlider + k); }
    chan::OutputPage* Output(int o) {
        return qobject_cast<chan::OutputPage*>(dialog->PageAt(pageindex::kMainOut + o));
    }
    PageEffect* Effect() { return dialog->Pages().Effect(); }

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
    dialog->Pages().Music()->SetMusicInput(2);  // "BT"
    Output(0)->SetMuteBits(1);                  // main left
    Output(2)->SetMuteBits(1);                  // the subwoofer
    dialog->TabStrip()->setCurrentIndex(pageindex::kMainOut);
    dialog->SyncAllToDevice();
    const std::string first = Export(dir.File("first.inf"));

    Prepare(kSecond, 0, 0);
    Effect()->SetEchoHighPass(60);
    dialog->Pages().Music()->SetMusicInput(4);
    Output(0)->SetMuteBits(0);
    Output(2)->SetMuteBits(0);
    dialog->Graph()->selected = 2;
    Run(kCmdImport, dir.File("first.inf"));
    const auto imported = sent;  // goes to the device once, as a whole
    sent.clear();
    dialog->SyncAllToDevice();
    // What a full sync sends, then the input and both mute actions, each mute action twice as a
    // mute click hands it over.
    auto expected = sent;
    for (const char* action : {"29", "17", "17", "28", "28"}) {
        ZemCmd::Cmd frame =
            testbytes::ToCmd(testbytes::Sealed((std::string("A5 06 F9 03 ") + action).c_str()));
        expected.push_back(frame.b);
    }
    EXPECT_FALSE(imported.empty()) << "the import sent nothing";
    EXPECT_EQ(imported, expected) << "the import is not a full sync followed by the input and the mutes";
    EXPECT_EQ(dialog->LastMuteMask(), 0x09) << "the mute mask is not what the import sent";
    EXPECT_EQ(Get(), kFirst);
    // The shown page's curve is refilled, nothing selected.
    EXPECT_EQ(Effect()->Model().band.freq[0], 150);
    EXPECT_EQ(dialog->Graph()->Curve().freq[1], 133) << "the shown page's curve was not refilled";
    EXPECT_EQ(dialog->Graph()->selected, -1) << "a band stays selected";
    EXPECT_EQ(Export(dir.File("again.inf")), first);
    // Again, now that the console last sent the file's very mutes: an import still sends both.
    sent.clear();
    Run(kCmdImport, dir.File("first.inf"));
    EXPECT_EQ(sent, expected) << "an import whose mutes the console had sent already did not send them again";

    QPointer<PageWait> wait = dialog->findChild<PageWait*>();
    ASSERT_NE(wait, nullptr) << "an import waits";
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(wait->Progress()->value(), 0);
    Run(kCmdImport, dir.File("first.inf"));  // starts the count again with one dialog
    QApplication::processEvents();
    EXPECT_EQ(dialog->findChildren<PageWait*>().size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->findChildren<PageWait*>().isEmpty(); }, 5000));
}

// The lines of a text, blank ones included.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) c == '\n' ? lines.emplace_back() : lines.back() += c;
    return lines;
}
std::string JoinLines(const std::vector<std::string>& lines, const char* end = "\n") {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() ? end : "");
    return text;
}
// The text with the last `count` value lines of `section` removed.
std::string Without(const std::string& text, const std::string& section, int count) {
    auto lines = SplitLines(text);
    auto at = std::find(lines.begin(), lines.end(), section);
    auto end = at + 1;
    while (end != lines.end() && !end->empty() && end->front() != '[') ++end;
    lines.erase(end - count, end);
    return JoinLines(lines);
}
// The text with value line `k` of `section` replaced.
std::string Replaced(const std::string& text, const std::string& section, int k, const std::string& line) {
    auto lines = SplitLines(text);
    *(std::find(lines.begin(), lines.end(), section) + 1 + k) = line;
    return JoinLines(lines);
}

// Each file either imports exactly what it holds or is refused whole: the box, nothing changed,
// nothing sent.
TEST_F(FileCommands, DamagedFilesChangeNothingAndAMissingLineKeepsOnlyItsOwnValue) {
    Prepare(kFirst, 130, -3.5f);
    const std::string text = kFirstMainText + PageTexts();
    const std::string file = Export(dir.File("first.inf"));
    ASSERT_EQ(file, AsciiUtf16(text));
    auto* music = dialog->Pages().Music();
    // Before each import: other masters, levels and delays, pages at reset, music input 3, main muted.
    auto prior = [&] {
        Prepare(kSecond, 0, 0);
        music->SetMusicInput(2);
        dialog->Pages().Output(pageindex::kMainOut)->SetMuteBits(2);
    };
    prior();
    const std::string before = Export(dir.File("before.inf"));

    auto cutAfter = [&](const std::string& piece, std::size_t more) {
        return file.substr(0, AsciiUtf16(text.substr(0, text.find(piece) + piece.size())).size() + 2 * more);
    };
    std::string utf16be;
    for (std::size_t i = 0; i < file.size(); i += 2) utf16be += std::string{file[i + 1], file[i]};
    std::mt19937 random(417);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    // clang-format off
    // expected: the export after the import; nullopt: refused
    std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> cases = {
        {"cut inside [vol]", cutAfter("[vol]\n60\n", 0), std::nullopt},
        {"cut inside a band line", cutAfter("[mic eq]\n", 5), std::nullopt},
        {"cut at a line end inside [main eq]", cutAfter("[main eq]\n", 0) + AsciiUtf16(
             JoinLines({SplitLines(text.substr(text.find("[main eq]\n") + 10))[0],
                        SplitLines(text.substr(text.find("[main eq]\n") + 10))[1], ""})), std::nullopt},
        {"last line end cut", file.substr(0, file.size() - 4), std::nullopt},
        {"odd byte count", file.substr(0, file.size() - 1), std::nullopt},
        {"UTF-8", text + (text.size() % 2 ? "\n" : ""), std::nullopt},
        {"UTF-16BE", utf16be, std::nullopt},
        {"random bytes", noise, std::nullopt},
        {"byte-order mark and CRLF", "\xFF\xFE" + AsciiUtf16(JoinLines(SplitLines(text), "\r\n")), text},
        {"[vol] without its last line", AsciiUtf16(Without(text, "[vol]", 1)), Replaced(text, "[vol]", 2, "5")},
        {"[delay] without its line", AsciiUtf16(Without(text, "[delay]", 1)),
         Replaced(text, "[delay]", 0, "40,41,42,43,44,45")},
        {"[main mute] without its line", AsciiUtf16(Without(text, "[main mute]", 1)),
         Replaced(text, "[main mute]", 0, "2")},
        {"[music type] without its line", AsciiUtf16(Without(text, "[music type]", 1)),
         Replaced(text, "[music type]", 0, "2")},
    };
    // Two band lines missing: the next section's lines are not taken for them or for the bypass.
    for (const char* eq : {"[music eq]", "[mic eq]", "[effect eq]", "[main eq]", "[mid eq]", "[bass eq]",
                           "[surround eq]"})
        cases.emplace_back(std::string(eq) + " without two band lines",
                           AsciiUtf16(Without(Without(text, eq, 2), eq, 0)), text);
    // clang-format on
    for (const auto& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name);
        prior();
        boxes.shown.clear();
        WriteBytes(dir.File("damaged.inf"), bytes);
        Run(kCmdImport, dir.File("damaged.inf"));
        if (!expected) {
            ASSERT_EQ(boxes.shown.size(), 1u) << "no box for a refused file";
            EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("文件读取失败"));
            EXPECT_TRUE(sent.empty()) << sent.size() << " frames sent for a refused file";
            EXPECT_EQ(Export(dir.File("after.inf")), before) << "a refused file changed the console";
        } else {
            EXPECT_TRUE(boxes.shown.empty());
            EXPECT_FALSE(sent.empty()) << "an imported file was not sent";
            EXPECT_EQ(Export(dir.File("after.inf")), AsciiUtf16(*expected));
        }
    }
}

// Runs act; a pipe's write end is opened from another thread if act has not returned in time, so a
// blocking open ends (and the test fails) instead of hanging. True when that rescue was needed.
bool NeededRescue(const std::string& pipe, const std::function<void()>& act) {
    std::atomic<bool> returned{false}, rescued{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 300 && !returned.load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (!returned.load()) {
            rescued = true;
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    act();
    returned = true;
    watchdog.join();
    return rescued.load();
}

TEST_F(FileCommands, APipeIsRefusedAtOnceAndNeverBlocksTheWindow) {
    const std::string pipe = dir.File("pipe.inf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    Set(kFirst);
    const std::string before = Export(dir.File("before.inf"));
    bool ticked = false, rescued = false;
    // The import runs from the event loop, as a menu command does; the loop must go on after it.
    QTimer::singleShot(0, [&] { rescued = NeededRescue(pipe, [&] { Run(kCmdImport, pipe); }); });
    QTimer::singleShot(50, [&] { ticked = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticked; }, 5000));
    EXPECT_FALSE(rescued) << "the import blocked the GUI thread on a pipe";
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(Export(dir.File("after.inf")), before);

    // A config.ini that is a pipe: the window starts at once with the defaults.
    dialog.reset();
    EXPECT_FALSE(NeededRescue(pipe, [&] { dialog = StartMainWindow(pipe); }))
        << "the start blocked on a pipe";
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Language(), 0);
    EXPECT_EQ(Master(2)->maximum(), 84);
}

TEST_F(FileCommands, AReadOnlyConfigIsReadAndLeftReadOnly) {
    dialog.reset();
    const std::string path = dir.File("config.ini");
    WriteBytes(path, "[Config]\nLanguage=1\n");
    ::chmod(path.c_str(), 0444);
    dialog = StartMainWindow(path);  // the start writes the language back: refused here
    EXPECT_EQ(dialog->Language(), 1);
    dialog->SetLanguage(3);
    EXPECT_EQ(dialog->Language(), 3);
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0444u) << "config.ini came back writable";
    EXPECT_EQ(ReadBytes(path), "[Config]\nLanguage=1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1)
        << "a temporary file was left";
}

TEST_F(FileCommands, ExportRefusesAReadOnlyFileAndRewritesOneInAFolderThatRefusesNewFiles) {
    Set(kFirst);
    const std::string path = dir.File("read-only.inf");
    const std::string first = Export(path);
    ::chmod(path.c_str(), 0444);
    Set(kSecond);
    Run(kCmdExport, path);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("文件保存失败"));
    EXPECT_EQ(ReadBytes(path), first) << "a read-only file was replaced";
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    // The rest as a user whom permissions bind (nobody, when the tests run as root): a file of
    // someone else's is refused; in a folder that refuses new files, the user's own file is rewritten
    // in place and a new file fails.
    const std::string second = Export(dir.File("second.inf"));
    unprivileged::SharedDir shared;
    const std::string theirs = shared.File("theirs.inf"), locked = shared.File("locked");
    const std::string inside = locked + "/zem.inf";
    WriteBytes(theirs, "theirs");
    if (!unprivileged::AsRoot())
        ::chmod(theirs.c_str(), 0444);  // else root's own, which nobody may not write
    std::filesystem::create_directory(locked);
    WriteBytes(inside, "old");
    shared.GiveToCheckUser(inside);
    ::chmod(locked.c_str(), 0555);
    const int status = unprivileged::Run([&] {
        boxes.shown.clear();
        Run(kCmdExport, theirs);
        if (boxes.shown.size() != 1) return 1;
        Run(kCmdExport, inside);
        if (boxes.shown.size() != 1) return 2;
        Run(kCmdExport, locked + "/new.inf");
        return boxes.shown.size() == 2 ? 0 : 3;
    });
    ::chmod(locked.c_str(), 0755);
    EXPECT_EQ(status, 0) << unprivileged::Why(
        status, {"exporting over a file the user may not write showed no box",
                 "rewriting the user's own file in a locked folder showed a box",
                 "a new file in a locked folder showed no box"});
    EXPECT_EQ(ReadBytes(theirs), "theirs") << "a file the user may not write was replaced";
    EXPECT_EQ(ReadBytes(inside), second) << "the writable file was not rewritten in place";
    EXPECT_FALSE(std::filesystem::exists(locked + "/new.inf"));
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
        SCOPED_TRACE(testing::Message() << (c.command == kCmdImport ? "import " : "export ")
                                        << c.path.value_or("cancelled") << ", language " << c.language);
        dialog->SetLanguage(c.language);
        boxes.shown.clear();
        sent.clear();
        Run(c.command, c.path);
        EXPECT_TRUE(sent.empty()) << "a failure or a cancel sent frames";
        if (!c.path) {
            EXPECT_EQ(dialog->findChild<PageWait*>(), nullptr) << "a cancel shows no wait";
        }
        ASSERT_EQ(boxes.shown.size(), c.text ? 1u : 0u);
        for (const auto& box : boxes.shown) {
            EXPECT_EQ(box.text, QString::fromUtf8(c.text));
            EXPECT_EQ(box.language, c.language);
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.inf"))) << "the folder was replaced";
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
    int files = 0;  // before, empty and the folder: nothing from a failure or a cancel
    for (const auto& entry : std::filesystem::directory_iterator(dir.path))
        files += entry.path().extension() == ".inf";
    EXPECT_EQ(files, 3);
    EXPECT_EQ(Export(dir.File("after.inf")), before);
}

}  // namespace
