#pragma once
// Command frames exchanged with the processor: A5, length, class, sub-command/group, data, checksum.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ZemCmd {

constexpr std::uint8_t kSync = 0xA5;
constexpr int kMaxFrame = 50;

// Class bytes (byte 2).
constexpr std::uint8_t kClassWrite = 0xF1;
constexpr std::uint8_t kClassSystem = 0xF9;
constexpr std::uint8_t kClassRead = 0xF4;
constexpr std::uint8_t kClassAnswer = 0xF6;

// System commands (byte 3 of class 0xF9).
constexpr std::uint8_t kSysDebugPrint = 0x01;
constexpr std::uint8_t kSysAction = 0x03;

// System action codes (byte 4 of A5 06 F9 03).
constexpr std::uint8_t kActStoreFactory = 0x01;
constexpr std::uint8_t kActEnterUpdate = 0x02;
constexpr std::uint8_t kActHandshake = 0x04;
constexpr std::uint8_t kActLoadFactory = 0x05;
constexpr std::uint8_t kActHeartbeat = 0x06;
constexpr std::uint8_t kActMainMute = 0x07;
constexpr std::uint8_t kActOtherMute = 0x08;
constexpr std::uint8_t kActMusicInput = 0x09;
constexpr std::uint8_t kActFactoryReset = 0x0F;

// Group command operations (byte 4 of A5 09 F1 F0).
constexpr std::uint8_t kGroupStore = 0x70;
constexpr std::uint8_t kGroupLoad = 0x74;
constexpr std::uint8_t kGroupEndReadBack = 0x77;

// Low 8 bits of the sum of the first n bytes; checks nothing (used for re-laid frames).
std::uint8_t ByteSum(const std::uint8_t* bytes, int n);

// One frame. Storage is always 50 bytes so no routine reads past it, whatever byte 1 claims.
struct Cmd {
    std::array<std::uint8_t, kMaxFrame> b{};

    std::uint8_t& operator[](std::size_t i) { return b[i]; }
    std::uint8_t operator[](std::size_t i) const { return b[i]; }
    std::uint8_t* data() { return b.data(); }
    const std::uint8_t* data() const { return b.data(); }
    int Length() const { return b[1]; }

    // Sum of bytes 0..L-2; 0 when byte 0 is not the sync byte or L lies outside 2..50.
    std::uint8_t CheckSum() const;
    // Stores CheckSum() in byte L-1 (no-op for an invalid length).
    void Seal();
    // True when byte 0 is 0xA5 and byte 1 lies in 2..50.
    bool HasValidHeader() const { return b[0] == kSync && b[1] >= 2 && b[1] <= kMaxFrame; }
};

// Checksum of a raw buffer holding a frame (same rules as Cmd::CheckSum).
std::uint8_t CheckSum(const std::uint8_t* bytes);

// EQ band (also the crossover): A5 11 F1 0A, byte 4 = 0x01.
struct EqFrame : Cmd {
    EqFrame();
};
// Master level and output mix levels: A5 11 F1 0F 00 01 .. byte 14 = 0x04.
struct MasterVolFrame : Cmd {
    MasterVolFrame();
};
// Six channel delays: A5 13 F1 10 04.
struct DelayFrame : Cmd {
    DelayFrame();
};
// Effect-path band: A5 12 F1 09 08 00 64 00 00 00 32 32 00; byte 13 is always set by the writer.
struct PassFrame : Cmd {
    PassFrame();
};

// Limiter (ALC): A5 0E F1 18 and ten zero bytes; the page fills group, channel, times, limit, ratio.
struct AlcFrame : Cmd {
    AlcFrame();
};

// An all-zero frame with its header laid out: A5, length, class, sub-command (or group).
Cmd Frame(std::uint8_t length, std::uint8_t cls, std::uint8_t sub);

// A5 06 F9 03 <action> <cs>
Cmd SystemAction(std::uint8_t action);
// A5 06 F9 01 <00 ticked / 03 not ticked> <cs>
Cmd DebugPrinting(bool ticked);
// A5 09 F1 F0 <op> <group> 00 00 <cs>
Cmd GroupCommand(std::uint8_t op, std::uint8_t group);
// A5 09 F4 <group> <code> <p1> <p2> <p3> <cs>
Cmd ReadRequest(std::uint8_t group, std::uint8_t code, std::uint8_t p1 = 0, std::uint8_t p2 = 0,
                std::uint8_t p3 = 0);

// Action byte for storing into effect group n (1..16; 16 gives 0xFD) and loading it (16 gives 0xFE).
std::uint8_t StoreGroupAction(int n);
std::uint8_t LoadGroupAction(int n);

}  // namespace ZemCmd
