// Firmware image blocks: CRC, block 0, data blocks, percentage, opening files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "image_files.h"
#include "link/ymodem.h"

namespace {

// Bit-serial from the polynomial, independent of the code under test.
std::uint16_t ReferenceCrc(const Bytes& bytes) {
    std::uint32_t reg = 0;
    for (std::uint8_t byte : bytes)
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = (reg >> 15) & 1;
            reg = (reg << 1) & 0xFFFF;
            if (top != (((byte >> bit) & 1) != 0)) reg ^= 0x1021;
        }
    return static_cast<std::uint16_t>(reg);
}

// A block's payload followed by its CRC, high byte first.
Bytes WithCrc(Bytes payload) {
    const std::uint16_t crc = ReferenceCrc(payload);
    payload.push_back(static_cast<std::uint8_t>(crc >> 8));
    payload.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return payload;
}

TEST(YmodemCrc, KnownValueAndReference) {
    const std::string check = "123456789";
    EXPECT_EQ(Ymodem::Crc16(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x31C3);
    EXPECT_EQ(Ymodem::Crc16(nullptr, 10), 0);
    for (std::size_t n : {0u, 1u, 128u, 1024u, 1500u}) {
        const Bytes b = Pattern(n);
        EXPECT_EQ(Ymodem::Crc16(b.data(), b.size()), ReferenceCrc(b)) << n;
    }
}

TEST(YmodemHeader, NameNulAndSizeDigits) {
    using namespace std::string_literals;
    const std::string n125(125, 'k'), n127(127, 'n');
    // name, size, expected start of bytes 3..130 (rest zero)
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {"fw.bin", 2048,
         "fw.bin\0"s
         "2048"},
        {"a", 0,
         "a\0"s
         "0"},
        {std::string(128, 'm'), 5, "5"},  // too long a name is left out
        {n127, 9, n127 + '\0'},           // no room left for the digits
        {n125, 12, n125 + '\0' + "12"}};
    for (const auto& [name, size, text] : cases) {
        SCOPED_TRACE(name.substr(0, 10) + " " + std::to_string(size));
        Ymodem y;
        y.Hold(name, Bytes(size, 0x55));
        Ymodem::HeaderBlock block;
        y.MakeHeaderBlock(block);
        Bytes field(128, 0);
        std::copy(text.begin(), text.end(), field.begin());
        Bytes expected = {0x01, 0x00, 0xFF};
        for (std::uint8_t b : WithCrc(field)) expected.push_back(b);
        EXPECT_EQ(Bytes(block.begin(), block.end()), expected);
    }
}

TEST(YmodemData, BlocksNumberedModulo256PaddedAndCounted) {
    for (const auto& [size, blocks] :
         {std::pair<std::size_t, int>{1024, 1}, {1025, 2}, {3000, 3}, {0, 0}, {257 * 1024 - 5, 257}}) {
        SCOPED_TRACE(size);
        const Bytes image = Pattern(size);
        Ymodem y;
        y.Hold("x", image);
        int made = 0;
        Ymodem::DataBlock block;
        while (y.MoreData()) {
            y.MakeNextDataBlock(block);
            const std::size_t offset = static_cast<std::size_t>(made++) * 1024;
            Bytes expected = {0x02, static_cast<std::uint8_t>(made),
                              static_cast<std::uint8_t>(255 - made % 256)};
            Bytes data(image.begin() + static_cast<long>(offset),
                       image.begin() + static_cast<long>(std::min(size, offset + 1024)));
            data.resize(1024, 0x1A);
            for (std::uint8_t b : WithCrc(data)) expected.push_back(b);
            ASSERT_EQ(Bytes(block.begin(), block.end()), expected) << made;
        }
        EXPECT_EQ(made, blocks);
        EXPECT_EQ(y.Blocks(), static_cast<std::uint32_t>(blocks));
    }
}

TEST(YmodemPercent, ReachesHundredAndStaysExactForLargeFiles) {
    const std::size_t big = 60u * 1024 * 1024;  // blocks x 102400 overflows 32 bits here
    // clang-format off
    const std::tuple<std::size_t, std::uint32_t, int> cases[] = {{2048, 0, 0}, {2048, 1, 50}, {3000, 2, 68},
        {3000, 3, 100}, {1024, 1, 100}, {0, 0, 100}, {big, 61440 / 2, 50}, {big, 61439, 99}};
    // clang-format on
    for (const auto& [size, blocks, percent] : cases) {
        Ymodem y;
        y.Hold("p", Bytes(size));
        Ymodem::DataBlock block;
        for (std::uint32_t i = 0; i < blocks; ++i) y.MakeNextDataBlock(block);
        EXPECT_EQ(y.Percent(), percent) << size << " " << blocks;
    }
}

TEST(YmodemOpen, ReadsNameSizeAndImageAndRefusesUnusableFiles) {
    TempDir dir;
    const Bytes image = Pattern(2500);
    Ymodem y;
    y.Hold("old", Bytes(4096));
    Ymodem::DataBlock block;
    y.MakeNextDataBlock(block);
    ASSERT_TRUE(y.Open(dir.Write("fw.bin", image)));
    EXPECT_EQ(std::tuple(y.Name(), y.Size()), std::tuple(std::string("fw.bin"), 2500u));
    y.ResetBlocks();
    for (int i = 0; i < 3; ++i) y.MakeNextDataBlock(block);
    EXPECT_EQ(block[3], image[2048]);

    const std::string locked = dir.Write("locked.bin", Pattern(10)), huge = dir.Write("huge.bin", {});
    ::chmod(locked.c_str(), 0);
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(Ymodem::kMaxSize + 1)), 0);
    std::vector<std::pair<std::string, Ymodem::OpenError>> cases = {
        {"", Ymodem::OpenError::NoPath},
        {dir.path + "/no.bin", Ymodem::OpenError::Missing},
        {dir.path, Ymodem::OpenError::NotAFile},
        {huge, Ymodem::OpenError::TooLarge}};
    if (::access(locked.c_str(), R_OK) != 0)
        cases.push_back({locked, Ymodem::OpenError::Unreadable});  // not root
    for (const auto& [path, error] : cases) {
        Ymodem held;
        held.Hold("held", Bytes(3));
        EXPECT_FALSE(held.Open(path)) << path;
        EXPECT_EQ(held.LastOpenError(), error) << path;
    }
    Ymodem fresh;
    EXPECT_FALSE(fresh.Open(huge));
    EXPECT_FALSE(fresh.IsOpen());
}

}  // namespace
