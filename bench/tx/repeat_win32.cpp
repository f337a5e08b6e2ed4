// Repeat in the send-string window under Wine, the whole program in this
// process: sends against the schedule's count, the skipped ones, the main
// window's longest Timer1 tick and how the repeat timer's ticks are spaced.
// Usage: bench_tx_repeat <port number> [seconds, default 10] [period ms, default 1]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/m_form.h"
#include "app/window_set.h"
#include "bench/rx/bench_clock_win32.h"
#include "link/win32_port_driver.h"
#include "ui/application.h"
#include "ui/timer.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: bench_tx_repeat <port number> [seconds] [period ms]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const std::string period = argc > 3 ? argv[3] : "1";
    ui::app().set_title("Olvex terminal");
    Win32PortDriver driver;
    WindowSet windows(driver);
    windows.port_settings().port_num = std::atoi(argv[1]);
    TMForm& m = *MForm;
    TTXSForm& txs = *TXSForm;

    // Both timers timed from outside their handlers.
    double longest_tick = 0, rep_last = 0, rep_first = 0, rep_shortest = 1e9;
    long rep_ticks = 0;
    auto tick1 = m.Timer1.on_timer;
    m.Timer1.on_timer = [&] {
        const double t0 = bench_epoch_seconds();
        tick1();
        longest_tick = std::max(longest_tick, bench_epoch_seconds() - t0);
    };
    auto tick_rep = txs.TimerRep.on_timer;
    txs.TimerRep.on_timer = [&] {
        const double t = bench_epoch_seconds();
        if (rep_ticks++ == 0)
            rep_first = t;
        else
            rep_shortest = std::min(rep_shortest, t - rep_last);
        rep_last = t;
        tick_rep();
    };

    int rc = 0;
    double started = 0;
    ui::Timer end("End", seconds * 1000, false);
    end.on_timer = [&] {
        end.set_enabled(false);
        const double elapsed = bench_epoch_seconds() - started;
        txs.BtnRepeat.click();  // Stop
        const std::string status = txs.STrep.caption();
        long long sent = 0, skipped = 0;
        std::sscanf(status.c_str(), "sent %lld times, %lld", &sent, &skipped);
        const double due = elapsed * 1000.0 / std::atoi(period.c_str());
        std::printf("period %s ms, %.3f s: sent %lld of %.0f due (%.2f %%), %lld skipped: \"%s\"\n", period.c_str(),
                    elapsed, sent, due, 100.0 * static_cast<double>(sent) / due, skipped, status.c_str());
        std::printf("longest Timer1 tick %.1f ms (target < 50 ms)\n", longest_tick * 1000);
        if (rep_ticks > 1)
            std::printf("repeat timer: %ld ticks, mean spacing %.2f ms, shortest %.2f ms\n", rep_ticks,
                        (rep_last - rep_first) * 1000 / static_cast<double>(rep_ticks - 1), rep_shortest * 1000);
        std::fflush(stdout);
        m.close();
    };
    ui::app().post([&] {
        m.menu.MMcon.click();
        if (!m.link.connected()) {
            std::fprintf(stderr, "connect failed\n");
            rc = 1;
            m.close();
            return;
        }
        m.menu.MMtxstr.click();
        txs.CBmsg.set_text("0123456789ABCDEF");  // 16 bytes with no zero byte
        txs.CBeos.set_checked(false);
        txs.Erep.set_text(period);
        started = bench_epoch_seconds();
        txs.BtnRepeat.click();
        end.set_enabled(true);
    });
    ui::app().run();
    return rc;
}
