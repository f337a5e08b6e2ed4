// The monotonic clock on POSIX systems; their timers need no period request.
#include <chrono>

#include "platform/clock.h"

std::int64_t monotonic_us()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

bool timer_period_begin()
{
    return true;
}

void timer_period_end() {}
