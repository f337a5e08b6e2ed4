// The receive tick without a window: bytes go from the FIFO into the store and
// into lines, and the rate between ticks sets the next interval.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/sim_port_driver.h"
#include "tests/link/recording_sink.h"
#include "tests/link/scripted_clock.h"
#include "tests/link/rx_feed.h"
#include "views/receive_tick.h"

namespace {

class ReceiveTickTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        rx_feed_open(link);
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, link.rx_text_attach(&sink));
        link.rx_text_line_break(1);  // LF
    }
    SimPortDriver sim;
    SerialLink link{sim};
    RecordingSink sink;
    ReceiveTick tick;
};

TEST_F(ReceiveTickTest, CountsBytesAndLinesAndPacesByTheRate)
{
    const struct {
        std::uint32_t at_ms;
        std::string bytes;
        std::int32_t total;
        int lines;
        int interval_ms;
    } ticks[] = {
        // The view's rows: a line break opens the next (empty) row.
        {1000, "ab\ncd\n", 6, 3, 100},                        // the first tick has no rate yet
        {2000, std::string(2047, 'x') + "\n", 2054, 1, 225},  // 2 kB/s, into the open row
        {2500, "", 2054, 0, 100},                             // nothing came
        {2600, std::string(8192, 'y'), 10246, 0, 1000},       // 80 kB/s: the slowest pace
        {2700, "\n", 10247, 1, 100},
    };
    for (const auto& t : ticks) {
        SCOPED_TRACE(t.at_ms);
        ASSERT_TRUE(rx_feed(link, t.bytes));
        const ReceiveTickResult r = tick.run(link, sink, t.at_ms, 0);
        EXPECT_EQ(r.rx_waiting, std::int32_t(t.bytes.size()));
        EXPECT_LE(r.drained.store, 0);
        EXPECT_EQ(r.bytes, t.total);
        EXPECT_EQ(ReceiveTick::store_length(link), t.total);
        EXPECT_EQ(r.lines, t.lines);
        EXPECT_EQ(r.interval_ms, t.interval_ms);
        EXPECT_EQ(link.rx_fill(), 0);
    }
}

TEST(ReceiveTickStamps, EachLineTakesTheReadTimeOfItsFirstByte)
{
    SimPortDriver sim;
    sim.add_port(1);
    sim.set_paced(false);
    ScriptedClock clock{sim};
    SerialLink link{sim, clock};
    PortSettings settings;
    settings.port_rxth_size = 65536;
    ASSERT_EQ(link.com_connect(settings), 0);
    ASSERT_EQ(link.rx_store_init(1024), 0);
    RecordingSink sink;
    ASSERT_EQ(link.rx_text_attach(&sink), 0);
    link.rx_text_line_break(1);
    link.rx_text_timestamps(true);
    // 500 lines a second, one read each, all taken by one drain.
    for (int k = 0; k < 4; ++k) {
        const std::int64_t at = 1000 + 2000 * k;
        sim.peer_write_at(1, at, "L\n", 2);
        sim.set_script_time(at);
        ASSERT_TRUE(eventually_true([&] { return link.rx_fill() == 2 * (k + 1); }));
    }
    sim.set_script_time(20000);
    ReceiveTick tick;
    tick.run(link, sink, 100, 36000000);  // the drain at 10:00:00.000
    EXPECT_EQ(sink.lines,
              (std::vector<std::string>{"09:59:59.981 L", "09:59:59.983 L", "09:59:59.985 L", "09:59:59.987 L", ""}));
    link.com_disconnect();
}

// A line of a steady rate against ticks that come `late_ms` after the interval
// the previous tick asked for (a busy window thread). The FIFO takes what fits;
// the rest is what the line had to hold back.
struct LineRun {
    double shown_min = 1e18, shown_max = 0;  // the rates shown once settled
    std::int32_t most_waiting = 0;           // the fullest FIFO a settled tick found
    std::int64_t held = 0;                   // bytes the line held back once settled
};

