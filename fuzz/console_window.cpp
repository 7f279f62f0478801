#include "fuzz/console_window.h"

#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "link/ui/page_setup.h"

namespace fuzzwindow {

namespace {

std::string g_folder;

void Require(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

Window Build(const char* name, std::function<void(const ZemCmd::Cmd&)> tap) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static std::string program = name;
    static char* argv[] = {program.data(), nullptr};
    new QApplication(argc, argv);  // kept to the end: Qt dislikes teardown at exit
    // In memory where the system has such a folder: a harness may write a file for every input.
    const bool shm = ::access("/dev/shm", W_OK | X_OK) == 0;
    std::string pattern = std::string(shm ? "/dev/shm" : "/tmp") + "/k417b-" + program + ".XXXXXX";
    Require(::mkdtemp(pattern.data()) != nullptr);
    g_folder = pattern;
    std::atexit([] { std::filesystem::remove_all(g_folder); });
    CVelmor_Zem_R7Dlg::Options options;
    options.configPath = g_folder + "/config.ini";  // none: the defaults
    options.logPath.clear();
    options.firstConnectDelayMs = 1 << 30;
    options.debounceMs = 0;
    options.frameTap = std::move(tap);
    Window window;
    window.folder = g_folder;
    window.dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
    window.dialog->OnInitDialog();
    // A sender would free the frames on its own thread, after the input that queued them.
    window.dialog->SetUpPage()->Queue().Stop();
    return window;
}

}  // namespace fuzzwindow
