// Fuzz target: the main window's File > Import. Whatever the bytes, the import either refuses the
// file whole (one box, no frame sent) or applies it and sends only well-formed frames (sync byte,
// length, checksum); and what an applied file leaves, exported and imported again, stays the same.
#include <QApplication>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/preset_file.h"
#include "link/frame.h"
#include "platform/ui/message_box.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

struct Harness {
    Harness() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "preset_import_fuzz";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        char folder[] = "/tmp/k417b-preset-fuzz.XXXXXX";
        Check(::mkdtemp(folder) != nullptr);
        file = std::string(folder) + "/zem.inf";
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = std::string(folder) + "/config.ini";  // none: the defaults
        options.logPath.clear();
        options.frameTap = [this](const ZemCmd::Cmd& frame) { frames.push_back(frame); };
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
    }

    // Imports the bytes as the user would pick the file; the number of boxes shown.
    std::size_t Import(const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        frames.clear();
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(file));
        dialog->OnCommand(console::kCmdImport);
        return boxes.shown.size();
    }

    QApplication* app;
    std::string file;
    std::vector<ZemCmd::Cmd> frames;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

Harness& TheHarness() {
    static Harness* harness = new Harness;  // kept to the end: Qt dislikes teardown at exit
    return *harness;
}

void CheckFrames(const std::vector<ZemCmd::Cmd>& frames) {
    for (const ZemCmd::Cmd& f : frames) {
        const int len = f[1];
        Check(f[0] == ZemCmd::kSync);
        Check(len >= 5 && len <= ZemCmd::kMaxFrame);
        Check(f[len - 1] == ZemCmd::ByteSum(f.data(), len - 1));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Harness& h = TheHarness();
    const std::string before = h.dialog->BuildPresetText();
    if (h.Import(std::string(reinterpret_cast<const char*>(data), size)) != 0) {
        // Refused: nothing sent, nothing changed.
        Check(h.frames.empty());
        Check(h.dialog->BuildPresetText() == before);
        return 0;
    }
    Check(!h.frames.empty());
    CheckFrames(h.frames);
    const std::string applied = h.dialog->BuildPresetText();
    Check(h.Import(preset::EncodeFile(applied)) == 0);
    CheckFrames(h.frames);
    Check(h.dialog->BuildPresetText() == applied);
    return 0;
}
