#include "platform/log_redirect.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace trace {

bool RedirectStdoutTo(const std::string& path) {
    std::fflush(stdout);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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
