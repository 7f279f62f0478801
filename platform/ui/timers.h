#pragma once
// Window timers by 32-bit id, as a window's SetTimer/KillTimer/OnTimer: a timer repeats until it
// is killed, re-arming an id restarts it, and one handler receives every id.

#include <QObject>
#include <cstdint>
#include <functional>
#include <map>

namespace win {

class WindowTimers : public QObject {
public:
    using Handler = std::function<void(std::uint32_t id)>;

    explicit WindowTimers(Handler onTimer, QObject* parent = nullptr);
    ~WindowTimers() override;

    void Set(std::uint32_t id, int milliseconds);
    void Kill(std::uint32_t id);
    void KillAll();
    bool IsSet(std::uint32_t id) const { return byId_.count(id) != 0; }
    std::size_t Count() const { return byId_.size(); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    Handler onTimer_;
    std::map<std::uint32_t, int> byId_;  // our id -> Qt timer id
    std::map<int, std::uint32_t> byQt_;  // Qt timer id -> our id
};

}  // namespace win
