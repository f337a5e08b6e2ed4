// The doorbell on the C++ library's mutex and condition variable.
#include "platform/doorbell.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct Doorbell::State {
    std::mutex lock;
    std::condition_variable rung;
    std::uint32_t count = 0;
};

Doorbell::Doorbell() : state_(std::make_unique<State>()) {}

Doorbell::~Doorbell() = default;

std::uint32_t Doorbell::count()
{
    std::lock_guard guard(state_->lock);
    return state_->count;
}

void Doorbell::ring()
{
    {
        std::lock_guard guard(state_->lock);
        ++state_->count;
    }
    state_->rung.notify_all();
}

std::uint32_t Doorbell::wait(std::uint32_t seen, std::int32_t ms)
{
    State& s = *state_;
    std::unique_lock guard(s.lock);
    s.rung.wait_for(guard, std::chrono::milliseconds(ms > 0 ? ms : 0), [&] { return s.count != seen; });
    return s.count;
}
