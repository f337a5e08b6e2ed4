// The doorbell on a slim reader/writer lock and a condition variable, which
// wait in the process (a futex under Wine) instead of on a kernel object.
#include <windows.h>

#include "platform/clock.h"
#include "platform/doorbell.h"

struct Doorbell::State {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE rung = CONDITION_VARIABLE_INIT;
    std::uint32_t count = 0;
};

Doorbell::Doorbell() : state_(std::make_unique<State>()) {}

Doorbell::~Doorbell() = default;

std::uint32_t Doorbell::count()
{
    AcquireSRWLockExclusive(&state_->lock);
    const std::uint32_t n = state_->count;
    ReleaseSRWLockExclusive(&state_->lock);
    return n;
}

void Doorbell::ring()
{
    AcquireSRWLockExclusive(&state_->lock);
    ++state_->count;
    ReleaseSRWLockExclusive(&state_->lock);
    WakeAllConditionVariable(&state_->rung);
}

std::uint32_t Doorbell::wait(std::uint32_t seen, std::int32_t ms)
{
    State& s = *state_;
    const std::int64_t until = monotonic_us() + std::int64_t{ms > 0 ? ms : 0} * 1000;
    AcquireSRWLockExclusive(&s.lock);
    // A wake may come early or for nothing: the count and the clock decide.
    for (std::int64_t left = until - monotonic_us(); s.count == seen && left > 0; left = until - monotonic_us())
        SleepConditionVariableSRW(&s.rung, &s.lock, static_cast<DWORD>((left + 999) / 1000), 0);
    const std::uint32_t n = s.count;
    ReleaseSRWLockExclusive(&s.lock);
    return n;
}
