// Fuzz target: the main window's File > Import. Whatever the bytes, the import either refuses the
// file whole (one box, no frame sent, nothing changed), exactly when the file reader refuses it, or
// applies it and sends only well-formed frames (sync byte, length, checksum); and what an applied
// file leaves, exported and imported again, stays the same.
//
// The window is built once and every input goes through the menu command, as a user's import
// would. Between inputs the harness settles what an import leaves to the event loop (its wait
// window, window-system events, deferred deletes) and drops the frames queued for the sender, so no
// input leaves memory behind: libFuzzer runs a whole-heap leak scan after every input that
// allocates more than it frees, and with a window's heap that scan, not the import, set the pace.
//
// Inputs are preset files. The mutator edits them as text (fuzz/preset_mutator.h), starting from the
// console's own export, so most of them reach the code that applies a file; the reading of raw
// bytes has a target of its own (preset_read_fuzz.cpp).
#include <QCoreApplication>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "console/control_ids.h"
#include "console/page_wait.h"
#include "console/preset_file.h"
#include "fuzz/console_window.h"
#include "fuzz/preset_mutator.h"
#include "link/frame.h"
#include "link/ui/page_setup.h"
#include "platform/ui/message_box.h"

// libFuzzer's byte mutator; absent where the target is built as a replay test.
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize)
    __attribute__((weak));

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

struct Harness {
    Harness()
        : window(fuzzwindow::Build("preset_import_fuzz",
                                   [this](const ZemCmd::Cmd& frame) { frames.push_back(frame); })),
          dialog(window.dialog.get()),
          file(window.folder + "/zem.inf") {
        Shown(dialog->BuildPresetText());
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
        // The import makes its wait window a child of the main window.
        for (PageWait* wait : dialog->findChildren<PageWait*>(Qt::FindDirectChildrenOnly)) delete wait;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialog->SetUpPage()->Queue().DropWaiting();
    }

    // What the window shows now, and the sections an import checks a file against, which the
    // import takes from the same export.
    void Shown(std::string text) {
        shown = std::move(text);
        shapes = preset::ShapesOf(shown);
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

    std::vector<ZemCmd::Cmd> frames;  // before the window: its start-up frames come through the tap
    fuzzwindow::Window window;
    CVelmor_Zem_R7Dlg* dialog;
    std::string file;
    std::string shown;  // the preset text of what the window shows now
    preset::SectionShapes shapes;
    // From the console's export as it starts.
    const presetfuzz::Mutator mutator{dialog->BuildPresetText()};
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
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool readable = preset::ParseFileBytes(bytes, h.shapes).status == preset::ReadStatus::Ok;
    const std::size_t boxes = h.Import(bytes);
    Check(readable == (boxes == 0));  // refused exactly when the reader refuses
    if (!readable) {
        // Refused: one box, nothing sent, nothing changed.
        Check(boxes == 1);
        Check(h.frames.empty());
        Check(h.dialog->BuildPresetText() == h.shown);
        return 0;
    }
    Check(!h.frames.empty());
    CheckFrames(h.frames);
    h.Shown(h.dialog->BuildPresetText());
    if (h.RoundTripChecked(h.shown)) return 0;
    // The export of what the file left passes the import's checks and, applied, leaves the same.
    // Applied straight: the menu's way around it (file, wait window, sync) ran for this input already.
    const preset::ReadLinesResult again = preset::ParseFileBytes(preset::EncodeFile(h.shown), h.shapes);
    Check(again.status == preset::ReadStatus::Ok);
    h.dialog->ApplyPresetLines(again.lines);
    h.Settle();
    Check(h.dialog->BuildPresetText() == h.shown);
    return 0;
}

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    const std::string out = TheHarness().mutator.Mutate({reinterpret_cast<const char*>(data), size}, maxSize,
                                                        seed, LLVMFuzzerMutate);
    if (out.empty()) return LLVMFuzzerMutate ? LLVMFuzzerMutate(data, size, maxSize) : size;
    std::memcpy(data, out.data(), out.size());
    return out.size();
}
