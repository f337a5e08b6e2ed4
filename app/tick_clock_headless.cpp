// The headless world's virtual clock, which also drives its timers.
#include "app/tick_clock.h"

#include "ui/headless/world.h"

std::uint32_t tick_count_ms()
{
    return static_cast<std::uint32_t>(ui::headless::World::instance().now());
}
