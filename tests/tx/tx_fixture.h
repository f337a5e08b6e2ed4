// The main window fixture with what the transmit windows' tests share: files
// to send (in the start folder) and a line at a chosen baud rate.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/main_window_fixture.h"

using Bytes = std::vector<unsigned char>;

class TxTest : public MainWindowTest {
 protected:
    // Connects over a line paced at `baud` (0: bytes cross at once).
    void connect_at(int baud, int fifo_bytes = 1048576)
    {
        port_settings().port_baud = baud ? baud : 115200;
        port_settings().port_txth_size = fifo_bytes;
        sim.set_paced(baud != 0);
        connect();
    }

    static Bytes random_bytes(std::size_t n, unsigned seed = 7)
    {
        std::mt19937 gen(seed);
        Bytes b(n);
        for (auto& x : b) x = static_cast<unsigned char>(gen());
        return b;
    }
    std::string file_with(const Bytes& content, const std::string& name = "data.bin")
    {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
        return path.string();
    }
};
