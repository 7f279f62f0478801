// The processor's alternate layout for parameter writes, used while the link is in frame mode.
#include <algorithm>

#include "link/send_queue.h"

using ZemCmd::ByteSum;
using ZemCmd::Cmd;

namespace {

// Bytes of the queued frame each layout reads: a shorter frame is sent as it is.
int BytesRead(std::uint8_t sub) {
    switch (sub) {
        case 0x0F:
            return 15;
        case 0x18:
            return 13;
        case 0x12:
            return 14;
        case 0x08:
            return 10;
        case 0x0D:
            return 20;
        case 0x02:
            return 12;
        case 0x0A:
            return 16;
        case 0x10:
            return 16;
        default:
            return 0;
    }
}

// A5, length, F1; the checksum is added by Finish.
struct Out {
    std::uint8_t* p;
    int n = 0;
    Out(std::uint8_t* out, std::uint8_t len) : p(out) {
        Put(ZemCmd::kSync);
        Put(len);
        Put(ZemCmd::kClassWrite);
    }
    void Put(std::uint8_t b) { p[n++] = b; }
    void Copy(const Cmd& in, int from, int to) {
        for (int i = from; i <= to; ++i) Put(in[i]);
    }
    bool Finish() {
        Put(ByteSum(p, n));
        return n == p[1];
    }
};

bool Levels(const Cmd& in, std::uint8_t* o) {
    const std::uint8_t mode = in[4];
    const bool bit7 = (in[5] & 0x80) != 0;
    std::uint8_t a = 0, b = 0;
    bool less40 = false;
    switch (mode) {
        case 2:
            a = bit7 ? 0x15 : 0x10, b = bit7 ? 0x81 : 0x01, less40 = true;
            break;
        case 1:
            a = bit7 ? 0x32 : 0x30, b = bit7 ? 0x80 : 0x01, less40 = !bit7;
            break;
        case 6:
            a = 0x40, b = 0x80;
            break;
        case 7:
            a = 0x2A, b = 0x80;
            break;
        case 8:
            a = 0x22, b = 0x80;
            break;
        default:
            return false;
    }
    Out out(o, 0x0E);
    out.Put(mode);
    out.Put(a);
    out.Put(b);
    for (int i = 6; i <= 11; ++i) out.Put(less40 ? static_cast<std::uint8_t>(in[i] - 0x40) : in[i]);
    out.Put(in[14]);
    return out.Finish();
}

bool Limiter(const Cmd& in, std::uint8_t* o) {
    const unsigned attack = in[7] + 256u * in[8];
    const unsigned release = in[9] + 256u * in[10];
    Out out(o, 0x0E);
    out.Put(in[4]);
    out.Put(in[4] == 2 ? 0x12 : 0x50);
    out.Copy(in, 5, 8);
    // No builder sends attack 0; should one come, take it as 1 rather than divide by zero.
    out.Put(static_cast<std::uint8_t>(release / std::max(attack, 1u)));
    out.Put(0x00);
    out.Copy(in, 11, 12);
    return out.Finish();
}

bool NoiseGate(const Cmd& in, std::uint8_t* o) {
    Out out(o, 0x0F);
    out.Put(in[5]);
    out.Put(0x13);
    out.Put(in[4]);
    out.Copy(in, 6, 13);
    return out.Finish();
}

bool FeedbackCanceller(const Cmd& in, std::uint8_t* o) {
    Out out(o, 0x0A);
    out.Put(in[4]);
    out.Put(0x14);
    out.Put(in[5]);
    out.Copy(in, 7, 9);
    return out.Finish();
}

bool EffectBlock(const Cmd& in, std::uint8_t* o) {
    Out out(o, 0x16);
    out.Put(in[5]);
    out.Put(0x20);
    out.Put(in[4]);
    out.Copy(in, 6, 19);
    out.Put(0x00);
    return out.Finish();
}

bool Sub02(const Cmd& in, std::uint8_t* o) {
    Out out(o, 0x0D);
    out.Put(in[5]);
    out.Put(0x28);
    out.Put(in[4]);
    out.Copy(in, 6, 11);
    return out.Finish();
}

bool EqBand(const Cmd& in, std::uint8_t* o) {
    std::uint8_t kind = 0x00;
    switch (in[4] & 0x7E) {
        case 0x04:
            kind = 0x11;
            break;
        case 0x02:
            kind = 0x31;
            break;
        case 0x08:
            kind = 0x52;
            break;
        case 0x0E:
            kind = 0x29;
            break;
        case 0x10:
            kind = 0x21;
            break;
        default:
            break;
    }
    Out out(o, 0x11);
    out.Put((in[4] >> 1) & 0x3F);
    out.Put(kind);
    out.Put(in[4] >> 7);
    out.Put(in[5]);
    out.Put(in[13]);
    out.Copy(in, 6, 12);
    out.Put(in[15]);
    return out.Finish();
}

bool Delays(const Cmd& in, std::uint8_t* o) {
    Out out(o, 0x0D);
    out.Put(in[4]);
    out.Put(0x51);
    out.Put(0x01);
    // Main left, main right, bass, mid, surround left, surround right: bass before mid.
    for (int i : {5, 7, 11, 9, 13, 15}) out.Put(in[i]);
    return out.Finish();
}

}  // namespace

bool SendQueue::TranslateCmd(const Cmd& in, std::uint8_t* out) {
    if (in[0] != ZemCmd::kSync || in[2] != ZemCmd::kClassWrite) return false;
    const std::uint8_t sub = in[3];
    const int needed = BytesRead(sub);
    if (needed == 0 || in.Length() < needed || in.Length() > ZemCmd::kMaxFrame) return false;
    switch (sub) {
        case 0x0F:
            return Levels(in, out);
        case 0x18:
            return Limiter(in, out);
        case 0x12:
            return NoiseGate(in, out);
        case 0x08:
            return FeedbackCanceller(in, out);
        case 0x0D:
            return EffectBlock(in, out);
        case 0x02:
            return Sub02(in, out);
        case 0x0A:
            return EqBand(in, out);
        case 0x10:
            return Delays(in, out);
        default:
            return false;
    }
}
