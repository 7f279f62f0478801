// Firmware image blocks: CRC, block 0, data blocks, percentage, opening files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "link/ymodem.h"
#include "sim/ymodem_receiver.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    return b;
}

// Bit-serial reference straight from the polynomial, independent of the code under test.
std::uint16_t ReferenceCrc(const Bytes& bytes) {
    std::uint32_t reg = 0;
    for (std::uint8_t byte : bytes)
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = (reg >> 15) & 1;
            reg = ((reg << 1) & 0xFFFF);
            if (top != (((byte >> bit) & 1) != 0)) reg ^= 0x1021;
        }
    return static_cast<std::uint16_t>(reg);
}

TEST(YmodemCrc, KnownValuesAndReference) {
    const std::string check = "123456789";
    EXPECT_EQ(Ymodem::Crc16(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x31C3);
    EXPECT_EQ(Ymodem::Crc16(nullptr, 10), 0);
    for (std::size_t n : {0u, 1u, 128u, 1024u, 1500u}) {
        const Bytes b = Pattern(n);
        EXPECT_EQ(Ymodem::Crc16(b.data(), b.size()), ReferenceCrc(b)) << n;
        EXPECT_EQ(Ymodem::Crc16(b.data(), b.size()), sim::Crc16Xmodem(b.data(), b.size())) << n;
    }
}

struct HeaderCase {
    std::string name;
    std::size_t size;
    std::string field;  // expected start of bytes 3..130 (rest zero)
};

TEST(YmodemHeader, NameNulAndSizeDigits) {
    const std::string name127(127, 'n');
    const std::string name128(128, 'm');
    const HeaderCase cases[] = {
        {"fw.bin", 2048,
         std::string("fw.bin\0"
                     "2048",
                     11)},
        {"a", 0,
         std::string("a\0"
                     "0",
                     3)},
        {name128, 5, "5"},             // too long a name is left out
        {name127, 9, name127 + '\0'},  // no room left for the digits
        {std::string(125, 'k'), 12, std::string(125, 'k') + '\0' + "12"},
    };
    for (const HeaderCase& c : cases) {
        Ymodem y;
        y.Hold(c.name, Bytes(c.size, 0x55));
        Ymodem::HeaderBlock block;
        y.MakeHeaderBlock(block);
        SCOPED_TRACE(c.name.substr(0, 10) + " " + std::to_string(c.size));
        EXPECT_EQ(block[0], 0x01);
        EXPECT_EQ(block[1], 0x00);
        EXPECT_EQ(block[2], 0xFF);
        Bytes field(128, 0);
        std::copy(c.field.begin(), c.field.end(), field.begin());
        EXPECT_EQ(Bytes(block.begin() + 3, block.begin() + 131), field);
        const std::uint16_t crc = ReferenceCrc(field);
        EXPECT_EQ(block[131], crc >> 8);
        EXPECT_EQ(block[132], crc & 0xFF);
    }
}

TEST(YmodemData, BlocksNumberedPaddedAndCounted) {
    struct Case {
        std::size_t size;
        int blocks;
        std::size_t lastFileBytes;
    };
    for (const Case c : {Case{1024, 1, 1024}, Case{1025, 2, 1}, Case{3000, 3, 952}, Case{0, 0, 0}}) {
        SCOPED_TRACE(c.size);
        const Bytes image = Pattern(c.size);
        Ymodem y;
        y.Hold("x", image);
        int made = 0;
        Ymodem::DataBlock block;
        while (y.MoreData()) {
            y.MakeNextDataBlock(block);
            ++made;
            EXPECT_EQ(block[0], 0x02);
            EXPECT_EQ(block[1], made);
            EXPECT_EQ(block[2], 255 - made);
            const std::size_t offset = static_cast<std::size_t>(made - 1) * 1024;
            const std::size_t fileBytes = std::min<std::size_t>(1024, c.size - offset);
            Bytes expected(image.begin() + static_cast<long>(offset),
                           image.begin() + static_cast<long>(offset + fileBytes));
            expected.resize(1024, 0x1A);
            EXPECT_EQ(Bytes(block.begin() + 3, block.begin() + 1027), expected);
            const std::uint16_t crc = ReferenceCrc(expected);
            EXPECT_EQ(block[1027], crc >> 8);
            EXPECT_EQ(block[1028], crc & 0xFF);
            if (!y.MoreData()) {
                EXPECT_EQ(fileBytes, c.lastFileBytes);
            }
        }
        EXPECT_EQ(made, c.blocks);
        EXPECT_EQ(y.Blocks(), static_cast<std::uint32_t>(c.blocks));
    }
}

TEST(YmodemData, BlockNumberWrapsAt256) {
    Ymodem y;
    y.Hold("big", Bytes(257 * 1024, 1));
    Ymodem::DataBlock block;
    for (int i = 1; i <= 257; ++i) {
        y.MakeNextDataBlock(block);
        EXPECT_EQ(block[1], i & 0xFF);
        EXPECT_EQ(block[2], 0xFF - (i & 0xFF));
    }
    EXPECT_FALSE(y.MoreData());
}

TEST(YmodemPercent, ReachesHundredAndStaysExactForLargeFiles) {
    struct Case {
        std::size_t size;
        std::uint32_t blocks;
        int percent;
    };
    const std::size_t big = 60u * 1024 * 1024;  // blocks × 102400 overflows 32 bits here
    for (const Case c :
         {Case{2048, 0, 0}, Case{2048, 1, 50}, Case{3000, 2, 68}, Case{3000, 3, 100}, Case{1024, 1, 100},
          Case{0, 0, 100}, Case{big, 61440 / 2, 50}, Case{big, 61439, 99}}) {
        Ymodem y;
        y.Hold("p", Bytes(c.size));
        for (std::uint32_t i = 0; i < c.blocks; ++i) {
            Ymodem::DataBlock block;
            y.MakeNextDataBlock(block);
        }
        EXPECT_EQ(y.Percent(), c.percent) << c.size << " " << c.blocks;
    }
}

class YmodemOpen : public testing::Test {
  protected:
    void SetUp() override {
        char dir[] = "ymodemtest.XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
    }
    void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }
    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string dir_;
};

