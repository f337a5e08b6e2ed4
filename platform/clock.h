// The house's one monotonic clock, and the system timer's period while a port
// is open (so that a worker thread's 1 ms pause really lasts about 1 ms).
#pragma once

#include <cstdint>

// Microseconds from an arbitrary fixed origin (system start on Windows);
// never goes back. QueryPerformanceCounter on Windows, steady_clock elsewhere.
std::int64_t monotonic_us();

// timeBeginPeriod(1) / timeEndPeriod(1) on Windows, nothing elsewhere; calls
// nest, each begin needs its end. begin reports whether the system took it.
bool timer_period_begin();
void timer_period_end();
