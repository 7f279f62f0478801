#include "console/display_check.h"

#include <cstdlib>
#include <sstream>

namespace console {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The platform names of a setting such as "wayland;xcb" or "xcb:nograb" (fallbacks, options).
bool NeedsAScreen(const std::string& platforms) {
    std::istringstream list(platforms);
    std::string entry;
    while (std::getline(list, entry, ';')) {
        const std::string name = entry.substr(0, entry.find(':'));
        if (!name.empty() && name != "xcb" && name.rfind("wayland", 0) != 0) return false;
    }
    return true;
}

}  // namespace

DisplaySetting CurrentDisplaySetting(int argc, const char* const* argv) {
    DisplaySetting setting{Env("DISPLAY"), Env("WAYLAND_DISPLAY"), Env("QT_QPA_PLATFORM")};
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-platform" || arg == "--platform") setting.platform = argv[i + 1];
    }
    return setting;
}

bool HasDisplay(const DisplaySetting& setting) {
    return !setting.display.empty() || !setting.waylandDisplay.empty() || !NeedsAScreen(setting.platform);
}

std::string NoDisplayMessage(const std::string& program) {
    return "The console is a window and needs a display, but neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
           "Start it from a desktop session (or over ssh -X), set DISPLAY to a running X display\n"
           "(for example DISPLAY=:0), or give it a virtual one (nothing shows, but it runs):\n"
           "  xvfb-run -a " +
           program + "\n";
}

}  // namespace console
