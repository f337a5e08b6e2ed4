// Headless world: the virtual clock and its timers.
#include "ui/headless/world.h"

#include <algorithm>

#include "platform/clipboard_posix.h"
#include "ui/application.h"
#include "ui/timer.h"

namespace ui::headless {

World& World::instance()
{
    static World w;
    return w;
}

void World::reset()
{
    modal_steps.clear();
    message_box_answers.clear();
    file_answers.clear();
    modal_stack.clear();
    while_message_box = nullptr;
    message_boxes.clear();
    file_dialogs.clear();
    shell_opens.clear();
    clipboard_posix_reset();
    shift = false;
    modal_loops = 0;
    work_area = default_work_area;
    time_of_day_at_zero = 0;
    now_ = 0;
    for (Entry& e : timers_) timer_restarted(*e.timer);
}

World::Entry* World::entry(Timer& t)
{
    for (Entry& e : timers_)
        if (e.timer == &t) return &e;
    return nullptr;
}

void World::timer_restarted(Timer& t)
{
    Entry* e = entry(t);
    if (!e) {
        timers_.push_back(Entry{&t, -1, seq_++});
        e = &timers_.back();
    }
    e->due = t.enabled() && t.interval() > 0 ? now_ + t.interval() : -1;
}

void World::timer_gone(Timer& t)
{
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Entry& e) { return e.timer == &t; }),
                  timers_.end());
}

std::optional<long long> World::next_due() const
{
    std::optional<long long> best;
    for (const Entry& e : timers_)
        if (e.due >= 0 && (!best || e.due < *best)) best = e.due;
    return best;
}

void World::advance(long long ms)
{
    long long target = now_ + ms;
    app().run_posted();
    while (true) {
        // Earliest due timer; ties go to the one created first.
        const Entry* next = nullptr;
        for (const Entry& e : timers_)
            if (e.due >= 0 && e.due <= target &&
                (!next || e.due < next->due || (e.due == next->due && e.seq < next->seq)))
                next = &e;
        if (!next) break;
        Timer* t = next->timer;
        now_ = next->due;
        // The next tick counts from this one; a handler that restarts the timer
        // overrides this through timer_restarted().
        Entry* e = entry(*t);
        e->due += t->interval() > 0 ? t->interval() : 0;
        if (t->interval() <= 0) e->due = -1;
        app().guard([t] { t->tick(); });
        app().run_posted();
    }
    now_ = target;
}

}  // namespace ui::headless
