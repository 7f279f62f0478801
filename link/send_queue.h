#pragma once
// The queue every frame of normal operation goes through, and the sender thread that writes it to
// the link one frame per 60 ms. A frame pushed again while a copy still waits moves to the back,
// except a heartbeat, which is dropped then; every third non-system frame gets a heartbeat behind
// it. While the link is in frame mode the sender re-lays eight kinds of parameter write into the
// processor's alternate layout. Anything thrown while a frame is written or traced costs that frame
// only: the sender traces "Exception..." and goes on.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "link/frame.h"

class Uart;

class SendQueue {
  public:
    struct Timing {
        std::chrono::milliseconds gap{60};          // after every turn of the sender
        std::chrono::milliseconds updateIdle{100};  // while a firmware update owns the port
    };
    // Room for the longest re-laid frame.
    static constexpr int kOutSize = 52;

    explicit SendQueue(Uart& uart);
    SendQueue(Uart& uart, Timing timing);
    // Stops and joins the sender, then drops what is still waiting.
    ~SendQueue();
    SendQueue(const SendQueue&) = delete;
    SendQueue& operator=(const SendQueue&) = delete;

    // Queues a copy of the frame's byte-1 bytes (checksum already in place). A frame whose byte 0
    // is not 0xA5 or whose length lies outside 2..50 is traced and dropped.
    void PushCmd(const ZemCmd::Cmd& cmd);
    void PushCmd(const ZemCmd::Cmd* cmd) {
        if (cmd) PushCmd(*cmd);
    }

    void Start();
    // Returns once the sender has finished its current frame and ended.
    void Stop();
    bool IsRunning() const { return sender_.joinable(); }

    // The sender thread's body: runs until Stop().
    static void SendThread(SendQueue* queue);

    // Writes the alternate layout of a parameter write into out (kOutSize bytes) and returns true,
    // or returns false when the frame goes out as it is (other kinds, unknown modes, or a frame
    // shorter than its layout reads).
    static bool TranslateCmd(const ZemCmd::Cmd& in, std::uint8_t* out);

    // Drops every frame still waiting (the sender, if it runs, carries on with what comes next).
    void DropWaiting();

    // Copies of the waiting frames, oldest first.
    std::vector<std::vector<std::uint8_t>> Pending() const;
    // Non-system frames queued since the last heartbeat or system frame.
    int HeartbeatCount() const;

  private:
    // SendOne, with anything it throws caught and traced as "Exception...".
    void SendGuarded(const std::vector<std::uint8_t>& frame);
    void SendOne(const std::vector<std::uint8_t>& frame);
    bool Pause(std::chrono::milliseconds d);

    Uart& uart_;
    Timing timing_;
    mutable std::mutex mutex_;  // the queue and the counter
    std::deque<std::vector<std::uint8_t>> queue_;
    int counter_ = 0;

    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool stop_ = false;  // under wakeMutex_
    std::thread sender_;
};
