#include "platform/log_redirect.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "support.h"

namespace {

// Redirects in a child process, so the runner's own output stays; the exit code is 10 + file used,
// -1 when the child was killed. The child starts with SIGXFSZ at its default (ending the program),
// so that whatever keeps a file-size limit from ending it is the redirect's doing.
int RedirectInChild(const std::string& path, const std::string& line, rlim_t sizeLimit = RLIM_INFINITY) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(5);  // a redirect that blocks ends the child instead of the test run
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{sizeLimit, sizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
        const bool used = trace::RedirectStdoutTo(path);
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
        _exit(10 + (used ? 1 : 0));
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LogRedirect, OutputLandsInTheTruncatedFileOrNowhere) {
    const std::string path = "log_redirect_test.txt";
    WriteBytes(path, "old contents that must go\n");
    EXPECT_EQ(RedirectInChild(path, "[send]A5 06\n"), 11);
    EXPECT_EQ(ReadBytes(path), "[send]A5 06\n");
    std::remove(path.c_str());
    EXPECT_EQ(RedirectInChild("no-such-folder/log.txt", "lost\n"), 10);
    // Under a file-size limit the log stops growing at the limit and the program runs on.
    EXPECT_EQ(RedirectInChild(path, std::string(2000, 'x'), 500), 11) << "a full log ended the program";
    EXPECT_EQ(std::filesystem::file_size(path), 500u);
    std::remove(path.c_str());
}

TEST(LogRedirect, APipeNamedLikeTheLogIsNotTakenAndDoesNotBlock) {
    const std::string path = "log_redirect_test.fifo";
    std::remove(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    // No reader on the pipe: a blocking open would never return and the child would hang.
    EXPECT_EQ(RedirectInChild(path, "lost\n"), 10) << "a pipe must leave the trace off";
    std::remove(path.c_str());
}

TEST(LogRedirect, ALinkNamedLikeTheLogIsNotFollowedAndItsTargetStaysIntact) {
    const std::string target = "log_redirect_test.target", link = "log_redirect_test.link";
    const std::string missing = "log_redirect_test.missing";
    for (const auto& p : {target, link, missing}) std::remove(p.c_str());
    WriteBytes(target, "another file's contents\n");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_EQ(RedirectInChild(link, "lost\n"), 10) << "a link must leave the trace off";
    EXPECT_EQ(ReadBytes(target), "another file's contents\n") << "the link's target was truncated or written";
    std::remove(link.c_str());
    // A link to nothing yet: following it would create the file it names.
    ASSERT_EQ(symlink(missing.c_str(), link.c_str()), 0);
    EXPECT_EQ(RedirectInChild(link, "lost\n"), 10) << "a dangling link must leave the trace off";
    EXPECT_NE(access(missing.c_str(), F_OK), 0) << "a dangling link's target was created";
    for (const auto& p : {target, link, missing}) std::remove(p.c_str());
}

}  // namespace