// The link is connected to a silent simulated port with a receive FIFO of `capacity`.
LineRun run_line(SerialLink& link, std::int32_t capacity, double bytes_per_second, std::uint32_t late_ms)
{
    EXPECT_EQ(0, link.rx_store_init(1048576));
    RecordingSink sink;
    ReceiveTick tick;
    const std::string line(std::size_t(capacity), 'x');
    LineRun run;
    std::uint32_t now = 1000;
    double due = 0;  // bytes the line has delivered and the FIFO not yet taken
    int interval = 100;
    for (int k = 0; k < 10; ++k) {
        const std::uint32_t period = std::uint32_t(interval) + (k == 0 ? 0 : late_ms);
        now += period;
        due += bytes_per_second * period / 1000.0;
        const std::int32_t free_space = capacity - 1 - link.rx_fill();
        const std::int32_t n = due < free_space ? std::int32_t(due) : free_space;
        EXPECT_TRUE(rx_feed(link, std::string_view(line).substr(0, std::size_t(n))));
        due -= n;
        const ReceiveTickResult r = tick.run(link, sink, now, 0);
        interval = r.interval_ms;
        if (k < 5) {
            due = 0;  // what the line held while the meter found its rate
            continue;
        }
        run.held += std::int64_t(due);
        run.most_waiting = std::max(run.most_waiting, r.rx_waiting);
        run.shown_min = std::min(run.shown_min, r.rate);
        run.shown_max = std::max(run.shown_max, r.rate);
    }
    return run;
}

TEST(ReceiveTickRate, ReadsTheLineAtEveryIntervalTheTimerChooses)
{
    constexpr std::int32_t capacity = 65536;  // the smallest receive FIFO the settings allow
    SimPortDriver sim;
    sim.add_port(1);
    SerialLink link{sim};
    PortSettings settings;
    settings.port_rxth_size = capacity;
    ASSERT_EQ(link.com_connect(settings), 0);
    struct Case {
        int interval_ms;
        double rate;
    };
    // Serial rates keep the table's steps; past them the interval is the FIFO's
    // half-full time, any whole millisecond from the fastest to 1000.
    std::vector<Case> cases = {{100, 400}, {150, 800}, {225, 1500}, {333, 3000}, {750, 8000}, {1000, 30000}};
    for (int ms = timer1_fastest_ms; ms < 1000; ++ms) cases.push_back({ms, capacity * 500.0 / (ms + 0.5)});
    for (const Case& c : cases) {
        ASSERT_EQ(timer1_interval_for(c.rate, capacity), c.interval_ms) << c.rate;
        for (std::uint32_t late : {0u, 15u}) {
            SCOPED_TRACE(testing::Message() << c.interval_ms << " ms, " << c.rate << " B/s, " << late << " ms late");
            const LineRun run = run_line(link, capacity, c.rate, late);
            EXPECT_EQ(run.held, 0);
            // The shown rate is the line's, to the rounding of whole bytes and milliseconds.
            EXPECT_NEAR(run.shown_min, c.rate, c.rate * 0.01 + 1000.0 / c.interval_ms);
            EXPECT_NEAR(run.shown_max, c.rate, c.rate * 0.01 + 1000.0 / c.interval_ms);
            // Late ticks plan for the longer period: the FIFO stays under half full
            // wherever the fastest tick leaves room for the lateness.
            if (capacity * 500.0 / c.rate - late >= timer1_fastest_ms) {
                EXPECT_LE(run.most_waiting, capacity / 2);
            }
        }
    }
    link.com_disconnect();
}

TEST(Timer1Interval, StepsWithTheRate)
{
    const struct {
        double rate;
        int ms;
    } cases[] = {{0, 100},    {512, 100},  {513, 150},  {1024, 150},  {1025, 225},   {2048, 225},
                 {2049, 333}, {4096, 333}, {4097, 750}, {16384, 750}, {16385, 1000}, {1e9, 1000}};
    for (auto c : cases) {
        EXPECT_EQ(timer1_interval_for(c.rate), c.ms) << c.rate;
        // Serial rates with the default receive FIFO keep the table.
        if (c.rate <= 300000) {
            EXPECT_EQ(timer1_interval_for(c.rate, 1048576), c.ms) << c.rate;
        }
    }
}

TEST(Timer1Interval, PtySpeedsDrainBeforeTheFifoIsHalfFull)
{
    // 1 MiB FIFO at 4 MiB/s: half full after 125 ms, instead of 1000.
    EXPECT_EQ(timer1_interval_for(4194304, 1048576), 125);
    EXPECT_EQ(timer1_interval_for(1e9, 1048576), timer1_fastest_ms);
    EXPECT_EQ(timer1_interval_for(4194304, 8388608), 1000);  // a big FIFO keeps the table
}

}  // namespace
