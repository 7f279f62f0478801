#pragma once
// A scripted serial link for the connect machine: ports that exist or not, a peer that answers a
// pushed frame at once (or not), and a record of everything the machine did.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/connect_machine.h"

class FakeLink : public connect::ConnectLink {
  public:
    using Peer = std::function<std::optional<ZemCmd::Cmd>(const ZemCmd::Cmd& request)>;

    std::set<int> existing;           // COMn that open
    std::map<int, Peer> peers;        // the peer behind an open port; none: silent
    std::vector<std::string> opened;  // names given to Open, in order
    std::vector<ZemCmd::Cmd> pushed;
    std::string log;
    int openPort = 0;
    bool frameMode = false;
    bool ready = false;
    ZemCmd::Cmd last;
    int closes = 0;

    bool IsOpen() const override { return openPort != 0; }
    bool Open(const std::string& name) override {
        opened.push_back(name);
        const int n = std::stoi(name.substr(3));
        if (openPort || !existing.count(n)) return false;
        openPort = n;
        return true;
    }
    void Start() override {}
    void Close() override {
        openPort = 0;
        ++closes;
    }
    void SetFrameMode(bool on) override { frameMode = on; }
    bool FrameReady() const override { return ready; }
    void ClearFrameReady() override { ready = false; }
    void CopyFrame(std::uint32_t (&words)[ZemCmd::kMaxFrame]) const override {
        for (int i = 0; i < ZemCmd::kMaxFrame; ++i) words[i] = last[static_cast<std::size_t>(i)];
    }
    void Push(const ZemCmd::Cmd& cmd) override {
        pushed.push_back(cmd);
        auto it = peers.find(openPort);
        if (it == peers.end() || !it->second) return;
        if (auto answer = it->second(cmd)) {
            last = *answer;
            ready = true;
        }
    }
    void Log(std::string_view line) override { log += line; }
};

// An answer frame echoing the request's group and code.
inline ZemCmd::Cmd AnswerTo(const ZemCmd::Cmd& request, std::uint8_t code = 0) {
    ZemCmd::Cmd a;
    a[0] = ZemCmd::kSync;
    a[1] = 8;
    a[2] = ZemCmd::kClassAnswer;
    a[3] = request[3];
    a[4] = code ? code : request[4];
    a.Seal();
    return a;
}
