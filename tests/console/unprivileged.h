#pragma once
// Checks that need a user whom file permissions bind: a file the user may not write, a folder that
// refuses the user new files. Root is bound by none of them, and the tests run as root in CI, so a
// check runs in a child process that, when started as root, first drops to nobody (65534). The
// child passes its result back through its exit status.

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>

namespace unprivileged {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
// Exit statuses of the child besides the check's own (0 for passed, 1.. for what failed).
constexpr int kCouldNotDrop = 125;
constexpr int kDied = -1;  // killed, or still running after the time limit

inline bool AsRoot() {
    return ::geteuid() == 0;
}

// Runs check() in a child process, as nobody when the tests run as root, else as the tests' own
// user; returns the child's exit status (check's result, kCouldNotDrop or kDied). Only the calling
// thread lives on in the child: the check must not wait for anything the parent's other threads do.
inline int Run(const std::function<int()>& check) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(30);  // a check that hangs ends the child, not the test run
        if (AsRoot() && (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0 ||
                         ::geteuid() != kNobody))
            ::_exit(kCouldNotDrop);
        const int result = check();
        std::fflush(nullptr);
        ::_exit(result);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return kDied;
    return WEXITSTATUS(status);
}

// What an exit status of Run means: failures[k - 1] for status k.
inline std::string Why(int status, std::initializer_list<const char*> failures) {
    if (status == 0) return "passed";
    if (status == kCouldNotDrop) return "the child could not drop to the user nobody (65534)";
    if (status == kDied) return "the child was killed or hung";
    if (status >= 1 && static_cast<std::size_t>(status) <= failures.size())
        return failures.begin()[status - 1];
    return "unknown status " + std::to_string(status);
}

// A fresh folder under /tmp that the check's user may enter: the folders above a build tree (under
// /root, say) need not be open to nobody. Removed with everything in it.
struct SharedDir {
    SharedDir() {
        char name[] = "/tmp/k417b-unprivileged.XXXXXX";
        if (::mkdtemp(name)) path = name;
        ::chmod(path.c_str(), 0755);
    }
    ~SharedDir() { std::filesystem::remove_all(path); }
    SharedDir(const SharedDir&) = delete;
    SharedDir& operator=(const SharedDir&) = delete;

    std::string File(const std::string& name) const { return path + "/" + name; }
    // Makes a file the check's user's own (a no-op when that user is the tests' own).
    void GiveToCheckUser(const std::string& file) const {
        if (AsRoot() && ::chown(file.c_str(), kNobody, kNoGroup) != 0) std::perror(file.c_str());
    }

    std::string path;
};

}  // namespace unprivileged
