// The program started as olvex_run starts it, on the headless backend: a start
// folder of its own as the current directory with its config.ini, the whole
// window set, and a simulated COM1 behind the port layer. The scripted user
// clicks, types and lets the virtual clock run Timer1, exactly as the product runs.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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
#include "settings/start_folder.h"
#include "tests/link/refusing_resources.h"
#include "ui/application.h"
#include "ui/headless/user.h"

class MainWindowTest : public ::testing::Test {
 protected:
    using Lines = std::vector<std::string>;

    void SetUp() override
    {
        static int serial = 0;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = std::filesystem::temp_directory_path() /
               ("olvex_start_" + std::to_string(stamp) + "_" + std::to_string(++serial));
        std::filesystem::create_directories(dir_);
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        sim.add_port(1);
        sim.set_paced(false);
        ui::app().reset_terminated();
        if (start_in_set_up_) start();
    }

    void TearDown() override
    {
        stop();
        ui::app().reset_terminated();
        EXPECT_EQ(sim.open_handles(), 0);
        std::filesystem::current_path(old_cwd_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Program start: the settings file in the current directory, then the windows.
    void start()
    {
        settings_file_open();
        windows = std::make_unique<WindowSet>(sim, resources);
        m = MForm;
        m->show();
    }
    // The main window closes (saving the settings) and the program ends.
    void stop()
    {
        if (windows) {
            if (m->visible()) user.close(*m);
            windows.reset();
        }
        settings_file_reset();
    }
    void restart()
    {
        stop();
        start();
    }

    void connect()
    {
        user.click(m->tools.BtnCon);
        ASSERT_TRUE(link().connected());
    }

    // Bytes the receive thread has just put into the receive FIFO.
    // The window set's link and port settings record (after start()).
    SerialLink& link() { return windows->link(); }
    PortSettings& port_settings() { return windows->port_settings(); }

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
        for (int i = 0; i < m->text_page.Mtxt.line_count(); ++i) out.push_back(m->text_page.Mtxt.lines().line(i));
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

    // The start folder's config.ini: written whole, and read back as its lines
    // that hold anything but blanks (line ends and blank lines are no contract).
    void put(const std::string& content) const { std::ofstream(dir_ / "config.ini", std::ios::binary) << content; }
    Lines filled_lines() const
    {
        std::ifstream in(dir_ / "config.ini", std::ios::binary);
        Lines out;
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            if (l.find_first_not_of(" \t") != std::string::npos) out.push_back(l);
        }
        return out;
    }
    // The lines of one section, header excluded.
    Lines section(const std::string& name) const
    {
        Lines out;
        bool in = false;
        for (const auto& l : filled_lines()) {
            if (l[0] == '[') {
                in = l == "[" + name + "]";
                continue;
            }
            if (in) out.push_back(l);
        }
        return out;
    }
    Lines headers() const
    {
        Lines out;
        for (const auto& l : filled_lines())
            if (l[0] == '[') out.push_back(l);
        return out;
    }

    // Tests of the start itself put their config.ini first and call start().
    bool start_in_set_up_ = true;
    std::filesystem::path dir_, old_cwd_;
    SimPortDriver sim;
    RefusingResources resources;
    ui::headless::User user;
    std::unique_ptr<WindowSet> windows;
    TMForm* m = nullptr;
};

// The program's start and end under test: nothing runs until start().
class ProgramStartTest : public MainWindowTest {
 protected:
    ProgramStartTest() { start_in_set_up_ = false; }
};
