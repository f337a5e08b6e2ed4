// The monotonic clock from QueryPerformanceCounter, and the 1 ms timer period
// through winmm, which is loaded only when a port opens so the program's
// imports stay the system's core DLLs.
#include <windows.h>

#include "platform/clock.h"

namespace {

using PeriodCall = UINT(WINAPI*)(UINT);

struct Winmm {
    PeriodCall begin = nullptr;
    PeriodCall end = nullptr;
    Winmm()
    {
        // Never freed: the calls stay valid for the program's whole run.
        if (HMODULE m = LoadLibraryA("winmm.dll")) {
            begin = reinterpret_cast<PeriodCall>(reinterpret_cast<void*>(GetProcAddress(m, "timeBeginPeriod")));
            end = reinterpret_cast<PeriodCall>(reinterpret_cast<void*>(GetProcAddress(m, "timeEndPeriod")));
        }
    }
};

Winmm& winmm()
{
    static Winmm w;
    return w;
}

}  // namespace

std::int64_t monotonic_us()
{
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<std::int64_t>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    // Split so that counts * 1000000 cannot overflow after long uptimes.
    const std::int64_t t = c.QuadPart;
    return t / frequency * 1000000 + t % frequency * 1000000 / frequency;
}

bool timer_period_begin()
{
    Winmm& w = winmm();
    return w.begin && w.begin(1) == 0;  // TIMERR_NOERROR
}

void timer_period_end()
{
    Winmm& w = winmm();
    if (w.end) w.end(1);
}
