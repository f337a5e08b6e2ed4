// A fixture that puts a fresh simulated device (COM1, COM2, COM256) behind the
// port layer and resets the port settings record; it leaves the link closed.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <vector>
#include <thread>

#include "link/com.h"
#include "link/data_flow.h"
#include "link/port_settings.h"
#include "link/port_threads.h"
#include "link/sim_port_driver.h"

// Bytes from a fixed-seed generator, so that any loss or reordering shows.
inline std::vector<unsigned char> random_bytes(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::vector<unsigned char> v(n);
    for (auto& b : v) b = static_cast<unsigned char>(gen());
    return v;
}

class SimLinkTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        for (int n : {1, 2, 256}) sim.add_port(n);
        set_port_driver(sim);
        port_settings = PortSettings{};
        tx_timeout_reset();
    }
    void TearDown() override
    {
        com_disconnect();
        port_threads_fail_next_create(false, false);
        EXPECT_EQ(sim.violations(), 0);
        EXPECT_EQ(sim.open_handles(), 0);
        set_port_driver(idle);
    }

    // Polls `done` until it holds or the deadline passes; never a bare sleep.
    static bool eventually(const std::function<bool()>& done, int ms = 3000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    // Nothing connected: no thread, no FIFO, no open port.
    void expect_closed()
    {
        EXPECT_FALSE(rx_thread_exists());
        EXPECT_FALSE(tx_thread_exists());
        EXPECT_EQ(rx_side.fifo.start, nullptr);
        EXPECT_EQ(tx_side.fifo.start, nullptr);
        EXPECT_EQ(com_port, nullptr);
        EXPECT_EQ(sim.open_handles(), 0);
        EXPECT_EQ(port_settings.connected, 0);
    }

    SimPortDriver sim;
    SimPortDriver idle;  // stands in after the test, so no test leaks its driver
};
