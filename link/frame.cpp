#include "link/frame.h"

namespace ZemCmd {

std::uint8_t ByteSum(const std::uint8_t* bytes, int n) {
    unsigned sum = 0;
    for (int i = 0; i < n; ++i) sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

std::uint8_t CheckSum(const std::uint8_t* bytes) {
    if (bytes[0] != kSync) return 0;
    const int len = bytes[1];
    if (len < 2 || len > kMaxFrame) return 0;
    return ByteSum(bytes, len - 1);
}

std::uint8_t Cmd::CheckSum() const {
    return ZemCmd::CheckSum(b.data());
}

void Cmd::Seal() {
    if (HasValidHeader()) b[b[1] - 1] = CheckSum();
}

namespace {
void Header(Cmd& c, std::uint8_t len, std::uint8_t cls, std::uint8_t sub) {
    c.b.fill(0);
    c[0] = kSync;
    c[1] = len;
    c[2] = cls;
    c[3] = sub;
}
}  // namespace

EqFrame::EqFrame() {
    Header(*this, 17, kClassWrite, 0x0A);
    b[4] = 0x01;
}

MasterVolFrame::MasterVolFrame() {
    Header(*this, 17, kClassWrite, 0x0F);
    b[4] = 0x00;
    b[5] = 0x01;
    b[14] = 0x04;
}

DelayFrame::DelayFrame() {
    Header(*this, 19, kClassWrite, 0x10);
    b[4] = 0x04;
}

PassFrame::PassFrame() {
    Header(*this, 18, kClassWrite, 0x09);
    const std::uint8_t fixed[] = {0x08, 0x00, 0x64, 0x00, 0x00, 0x00, 0x32, 0x32, 0x00};
    for (int i = 0; i < 9; ++i) b[4 + i] = fixed[i];
}

AlcFrame::AlcFrame() {
    Header(*this, 14, kClassWrite, 0x18);
}

Cmd Frame(std::uint8_t length, std::uint8_t cls, std::uint8_t sub) {
    Cmd c;
    Header(c, length, cls, sub);
    return c;
}

Cmd SystemAction(std::uint8_t action) {
    Cmd c;
    Header(c, 6, kClassSystem, kSysAction);
    c[4] = action;
    c.Seal();
    return c;
}

Cmd DebugPrinting(bool ticked) {
    Cmd c;
    Header(c, 6, kClassSystem, kSysDebugPrint);
    c[4] = ticked ? 0x00 : 0x03;
    c.Seal();
    return c;
}

Cmd GroupCommand(std::uint8_t op, std::uint8_t group) {
    Cmd c;
    Header(c, 9, kClassWrite, 0xF0);
    c[4] = op;
    c[5] = group;
    c.Seal();
    return c;
}

Cmd ReadRequest(std::uint8_t group, std::uint8_t code, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3) {
    Cmd c;
    Header(c, 9, kClassRead, group);
    c[4] = code;
    c[5] = p1;
    c[6] = p2;
    c[7] = p3;
    c.Seal();
    return c;
}

std::uint8_t StoreGroupAction(int n) {
    return n >= 16 ? 0xFD : static_cast<std::uint8_t>(n * 16 + 1);
}
std::uint8_t LoadGroupAction(int n) {
    return n >= 16 ? 0xFE : static_cast<std::uint8_t>(n * 16 + 5);
}

}  // namespace ZemCmd
