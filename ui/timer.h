// Timer on the window thread. While enabled it fires on_timer every interval
// milliseconds; enabling it, or changing the interval while enabled, starts a
// fresh interval. An interval of 0 never fires. Ticks that fall due while a
// handler runs are not queued up (one tick, as WM_TIMER).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/backend.h"

namespace ui {

class Timer {
 public:
    explicit Timer(std::string name, int interval_ms = 1000, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    int interval() const { return interval_; }
    void set_interval(int ms);
    bool enabled() const { return enabled_; }
    void set_enabled(bool e);

    std::function<void()> on_timer;
    // The interval elapsed (backend); fires on_timer when still enabled.
    void tick();

 private:
    std::string name_;
    int interval_;
    bool enabled_;
    std::unique_ptr<TimerPeer> peer_;
};

}  // namespace ui
