#include "platform/log_redirect.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// Runs the redirect in a child process, so the test runner's own output stays where it is.
// Returns the child's exit code: 10 + whether the file was in use.
int RedirectInChild(const std::string& path, const char* line) {
    const pid_t pid = fork();
    if (pid == 0) {
        const bool used = trace::RedirectStdoutTo(path);
        std::fputs(line, stdout);
        std::fflush(stdout);
        _exit(10 + (used ? 1 : 0));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(LogRedirect, StandardOutputLandsInTheTruncatedFile) {
    const std::string path = "log_redirect_test.txt";
    std::ofstream(path) << "old contents that must go\n";
    EXPECT_EQ(RedirectInChild(path, "[send]A5 06\n"), 11);
    EXPECT_EQ(ReadFile(path), "[send]A5 06\n");
    std::remove(path.c_str());
}

TEST(LogRedirect, UnopenableFileRunsWithoutTracing) {
    EXPECT_EQ(RedirectInChild("no-such-folder/log.txt", "lost\n"), 10);
}

}  // namespace
