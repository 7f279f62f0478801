#pragma once
// Whether the console has a screen to open its window on. Without one, Qt aborts the program with
// "could not load the Qt platform plugin"; the console says so plainly first.

#include <string>

namespace console {

// What decides where Qt draws: the two display variables and the platform Qt is told to use
// (QT_QPA_PLATFORM, or "-platform" on the command line, which wins).
struct DisplaySetting {
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string platform;
};

// From the environment and the command line.
DisplaySetting CurrentDisplaySetting(int argc, const char* const* argv);

// True when there is a display, or Qt is told to draw without one (offscreen, vnc, linuxfb, ...).
bool HasDisplay(const DisplaySetting& setting);

// What the user reads when there is no display; `program` is how the console was started.
std::string NoDisplayMessage(const std::string& program);

}  // namespace console
