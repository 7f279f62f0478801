#include "link/ymodem.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "platform/text_file.h"

bool Ymodem::Open(const std::string& path) {
    if (path.empty()) {
        openError_ = OpenError::NoPath;
        return false;
    }
    Close();
    // The one whole-file read: never blocks on a pipe or a device, regular files only, capped.
    const textfile::ReadResult read = textfile::ReadWholeFile(path, kMaxSize);
    switch (read.status) {
        case textfile::Status::Ok:
            break;
        case textfile::Status::OpenFailed:
            openError_ = read.error == ENOENT                           ? OpenError::Missing
                         : read.error == EISDIR || read.error == EINVAL ? OpenError::NotAFile
                                                                        : OpenError::Unreadable;
            return false;
        case textfile::Status::TooLarge:
            openError_ = OpenError::TooLarge;
            return false;
        default:
            openError_ = OpenError::Unreadable;
            return false;
    }
    if (read.bytes.empty()) {
        openError_ = OpenError::Empty;
        return false;
    }
    const std::size_t slash = path.find_last_of('/');
    Hold(slash == std::string::npos ? path : path.substr(slash + 1),
         std::vector<std::uint8_t>(read.bytes.begin(), read.bytes.end()));
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

std::string Ymodem::HeaderName(const std::string& name, std::size_t room) {
    if (name.size() <= room) return name;
    // Keep the extension (".bin") when it leaves room for some of the stem.
    const std::size_t dot = name.find_last_of('.');
    const std::string extension =
        dot != std::string::npos && dot > 0 && name.size() - dot < room ? name.substr(dot) : std::string();
    std::size_t stem = room - extension.size();
    // Never cut a UTF-8 character in two.
    while (stem > 0 && (static_cast<unsigned char>(name[stem]) & 0xC0) == 0x80) --stem;
    return name.substr(0, stem) + extension;
}

void Ymodem::MakeHeaderBlock(HeaderBlock& out) const {
    out.fill(0);
    out[0] = kSoh;
    out[1] = 0x00;
    out[2] = 0xFF;
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, size_.load());
    const std::size_t n = ec == std::errc() ? static_cast<std::size_t>(end - digits) : 0;
    // The name, its NUL and the size's digits always fit: a long name gives way.
    const std::string name = HeaderName(name_, kNameField - 1 - n);
    std::memcpy(out.data() + 3, name.data(), name.size());
    std::memcpy(out.data() + 3 + name.size() + 1, digits, n);
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
