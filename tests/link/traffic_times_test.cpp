// Read and write times from the worker threads, on a scripted clock: the
// simulated peer sends at set times, so each read's time is known exactly and
// no test sleeps for the durations it checks.
#include <string>

#include "link/traffic_frames.h"
#include "sim_fixture.h"
#include "tests/link/scripted_clock.h"

namespace {

class TrafficTimesTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        sim.add_port(1);
        sim.set_paced(false);
        settings.port_rxth_size = 65536;
        ASSERT_EQ(link.com_connect(settings), 0);
        ASSERT_EQ(link.rx_store_init(4096), 0);
    }
    void TearDown() override { link.com_disconnect(); }

    // The peer's bytes arrive at `us`; back once the receive thread has put them.
    void receive_at(std::int64_t us, const std::string& bytes)
    {
        const std::int32_t before = link.rx_fill();
        sim.peer_write_at(1, us, bytes.data(), bytes.size());
        sim.set_script_time(us);
        ASSERT_TRUE(eventually_true([&] { return link.rx_fill() == before + std::int32_t(bytes.size()); }));
    }
    // Put at `us`; back once the peer has the bytes.
    void send_at(std::int64_t us, const std::string& bytes)
    {
        sim.set_script_time(us);
        ASSERT_EQ(link.tx_put(bytes.data(), std::int32_t(bytes.size())), 0);
        ASSERT_TRUE(eventually_true([&] { return sim.peer_available(1) >= bytes.size(); }));
        sim.peer_read(1);
    }
    std::string store_text(const TrafficFrame& f)
    {
        const RxStore* store = nullptr;
        link.rx_store_info(&store);
        return std::string(reinterpret_cast<const char*>(store->data) + f.first, std::size_t(f.length));
    }

    SimPortDriver sim;
    ScriptedClock clock{sim};
    SerialLink link{sim, clock};
    PortSettings settings;
};

TEST_F(TrafficTimesTest, ReadsAndWritesCarryTheirScriptedTimes)
{
    send_at(1000, "PING\r");
    receive_at(41000, "PONG\r");
    receive_at(71000, "F1");
    receive_at(101000, "F2");
    sim.set_script_time(105000);
    ASSERT_EQ(link.rx_store_append(), 0);

    const TrafficRecord& r = link.traffic();
    ASSERT_EQ(r.rx_read_count(), 3u);
    const std::int32_t pos[] = {0, 5, 7};
    const std::int64_t times[] = {41000, 71000, 101000};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(r.rx_read_pos(i), pos[i]) << i;
        EXPECT_EQ(r.rx_read_time(i), times[i]) << i;
    }
    EXPECT_EQ(r.rx_end(), 9);
    ASSERT_EQ(r.tx_write_count(), 1u);
    EXPECT_EQ(r.tx_write_time(0), 1000);
    EXPECT_EQ(r.tx_end(), 5);
    EXPECT_EQ(r.tx_byte(0), 'P');
    // Nothing in the FIFO or the thread's hand: the record is complete up to now.
    EXPECT_EQ(r.complete_before(), 105000);

    TrafficFrames frames;
    frames.set_rules({30, false, 0});
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    frames.update(r, store->data);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].dir, TrafficDir::tx);
    EXPECT_EQ(frames.reply_us(1), 40000);
    EXPECT_EQ(store_text(frames[1]), "PONG\r");
    EXPECT_EQ(frames.gap_us(2), 30000);  // exactly the gap: a new frame
    EXPECT_EQ(store_text(frames[3]), "F2");
    EXPECT_EQ(frames.reply_stats().count, 1);
}

TEST_F(TrafficTimesTest, AnotherTakerOfTheFifoTakesTheNotesOfItsBytes)
{
    receive_at(1000, "AB");
    unsigned char two[2];
    ASSERT_EQ(link.rx_get(two, 2), 0);  // a transfer diverting received bytes
    receive_at(2000, "C");
    sim.set_script_time(3000);
    ASSERT_EQ(link.rx_store_append(), 0);
    ASSERT_EQ(link.traffic().rx_read_count(), 1u);
    EXPECT_EQ(link.traffic().rx_read_time(0), 2000);
    EXPECT_EQ(link.traffic().rx_end(), 1);
}

TEST_F(TrafficTimesTest, DisconnectTakesTheLastWritesAndFreesTheNotes)
{
    send_at(500, "x");
    link.com_disconnect();
    EXPECT_EQ(link.traffic().tx_write_count(), 1u);
    EXPECT_EQ(link.traffic().complete_before(), TrafficRecord::all_in);
    EXPECT_FALSE(link.rx_side().reads.exists());
    EXPECT_FALSE(link.tx_side().writes.exists());
    EXPECT_EQ(link.tx_side().sent.start, nullptr);
    // "Clear rx data" empties the record with the store.
    ASSERT_EQ(link.rx_store_init(4096), 0);
    EXPECT_EQ(link.traffic().tx_write_count(), 0u);
    EXPECT_EQ(link.traffic().tx_end(), 0);
}

}  // namespace
