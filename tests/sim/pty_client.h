#pragma once
// The console's side of the line for tests: opens the slave terminal raw, writes, and reads with a deadline.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

class PtyClient {
  public:
    explicit PtyClient(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0) {
            termios t{};
            ::tcgetattr(fd_, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~PtyClient() {
        if (fd_ >= 0) ::close(fd_);
    }
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool ok() const { return fd_ >= 0; }

    bool Write(const std::vector<std::uint8_t>& b) {
        std::size_t done = 0;
        while (done < b.size()) {
            const ssize_t n = ::write(fd_, b.data() + done, b.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd p{fd_, POLLOUT, 0};
                if (::poll(&p, 1, 1000) <= 0) return false;
            }
        }
        return true;
    }

    // Reads until `want` bytes came or the time is up; returns what came.
    std::vector<std::uint8_t> Read(std::size_t want, std::chrono::milliseconds timeout) {
        std::vector<std::uint8_t> out;
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (out.size() < want) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            std::uint8_t buf[2048];
            const ssize_t n = ::read(fd_, buf, std::min(sizeof buf, want - out.size()));
            if (n > 0) out.insert(out.end(), buf, buf + n);
        }
        return out;
    }

    // Everything that arrives within `quiet` of silence.
    std::vector<std::uint8_t> Drain(std::chrono::milliseconds quiet) {
        std::vector<std::uint8_t> out;
        for (;;) {
            const auto got = Read(4096, quiet);
            if (got.empty()) return out;
            out.insert(out.end(), got.begin(), got.end());
        }
    }

  private:
    int fd_ = -1;
};

}  // namespace simtest
