// Idle worker threads: after a run of empty passes they poll less often, and
// the first bytes after the lull still arrive and leave complete.
#include <random>
#include <thread>
#include <vector>

#include "link/port_threads_internal.h"
#include "sim_fixture.h"

namespace {

using Call = SimPortDriver::Call;

TEST(IdlePause, ReceivePauseKeepsTheDriverQueueHalfEmpty)
{
    struct Case {
        std::int32_t baud, rx_size, sleep, expected;
    };
    const Case cases[] = {
        {115200, 8192, 1, 20},   // the queue would take 355 ms to half fill
        {3000000, 8192, 1, 13},  // 13.65 ms
        {3000000, 256, 1, 1},    // never below the configured pause
        {3000000, 256, 0, 0},    // 0.43 ms: still a yield
        {921600, 4096, 5, 20},   // 22 ms
        {9600, 8192, 100, 100},  // a longer configured pause stays as it is
        {1, 256, 30, 30},
    };
    for (const Case& c : cases) {
        PortSettings s;
        s.port_baud = c.baud;
        s.port_rx_size = c.rx_size;
        s.port_rxth_sleep = c.sleep;
        EXPECT_EQ(rx_idle_pause_ms(s), c.expected) << c.baud << " " << c.rx_size << " " << c.sleep;
    }
    PortSettings s;
    s.port_txth_sleep = 1;
    EXPECT_EQ(tx_idle_pause_ms(s), idle_pause_cap_ms);
    s.port_txth_sleep = 50;
    EXPECT_EQ(tx_idle_pause_ms(s), 50);
}

TEST_F(SimLinkTest, IdleThreadsPollRarelyAndWakeForData)
{
    sim.set_paced(false);
    port_settings.port_rxth_size = 65536;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(rx_quiet_before_backoff_ms + 100));  // past the quick passes
    const int before = sim.call_count(Call::clear_error);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const int polls = sim.call_count(Call::clear_error) - before;
    EXPECT_LE(polls, 40) << "an idle receive thread polls every millisecond";
    EXPECT_GE(polls, 5) << "an idle receive thread stopped polling";

    std::vector<unsigned char> data(3000);
    std::mt19937 gen(7);
    for (auto& b : data) b = static_cast<unsigned char>(gen());
    sim.peer_write(1, data.data(), data.size());
    ASSERT_TRUE(eventually([&] { return link.rx_fill() == std::int32_t(data.size()); }, 1000));
    std::vector<unsigned char> got(data.size());
    ASSERT_EQ(link.rx_get(got.data(), std::int32_t(got.size())), 0);
    EXPECT_EQ(got, data);
    ASSERT_EQ(link.tx_put(data.data(), std::int32_t(data.size())), 0);
    std::vector<unsigned char> sent;
    ASSERT_TRUE(eventually([&] {
        auto part = sim.peer_read(1);
        sent.insert(sent.end(), part.begin(), part.end());
        return sent.size() >= data.size();
    }));
    EXPECT_EQ(sent, data);
}

}  // namespace
