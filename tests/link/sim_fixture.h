// A fixture with a link over a fresh simulated device (COM1, COM2, COM256) and
// a port settings record at its defaults; it leaves the link closed.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "link/port_settings.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "tests/link/refusing_resources.h"

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
    SimLinkTest()
    {
        for (int n : {1, 2, 256}) sim.add_port(n);
    }
    void TearDown() override
    {
        link.com_disconnect();
        EXPECT_EQ(sim.violations(), 0);
        EXPECT_EQ(sim.open_handles(), 0);
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
        EXPECT_FALSE(link.threads().rx_thread_exists());
        EXPECT_FALSE(link.threads().tx_thread_exists());
        EXPECT_EQ(link.rx_side().fifo.start, nullptr);
        EXPECT_EQ(link.tx_side().fifo.start, nullptr);
        EXPECT_EQ(link.com_port(), nullptr);
        EXPECT_EQ(sim.open_handles(), 0);
        EXPECT_FALSE(link.connected());
    }

    SimPortDriver sim;
    RefusingResources resources;
    SerialLink link{sim, resources};
    PortSettings port_settings;
};
