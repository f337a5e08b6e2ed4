// The system tick counter.
#include <windows.h>

#include "app/tick_clock.h"

std::uint32_t tick_count_ms()
{
    return GetTickCount();
}
