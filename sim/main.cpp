// k417b-sim: plays the audio processor on a pseudo-terminal until interrupted.

#include <signal.h>

#include <cstdio>

#include "sim/options.h"
#include "sim/processor.h"

int main(int argc, char** argv) {
    sim::Options options;
    bool help = false;
    std::string error;
    if (!sim::ParseCommandLine(argc, argv, options, help, error)) {
        std::fprintf(stderr, "k417b-sim: %s\n%s", error.c_str(), sim::Usage().c_str());
        return 2;
    }
    if (help) {
        std::fputs(sim::Usage().c_str(), stdout);
        return 0;
    }
    // Block the stop signals before the processor thread exists, then wait for them here.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    sim::Processor processor(options);
    if (!processor.Start(error)) {
        std::fprintf(stderr, "k417b-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", processor.SlavePath().c_str());
    std::fflush(stdout);
    int sig = 0;
    sigwait(&stop, &sig);
    processor.Stop();
    return 0;
}
