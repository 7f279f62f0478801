#pragma once
// The application: runs the main window; when it closes, the program ends.

class CVelmor_Zem_R7App {
  public:
    // Builds, shows and runs the main window until it closes. Always false: there is nothing to run
    // after it.
    bool InitInstance();
};
