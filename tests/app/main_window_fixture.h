// A fixture with the whole window set on the headless backend and a simulated
// COM1 behind the port layer: the scripted user clicks, types and lets the
// virtual clock run Timer1, exactly as the product runs.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/m_form.h"
#include "app/window_set.h"
#include "link/com.h"
#include "link/data_flow.h"
#include "link/port_settings.h"
#include "link/port_threads.h"
#include "link/rx_store.h"
#include "link/rx_text.h"
#include "link/sim_port_driver.h"
#include "ui/application.h"
#include "ui/headless/user.h"

class MainWindowTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        sim.add_port(1);
        sim.set_paced(false);
        set_port_driver(sim);
        port_settings = PortSettings{};
        tx_timeout_reset();
        // The conversion outlives each window set; its menu starts with stamps off.
        rx_text_timestamps(false);
        ui::app().reset_terminated();
        windows = std::make_unique<WindowSet>();
        m = MForm;
        m->show();
    }

    void TearDown() override
    {
        m->close();
        windows.reset();
        ui::app().reset_terminated();
        rx_store_set_growth_check(nullptr);
        port_threads_fail_next_create(false, false);
        EXPECT_EQ(sim.open_handles(), 0);
        set_port_driver(idle);
    }

    void connect()
    {
        user.click(m->BtnCon);
        ASSERT_EQ(port_settings.connected, 1);
    }

    // Bytes the receive thread has just put into the receive FIFO.
    static void arrive(const std::string& bytes)
    {
        std::lock_guard<std::mutex> hold(rx_side.lock);
        ASSERT_EQ(fifo_put(rx_side.fifo, bytes.data(), std::int32_t(bytes.size())), 0);
    }

    // One Timer1 interval of virtual time: exactly one tick.
    void tick() { user.wait(m->Timer1.interval()); }

    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < m->Mtxt.line_count(); ++i) out.push_back(m->Mtxt.lines().line(i));
        return out;
    }

    std::int32_t store_length() const
    {
        const RxStore* s = nullptr;
        rx_store_info(&s);
        return s->length;
    }

    // Bytes that reached the peer of COM1, waited for until `expected` came or
    // `seconds` passed.
    std::vector<unsigned char> peer_got(std::size_t expected, double seconds = 3)
    {
        std::vector<unsigned char> got;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        while (got.size() < expected && std::chrono::steady_clock::now() < deadline) {
            auto part = sim.peer_read(1);
            got.insert(got.end(), part.begin(), part.end());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        // Anything more that would still arrive shows up as well.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        auto rest = sim.peer_read(1);
        got.insert(got.end(), rest.begin(), rest.end());
        return got;
    }

    const std::vector<ui::headless::MessageBoxCall>& boxes() { return user.world().message_boxes; }

    SimPortDriver sim;
    SimPortDriver idle;
    ui::headless::User user;
    std::unique_ptr<WindowSet> windows;
    TMForm* m = nullptr;
};