TEST_F(YmodemOpen, ReadsNameSizeAndImageAndKeepsBlockCount) {
    const Bytes image = Pattern(2500);
    Ymodem y;
    y.Hold("old", Bytes(4096));
    Ymodem::DataBlock block;
    y.MakeNextDataBlock(block);
    ASSERT_TRUE(y.Open(Write("fw.bin", image)));
    EXPECT_EQ(y.Name(), "fw.bin");
    EXPECT_EQ(y.Size(), 2500u);
    y.ResetBlocks();
    y.MakeNextDataBlock(block);
    y.MakeNextDataBlock(block);
    y.MakeNextDataBlock(block);
    EXPECT_EQ(block[3], image[2048]);
}

TEST_F(YmodemOpen, UnusableFilesAreRefusedWithAReason) {
    const std::string locked = Write("locked.bin", Pattern(10));
    ::chmod(locked.c_str(), 0);
    const bool rootReads = ::access(locked.c_str(), R_OK) == 0;
    struct Case {
        std::string path;
        Ymodem::OpenError error;
    };
    std::vector<Case> cases = {{"", Ymodem::OpenError::NoPath},
                               {dir_ + "/missing.bin", Ymodem::OpenError::Missing},
                               {dir_, Ymodem::OpenError::NotAFile}};
    if (!rootReads) cases.push_back({locked, Ymodem::OpenError::Unreadable});
    for (const Case& c : cases) {
        Ymodem y;
        y.Hold("held", Bytes(3));
        EXPECT_FALSE(y.Open(c.path)) << c.path;
        EXPECT_EQ(y.LastOpenError(), c.error) << c.path;
    }
    {
        const std::string huge = dir_ + "/huge.bin";
        std::ofstream(huge).close();
        ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(Ymodem::kMaxSize + 1)), 0);
        Ymodem y;
        EXPECT_FALSE(y.Open(huge));
        EXPECT_EQ(y.LastOpenError(), Ymodem::OpenError::TooLarge);
        EXPECT_FALSE(y.IsOpen());
    }
}

}  // namespace
