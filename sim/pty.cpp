#include "sim/pty.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/text_file.h"

namespace sim {

namespace {
std::string Errno(const std::string& what) {
    return what + ": " + std::strerror(errno);
}
}  // namespace

Pty::~Pty() {
    Close();
}

void Pty::Close() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
    master_ = slave_ = -1;
}

bool Pty::Open(std::string& error) {
    Close();
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        error = Errno("openpty");
        master_ = slave_ = -1;
        return false;
    }
    slavePath_ = name;
    termios t{};
    if (::tcgetattr(slave_, &t) != 0) {
        error = Errno("tcgetattr");
        Close();
        return false;
    }
    // Binary frames: no echo, no line editing, no CR/LF or flow-control translation.
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B115200);
    ::cfsetospeed(&t, B115200);
    t.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(slave_, TCSANOW, &t) != 0) {
        error = Errno("tcsetattr");
        Close();
        return false;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    return true;
}

bool MakeSymlink(const std::string& target, const std::string& link, std::string& error) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = link + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = Errno("symlink " + link);
        return false;
    }
    return true;
}

void RemoveSymlinkTo(const std::string& target, const std::string& link) {
    char buf[4096];
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    if (n > 0 && std::string(buf, static_cast<std::size_t>(n)) == target) ::unlink(link.c_str());
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    int err = 0;
    const textfile::Status status = textfile::WriteFileAtomically(path, text, &err);
    if (status == textfile::Status::Ok) return true;
    error = "cannot write " + path + ": " + (err != 0 ? std::strerror(err) : textfile::Describe(status));
    return false;
}

}  // namespace sim
