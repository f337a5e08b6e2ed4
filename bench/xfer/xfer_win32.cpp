// The whole main window with the File transfer window running one YMODEM
// transfer under Wine, as a user starts it: prints the transfer's seconds from
// the start to its end, its result, and the longest Timer1 tick meanwhile.
// Usage: bench_xfer <port number> send <file> | receive <folder>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/m_form.h"
#include "app/window_set.h"
#include "bench/rx/bench_clock_win32.h"
#include "link/win32_port_driver.h"
#include "ui/application.h"

int main(int argc, char** argv)
{
    if (argc != 4 || (std::strcmp(argv[2], "send") != 0 && std::strcmp(argv[2], "receive") != 0)) {
        std::fprintf(stderr, "usage: bench_xfer <port number> send <file> | receive <folder>\n");
        return 2;
    }
    const bool sending = std::strcmp(argv[2], "send") == 0;
    ui::app().set_title("Olvex terminal");
    Win32PortDriver driver;
    WindowSet windows(driver);
    windows.port_settings().port_num = std::atoi(argv[1]);
    TMForm& m = *MForm;
    TXferForm& x = *XferForm;

    double longest_tick_ms = 0;
    auto drain = m.Timer1.on_timer;
    m.Timer1.on_timer = [&] {
        const auto t0 = std::chrono::steady_clock::now();
        drain();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (ms > longest_tick_ms && x.running()) longest_tick_ms = ms;
    };
    int rc = 0;
    double started = 0;
    // Looks often: its period is inside the time printed.
    ui::Timer watch("watch", 5, false);
    watch.on_timer = [&] {
        if (x.running()) return;
        watch.set_enabled(false);
        const double seconds = bench_epoch_seconds() - started;
        std::printf("%s %.2f s: %s\n", sending ? "send" : "receive", seconds, x.last_result().c_str());
        std::printf("longest Timer1 tick during the transfer %.1f ms\n", longest_tick_ms);
        if (x.last_result().rfind(sending ? "Sent" : "Received", 0) != 0) rc = 1;
        m.close();
    };
    ui::app().post([&] {
        m.menu.MMcon.click();
        if (!windows.link().connected()) {
            std::fprintf(stderr, "connect failed\n");
            rc = 1;
            m.close();
            return;
        }
        m.menu.MMxfer.click();
        x.set_protocol(XferProtocol::Ymodem);
        started = bench_epoch_seconds();
        if (sending ? !x.send_file(argv[3]) : (x.receive_into(argv[3]), !x.running())) {
            rc = 1;
            m.close();
            return;
        }
        watch.set_enabled(true);
        std::printf("started\n");
        std::fflush(stdout);
    });
    ui::app().run();
    return rc;
}
