#pragma once
// The console's main window for a fuzz target, built once for the whole run: offscreen, in a folder
// of its own under /dev/shm or /tmp (removed when the run ends; a crash leaves it), with no settings file, no
// trace, no connect attempt and the sender stopped, so the frames an input queues stay in the queue
// until the harness drops them.

#include <functional>
#include <memory>
#include <string>

#include "console/main_dialog.h"

namespace fuzzwindow {

struct Window {
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
    std::string folder;  // a file of the harness's goes here
};

// `name` names the program and the folder; `tap` sees every frame queued. Change notices fire at
// 0 ms, in the event processing right after the change, so a frame counts with the input that
// caused it.
Window Build(const char* name, std::function<void(const ZemCmd::Cmd&)> tap = {});

}  // namespace fuzzwindow
