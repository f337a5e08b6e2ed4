// Micro-benchmark of the received-text conversion: 200 MB of mixed CR+LF lines
// (20 to 200 characters) through the store into a sink that only counts; then
// the same lines coloured as a log prints them, with ANSI colours off and on.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <string_view>

#include "link/line_sink.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"

namespace {

class CountingSink : public LineSink {
 public:
    long long lines = 0, chars = 0, calls = 0;
    void add_line(std::string_view text) override
    {
        ++lines;
        chars += static_cast<long long>(text.size());
        ++calls;
    }
    std::string last_line() const override { return {}; }
    void replace_last_line(std::string_view) override { ++calls; }
    int line_count() const override { return int(lines); }
    void begin_update() override {}
    void end_update() override {}
    void clear() override { lines = chars = calls = 0; }
    void append_to_last_line(std::string_view text) override
    {
        chars += static_cast<long long>(text.size());
        ++calls;
    }
};

std::string mixed_lines(std::size_t total)
{
    std::string s;
    s.reserve(total + 256);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> len(20, 200), ch(0x20, 0x7E);
    while (s.size() < total) {
        for (int n = len(rng); n > 0; --n) s += char(ch(rng));
        s += "\r\n";
    }
    s.resize(total);
    return s;
}

// Each line in its level's colour and reset at its end, as ESP-IDF logs are.
std::string coloured_lines(std::size_t total)
{
    static const char* const colours[] = {"0;32", "0;33", "0;31", "1;36"};
    std::string s;
    s.reserve(total + 256);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> len(20, 200), ch(0x20, 0x7E);
    while (s.size() < total) {
        s += std::string("\x1b[") + colours[rng() % 4] + "mI (" + std::to_string(s.size() % 100000) + ") tag: ";
        for (int n = len(rng); n > 0; --n) s += char(ch(rng));
        s += "\x1b[0m\r\n";
    }
    s.resize(total);
    return s;
}

double seconds_since(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Moves `data` through the receive FIFO into a fresh store in drains of
// `drain` bytes, converting after each when `each` is set; returns the seconds
// spent appending and converting.
void run(SerialLink& link, const std::string& data, int32_t drain, bool each, int mode, double& append_s,
         double& convert_s, CountingSink& sink, bool ansi = false)
{
    RxSide& rx_side = link.rx_side();
    link.rx_store_init(131072);
    link.rx_text_ansi(ansi);
    link.rx_text_attach(&sink);
    link.rx_text_line_break(mode);
    append_s = convert_s = 0;
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t n = std::min<std::size_t>(std::size_t(drain), data.size() - at);
        {
            std::lock_guard guard(rx_side.lock);
            fifo_put(rx_side.fifo, data.data() + at, int32_t(n));
        }
        at += n;
        auto t0 = std::chrono::steady_clock::now();
        if (link.rx_store_append() != 0) {
            std::fprintf(stderr, "append failed at %zu\n", at);
            std::exit(1);
        }
        append_s += seconds_since(t0);
        if (each) {
            t0 = std::chrono::steady_clock::now();
            link.rx_text_update(sink);
            convert_s += seconds_since(t0);
        }
    }
    if (!each) {
        auto t0 = std::chrono::steady_clock::now();
        link.rx_text_update(sink);
        convert_s = seconds_since(t0);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t mb = argc > 1 ? std::size_t(std::atol(argv[1])) : 200;
    const std::string data = mixed_lines(mb * 1000000);
    SimPortDriver no_port;
    SerialLink link(no_port);  // its receive FIFO made here, as a connect would
    if (fifo_create(link.rx_side().fifo, fifo_max_capacity) != 0) {
        std::fprintf(stderr, "no receive FIFO\n");
        return 1;
    }
    CountingSink sink;
    struct Run {
        const char* name;
        int32_t drain;
        bool each;
        int mode;
    };
    const Run runs[] = {
        {"one pass (Refresh text), CR+LF", 8388607, false, rx_lb_crlf},
        {"4 MB drains, CR+LF", 4000000, true, rx_lb_crlf},
        {"30 KB drains (3 Mbaud ticks), CR+LF", 30000, true, rx_lb_crlf},
        {"one pass, CR or LF", 8388607, false, rx_lb_any},
    };
    std::printf("%zu MB of CR+LF lines of 20-200 characters\n", mb);
    for (const Run& r : runs) {
        double append_s = 0, convert_s = 0;
        run(link, data, r.drain, r.each, r.mode, append_s, convert_s, sink);
        std::printf("%-38s convert %8.1f MB/s (%.3f s, %lld lines, %lld sink calls)  append %8.1f MB/s\n", r.name,
                    double(data.size()) / 1e6 / convert_s, convert_s, sink.lines, sink.calls,
                    double(data.size()) / 1e6 / append_s);
    }
    const std::string coloured = coloured_lines(mb * 1000000);
    for (bool ansi : {false, true}) {
        double append_s = 0, convert_s = 0;
        run(link, coloured, 30000, true, rx_lb_crlf, append_s, convert_s, sink, ansi);
        std::printf("coloured log, 30 KB drains, ANSI colours %-3s convert %8.1f MB/s (%.3f s, %lld chars)\n",
                    ansi ? "on" : "off", double(coloured.size()) / 1e6 / convert_s, convert_s, sink.chars);
    }
    return 0;
}
