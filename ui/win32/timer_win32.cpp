// The peer of a Timer (timer.h): a system timer on the service window, whose
// WM_TIMER runs the timer's tick.
#include <map>
#include <memory>

#include "ui/timer.h"
#include "ui/win32/win32_util.h"

namespace ui::win32 {

namespace {

std::map<UINT_PTR, Timer*> g_timers;
UINT_PTR g_next_timer = 1;

class WinTimer : public TimerPeer {
 public:
    explicit WinTimer(Timer& t) : timer_(t), id_(g_next_timer++)
    {
        g_timers[id_] = &t;
        restart();
    }
    ~WinTimer() override
    {
        KillTimer(service_window(), id_);
        g_timers.erase(id_);
    }
    void restart() override
    {
        KillTimer(service_window(), id_);
        if (timer_.enabled() && timer_.interval() > 0) SetTimer(service_window(), id_, timer_.interval(), nullptr);
    }

 private:
    Timer& timer_;
    UINT_PTR id_;
};

}  // namespace

void run_timer(UINT_PTR id)
{
    auto it = g_timers.find(id);
    if (it == g_timers.end()) return;
    Timer* t = it->second;
    dispatch([t] { t->tick(); });
}

}  // namespace ui::win32

namespace ui::backend {

std::unique_ptr<TimerPeer> make_timer_peer(Timer& timer)
{
    return std::make_unique<win32::WinTimer>(timer);
}

}  // namespace ui::backend
