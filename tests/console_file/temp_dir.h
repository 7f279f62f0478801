#pragma once
// A fresh folder under the test's working directory, removed with everything in it.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempDir {
  public:
    explicit TempDir(const std::string& name) : path_(std::filesystem::current_path() / name) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// ASCII text as UTF-16LE bytes, written out here so tests do not use the encoder they check.
inline std::string AsciiUtf16(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}
