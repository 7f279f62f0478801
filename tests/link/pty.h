#pragma once
// Either end of a pseudo-terminal for tests: Pty() is the device's master side (the code under test
// opens path(); a slave descriptor stays open so the port can be closed and reopened), Pty(path) a
// raw client on a slave path.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

class Pty {
  public:
    Pty() {
        char name[128] = {};
        if (openpty(&fd_, &keep_, name, nullptr, nullptr) != 0) return;
        path_ = name;
        fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    explicit Pty(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios t{};
        if (fd_ < 0 || tcgetattr(fd_, &t) != 0) return;
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~Pty() {
        for (int fd : {fd_, keep_})
            if (fd >= 0) close(fd);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    bool Send(const std::vector<std::uint8_t>& bytes) {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t w = write(fd_, bytes.data() + done, bytes.size() - done);
            if (w > 0)
                done += static_cast<std::size_t>(w);
            else if (!Wait(POLLOUT, 1000ms))
                return false;
        }
        return true;
    }
    // Reads until n bytes came or the time is up.
    std::vector<std::uint8_t> Receive(std::size_t n, std::chrono::milliseconds timeout = 5s) {
        std::vector<std::uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (auto now = end - timeout; got.size() < n && now < end; now = std::chrono::steady_clock::now()) {
            if (!Wait(POLLIN, std::chrono::duration_cast<std::chrono::milliseconds>(end - now))) continue;
            std::uint8_t buf[2048];
            const ssize_t r = read(fd_, buf, std::min(sizeof buf, n - got.size()));
            if (r > 0) got.insert(got.end(), buf, buf + r);
        }
        return got;
    }
    // Everything that arrives until `quiet` passes without a byte.
    std::vector<std::uint8_t> Drain(std::chrono::milliseconds quiet) {
        std::vector<std::uint8_t> all;
        for (auto got = Receive(4096, quiet); !got.empty(); got = Receive(4096, quiet))
            all.insert(all.end(), got.begin(), got.end());
        return all;
    }

  private:
    bool Wait(short events, std::chrono::milliseconds ms) {
        pollfd p{fd_, events, 0};
        return poll(&p, 1, static_cast<int>(ms.count())) > 0;
    }
    int fd_ = -1, keep_ = -1;
    std::string path_;
};

// Waits until pred holds or the time is up; returns pred's last value.
inline bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout = 5s) {
    for (const auto end = std::chrono::steady_clock::now() + timeout; !pred();) {
        if (std::chrono::steady_clock::now() > end) return pred();
        std::this_thread::sleep_for(2ms);
    }
    return true;
}
