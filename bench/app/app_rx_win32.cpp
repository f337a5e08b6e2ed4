// The whole main window receiving under Wine: the real windows and Win32
// backend, Timer1 draining into the store and the text view in CR+LF mode,
// with the Text page (or the HEX page) shown and auto-scroll on, as a user
// watches it. Reports when the last byte was in the store, the longest Timer1
// tick, the peak private memory (sampled while receiving: Wine keeps no peak of
// its own), the text view's repaint at 1 KB and at the end, and the memory after
// "Clear rx data"; checks the store against the source file and the text view's
// line count against the source's CR+LF count; the status bar's rate against the
// true one, and Timer1's real period against its interval with how many ticks
// found the receive FIFO over half full (past that the line is held back, and
// the rate shown is the lower throughput). With a capture file it captures
// as well and checks the file against the source.
// With "traffic" the Traffic page is shown instead, and its own tick and the
// traffic record's memory per read are reported too.
// Usage: bench_app_rx <port number> <source file> text|hex|traffic [capture file]
//   OLVEX_BENCH_ANSI=1 switches "ANSI colours" on before connecting.
//   OLVEX_BENCH_UTF8=1 switches "UTF-8" on before connecting.
//   OLVEX_BENCH_RX_FIFO_KB=n gives the receive FIFO n KiB (port_rxth_size) instead of 1024.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/m_form.h"
#include "app/window_set.h"
#include "bench/rx/bench_clock_win32.h"
#include "link/serial_link.h"
#include "link/win32_port_driver.h"
#include "ui/application.h"
#include "ui/win32/window_peer.h"

namespace {

// Walks the file in chunks (the benchmark keeps no copy, so the peak memory
// is the program's own): its size and CR+LF count, or a comparison with data.
struct FileScan {
    long long size = -1;
    long long crlf = 0;
    bool equal = true;
};

FileScan scan_file(const char* path, const unsigned char* compare_with = nullptr, long long compare_len = 0)
{
    FileScan r;
    FILE* f = std::fopen(path, "rb");
    if (!f) return r;
    std::vector<unsigned char> buf(1 << 20);
    long long pos = 0;
    unsigned char prev = 0;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            if (prev == '\r' && buf[i] == '\n') ++r.crlf;
            prev = buf[i];
        }
        if (compare_with &&
            (pos + static_cast<long long>(n) > compare_len || std::memcmp(compare_with + pos, buf.data(), n) != 0))
            r.equal = false;
        pos += static_cast<long long>(n);
    }
    std::fclose(f);
    r.size = pos;
    if (compare_with && pos != compare_len) r.equal = false;
    return r;
}

double private_mb()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PagefileUsage / 1048576.0;
}

// Samples the private memory every 10 ms on its own thread, so the peak is
// seen while it lasts whatever the window thread is doing.
class PeakSampler {
 public:
    PeakSampler()
        : thread_([this] {
              while (!stop_) {
                  const double mb = private_mb();
                  if (mb > peak_) peak_ = mb;
                  Sleep(10);
              }
          })
    {
    }
    ~PeakSampler()
    {
        stop_ = true;
        thread_.join();
    }
    double peak() const { return peak_; }

 private:
    std::atomic<bool> stop_{false};
    std::atomic<double> peak_{0};
    std::thread thread_;
};

