// The whole main window receiving under Wine: the real windows and Win32
// backend, Timer1 draining into the store and the text view in CR+LF mode.
// Reports when the last byte was in the store, the longest Timer1 tick, the
// process's peak memory, and checks the store against the source file and the
// text view's line count against the source's CR+LF count. With a capture
// file it captures as well and checks the file against the source.
// Usage: bench_app_rx <port number> <source file> [capture file]
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/m_form.h"
#include "app/window_set.h"
#include "bench/rx/bench_clock_win32.h"
#include "link/serial_link.h"
#include "link/win32_port_driver.h"
#include "ui/application.h"

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: bench_app_rx <port number> <source file> [capture file]\n");
        return 2;
    }
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
    TMForm& m = *MForm;

    double longest_tick_ms = 0;
    int ticks = 0;
    auto drain = m.Timer1.on_timer;
    m.Timer1.on_timer = [&] {
        const auto t0 = std::chrono::steady_clock::now();
        drain();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (ms > longest_tick_ms) longest_tick_ms = ms;
        ++ticks;
    };

    int rc = 0;
    double last = 0;
    DWORD last_growth = GetTickCount();
    std::int32_t seen = 0;
    ui::Timer watch("watch", 50, false);
    watch.on_timer = [&] {
        const RxStore* s = nullptr;
        link.rx_store_info(&s);
        if (s->length != seen) {
            seen = s->length;
            last_growth = GetTickCount();
        }
        if (seen >= total) {
            last = bench_epoch_seconds();
            watch.set_enabled(false);
            m.close();
        } else if (GetTickCount() - last_growth > 30000) {
            std::fprintf(stderr, "nothing received for 30 s after %d bytes\n", int(seen));
            rc = 1;
            watch.set_enabled(false);
            m.close();
        }
    };
    ui::app().post([&] {
        m.menu.MMlnCRLF.click();
        m.menu.MMcon.click();
        if (!link.connected()) {
            std::fprintf(stderr, "connect failed\n");
            rc = 1;
            m.close();
            return;
        }
        // As the item does once its dialog has given the name.
        if (argc == 4) {
            m.menu.MMcapture.set_checked(true);
            if (m.receive.drain.capture.start(argv[3]) != 0) {
                std::fprintf(stderr, "cannot capture to %s\n", argv[3]);
                rc = 1;
                m.close();
                return;
            }
        }
        watch.set_enabled(true);
        std::printf("ready\n");
        std::fflush(stdout);
    });
    // The verdict is taken in FormClose's place: before the store is released.
    auto form_close = m.on_close;
    m.on_close = [&](ui::CloseAction& a) {
        const RxStore* s = nullptr;
        link.rx_store_info(&s);
        const bool same = s->length == total && s->data && scan_file(argv[2], s->data, s->length).equal;
        const long long lines = m.text_page.Mtxt.line_count();
        if (argc == 4) {
            const std::int64_t written = m.receive.drain.capture.written();
            const bool closed = m.receive.drain.capture.stop() == 0;
            const bool equal = s->data && scan_file(argv[3], s->data, s->length).equal;
            std::printf("capture %lld bytes, %s\n", static_cast<long long>(written),
                        closed && equal ? "file equal to the source" : "file DIFFERENT");
            if (!closed || !equal) rc = 1;
        }
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof pmc;
        GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
        std::printf("bytes %d last %.3f\n", int(s->length), last);
        std::printf("store %s, text view lines %lld of %lld%s\n", same ? "equal to the source" : "DIFFERENT", lines,
                    expected_lines, lines == expected_lines ? "" : " (MISMATCH)");
        std::printf("ticks %d, longest Timer1 tick %.1f ms\n", ticks, longest_tick_ms);
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        auto secs = [](FILETIME t) { return ((unsigned long long)t.dwHighDateTime << 32 | t.dwLowDateTime) / 1e7; };
        const double busy = secs(kernel) + secs(user), wall = bench_epoch_seconds() - started;
        std::printf("cpu %.1f s of %.1f s running (%.1f %%)\n", busy, wall, 100.0 * busy / wall);
        std::printf("peak private %.1f MB, peak working set %.1f MB, data %.1f MB\n", pmc.PeakPagefileUsage / 1048576.0,
                    pmc.PeakWorkingSetSize / 1048576.0, total / 1048576.0);
        if (!same || lines != expected_lines) rc = 1;
        form_close(a);
    };
    ui::app().run();
    return rc;
}
