// Timer state; the backend's timer peer does the counting.
#include "ui/timer.h"

namespace ui {

Timer::Timer(std::string name, int interval_ms, bool enabled)
    : name_(std::move(name)), interval_(interval_ms), enabled_(enabled)
{
    peer_ = backend::make_timer_peer(*this);
    if (peer_) peer_->restart();
}

Timer::~Timer() = default;

void Timer::set_interval(int ms)
{
    if (ms == interval_) return;
    interval_ = ms;
    if (peer_) peer_->restart();
}

void Timer::set_enabled(bool e)
{
    if (e == enabled_) return;
    enabled_ = e;
    if (peer_) peer_->restart();
}

void Timer::tick()
{
    if (enabled_ && interval_ > 0 && on_timer) on_timer();
}

}  // namespace ui
