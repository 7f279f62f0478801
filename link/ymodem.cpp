#include "link/ymodem.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>

bool Ymodem::Open(const std::string& path) {
    if (path.empty()) {
        openError_ = OpenError::NoPath;
        return false;
    }
    Close();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        openError_ = OpenError::Missing;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        openError_ = OpenError::NotAFile;
        return false;
    }
    if (static_cast<std::uint64_t>(st.st_size) > kMaxSize) {
        openError_ = OpenError::TooLarge;
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        openError_ = OpenError::Unreadable;
        return false;
    }
    std::vector<std::uint8_t> image;
    image.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        image.insert(image.end(), buffer, buffer + in.gcount());
        if (image.size() > kMaxSize) {
            openError_ = OpenError::TooLarge;
            return false;
        }
    }
    if (in.bad() || !in.eof()) {
        openError_ = OpenError::Unreadable;
        return false;
    }
    const std::size_t slash = path.find_last_of('/');
    Hold(slash == std::string::npos ? path : path.substr(slash + 1), std::move(image));
    return true;
}

void Ymodem::Hold(std::string name, std::vector<std::uint8_t> image) {
    name_ = std::move(name);
    image_ = std::move(image);
    size_.store(static_cast<std::uint32_t>(image_.size()));
    open_ = true;
    openError_ = OpenError::None;
}

void Ymodem::Close() {
    open_ = false;
    name_.clear();
    image_.clear();
    image_.shrink_to_fit();
    size_.store(0);
    blocks_.store(0);
}

std::uint16_t Ymodem::Crc16(const std::uint8_t* bytes, std::size_t count) {
    std::uint16_t crc = 0;
    if (!bytes) return crc;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= static_cast<std::uint16_t>(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

void Ymodem::MakeHeaderBlock(HeaderBlock& out) const {
    out.fill(0);
    out[0] = kSoh;
    out[1] = 0x00;
    out[2] = 0xFF;
    std::size_t used = 0;
    if (name_.size() < kNameField) {
        std::memcpy(out.data() + 3, name_.data(), name_.size());
        used = name_.size() + 1;
    }
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, size_.load());
    const std::size_t n = static_cast<std::size_t>(end - digits);
    if (ec == std::errc() && used + n <= kNameField) std::memcpy(out.data() + 3 + used, digits, n);
    const std::uint16_t crc = Crc16(out.data() + 3, kNameField);
    out[131] = static_cast<std::uint8_t>(crc >> 8);
    out[132] = static_cast<std::uint8_t>(crc & 0xFF);
}

bool Ymodem::MoreData() const {
    return static_cast<std::uint64_t>(blocks_.load()) * kDataSize < size_.load();
}

void Ymodem::MakeNextDataBlock(DataBlock& out) {
    const std::uint32_t count = blocks_.load() + 1;
    const std::size_t offset = static_cast<std::size_t>(count - 1) * kDataSize;
    const std::uint8_t number = static_cast<std::uint8_t>(count & 0xFF);
    out[0] = kStx;
    out[1] = number;
    out[2] = static_cast<std::uint8_t>(0xFF - number);
    std::uint8_t* data = out.data() + 3;
    std::fill(data, data + kDataSize, kPad);
    if (offset < image_.size()) {
        const std::size_t n = std::min<std::size_t>(kDataSize, image_.size() - offset);
        std::memcpy(data, image_.data() + offset, n);
    }
    const std::uint16_t crc = Crc16(data, kDataSize);
    out[1027] = static_cast<std::uint8_t>(crc >> 8);
    out[1028] = static_cast<std::uint8_t>(crc & 0xFF);
    blocks_.store(count);
}

int Ymodem::Percent() const {
    const std::uint64_t size = size_.load();
    const std::uint64_t sent = static_cast<std::uint64_t>(blocks_.load()) * kDataSize;
    if (sent >= size) return 100;
    return static_cast<int>(sent * 100 / size);
}