// The best of five whole repaints of a control's real window, in milliseconds.
double repaint_ms(ui::Control& c)
{
    auto* p = dynamic_cast<ui::win32::WindowPeer*>(c.peer());
    if (!p) return -1;
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        InvalidateRect(p->hwnd(), nullptr, FALSE);
        UpdateWindow(p->hwnd());
        GdiFlush();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (ms < best) best = ms;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    if ((argc != 4 && argc != 5) || (std::strcmp(argv[3], "text") != 0 && std::strcmp(argv[3], "hex") != 0 &&
                                     std::strcmp(argv[3], "traffic") != 0)) {
        std::fprintf(stderr, "usage: bench_app_rx <port number> <source file> text|hex|traffic [capture file]\n");
        return 2;
    }
    const bool text_page = std::strcmp(argv[3], "text") == 0;
    const bool traffic_page = std::strcmp(argv[3], "traffic") == 0;
    const char* capture_path = argc == 5 ? argv[4] : nullptr;
    const FileScan source = scan_file(argv[2]);
    if (source.size <= 0) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    const std::int32_t total = std::int32_t(source.size);
    const long long expected_lines = source.crlf + 1;  // and the open line after the last CR+LF

    const double started = bench_epoch_seconds();
    ui::app().set_title("Olvex terminal");
    Win32PortDriver driver;
    WindowSet windows(driver);
    SerialLink& link = windows.link();
    windows.port_settings().port_num = std::atoi(argv[1]);
    if (const char* kb = std::getenv("OLVEX_BENCH_RX_FIFO_KB"))
        windows.port_settings().port_rxth_size = std::atoi(kb) * 1024;
    TMForm& m = *MForm;

    double longest_tick_ms = 0;
    int ticks = 0;
    std::vector<double> shown_rates;
    std::vector<double> periods, intervals;
    int full_ticks = 0;
    std::chrono::steady_clock::time_point last_tick{};
    std::int32_t seen = 0;
    auto drain = m.Timer1.on_timer;
    m.Timer1.on_timer = [&] {
        const auto t0 = std::chrono::steady_clock::now();
        // Timer1 plans to come before the receive FIFO is half full; past that a
        // late tick soon finds it full, which holds the receive thread and the line.
        if (link.connected() && seen > 0 && seen < total) {
            if (link.rx_fill() > link.settings().port.port_rxth_size / 2) ++full_ticks;
            if (last_tick != std::chrono::steady_clock::time_point{}) {
                periods.push_back(std::chrono::duration<double, std::milli>(t0 - last_tick).count());
                intervals.push_back(m.Timer1.interval());
            }
            last_tick = t0;
        }
        drain();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (ms > longest_tick_ms) longest_tick_ms = ms;
        ++ticks;
        // The rate the status bar shows, against the store's growth over the same time.
        const std::string panel = m.SB.panel(1).text;
        const auto open = panel.find('(');
        if (open != std::string::npos && seen > 0 && seen < total)
            shown_rates.push_back(std::atof(panel.c_str() + open + 1) * 1024.0);
    };
    double longest_traffic_ms = 0;
    auto cut = m.traffic.TimerTraffic.on_timer;
    m.traffic.TimerTraffic.on_timer = [&] {
        const auto t0 = std::chrono::steady_clock::now();
        cut();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (ms > longest_traffic_ms) longest_traffic_ms = ms;
    };

    int rc = 0;
    double last = 0;
    double before_mb = 0, paint_1k_ms = -1;
    DWORD last_growth = GetTickCount();
    double first_growth = 0;
    PeakSampler sampler;

    // The verdict, taken while the store still holds everything; then "Clear rx data".
    auto finish = [&] {
        const RxStore* s = nullptr;
        link.rx_store_info(&s);
        const bool same = s->length == total && s->data && scan_file(argv[2], s->data, s->length).equal;
        const long long lines = m.text_page.Mtxt.line_count();
        if (capture_path) {
            const std::int64_t written = m.receive.drain.capture.written();
            const bool closed = m.receive.drain.capture.stop() == 0;
            const bool equal = s->data && scan_file(capture_path, s->data, s->length).equal;
            std::printf("capture %lld bytes, %s\n", static_cast<long long>(written),
                        closed && equal ? "file equal to the source" : "file DIFFERENT");
            if (!closed || !equal) rc = 1;
        }
        const double paint_end_ms = text_page ? repaint_ms(m.text_page.Mtxt) : -1;
        const double peak = sampler.peak(), end_mb = private_mb();
        std::printf("bytes %d last %.3f\n", int(s->length), last);
        std::printf("store %s, text view lines %lld of %lld%s\n", same ? "equal to the source" : "DIFFERENT", lines,
                    expected_lines, lines == expected_lines ? "" : " (MISMATCH)");
        std::printf("ticks %d, longest Timer1 tick %.1f ms (%s page shown)\n", ticks, longest_tick_ms,
                    text_page      ? "Text"
                    : traffic_page ? "Traffic"
                                   : "HEX");
        if (!shown_rates.empty()) {
            std::sort(shown_rates.begin(), shown_rates.end());
            std::printf("status bar rate: median %.0f kB/s, true %.0f kB/s over the run\n",
                        shown_rates[shown_rates.size() / 2] / 1024.0, total / (last - first_growth) / 1024.0);
        }
        if (!periods.empty()) {
            std::sort(periods.begin(), periods.end());
            std::sort(intervals.begin(), intervals.end());
            std::printf(
                "Timer1 period median %.0f ms for a median interval of %.0f ms; receive FIFO over half full at %d of "
                "%zu ticks\n",
                periods[periods.size() / 2], intervals[intervals.size() / 2], full_ticks, periods.size() + 1);
        }
        const TrafficRecord& record = link.traffic();
        const double reads = double(record.rx_read_count());
        std::printf(
            "traffic record %.1f KB for %.0f reads (%.1f bytes a read, %.3f %% of the data), %zu frames, "
            "longest TimerTraffic tick %.1f ms\n",
            record.memory() / 1024.0, reads, reads > 0 ? record.memory() / reads : 0.0, 100.0 * record.memory() / total,
            m.traffic.frames().size(), longest_traffic_ms);
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        auto secs = [](FILETIME t) { return ((unsigned long long)t.dwHighDateTime << 32 | t.dwLowDateTime) / 1e7; };
        const double busy = secs(kernel) + secs(user), wall = bench_epoch_seconds() - started;
        std::printf("cpu %.1f s of %.1f s running (%.1f %%)\n", busy, wall, 100.0 * busy / wall);
        const double data_mb = total / 1048576.0;
        std::printf(
            "peak private %.1f MB sampled, %.1f MB before receiving: %.3f x the %.1f MB received "
            "(growth alone %.3f x)\n",
            peak, before_mb, peak / data_mb, data_mb, (peak - before_mb) / data_mb);
        if (text_page)
            std::printf("repaint text view %.2f ms at 1 KB, %.2f ms at the end\n", paint_1k_ms, paint_end_ms);
        m.menu.MMclrrx.click();
        const double cleared = private_mb();
        std::printf("private %.1f MB at the end, %.1f MB after Clear rx data (%+.1f %% of before receiving)\n", end_mb,
                    cleared, 100.0 * (cleared - before_mb) / before_mb);
        if (!same || lines != expected_lines) rc = 1;
        m.close();
    };

    ui::Timer watch("watch", 50, false);
    watch.on_timer = [&] {
        const RxStore* s = nullptr;
        link.rx_store_info(&s);
        if (s->length != seen) {
            if (seen == 0) first_growth = bench_epoch_seconds();
            seen = s->length;
            last_growth = GetTickCount();
        }
        if (paint_1k_ms < 0 && text_page && seen >= 1024) paint_1k_ms = repaint_ms(m.text_page.Mtxt);
        if (seen >= total) {
            last = bench_epoch_seconds();
            watch.set_enabled(false);
            finish();
        } else if (GetTickCount() - last_growth > 30000) {
            std::fprintf(stderr, "nothing received for 30 s after %d bytes\n", int(seen));
            rc = 1;
            watch.set_enabled(false);
            m.close();
        }
    };
    ui::app().post([&] {
        m.PCd.select_tab(text_page ? 0 : traffic_page ? 4 : 1);
        if (!m.menu.MMas.checked()) m.menu.MMas.click();
        m.menu.MMlnCRLF.click();
        const char* ansi = std::getenv("OLVEX_BENCH_ANSI");
        if (m.menu.MMansi.checked() != (ansi && std::strcmp(ansi, "1") == 0)) m.menu.MMansi.click();
        const char* utf8 = std::getenv("OLVEX_BENCH_UTF8");
        if (m.menu.MMutf8.checked() != (utf8 && std::strcmp(utf8, "1") == 0)) m.menu.MMutf8.click();
        m.menu.MMcon.click();
        if (!link.connected()) {
            std::fprintf(stderr, "connect failed\n");
            rc = 1;
            m.close();
            return;
        }
        // Connected, with the FIFOs allocated, as "Clear rx data" leaves it.
        before_mb = private_mb();
        // As the item does once its dialog has given the name.
        if (capture_path) {
            m.menu.MMcapture.set_checked(true);
            if (m.receive.drain.capture.start(capture_path) != 0) {
                std::fprintf(stderr, "cannot capture to %s\n", capture_path);
                rc = 1;
                m.close();
                return;
            }
        }
        watch.set_enabled(true);
        std::printf("ready\n");
        std::fflush(stdout);
    });
    ui::app().run();
    return rc;
}
