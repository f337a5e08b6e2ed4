// The worker threads' bodies, shared between port_threads.cpp (lifecycle) and
// the pass files (rx_thread.cpp, tx_thread.cpp).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "link/port_driver.h"

// Tick counter in milliseconds since program start.
std::int64_t port_tick_ms();
// The pause between passes; 0 yields the processor.
void port_pause_ms(std::int32_t ms);

// Runs receive passes until one notices the stop flag.
void rx_thread_body(PortHandle port);
// Runs transmit passes until one notices the stop flag; ends any write still
// under way before it returns.
void tx_thread_body(PortHandle port);

// Set by the receive thread once the port is lost (rx_port_lost).
extern std::atomic<bool> rx_lost_flag;
