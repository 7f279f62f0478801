#include "sim/device.h"

#include <cstdio>

#include "sim/answers.h"
#include "sim/writes.h"

namespace sim {

namespace {

std::vector<std::uint8_t> Bytes(const ZemCmd::Cmd& c) {
    return {c.data(), c.data() + c.Length()};
}

std::string Hex2(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    return buf;
}

}  // namespace

ZemCmd::Cmd HandshakeReply() {
    const int payload[] = {1, 0};  // firmware generation, spare
    return MakeAnswer(0xF0, ZemCmd::kActHandshake, payload, 2);
}

Device::Device(const Store& start) : store_(start) {
    groups_.fill(start);
}

Reaction Device::Handle(const ZemCmd::Cmd& f) {
    Reaction r;
    switch (f[2]) {
        case ZemCmd::kClassRead: {
            r.what = "read " + Hex2(f[3]) + " " + Hex2(f[4]);
            if (const auto answer = AnswerRead(store_, f)) {
                r.reply = Bytes(*answer);
                r.answer = true;
            } else {
                r.what += " (unknown, not answered)";
            }
            return r;
        }
        case ZemCmd::kClassSystem:
            if (f[3] == ZemCmd::kSysAction) return SystemAction(f[4]);
            if (f[3] == ZemCmd::kSysDebugPrint) {
                r.what = f[4] == 0 ? "debug printing on" : "debug printing off";
                return r;
            }
            r.what = "unknown system command " + Hex2(f[3]);
            return r;
        case ZemCmd::kClassWrite:
            if (f[3] == 0xF0 && f[1] == 9) return GroupCommand(f[4], f[5]);
            if (!ApplyWrite(store_, f, r.what))
                r.what = "unknown write " + Hex2(f[3]);
            else
                r.what = "set " + r.what;
            return r;
        default:
            r.what = "unexpected class " + Hex2(f[2]);
            return r;
    }
}

Reaction Device::SystemAction(int action) {
    Reaction r;
    const int low = action & 0x0F;
    const int high = action >> 4;
    if (action == 0xFD) {
        SaveGroup(16, r);
    } else if (action == 0xFE) {
        LoadGroup(16, r);
    } else if (action == ZemCmd::kActHandshake) {
        r.reply = Bytes(HandshakeReply());
        r.what = "handshake";
    } else if (action == ZemCmd::kActHeartbeat) {
        r.reply = {'o', 'k', '\n'};
        r.what = "heartbeat";
    } else if (action == ZemCmd::kActEnterUpdate) {
        r.enterUpdate = true;
        r.what = "enter update";
    } else if (action == ZemCmd::kActFactoryReset) {
        store_ = DefaultStore();
        r.what = "factory reset";
    } else if (low == 0x01) {
        SaveGroup(high, r);
    } else if (low == 0x05) {
        LoadGroup(high, r);
    } else if (low == 0x07) {
        store_.mutes = (store_.mutes & ~0x03) | (high & 0x03);
        r.what = "main mutes " + std::to_string(high & 0x03);
    } else if (low == 0x08) {
        store_.mutes = (store_.mutes & 0x03) | (high << 2);
        r.what = "other mutes " + std::to_string(high);
    } else if (low == 0x09) {
        store_.musicInput = high;
        r.what = "music input " + std::to_string(high);
    } else {
        r.what = "unknown action " + Hex2(action);
    }
    return r;
}

Reaction Device::GroupCommand(int op, int group) {
    Reaction r;
    if (op == ZemCmd::kGroupEndReadBack) {
        r.endReadBack = true;
        r.what = "end of read-back";
    } else if ((op == ZemCmd::kGroupStore || op == ZemCmd::kGroupLoad) && group < kGroups) {
        if (op == ZemCmd::kGroupStore)
            SaveGroup(group, r);
        else
            LoadGroup(group, r);
    } else {
        r.what = "unknown group command " + Hex2(op) + " " + std::to_string(group);
    }
    return r;
}

void Device::SaveGroup(int n, Reaction& r) {
    store_.group = n;
    groups_[n] = store_;
    r.what = n == 0 ? "store factory settings" : "store group " + std::to_string(n);
}

void Device::LoadGroup(int n, Reaction& r) {
    store_ = groups_[n];
    store_.group = n;
    r.what = n == 0 ? "load factory settings" : "load group " + std::to_string(n);
}

}  // namespace sim
