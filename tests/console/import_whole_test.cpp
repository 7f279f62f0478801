// A preset file is imported whole or not at all: every cut of the console's own export (but of its
// closing empty lines) and every NUL inside it is refused with the box, changes nothing and sends
// nothing; the export itself, in any section order, line-end style or case of its section names,
// with or without empty lines at its end, imports exactly. And a read-back input no button stands for
// never reaches the file.
#include <gtest/gtest.h>

#include <QSignalBlocker>
#include <algorithm>
#include <cctype>

#include "link/readback_codes.h"
#include "pages/channel_output_page.h"
#include "pages/page_music.h"
#include "tests/console/support.h"

using namespace console;

namespace {

class ImportWhole : public WindowTest {
  protected:
    void SetUp() override {
        Start(nullptr, [this](CVelmor_Zem_R7Dlg::Options& o) {
            o.firstConnectDelayMs = 1000000;
            o.frameTap = [this](const ZemCmd::Cmd& frame) { sent.push_back(frame); };
        });
        dialog->SetWaitTiming({1});
    }
    // One of two whole console states: masters, every page's band 1, music input, two mutes.
    void Shape(int variant) {
        for (int i = 0; i < kTabCount; ++i) {
            dialog->WaveAt(i)->ResetAll(true);
            dialog->WaveAt(i)->SetBandFreqGain(1, 100 * variant + 130 + i, variant ? -3.5f : 2.0f);
        }
        for (int k = 0; k < 3; ++k) {
            QSlider* master = dialog->MasterSlider(k);
            const QSignalBlocker quiet(master);
            master->setValue(10 + 20 * variant + k);
        }
        dialog->Pages().Music()->SetMusicInput(variant ? 2 : 4);
        dialog->Pages().Output(pageindex::kMainOut)->SetMuteBits(variant ? 1 : 2);
        dialog->Pages().Output(pageindex::kBassOut)->SetMuteBits(variant);
        // A whole-state send marks the effect EQ's ends as the echo filters, as an import's own does.
        dialog->SyncAllToDevice();
        sent.clear();
    }
    std::string Export(const std::string& name) {
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(dir.File(name)));
        dialog->OnCommand(kCmdExport);
        return ReadBytes(dir.File(name));
    }
    void Import(const std::string& bytes) {
        WriteBytes(dir.File("import.inf"), bytes);
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(dir.File("import.inf")));
        boxes.shown.clear();
        sent.clear();
        dialog->OnCommand(kCmdImport);
    }

    TempDir dir{"import_whole"};
    win::ScriptedMessageBoxes boxes;
    std::vector<ZemCmd::Cmd> sent;  // frames handed to the queue
};

// Where two exported files part: the first line (ASCII) that differs in either, or "" when equal.
std::string FirstDifference(const std::string& a, const std::string& b) {
    if (a == b) return "";
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    std::size_t start = i;
    while (start >= 2 && a[start - 2] != '\n') start -= 2;
    auto line = [start](const std::string& s) {
        std::string out;
        for (std::size_t k = start; k < s.size() && s[k] != '\n'; k += 2) out += s[k];
        return out;
    };
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a chain of operator+ here.
    std::string out = "\"";
    out.append(line(a)).append("\" against \"").append(line(b)).append("\"");
    return out;
}

// Byte offsets in a UTF-16LE text just past each "\n".
std::vector<std::size_t> LineEnds(const std::string& utf16) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2)
        if (utf16[i] == '\n' && utf16[i + 1] == '\0') ends.push_back(i + 2);
    return ends;
}

// The text's sections as the console writes them (header, value lines, the empty lines after),
// in reverse order.
std::string Reversed(const std::string& text) {
    std::vector<std::string> blocks;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t next = text.find("\n[", at);
        next = next == std::string::npos ? text.size() : next + 1;
        // The empty lines before the next header belong to this section.
        blocks.push_back(text.substr(at, next - at));
        at = next;
    }
    std::reverse(blocks.begin(), blocks.end());
    std::string out;
    for (const std::string& b : blocks) out += b;
    return out;
}

