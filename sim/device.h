#pragma once
// What the processor does with one received frame: answers, store changes, presets, mode switches.
// No input or output here; the processor loop sends the reply and logs the description.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/frame.h"
#include "sim/store.h"

namespace sim {

struct Reaction {
    std::vector<std::uint8_t> reply;  // bytes to send back, possibly none
    bool answer = false;              // reply is the answer to a read request
    bool endReadBack = false;         // the end-of-read-back command (not answered)
    bool enterUpdate = false;         // switch to receiving a firmware image
    std::string what;                 // for the log
};

class Device {
  public:
    static constexpr int kGroups = 17;  // 0 = factory settings, 1..16 effect groups

    explicit Device(const Store& start);

    Reaction Handle(const ZemCmd::Cmd& frame);

    Store& store() { return store_; }
    const Store& store() const { return store_; }

  private:
    Reaction SystemAction(int action);
    Reaction GroupCommand(int op, int group);
    void SaveGroup(int n, Reaction& r);
    void LoadGroup(int n, Reaction& r);

    Store store_;
    std::array<Store, kGroups> groups_;
};

// The reply to the handshake probe: a short class-0xF6 frame.
ZemCmd::Cmd HandshakeReply();

}  // namespace sim
