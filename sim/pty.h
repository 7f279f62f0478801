#pragma once
// A pseudo-terminal pair in raw mode. The slave side stays open here as well, so the console may
// close and reopen the port without the master seeing a hang-up.

#include <string>

namespace sim {

class Pty {
  public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool Open(std::string& error);
    void Close();
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// Makes `link` a symbolic link to `target`, replacing an older symbolic link; a regular file is refused.
bool MakeSymlink(const std::string& target, const std::string& link, std::string& error);
// Removes `link` only when it still points at `target`.
void RemoveSymlinkTo(const std::string& target, const std::string& link);
// The console's safe writer (a reader never sees half of the file); `error` says what failed.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);

}  // namespace sim
