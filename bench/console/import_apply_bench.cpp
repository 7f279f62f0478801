// What a preset file costs the main window, on the window built once:
//   - applying a file's lines (ApplyPresetLines) when every value changes, and when none does;
//   - the whole File > Import (reading, checks, wait window, the sync's frames queued) of a file
//     whose every value changes.
// Run: <build dir>/bench/console/import_apply_bench (QT_QPA_PLATFORM=offscreen works).
// Never part of the tests.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/page_wait.h"
#include "console/preset_file.h"
#include "link/ui/page_setup.h"
#include "platform/ascii_text.h"
#include "platform/trace.h"
#include "platform/ui/message_box.h"

namespace {

constexpr const char* kFile = "import_apply_bench.inf";

// The window, its export as it starts (file A) and the same file with every value changed (file B).
struct Rig {
    Rig() {
        static int argc = 1;
        static char* argv[] = {const_cast<char*>("import_apply_bench"), nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);  // never destroyed: Qt's exit order
        trace::SetOutput(nullptr);
        CVelmor_Zem_R7Dlg::Options o;
        o.configPath = "import_apply_bench.ini";
        o.logPath.clear();
        o.firstConnectDelayMs = 100000000;
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(o);
        dialog->OnInitDialog();
        dialog->SetUpPage()->Queue().Stop();  // the frames stay queued until dropped
        a = dialog->BuildPresetText();
        b = Changed(a);
        linesA = preset::SplitFileLines(preset::EncodeFile(a));
        linesB = preset::SplitFileLines(preset::EncodeFile(b));
    }
    ~Rig() {
        std::remove(kFile);
        std::remove("import_apply_bench.ini");
    }

    // Every value moved within its range: EQ bands (frequency, gain, Q, type) to other ones, every
    // other number one step up or down.
    static std::string Changed(const std::string& text) {
        std::string out;
        for (const std::string& line : ascii::Split(text, '\n')) {
            std::vector<std::string> fields = ascii::Split(line, ',');
            if (line.empty() || line[0] == '[') {
                out += line;
            } else if (fields.size() == 4) {
                out += std::to_string(std::stoi(fields[0]) + 7) + ",-350,150,2";
            } else {
                for (std::size_t k = 0; k < fields.size(); ++k) {
                    const int v = std::stoi(fields[k]);
                    if (k) out += ',';
                    out += std::to_string(v > 0 ? v - 1 : v + 1);
                }
            }
            out += '\n';
        }
        return out + '\n';  // the empty last line of a whole file (Split drops empty lines)
    }

    // Runs what an import left to the event loop and drops the queued frames.
    void Settle() {
        for (PageWait* wait : dialog->findChildren<PageWait*>(Qt::FindDirectChildrenOnly)) delete wait;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialog->SetUpPage()->Queue().DropWaiting();
    }

    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::string a, b;
    std::vector<std::string> linesA, linesB;
};

Rig& TheRig() {
    static Rig* rig = new Rig;  // kept to the end, like the application
    return *rig;
}

void BM_ApplyEveryValueChanged(benchmark::State& state) {
    Rig& rig = TheRig();
    bool toB = true;
    for (auto _ : state) {
        rig.dialog->ApplyPresetLines(toB ? rig.linesB : rig.linesA);
        toB = !toB;
    }
    rig.Settle();
}
BENCHMARK(BM_ApplyEveryValueChanged)->Unit(benchmark::kMicrosecond);

void BM_ApplyNothingChanged(benchmark::State& state) {
    Rig& rig = TheRig();
    rig.dialog->ApplyPresetLines(rig.linesA);
    for (auto _ : state) rig.dialog->ApplyPresetLines(rig.linesA);
    rig.Settle();
}
BENCHMARK(BM_ApplyNothingChanged)->Unit(benchmark::kMicrosecond);

void BM_ImportEveryValueChanged(benchmark::State& state) {
    Rig& rig = TheRig();
    const std::string fileA = preset::EncodeFile(rig.a), fileB = preset::EncodeFile(rig.b);
    bool toB = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (!preset::WriteTextFile(kFile, toB ? rig.b : rig.a)) state.SkipWithError("cannot write the file");
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromUtf8(kFile));
        state.ResumeTiming();
        rig.dialog->OnCommand(console::kCmdImport);
        rig.Settle();
        if (!boxes.shown.empty()) state.SkipWithError("the import refused the file");
        toB = !toB;
    }
}
BENCHMARK(BM_ImportEveryValueChanged)->Unit(benchmark::kMicrosecond);

}  // namespace
