// Frame-time accuracy of the link under Wine: a peer on the far end of a pty
// pair answers each request after a known delay and then sends five frames
// 10 ms apart; the link's traffic record, cut at a 5 ms frame gap, should
// split every frame and measure each reply within a few ms of the peer's own
// figure. Prints the distribution of the reply error and the split count.
// Usage: bench_traffic_accuracy <link port> <peer port> [rounds] [reply delay ms]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "link/serial_link.h"
#include "link/traffic_frames.h"
#include "link/win32_port_driver.h"
#include "platform/clock.h"
#include "tests/link/wine_peer.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_traffic_accuracy <link port> <peer port> [rounds] [reply delay ms]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 50;
    const int delay_ms = argc > 4 ? std::atoi(argv[4]) : 20;
    constexpr int burst = 5;
    RawPeer peer(std::atoi(argv[2]));
    if (!peer.is_open()) return 1;
    Win32PortDriver driver;
    SerialLink link(driver);
    PortSettings settings;
    settings.port_num = std::atoi(argv[1]);
    settings.port_baud = 115200;
    if (link.com_connect(settings) != 0 || link.rx_store_init(1 << 20) != 0) {
        std::fprintf(stderr, "connect failed\n");
        return 1;
    }
    // The peer's own figures: from the request read to the reply written, and
    // the gaps between its frames' writes.
    std::vector<double> peer_delay(std::size_t(rounds), 0), peer_gaps;
    std::atomic<int> answered{0};
    std::thread device([&] {
        for (int r = 0; r < rounds; ++r) {
            if (peer.read_up_to(2, 5000).size() != 2) return;
            const std::int64_t got = monotonic_us();
            Sleep(DWORD(delay_ms));
            peer.write_all("R\r", 2, 1000);
            peer_delay[std::size_t(r)] = (monotonic_us() - got) / 1000.0;
            std::int64_t last = monotonic_us();
            for (int f = 0; f < burst; ++f) {
                Sleep(10);
                const std::int64_t now = monotonic_us();
                peer_gaps.push_back((now - last) / 1000.0);
                last = now;
                peer.write_all("f\r", 2, 1000);
            }
            answered = r + 1;
        }
    });
    for (int r = 0; r < rounds; ++r) {
        link.tx_put("Q\r", 2);
        while (answered <= r) {
            Sleep(20);
            link.rx_store_append();
        }
        Sleep(30);
        link.rx_store_append();
    }
    device.join();
    Sleep(50);
    link.rx_store_append();
    link.com_disconnect();

    TrafficFrames frames;
    frames.set_rules({5, false, 0});
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    frames.update(link.traffic(), store->data);
    std::vector<double> errors;
    int rx_frames = 0, round = -1;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].dir == TrafficDir::tx) {
            ++round;
            continue;
        }
        const std::int64_t reply = frames.reply_us(i);
        if (reply >= 0 && round >= 0 && round < rounds)
            errors.push_back(reply / 1000.0 - peer_delay[std::size_t(round)]);
        else
            ++rx_frames;
    }
    std::sort(errors.begin(), errors.end());
    std::sort(peer_gaps.begin(), peer_gaps.end());
    const auto at = [](const std::vector<double>& v, double q) {
        return v.empty() ? 0.0 : v[std::size_t(q * (v.size() - 1))];
    };
    std::printf("rounds %d, reply delay %d ms, frames %zu\n", rounds, delay_ms, frames.size());
    std::printf(
        "reply error (measured - peer's own) ms: min %.2f p10 %.2f median %.2f p90 %.2f max %.2f (%zu replies)\n",
        at(errors, 0), at(errors, 0.1), at(errors, 0.5), at(errors, 0.9), at(errors, 1), errors.size());
    std::printf("peer frame gaps ms: min %.2f median %.2f max %.2f\n", at(peer_gaps, 0), at(peer_gaps, 0.5),
                at(peer_gaps, 1));
    std::printf("burst frames split at a 5 ms gap: %d of %d\n", rx_frames, rounds * burst);
    return 0;
}
