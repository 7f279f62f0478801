#pragma once
// Firmware images and a scratch folder for the update tests.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/sim/ymodem_sender.h"

using Bytes = std::vector<std::uint8_t>;

inline Bytes Pattern(std::size_t n) {
    return simtest::Pattern(n, 7);
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the working directory, removed with everything in it.
struct ImageDir {
    std::string path;
    ImageDir() {
        char name[] = "ymodemtest.XXXXXX";
        if (::mkdtemp(name)) path = name;
    }
    ~ImageDir() { std::filesystem::remove_all(path); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path + "/" + name;
    }
};