TEST_F(ImportWhole, EveryCutAndEveryNulOfTheOwnExportIsRefusedAndTheExportItselfImportsExactly) {
    Shape(1);
    const std::string file = Export("own.inf");
    Shape(0);
    const std::string before = Export("before.inf");
    ASSERT_NE(file, before);
    const std::size_t timers = dialog->Timers().Count();
    const std::vector<std::size_t> ends = LineEnds(file);
    ASSERT_GT(ends.size(), 100u) << "the export is shorter than the console writes";
    ASSERT_EQ(ends.back(), file.size()) << "the export does not end with a line end";

    struct Case {
        std::string name;
        std::string bytes;
        int language;
    };
    std::vector<Case> cases;
    std::string lastLineEnd;  // the export without the empty lines it ends with
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        const std::string cut = file.substr(0, ends[k]);
        if (file.find_first_not_of(std::string("\n\0", 2), ends[k]) == std::string::npos) {
            if (lastLineEnd.empty()) lastLineEnd = cut;
            continue;  // only empty lines lost: the file is whole
        }
        cases.push_back({"cut after line end " + std::to_string(k + 1), cut, 0});
    }
    ASSERT_FALSE(lastLineEnd.empty()) << "the export does not end with an empty line";
    cases.push_back({"ends mid-line", lastLineEnd.substr(0, lastLineEnd.size() - 2), 1});
    std::vector<std::size_t> starts = {0};
    starts.insert(starts.end(), ends.begin(), ends.end() - 1);
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t s = starts[k];
        cases.push_back({"a NUL at the start of line " + std::to_string(k + 1),
                         file.substr(0, s) + std::string(2, '\0') + file.substr(s), 1});
    }
    std::vector<std::string> noBox, sentSome, changed, armed;
    for (const Case& c : cases) {
        if (dialog->Language() != c.language) dialog->SetLanguage(c.language);
        Import(c.bytes);
        const char* text = c.language == 0 ? "文件读取失败" : "Read File Fail";
        if (boxes.shown.size() != 1 || boxes.shown[0].text != QString::fromUtf8(text))
            noBox.push_back(c.name);
        if (!sent.empty()) sentSome.push_back(c.name);
        if (dialog->Timers().Count() != timers) armed.push_back(c.name);
        if (const std::string d = FirstDifference(Export("after.inf"), before); !d.empty())
            changed.push_back(c.name + ": " + d);
    }
    auto names = [](const std::vector<std::string>& v) { return testing::PrintToString(v); };
    EXPECT_TRUE(noBox.empty()) << "no read-failure box for " << names(noBox);
    EXPECT_TRUE(sentSome.empty()) << "frames sent for " << names(sentSome);
    EXPECT_TRUE(armed.empty()) << "a send armed for " << names(armed);
    EXPECT_TRUE(changed.empty()) << "the console changed for " << names(changed);

    // The whole export, as written, in reverse section order, and so with a byte-order mark and
    // CRLF line ends: imported exactly.
    std::string text;  // the export as ASCII
    for (std::size_t i = 0; i < file.size(); i += 2) text += file[i];
    std::string crlf;
    for (char ch : Reversed(text)) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    std::string upper = text;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    ASSERT_NE(upper, text);
    const struct {
        const char* name;
        std::string bytes;
    } whole[] = {{"as exported", file},
                 {"sections reversed", AsciiUtf16(Reversed(text))},
                 {"reversed, byte-order mark, CRLF", "\xFF\xFE" + AsciiUtf16(crlf)},
                 {"section names in upper case", AsciiUtf16(upper)},
                 {"without its final empty lines", lastLineEnd},
                 {"blank and space-only lines after it", lastLineEnd + AsciiUtf16("\n \n\t \r\n\n")}};
    for (const auto& w : whole) {
        SCOPED_TRACE(w.name);
        Shape(0);
        Import(w.bytes);
        EXPECT_TRUE(boxes.shown.empty()) << "the console's own file was refused";
        EXPECT_FALSE(sent.empty()) << "an imported file was not sent";
        EXPECT_EQ(FirstDifference(Export("after.inf"), file), "") << "the file was not imported exactly";
    }
}

// The status answer with data bytes 5.. as given (group, input << 4, mutes, unused, six limits).
std::array<std::uint32_t, 50> StatusAnswer(int inputByte) {
    const int data[] = {0, inputByte, 0, 0, 0, 84, 0, 84, 0, 70};
    std::array<std::uint32_t, 50> a{};
    a[0] = 0xA5;
    a[1] = 6 + static_cast<std::uint32_t>(std::size(data));
    a[2] = ZemCmd::kClassAnswer;
    a[3] = readback::kStatus.group;
    a[4] = readback::kStatus.code;
    for (std::size_t k = 0; k < std::size(data); ++k) a[5 + k] = static_cast<std::uint32_t>(data[k]);
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < a[1] - 1; ++k) sum += a[k];
    a[a[1] - 1] = sum & 0xFF;
    return a;
}

TEST_F(ImportWhole, AReadBackInputIsExportedAndSentOnImportAnInputNoButtonStandsForIsNot) {
    PageMusic* music = dialog->Pages().Music();
    const struct {
        int answer;  // the status answer's input byte
        int input;
        int action;  // the input action an import sends
        const char* name;
    } inputs[] = {{0x20, 2, 0x29, "BT"}, {0x40, 4, 0x49, "OPT"}};
    for (const auto& in : inputs) {
        SCOPED_TRACE(in.name);
        ASSERT_EQ(dialog->ApplyReply(StatusAnswer(in.answer).data()), 1);
        ASSERT_EQ(music->CheckedInput(), in.input);
        ASSERT_EQ(dialog->ApplyReply(StatusAnswer(0x70).data()), 1);  // input 7: none of the buttons
        EXPECT_EQ(music->CheckedInput(), -1) << "input 7 checked a button";
        const std::string file = Export("input.inf");
        const std::string type = "[music type]\n" + std::to_string(in.input) + "\n";
        EXPECT_NE(file.find(AsciiUtf16(type)), std::string::npos)
            << "the file does not keep the input the console last knew";
        EXPECT_EQ(file.find(AsciiUtf16("[music type]\n7\n")), std::string::npos) << "the file holds input 7";

        // What the file says comes back on import, and goes to the processor.
        music->SetMusicInput(in.input == 4 ? 0 : 4);
        Import(file);
        EXPECT_EQ(music->MusicInput(), in.input);
        EXPECT_EQ(music->CheckedInput(), in.input);
        const auto action = std::find_if(sent.begin(), sent.end(), [](const ZemCmd::Cmd& f) {
            return f.Length() == 6 && f[2] == ZemCmd::kClassSystem && f[3] == 0x03 && (f[4] & 0x0F) == 9;
        });
        ASSERT_NE(action, sent.end()) << "the import sent no input action";
        EXPECT_EQ(static_cast<int>((*action)[4]), in.action) << "the import's input action";
    }
}

TEST_F(ImportWhole, MasterSlidersMoveOnePerPageStep) {
    for (int k = 0; k < master::kCount; ++k) {
        QSlider* master = dialog->MasterSlider(k);
        const int before = master->value();
        master->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(master->value(), before + 1) << "master " << k;
    }
}

}  // namespace
