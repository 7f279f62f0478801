#pragma once
// The firmware image sent by YMODEM (CRC-16, 1024-byte blocks): the file, its bare name and size,
// and the blocks built from it. The whole image is read when the file is opened, so an unreadable
// file is found before anything is sent and the image cannot change under a running transfer.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Ymodem {
  public:
    static constexpr int kHeaderSize = 133;
    static constexpr int kBlockSize = 1029;
    static constexpr int kDataSize = 1024;
    static constexpr int kNameField = 128;
    static constexpr std::uint8_t kSoh = 0x01, kStx = 0x02, kEot = 0x04, kAck = 0x06, kC = 0x43, kPad = 0x1A;
    // Larger files are refused: no firmware comes near it, and the percentage stays exact.
    static constexpr std::uint64_t kMaxSize = 64u * 1024u * 1024u;

    using HeaderBlock = std::array<std::uint8_t, kHeaderSize>;
    using DataBlock = std::array<std::uint8_t, kBlockSize>;

    // Empty: a file of no bytes is no image; sent, it would still end in success.
    enum class OpenError { None, NoPath, Missing, NotAFile, Unreadable, TooLarge, Empty };

    virtual ~Ymodem() = default;

    // Reads the whole file; true when it is held with its name and size. An empty file, or one above
    // kMaxSize, is refused. The block count is left alone (the transfer resets it).
    bool Open(const std::string& path);
    OpenError LastOpenError() const { return openError_; }
    bool IsOpen() const { return open_; }
    // Drops the image and clears name, size and blocks.
    void Close();

    // CRC-16/XMODEM: polynomial 0x1021, initial 0, no reflection, no final XOR; null gives 0.
    static std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t count);

    // Block 0: name, NUL, size in decimal, zeros, CRC high then low.
    void MakeHeaderBlock(HeaderBlock& out) const;
    // The name as block 0 carries it: at most `room` bytes, shortened in its stem so the extension
    // stays, never in the middle of a UTF-8 character.
    static std::string HeaderName(const std::string& name, std::size_t room);
    // The next data block: counts it, numbers it (modulo 256), pads a short last piece with 0x1A.
    void MakeNextDataBlock(DataBlock& out);
    // True while blocks × 1024 is below the size.
    bool MoreData() const;

    // Progress 0..100 for the update dialog; 100 once every byte went (an empty file included).
    int Percent() const;

    const std::string& Name() const { return name_; }
    std::uint32_t Size() const { return size_.load(); }
    std::uint32_t Blocks() const { return blocks_.load(); }
    void ResetBlocks() { blocks_.store(0); }

    // For tests: an image held as if read from a file.
    void Hold(std::string name, std::vector<std::uint8_t> image);

  private:
    bool open_ = false;
    OpenError openError_ = OpenError::None;
    std::string name_;
    std::vector<std::uint8_t> image_;
    // Read by the update dialog on the GUI thread while the transfer counts.
    std::atomic<std::uint32_t> size_{0};
    std::atomic<std::uint32_t> blocks_{0};
};
