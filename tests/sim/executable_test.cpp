// The k417b-sim program as the demo script runs it: a child process on a pseudo-terminal.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/sim/pty_client.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

TEST(Executable, PrintsThePathAnswersAndCleansUpOnTerminate) {
    const char* build = std::getenv("K417B_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    const std::string program = std::string(build) + "/sim/k417b-sim";
    char dir[] = "simexe.XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/tty";
    const std::string log = std::string(dir) + "/sim.log";

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const char* argv[] = {program.c_str(), "--link",         link.c_str(), "--log",
                          log.c_str(),     "--firmware-dir", dir,          nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    std::string line;
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
    ::close(out[0]);
    EXPECT_EQ(line.rfind("/dev/pts/", 0), 0u) << line;
    {
        simtest::PtyClient client(link);
        ASSERT_TRUE(client.ok());
        client.Write({0xA5, 0x06, 0xF9, 0x03, 0x06, 0xAD});
        EXPECT_EQ(client.Read(3, 2000ms), (std::vector<std::uint8_t>{'o', 'k', '\n'}));
    }
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0);
    std::FILE* f = std::fopen(log.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char text[4096] = {};
    std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    EXPECT_NE(std::string(text).find(" rx A5 06 F9 03 06 AD | heartbeat"), std::string::npos) << text;
}

TEST(Executable, RefusesABadOption) {
    const std::string program =
        std::string(std::getenv("K417B_BUILD_DIR")) + "/sim/k417b-sim --late soon 2>/dev/null";
    const int status = std::system(program.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
}

}  // namespace
