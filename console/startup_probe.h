#pragma once
// Developer aids switched on by the environment:
//   K417B_REPORT_FIRST_PAINT=1  writes "first-paint-ns <CLOCK_REALTIME ns>" to standard error when
//                               the main window is first painted (start-up timing);
//   K417B_SCREENSHOT=<file.png> grabs the screen 800 ms after the first paint, saves it and closes;
//                               a name holding "%1" takes one picture of every tab, %1 = tab index.

class QWidget;

namespace console {

void WatchStartup(QWidget* window);

}  // namespace console
