// Info page refresh benchmark (run by hand: bin/bench_info_refresh [ticks]):
// the cost of one Timer2 tick with a connected simulated port: nothing
// changing (an idle line), a stream with line errors, and every field changing
// at once (as after the settings dialog, the bound).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/port_settings.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "ui/form.h"
#include "ui/page_control.h"
#include "views/info/info_page.h"

namespace {

using Clock = std::chrono::steady_clock;

// Nothing polls the port: every byte the peer sends stays counted in its queue.
class HeldThreads final : public LinkResources {
 public:
    ThreadStart thread_start(LinkThread) override { return ThreadStart::held; }
};

struct Figures {
    double mean_ms = 0, p99_ms = 0, max_ms = 0;
};

template <class Step>
Figures time_ticks(InfoPage& page, int ticks, Step step)
{
    std::vector<double> ms(static_cast<std::size_t>(ticks));
    for (auto& m : ms) {
        step(int(&m - ms.data()));
        const auto t0 = Clock::now();
        page.refresh();
        m = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    }
    Figures f;
    for (double m : ms) f.mean_ms += m / ticks;
    std::sort(ms.begin(), ms.end());
    f.p99_ms = ms[ms.size() * 99 / 100];
    f.max_ms = ms.back();
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    SimPortDriver sim;
    sim.add_port(1);
    sim.set_paced(false);
    HeldThreads held;
    SerialLink link(sim, held);
    PortSettings port_settings;
    port_settings.settings_loaded = 1;
    if (link.com_connect(port_settings) != 0) return 1;

    ui::Form form("BenchInfo");
    form.set_client_size(716, 440);
    ui::PageControl pages(&form, "PCd");
    pages.set_bounds(0, 0, 716, 440);
    ui::TabSheet sheet(pages, "TSinfo", "Info");
    InfoPage page(sheet, link, port_settings);
    pages.set_active_page_index(0);
    form.show();

    const Figures same = time_ticks(page, ticks, [](int) {});
    const std::string bytes(64, 'x');
    // A stream with line errors: the queue count and two error counts change.
    const Figures streaming = time_ticks(page, ticks, [&](int i) {
        sim.inject_errors(1, PORT_CE_FRAME | PORT_CE_BREAK);
        sim.peer_write(1, bytes.data(), i % 2 ? bytes.size() : 1);
    });
    const Figures changing = time_ticks(page, ticks, [&](int i) {
        port_settings.port_baud = i % 2 ? 115200 : 9600;
        port_settings.port_parity = i % 5;
        port_settings.port_rx_handshake = i % 3;
        sim.set_modem(1, i % 2, i % 3 == 0, i % 4 == 0, i % 2 == 0);
        sim.inject_errors(1, PORT_CE_FRAME | PORT_CE_BREAK);
        sim.peer_write(1, bytes.data(), i % 2 ? bytes.size() : 1);
    });
    std::printf("info refresh, %d ticks (mean / 99th percentile / max ms):\n", ticks);
    std::printf("  nothing changing                  %.4f / %.4f / %.4f\n", same.mean_ms, same.p99_ms, same.max_ms);
    std::printf("  stream with errors (3 fields)     %.4f / %.4f / %.4f\n", streaming.mean_ms, streaming.p99_ms,
                streaming.max_ms);
    std::printf("  every field changing (25 fields)  %.4f / %.4f / %.4f\n", changing.mean_ms, changing.p99_ms,
                changing.max_ms);
    return 0;
}
