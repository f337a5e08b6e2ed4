// Find over a received data store of 200 MB (or the megabytes given), through
// the search thread as the Find window runs it: Find next with the only hit at
// the end for a text and for hex bytes with one ??, then Count of 100,000 hits.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/data_flow.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "views/find/find_runner.h"
#include "views/find/rx_store_source.h"

namespace {

using Clock = std::chrono::steady_clock;

// The benchmark's one link: its store is what the searches read.
SimPortDriver sim;
SerialLink bench_link{sim};

double ms_since(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Fills a fresh store with `size` bytes from make(offset, buffer), in drains
// of 4 MB through the receive FIFO, as the window's timer would.
template <class Make>
void fill_store(std::int32_t size, Make make)
{
    constexpr std::int32_t piece = 4 << 20;
    bench_link.rx_store_init(rx_store_max_block);
    std::vector<char> buf(piece);
    for (std::int32_t at = 0; at < size; at += piece) {
        const std::int32_t n = std::min(piece, size - at);
        make(at, buf.data(), n);
        {
            std::lock_guard<std::mutex> hold(bench_link.rx_side().lock);
            fifo_put(bench_link.rx_side().fifo, buf.data(), n);
        }
        if (bench_link.rx_store_append() != 0) {
            std::fprintf(stderr, "the store could not grow to %d bytes\n", at + n);
            std::exit(1);
        }
    }
}

struct Timing {
    double found_ms = -1, placed_ms = -1, counted_ms = -1;
    FindReport last;
};

// One search from start to its last report, polled every millisecond.
Timing time_search(FindRunner& runner, FindRequest request)
{
    Timing t;
    const Clock::time_point t0 = Clock::now();
    runner.start(std::move(request));
    while (runner.busy()) {
        if (std::optional<FindReport> r = runner.poll()) {
            t.last = *r;
            if (r->kind == FindReport::Kind::Found) t.found_ms = ms_since(t0);
            if (r->kind == FindReport::Kind::Placed) t.placed_ms = ms_since(t0);
            if (r->kind == FindReport::Kind::Counted) t.counted_ms = ms_since(t0);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return t;
}

void report_find_next(const char* what, std::int32_t size, const Timing& t, std::int32_t expected_at)
{
    const double mb = size / 1048576.0;
    std::printf("Find next, %-26s hit at 0x%08X after %7.1f ms = %6.0f MB/s; (1 of 1) after %7.1f ms%s\n", what,
                unsigned(t.last.start), t.found_ms, mb / (t.found_ms / 1000.0), t.placed_ms,
                t.last.start == expected_at ? "" : "  WRONG PLACE");
}

FindPattern parsed(const char* text, bool hex)
{
    return *parse_find_pattern(text, hex, true).pattern;
}

}  // namespace

int main(int argc, char** argv)
{
    const int mb = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::int32_t size = mb * 1048576;
    {
        std::lock_guard<std::mutex> hold(bench_link.rx_side().lock);
        fifo_create(bench_link.rx_side().fifo, fifo_max_capacity);
    }
    const RxStoreSource source{bench_link};
    FindRunner runner(source);
    std::mt19937 rng(18);

    // Text: printable lines such as a chatty device sends, the marker last.
    const char marker[] = "ALARM tank 7 overflow";
    const std::int32_t marker_at = size - std::int32_t(sizeof marker - 1);
    fill_store(size, [&](std::int32_t at, char* out, std::int32_t n) {
        for (std::int32_t i = 0; i < n; ++i) out[i] = (at + i) % 64 == 63 ? '\n' : char(0x20 + rng() % 0x5F);
        if (at + n == size) std::memcpy(out + n - (sizeof marker - 1), marker, sizeof marker - 1);
    });
    report_find_next("text \"ALARM tank 7 ...\":", size,
                     time_search(runner, FindRequest{parsed(marker, false), FindKind::Next, -1, size}), marker_at);
    FindPattern folded = *parse_find_pattern("alarm TANK 7 overflow", false, false).pattern;
    report_find_next("text, case ignored:", size, time_search(runner, FindRequest{folded, FindKind::Next, -1, size}),
                     marker_at);

    // Hex bytes with one ??: random bytes without DE, so DE AD xx EF is only last.
    runner.forget();
    fill_store(size, [&](std::int32_t at, char* out, std::int32_t n) {
        for (std::int32_t i = 0; i < n; ++i) {
            const auto b = std::uint8_t(rng());
            out[i] = char(b == 0xDE ? 0x5E : b);
        }
        if (at + n == size) std::memcpy(out + n - 4, "\xDE\xAD\x42\xEF", 4);
    });
    report_find_next("hex \"DE AD ?? EF\":", size,
                     time_search(runner, FindRequest{parsed("DE AD ?? EF", true), FindKind::Next, -1, size}), size - 4);

    // Count: 100,000 hits spread evenly.
    runner.forget();
    const std::int32_t every = size / 100000;
    fill_store(size, [&](std::int32_t at, char* out, std::int32_t n) {
        for (std::int32_t i = 0; i < n; ++i)
            out[i] = (at + i) % every == 0 && (at + i) / every < 100000 ? 'Q' : char(0x20 + rng() % 0x31);
    });
    const Timing count = time_search(runner, FindRequest{parsed("Q", false), FindKind::Count, -1, size});
    std::printf("Count over %d MB: %lld found in %.1f ms\n", mb, static_cast<long long>(count.last.total),
                count.counted_ms);
    const Timing again = time_search(runner, FindRequest{parsed("Q", false), FindKind::Next, every * 500, size});
    std::printf("Find next after a count: hit at 0x%08X (%lld of %lld) placed after %.2f ms\n",
                unsigned(again.last.start), static_cast<long long>(again.last.ordinal),
                static_cast<long long>(again.last.total), again.placed_ms);

    // The window thread's side while a search runs: drains go on, and one that
    // grows the store waits at most for the chunk being copied.
    runner.forget();
    runner.start(FindRequest{parsed("Q", false), FindKind::Count, -1, size});
    std::vector<char> piece(256 << 10, 'x');
    double longest = 0;
    int drains = 0;
    while (runner.busy() && drains < 128) {
        {
            std::lock_guard<std::mutex> hold(bench_link.rx_side().lock);
            fifo_put(bench_link.rx_side().fifo, piece.data(), std::int32_t(piece.size()));
        }
        const Clock::time_point t0 = Clock::now();
        bench_link.rx_store_append();
        longest = std::max(longest, ms_since(t0));
        ++drains;
        while (runner.poll()) {
        }
    }
    runner.cancel();
    std::printf("Drains during a count: %d of 256 KB, the longest %.2f ms\n", drains, longest);
    bench_link.rx_store_free();
    return 0;
}
