// The whole program sending a file under Wine: the real windows and Win32
// backend, "Send file" from the Tx menu, the open dialog filled from a helper
// thread as a user would, the window's timer feeding the transmit FIFO.
// Prints when the window closed and the process's peak memory.
// Usage: bench_app_tx <port number> <file> [tx FIFO KiB, default 1024]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/m_form.h"
#include "app/window_set.h"
#include "bench/rx/bench_clock_win32.h"
#include "link/serial_link.h"
#include "link/win32_port_driver.h"
#include "tools/guidriver/guidriver.h"
#include "ui/application.h"

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: bench_app_tx <port number> <file> [tx FIFO KiB]\n");
        return 2;
    }
    ui::app().set_title("Olvex terminal");
    Win32PortDriver driver;
    WindowSet windows(driver);
    SerialLink& link = windows.link();
    PortSettings& port_settings = windows.port_settings();
    port_settings.port_num = std::atoi(argv[1]);
    // The window moves at most one FIFO's worth per 100 ms tick.
    if (argc == 4) port_settings.port_txth_size = std::atoi(argv[3]) * 1024;
    TMForm& m = *MForm;
    int rc = 0;
    ui::app().post([&] {
        m.menu.MMcon.click();
        if (!link.connected()) {
            std::fprintf(stderr, "connect failed\n");
            rc = 1;
            m.close();
            return;
        }
        std::string path = argv[2];
        for (char& c : path)
            if (c == '/') c = '\\';  // the dialog's name box wants Windows separators
        std::thread user([path] {
            if (!guidriver::fill_file_dialog("Open", path, 20000))
                std::fprintf(stderr, "%s\n", guidriver::last_error().c_str());
            // The transfer starts on the window's next tick.
            std::printf("ready\n");
            std::fflush(stdout);
        });
        const double t0 = bench_epoch_seconds();
        m.menu.MMtxfile.click();  // modal until the transfer has ended
        const double t1 = bench_epoch_seconds();
        user.join();
        const auto& tr = TXFForm->transfer();
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof pmc;
        GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
        std::printf("window closed after %.3f s, outcome %d, %d of %d bytes sent\n", t1 - t0, int(tr.outcome),
                    int(tr.bytes_sent), int(tr.file_size));
        std::printf("peak private %.1f MB, peak working set %.1f MB, tx FIFO %.1f MB\n",
                    pmc.PeakPagefileUsage / 1048576.0, pmc.PeakWorkingSetSize / 1048576.0,
                    port_settings.port_txth_size / 1048576.0);
        std::fflush(stdout);
        if (tr.outcome != TTXFForm::Outcome::Complete) rc = 1;
        m.close();
    });
    ui::app().run();
    return rc;
}
