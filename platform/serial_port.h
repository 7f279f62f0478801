#pragma once
// A serial port on termios: raw 115200 8N1, no flow control, exclusive, non-blocking reads.
// Writes go out in small pieces, one pause apart, as the processor's receiver needs.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

class SerialPort {
  public:
    struct Pacing {
        int pieceSize = 15;
        std::chrono::milliseconds pause{3};      // from one piece's planned start to the next
        std::chrono::milliseconds budget{1000};  // for one piece to be taken by the driver
    };

    // Called on the writing thread after each piece: its bytes, its size and how many were written.
    using PieceObserver = std::function<void(const std::uint8_t* bytes, int size, int written)>;

    SerialPort() = default;
    explicit SerialPort(Pacing pacing) : pacing_(pacing) {}
    ~SerialPort() { Close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // False when a port is already open, or the path cannot be opened, is not a terminal, or is
    // held by another program. Both directions are purged after opening.
    bool Open(const std::string& path);
    bool IsOpen() const { return fd_.load() >= 0; }
    // No other thread may be reading or writing while the port closes.
    void Close();

    // Writes n bytes piece by piece; returns the count really written (short on an error or when a
    // piece's budget runs out; later pieces are then not tried). 0 when closed or n <= 0. Pieces
    // start on a fixed grid, one pause apart (the time a write takes does not add to it), and the
    // call returns one pause after the last piece's start.
    int Write(const std::uint8_t* bytes, int n);

    // Returns at once: the count read, 0 when nothing is waiting, -1 on an error or when closed.
    int Read(std::uint8_t* buffer, int max);

    // Returns as soon as input is waiting, or after `limit`; false when closed or on an error.
    bool WaitReadable(std::chrono::milliseconds limit);

    // Drops unsent output and unread input.
    void Purge();
    // Drops unread input only.
    void DropInput();

    const std::string& LastError() const { return lastError_; }
    void SetPieceObserver(PieceObserver observer) { observer_ = std::move(observer); }

  private:
    int WritePiece(int fd, const std::uint8_t* bytes, int n);

    Pacing pacing_;
    std::atomic<int> fd_{-1};
    std::string lastError_;
    PieceObserver observer_;
};

}  // namespace platform
