#include "platform/serial_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <string.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace platform {
namespace {

bool MakeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    // A fresh tty echoes, maps CR to LF and eats XON/XOFF: all of that would corrupt binary frames.
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

bool SerialPort::Open(const std::string& path) {
    if (IsOpen()) {
        lastError_ = "already open";
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastError_ = path + ": " + strerror(errno);
        return false;
    }
    if (!isatty(fd)) {
        lastError_ = path + ": not a serial device";
        ::close(fd);
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        lastError_ = path + ": in use";
        ::close(fd);
        return false;
    }
    if (!MakeRaw(fd)) {
        lastError_ = path + ": cannot set 115200 8N1 raw: " + strerror(errno);
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    tcflush(fd, TCIOFLUSH);
    lastError_.clear();
    fd_.store(fd);
    return true;
}

void SerialPort::Close() {
    const int fd = fd_.exchange(-1);
    if (fd < 0) return;
    // The exclusive mark outlives our descriptor while another one (a simulator's) keeps the tty open.
    ioctl(fd, TIOCNXCL);
    ::close(fd);
}

int SerialPort::WritePiece(int fd, const std::uint8_t* bytes, int n) {
    const auto deadline = std::chrono::steady_clock::now() + pacing_.budget;
    int done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd, bytes + done, static_cast<size_t>(n - done));
        if (w > 0) {
            done += static_cast<int>(w);
            continue;
        }
        if (w < 0 && errno != EAGAIN && errno != EINTR) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
        if (p.revents & (POLLERR | POLLNVAL)) break;
    }
    return done;
}

int SerialPort::Write(const std::uint8_t* bytes, int n) {
    const int fd = fd_.load();
    if (fd < 0 || n <= 0) return 0;
    using Clock = std::chrono::steady_clock;
    // Absolute deadlines: piece k starts at start + k pauses, so neither the write's own time nor a
    // sleep's overshoot adds up over a block. After a stall longer than a pause the grid starts
    // again from now rather than sending the late pieces back to back.
    auto planned = Clock::now();
    int total = 0;
    for (int offset = 0; offset < n; offset += pacing_.pieceSize) {
        const auto now = Clock::now();
        if (now > planned + pacing_.pause) planned = now;
        std::this_thread::sleep_until(planned);
        const int size = std::min(pacing_.pieceSize, n - offset);
        const int written = WritePiece(fd, bytes + offset, size);
        total += written;
        if (observer_) observer_(bytes + offset, size, written);
        planned += pacing_.pause;
        if (written < size) break;
    }
    std::this_thread::sleep_until(planned);
    return total;
}

int SerialPort::Read(std::uint8_t* buffer, int max) {
    const int fd = fd_.load();
    if (fd < 0 || max <= 0) return -1;
    const ssize_t r = ::read(fd, buffer, static_cast<size_t>(max));
    if (r >= 0) return static_cast<int>(r);
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

bool SerialPort::WaitReadable(std::chrono::milliseconds limit) {
    const int fd = fd_.load();
    if (fd < 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(std::max<std::int64_t>(0, limit.count())));
    if (r < 0) return errno == EINTR;
    if (p.revents & (POLLERR | POLLNVAL)) return false;
    return (p.revents & POLLIN) || !(p.revents & POLLHUP);
}

void SerialPort::DropInput() {
    const int fd = fd_.load();
    if (fd < 0) return;
    tcflush(fd, TCIFLUSH);
    std::uint8_t sink[256];
    while (::read(fd, sink, sizeof sink) > 0) {
    }
}

void SerialPort::Purge() {
    const int fd = fd_.load();
    if (fd >= 0) tcflush(fd, TCIOFLUSH);
}

}  // namespace platform
