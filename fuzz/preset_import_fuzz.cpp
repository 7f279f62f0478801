// Fuzz target: the main window's File > Import. Whatever the bytes, the import either refuses the
// file whole (one box, no frame sent) or applies it and sends only well-formed frames (sync byte,
// length, checksum); and what an applied file leaves, exported and imported again, stays the same.
//
// The window is built once and every input goes through the menu command, as a user's import
// would. Between inputs the harness settles what an import leaves to the event loop (its wait
// window, window-system events, deferred deletes) and drops the frames queued for the sender, so no
// input leaves memory behind: libFuzzer runs a whole-heap leak scan after every input that
// allocates more than it frees, and with a window's heap that scan, not the import, set the pace.
#include <QApplication>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/control_ids.h"
#include "console/main_dialog.h"
#include "console/page_wait.h"
#include "console/preset_file.h"
#include "link/frame.h"
#include "link/ui/page_setup.h"
#include "platform/ui/message_box.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// The harness's folder, removed when the run ends (a crash leaves it, with the input's file).
std::string g_folder;

struct Harness {
    Harness() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "preset_import_fuzz";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        char folder[] = "/tmp/k417b-preset-fuzz.XXXXXX";
        Check(::mkdtemp(folder) != nullptr);
        g_folder = folder;
        std::atexit([] { std::filesystem::remove_all(g_folder); });
        file = std::string(folder) + "/zem.inf";
        CVelmor_Zem_R7Dlg::Options options;
        options.configPath = std::string(folder) + "/config.ini";  // none: the defaults
        options.logPath.clear();
        options.firstConnectDelayMs = 1 << 30;  // no connect attempt while events are processed
        // The values an import sets also arm the change timers; at 0 ms they fire in the import's
        // own settling, so every frame is counted with the input that caused it.
        options.debounceMs = 0;
        options.frameTap = [this](const ZemCmd::Cmd& frame) { frames.push_back(frame); };
        dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
        dialog->OnInitDialog();
        // The frames are checked through the tap; a sender would free them on its own thread,
        // after the input that queued them.
        dialog->SetUpPage()->Queue().Stop();
        shown = dialog->BuildPresetText();
    }

    // Imports the bytes as the user would pick the file; the number of boxes shown.
    std::size_t Import(const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        frames.clear();
        win::ScriptedMessageBoxes boxes;
        win::ScriptedFileDialogs files;
        files.answers.push_back(QString::fromStdString(file));
        dialog->OnCommand(console::kCmdImport);
        Settle();
        return boxes.shown.size();
    }

    // Runs what the import left to the event loop and ends its wait window.
    void Settle() {
        for (PageWait* wait : dialog->findChildren<PageWait*>()) delete wait;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialog->SetUpPage()->Queue().DropWaiting();
    }

    // Whether the export→import round trip of this text was checked already: it depends on the text
    // alone, and many inputs end in a state an earlier one reached. A fixed table, so a new entry
    // allocates nothing.
    bool RoundTripChecked(const std::string& text) {
        const std::size_t hash = std::hash<std::string>{}(text);
        std::size_t& slot = roundTrips[hash % roundTrips.size()];
        if (slot == hash) return true;
        slot = hash;
        return false;
    }

    QApplication* app;
    std::string file;
    std::vector<ZemCmd::Cmd> frames;
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::string shown;  // the preset text of what the window shows now
    std::array<std::size_t, 4096> roundTrips{};
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
    if (h.Import(std::string(reinterpret_cast<const char*>(data), size)) != 0) {
        // Refused: nothing sent, nothing changed.
        Check(h.frames.empty());
        Check(h.dialog->BuildPresetText() == h.shown);
        return 0;
    }
    Check(!h.frames.empty());
    CheckFrames(h.frames);
    h.shown = h.dialog->BuildPresetText();
    if (h.RoundTripChecked(h.shown)) return 0;
    Check(h.Import(preset::EncodeFile(h.shown)) == 0);
    CheckFrames(h.frames);
    Check(h.dialog->BuildPresetText() == h.shown);
    return 0;
}
