// Link resources whose clock is the simulated device's script time, so that
// reads and writes are timed exactly as a test scripts them; and a wait that
// polls for what the worker threads do meanwhile.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "link/link_resources.h"
#include "link/sim_port_driver.h"

class ScriptedClock final : public LinkResources {
 public:
    explicit ScriptedClock(SimPortDriver& sim) : sim_(sim) {}
    std::int64_t clock_us() override { return sim_.script_time(); }

 private:
    SimPortDriver& sim_;
};

// Polls until `done` holds or three seconds pass; never a bare sleep.
inline bool eventually_true(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
