#include "platform/log_redirect.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/text_file.h"

namespace trace {

namespace {
// The log file opened for writing from its start, or -1. Opened without blocking and kept only
// when it is a regular file: a pipe or a device named log.txt must neither hang the start nor
// take the trace. A symbolic link is not followed (the open fails on it), so the truncation can
// never reach a file outside the working directory.
int OpenLogFile(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::ftruncate(fd, 0) != 0 ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
}  // namespace

bool RedirectStdoutTo(const std::string& path) {
    // A log that reaches the file-size limit stops growing; the console runs on.
    textfile::IgnoreFileSizeSignal();
    std::fflush(stdout);
    int fd = OpenLogFile(path);
    const bool opened = fd >= 0;
    if (!opened) fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    if (fd != STDOUT_FILENO) {
        ::dup2(fd, STDOUT_FILENO);
        ::close(fd);
    }
    return opened;
}

}  // namespace trace
