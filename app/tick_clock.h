// Milliseconds since the system started (GetTickCount), for the receive rate.
// Headless it is the test world's virtual clock, so rates are reproducible.
#pragma once

#include <cstdint>

std::uint32_t tick_count_ms();
