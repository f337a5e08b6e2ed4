// Byte FIFO throughput: put + get of one block, raw and through the locked
// transmit operations, against two plain memcpy calls of the same block size
// (the same bytes moved twice), measured in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "link/byte_fifo.h"
#include "link/data_flow.h"

namespace {

using Clock = std::chrono::steady_clock;

volatile unsigned sink;

template <class Step>
double seconds_for(std::size_t rounds, Step step)
{
    const auto start = Clock::now();
    for (std::size_t i = 0; i < rounds; ++i) step(i);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main()
{
    constexpr std::int32_t capacity = 1048576;
    constexpr std::size_t most = std::size_t{128} << 20;  // bytes per block size and method
    constexpr std::size_t most_rounds = std::size_t{1} << 23;
    const std::int32_t sizes[] = {1, 16, 64, 256, 1024, 4096, 32768};

    std::vector<unsigned char> src(32768), mid(capacity), dst(32768);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<unsigned char>(i * 7);
    ByteFifo fifo;
    TxSide tx_side;  // the transmit side a link's tx_put goes through
    if (fifo_create(fifo, capacity) != 0 || fifo_create(tx_side.fifo, capacity) != 0) {
        std::fprintf(stderr, "fifo_create failed\n");
        return 1;
    }

    std::printf("FIFO put+get vs. 2x memcpy, up to %zu MiB per block size, best of 3, capacity %d\n", most >> 20,
                capacity);
    std::printf("%8s %12s %12s %12s %9s %9s\n", "block", "memcpy MB/s", "fifo MB/s", "locked MB/s", "fifo/mc",
                "locked/mc");
    for (std::int32_t n : sizes) {
        const auto bytes = static_cast<std::size_t>(n);
        const std::size_t rounds = std::min(most / bytes, most_rounds);
        const std::size_t total = rounds * bytes;
        // memcpy through a buffer as large as the FIFO, at a moving offset, so
        // both sides touch the same amount of memory.
        std::size_t at = 0;
        const auto copy = [&](std::size_t) {
            if (at + bytes > mid.size()) at = 0;
            std::memcpy(mid.data() + at, src.data(), bytes);
            std::memcpy(dst.data(), mid.data() + at, bytes);
            at += bytes;
            sink = sink + dst[0];
        };
        const auto raw = [&](std::size_t) {
            fifo_put(fifo, src.data(), n);
            fifo_get(fifo, dst.data(), n);
            sink = sink + dst[0];
        };
        const auto locked = [&](std::size_t) {
            tx_side.put(src.data(), n);
            std::lock_guard guard(tx_side.lock);
            fifo_get(tx_side.fifo, dst.data(), n);
            sink = sink + dst[0];
        };
        // Best of three, interleaved, so a busy machine disturbs all alike.
        double t_copy = 1e9, t_fifo = 1e9, t_locked = 1e9;
        for (int rep = 0; rep < 3; ++rep) {
            t_copy = std::min(t_copy, seconds_for(rounds, copy));
            t_fifo = std::min(t_fifo, seconds_for(rounds, raw));
            t_locked = std::min(t_locked, seconds_for(rounds, locked));
        }
        const double mb = static_cast<double>(total) / 1e6;
        std::printf("%8d %12.0f %12.0f %12.0f %9.2f %9.2f\n", n, mb / t_copy, mb / t_fifo, mb / t_locked,
                    t_copy / t_fifo, t_copy / t_locked);
    }
    if (std::memcmp(src.data(), dst.data(), 1) != 0) return 1;
    return 0;
}
