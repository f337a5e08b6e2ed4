// Wall-clock time for the receive benchmark, in Unix epoch seconds, so that a
// Windows program under Wine and the shell script that starts it share a clock.
#pragma once
#include <windows.h>

inline double bench_epoch_seconds()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const unsigned long long t = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<double>(t - 116444736000000000ULL) / 1e7;
}
