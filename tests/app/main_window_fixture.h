// A fixture with the whole window set on the headless backend and its link
// over a simulated COM1: the scripted user clicks, types and lets the virtual
// clock run Timer1, exactly as the product runs.
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
#include "link/port_settings.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "tests/link/refusing_resources.h"
#include "ui/application.h"
#include "ui/headless/user.h"

class MainWindowTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        sim.add_port(1);
        sim.set_paced(false);
        ui::app().reset_terminated();
        windows = std::make_unique<WindowSet>(sim, resources);
        m = MForm;
        m->show();
    }

    void TearDown() override
    {
        m->close();
        windows.reset();
        ui::app().reset_terminated();
        EXPECT_EQ(sim.open_handles(), 0);
    }

    // The window set's link and port settings record.
    SerialLink& link() { return windows->link(); }
    PortSettings& port_settings() { return windows->port_settings(); }

    void connect()
    {
        user.click(m->BtnCon);
        ASSERT_TRUE(link().connected());
    }

    // Bytes the receive thread has just put into the receive FIFO.
    void arrive(const std::string& bytes)
    {
        RxSide& side = link().rx_side();
        std::lock_guard<std::mutex> hold(side.lock);
        ASSERT_EQ(fifo_put(side.fifo, bytes.data(), std::int32_t(bytes.size())), 0);
    }

    // One Timer1 interval of virtual time: exactly one tick.
    void tick() { user.wait(m->Timer1.interval()); }

    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < m->Mtxt.line_count(); ++i) out.push_back(m->Mtxt.lines().line(i));
        return out;
    }

    std::int32_t store_length()
    {
        const RxStore* s = nullptr;
        link().rx_store_info(&s);
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
    RefusingResources resources;
    ui::headless::User user;
    std::unique_ptr<WindowSet> windows;
    TMForm* m = nullptr;
};
