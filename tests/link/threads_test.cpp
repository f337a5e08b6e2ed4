// The worker threads against the simulated device: data both ways complete
// and in order, a full receive FIFO, flow control and the two-second time-out,
// hold, drop request, pending writes, failed reads, a vanishing port, the
// stop protocol and the waits a file transfer's threads make.
#include <atomic>
#include <future>
#include <vector>

#include "platform/doorbell.h"
#include "link/usart.h"
#include "sim_fixture.h"

namespace {

using Call = SimPortDriver::Call;
using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;

class WorkerThreadTest : public SimLinkTest {
 protected:
    void SetUp() override
    {
        SimLinkTest::SetUp();
        port_settings.port_rxth_size = 65536;
        port_settings.port_txth_size = 262144;
    }

    // Drains the receive FIFO like the main window's timer, until `n` bytes came.
    Bytes drain(std::size_t n, int ms = 3000)
    {
        Bytes got;
        eventually(
            [&] {
                const std::int32_t fill = link.rx_fill();
                if (fill > 0) {
                    const std::size_t at = got.size();
                    got.resize(at + static_cast<std::size_t>(fill));
                    EXPECT_EQ(link.rx_get(got.data() + at, fill), 0);
                }
                return got.size() >= n;
            },
            ms);
        return got;
    }

    // Collects what reaches the peer until `n` bytes came.
    Bytes peer_collect(int port, std::size_t n, int ms = 3000)
    {
        Bytes got;
        eventually(
            [&] {
                const Bytes part = sim.peer_read(port);
                got.insert(got.end(), part.begin(), part.end());
                return got.size() >= n;
            },
            ms);
        return got;
    }

    // Puts all of `data`, as fast as the transmit FIFO takes it.
    void put_all(const Bytes& data)
    {
        std::size_t at = 0;
        ASSERT_TRUE(eventually(
            [&] {
                const auto n = std::min<std::size_t>(static_cast<std::size_t>(link.tx_free()), data.size() - at);
                if (n > 0) {
                    EXPECT_EQ(link.tx_put(data.data() + at, static_cast<std::int32_t>(n)), 0);
                    at += n;
                }
                return at == data.size();
            },
            10000));
    }

    // CTS flow control with CTS off and a driver queue of 1500 bytes that a
    // 115200 baud line drains in about 130 ms once CTS comes on.
    void connect_held_by_cts()
    {
        port_settings.port_tx_handshake = 1;
        port_settings.port_tx_size_lim = 0;
        port_settings.port_tx_size = 1500;
        ASSERT_EQ(link.com_connect(port_settings), 0);
        sim.set_modem(1, false, true, false, false);
    }
};

TEST_F(WorkerThreadTest, ReceivedBytesArriveCompleteAndInOrder)
{
    port_settings.port_baud = 921600;
    port_settings.port_rx_handshake = 1;  // a starved thread must not cost bytes in the driver
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(20000, 1);
    sim.peer_write(1, data.data(), data.size());
    EXPECT_EQ(drain(data.size()), data);
    EXPECT_EQ(sim.bytes_lost(1), 0u);
}

TEST_F(WorkerThreadTest, FullReceiveFifoHoldsItsReadAndLosesNothing)
{
    sim.set_paced(false);
    port_settings.port_rx_size = 4096;
    port_settings.port_rx_handshake = 1;  // the driver holds the peer off when its queue fills
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(300000, 2);
    sim.peer_write(1, data.data(), data.size());
    // Nobody drains: the FIFO fills as far as whole reads fit, then reading stops.
    ASSERT_TRUE(eventually([&] { return link.rx_fill() > 65535 - 4096 && sim.rx_queued(1) == 4096; }));
    const std::int32_t level = link.rx_fill();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(link.rx_fill(), level);
    EXPECT_GT(sim.peer_unsent(1), 0u);
    EXPECT_EQ(drain(data.size(), 10000), data);
    EXPECT_EQ(sim.bytes_lost(1), 0u);
}

// Nothing of a link is shared with another: two links on two ports of one
// device move their own bytes both ways and count their own line errors.
TEST_F(WorkerThreadTest, TwoLinksRunSideBySide)
{
    sim.set_paced(false);
    port_settings.port_rx_handshake = 1;  // the driver holds each peer off while its queue is full
    SerialLink second(sim);
    PortSettings on_com2 = port_settings;
    on_com2.port_num = 2;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    ASSERT_EQ(second.com_connect(on_com2), 0);
    const Bytes to1 = random_bytes(20000, 41), to2 = random_bytes(30000, 42);
    sim.inject_errors(2, PORT_CE_FRAME);
    sim.peer_write(1, to1.data(), to1.size());
    sim.peer_write(2, to2.data(), to2.size());
    EXPECT_EQ(drain(to1.size()), to1);
    Bytes got2;
    EXPECT_TRUE(eventually([&] {
        const std::int32_t n = second.rx_fill();
        if (n > 0) {
            const std::size_t at = got2.size();
            got2.resize(at + std::size_t(n));
            EXPECT_EQ(second.rx_get(got2.data() + at, n), 0);
        }
        return got2.size() >= to2.size();
    }));
    EXPECT_EQ(got2, to2);
    EXPECT_TRUE(eventually([&] { return second.line_errors_read().framing == 1; }));
    EXPECT_EQ(link.line_errors_read().framing, 0u);

    ASSERT_EQ(second.tx_put("two", 3), 0);
    EXPECT_EQ(peer_collect(2, 3), (Bytes{'t', 'w', 'o'}));
    EXPECT_EQ(sim.peer_available(1), 0u);
    EXPECT_EQ(second.com_disconnect(), 0);
    EXPECT_TRUE(link.connected() && link.threads().rx_thread_exists() && sim.is_open(1));
}

TEST_F(WorkerThreadTest, FailedCountOrReadIsNeverData)
{
    sim.set_paced(false);
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(5000, 3);
    for (Call call : {Call::read, Call::clear_error}) {
        sim.fail(call, SimPortDriver::always);
        sim.peer_write(1, data.data(), data.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_EQ(link.rx_fill(), 0);
        sim.heal();
        EXPECT_EQ(drain(data.size()), data);
    }
}

TEST_F(WorkerThreadTest, TransmittedBytesArriveCompleteAndInOrderWithinTheQueueSize)
{
    port_settings.port_baud = 3000000;
    port_settings.port_tx_size = 4096;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(100000, 4);
    std::uint32_t most = 0;
    std::atomic<bool> done{false};
    auto watcher = std::async(std::launch::async, [&] {
        while (!done) {
            most = std::max(most, sim.tx_queued(1));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    put_all(data);
    EXPECT_EQ(peer_collect(1, data.size()), data);
    done = true;
    watcher.wait();
    EXPECT_GT(most, 0u);
    EXPECT_LE(most, 4096u);
    EXPECT_EQ(link.tx_timeout_flag(), 0);
}

// 100 ms pauses would make 98 cut blocks take ten seconds; between cut blocks
// the thread must not pause at all.
TEST_F(WorkerThreadTest, CutBlocksFollowEachOtherWithoutPause)
{
    sim.set_paced(false);
    port_settings.port_txth_sleep = 100;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(100000, 5);
    const auto start = Clock::now();
    ASSERT_EQ(link.tx_put(data.data(), static_cast<std::int32_t>(data.size())), 0);
    EXPECT_EQ(peer_collect(1, data.size(), 5000), data);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2500));
}

// A block that was not cut ends with a pause: the next small put waits for it.
TEST_F(WorkerThreadTest, WholeBlockIsFollowedByAPause)
{
    sim.set_paced(false);
    port_settings.port_txth_sleep = 100;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes a = random_bytes(10, 15), b = random_bytes(10, 16);
    ASSERT_EQ(link.tx_put(a.data(), 10), 0);
    ASSERT_EQ(peer_collect(1, 10), a);
    const auto sent_a = Clock::now();
    ASSERT_EQ(link.tx_put(b.data(), 10), 0);
    ASSERT_EQ(peer_collect(1, 10), b);
    EXPECT_GE(Clock::now() - sent_a, std::chrono::milliseconds(50));
}

TEST_F(WorkerThreadTest, FlowControlHoldsTheLineThenTimesOutAndRecovers)
{
    connect_held_by_cts();
    const Bytes data = random_bytes(5000, 6);
    const auto start = Clock::now();
    ASSERT_EQ(link.tx_put(data.data(), 5000), 0);
    ASSERT_TRUE(eventually([&] { return sim.tx_queued(1) == 1500; }));
    EXPECT_EQ(sim.peer_available(1), 0u);  // the line really stops
    ASSERT_TRUE(eventually([&] { return link.tx_timeout_flag() == 1; }, 4000));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1900));
    EXPECT_EQ(link.tx_fill(), 0);
    EXPECT_EQ(sim.tx_queued(1), 0u);
    EXPECT_EQ(sim.purges(1).back(), PORT_PURGE_TXABORT | PORT_PURGE_TXCLEAR);
    EXPECT_EQ(sim.peer_available(1), 0u);

    sim.set_modem(1, true, true, false, false);
    const Bytes hello{'h', 'e', 'l', 'l', 'o'};
    ASSERT_EQ(link.tx_put(hello.data(), 5), 0);
    EXPECT_EQ(peer_collect(1, 5), hello);
}

// Hold stops writing and the time-out clock; the progress time does not move,
// so a block held past two seconds times out at the first attempt after.
TEST_F(WorkerThreadTest, HoldStopsWritingAndTimeoutCounting)
{
    connect_held_by_cts();
    const Bytes data = random_bytes(4000, 7);
    ASSERT_EQ(link.tx_put(data.data(), 4000), 0);
    ASSERT_TRUE(eventually([&] { return sim.tx_queued(1) == 1500; }));
    link.tx_hold(1);
    const std::int32_t fill = link.tx_fill();
    std::this_thread::sleep_for(std::chrono::milliseconds(2300));
    EXPECT_EQ(link.tx_timeout_flag(), 0);
    EXPECT_EQ(link.tx_fill(), fill);
    EXPECT_EQ(sim.tx_queued(1), 1500u);
    link.tx_hold(0);
    EXPECT_TRUE(eventually([&] { return link.tx_timeout_flag() == 1; }, 500));
}

TEST_F(WorkerThreadTest, HeldThreadTakesNoBlockAndSendsAfterRelease)
{
    sim.set_paced(false);
    ASSERT_EQ(link.com_connect(port_settings), 0);
    link.tx_hold(1);
    const Bytes data = random_bytes(3000, 8);
    ASSERT_EQ(link.tx_put(data.data(), 3000), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(link.tx_fill(), 3000);
    EXPECT_EQ(sim.peer_available(1), 0u);
    link.tx_hold(0);
    EXPECT_EQ(peer_collect(1, 3000), data);
}

TEST_F(WorkerThreadTest, DropRequestAbandonsTheBlockInHand)
{
    connect_held_by_cts();
    const Bytes data = random_bytes(4000, 9);
    ASSERT_EQ(link.tx_put(data.data(), 4000), 0);
    // Blocks 1 and part of 2 sit in the driver queue; the rest of block 2 is in hand.
    ASSERT_TRUE(eventually([&] { return sim.tx_queued(1) == 1500; }));
    link.tx_clear();
    EXPECT_EQ(link.tx_fill(), 0);
    sim.set_modem(1, true, true, false, false);
    const Bytes sent = peer_collect(1, 1500);
    EXPECT_EQ(sent, Bytes(data.begin(), data.begin() + 1500));
    const Bytes x{'x'};
    ASSERT_EQ(link.tx_put(x.data(), 1), 0);
    EXPECT_EQ(peer_collect(1, 1), x);  // nothing of the dropped block comes before it
    EXPECT_EQ(link.tx_timeout_flag(), 0);
}

// Like Wine on a pty: the queue count reads 0 and back-pressure shows only as
// a write that stays pending. Its record and bytes must not be reused.
TEST_F(WorkerThreadTest, PendingWriteKeepsItsRecordAndBytes)
{
    sim.set_wine_like(true);
    port_settings.port_baud = 3000000;
    port_settings.port_tx_size = 2048;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(60000, 10);
    put_all(data);
    EXPECT_EQ(peer_collect(1, data.size()), data);
    EXPECT_GT(sim.writes_gone_pending(), 0);
    EXPECT_EQ(sim.violations(), 0);
}

TEST_F(WorkerThreadTest, TimeoutCancelsAPendingWrite)
{
    sim.set_wine_like(true);
    connect_held_by_cts();
    const Bytes data = random_bytes(5000, 11);
    ASSERT_EQ(link.tx_put(data.data(), 5000), 0);
    ASSERT_TRUE(eventually([&] { return sim.pending_writes() == 1; }));
    ASSERT_TRUE(eventually([&] { return link.tx_timeout_flag() == 1; }, 4000));
    EXPECT_TRUE(eventually([&] { return sim.pending_writes() == 0; }));
    EXPECT_EQ(link.tx_fill(), 0);
    sim.set_modem(1, true, true, false, false);
    const Bytes hello{'h', 'e', 'l', 'l', 'o'};
    ASSERT_EQ(link.tx_put(hello.data(), 5), 0);
    EXPECT_EQ(peer_collect(1, 5), hello);
    EXPECT_EQ(sim.violations(), 0);
}

TEST_F(WorkerThreadTest, StopEndsAThreadWithAWriteStillPending)
{
    sim.set_wine_like(true);
    connect_held_by_cts();
    const Bytes data = random_bytes(5000, 12);
    ASSERT_EQ(link.tx_put(data.data(), 5000), 0);
    ASSERT_TRUE(eventually([&] { return sim.pending_writes() == 1; }));
    EXPECT_EQ(link.com_disconnect(), 0);
    EXPECT_EQ(sim.pending_writes(), 0);
    expect_closed();
}

TEST_F(WorkerThreadTest, VanishingPortNeitherCorruptsNorHangs)
{
    port_settings.port_baud = 921600;
    port_settings.port_rx_handshake = 1;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(40000, 13);
    sim.peer_write(1, data.data(), data.size());
    ASSERT_TRUE(eventually([&] { return link.rx_fill() > 1000; }));
    sim.vanish(1);
    // What arrived before is a clean prefix; nothing after is invented.
    Bytes got = drain(data.size(), 200);
    ASSERT_LT(got.size(), data.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
    // A port that takes nothing any more times the transmit side out.
    const Bytes more = random_bytes(3000, 14);
    ASSERT_EQ(link.tx_put(more.data(), 3000), 0);
    EXPECT_TRUE(eventually([&] { return link.tx_timeout_flag() == 1; }, 4000));
    EXPECT_EQ(link.tx_fill(), 0);
    auto done = std::async(std::launch::async, [&] { return link.com_disconnect(); });
    ASSERT_EQ(done.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_EQ(done.get(), 0);
    expect_closed();
}

TEST_F(WorkerThreadTest, StopOfThreadsThatWereNeverResumed)
{
    PortThreads& threads = link.threads();
    EXPECT_EQ(threads.rx_thread_stop(), 1);
    EXPECT_EQ(threads.tx_thread_stop(), 1);
    EXPECT_EQ(threads.rx_thread_resume(), 1);
    EXPECT_EQ(threads.tx_thread_resume(), 1);
    PortHandle port = nullptr;
    ASSERT_EQ(link.usart().usart_open(&port, 1), 0);
    ASSERT_EQ(fifo_create(link.rx_side().fifo, 65536), 0);
    ASSERT_EQ(fifo_create(link.tx_side().fifo, 65536), 0);
    ASSERT_EQ(threads.rx_thread_create(port), 0);
    ASSERT_EQ(threads.tx_thread_create(port), 0);
    auto stopped = std::async(std::launch::async, [&] { return threads.rx_thread_stop() + threads.tx_thread_stop(); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_EQ(stopped.get(), 0);
    EXPECT_FALSE(threads.rx_thread_exists());
    EXPECT_FALSE(threads.tx_thread_exists());
    link.com_disconnect();  // the FIFOs
    link.usart().usart_close(&port);
    expect_closed();
}

// Held threads leave the port to the test: the peer's bytes stay in the
// driver's queue, a put stays in the FIFO, and the disconnect still ends both.
TEST_F(WorkerThreadTest, HeldThreadsTouchNothingUntilStopped)
{
    resources.hold_threads = true;
    sim.set_paced(false);
    ASSERT_EQ(link.com_connect(port_settings), 0);
    EXPECT_TRUE(link.threads().rx_thread_exists() && link.threads().tx_thread_exists());
    sim.peer_write(1, "abc", 3);
    ASSERT_EQ(link.tx_put("xyz", 3), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(sim.rx_queued(1), 3u);
    EXPECT_EQ(link.rx_fill(), 0);
    EXPECT_EQ(link.tx_fill(), 3);
    EXPECT_EQ(sim.peer_available(1), 0u);
    auto done = std::async(std::launch::async, [&] { return link.com_disconnect(); });
    ASSERT_EQ(done.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    expect_closed();
}

}  // namespace

TEST(Doorbell, WaitEndsAtARingOrAtItsBound)
{
    Doorbell bell;
    const std::uint32_t seen = bell.count();
    bell.ring();
    EXPECT_NE(bell.wait(seen, 5000), seen);  // rung before the wait: at once
    const std::uint32_t now = bell.count();
    auto t0 = Clock::now();
    EXPECT_EQ(bell.wait(now, 30), now);
    EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(25));
    std::thread ringer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        bell.ring();
    });
    t0 = Clock::now();
    EXPECT_NE(bell.wait(now, 5000), now);
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(2000));
    ringer.join();
}

// While a transfer runs the receive thread waits on the port with its own
// bounded time-outs, rings for every put, gives the configured time-outs back
// afterwards, and still notices a lost port and a stop.
TEST_F(WorkerThreadTest, TransferModeWaitsOnThePortAndRingsForEachArrival)
{
    port_settings.port_baud = 921600;
    RxSide& rx = link.rx_side();
    rx.transfers = 1;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    ASSERT_TRUE(eventually([&] { return sim.timeouts(1).ReadTotalTimeoutConstant == 20; }));
    EXPECT_EQ(sim.timeouts(1).ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(sim.timeouts(1).ReadIntervalTimeout, 0u);

    Bytes sent, got;
    for (unsigned i = 0; i < 5; ++i) {
        const std::uint32_t seen = rx.arrived.count();
        const Bytes part = random_bytes(1 + 300 * i, 20 + i);
        sim.peer_write(1, part.data(), part.size());
        sent.insert(sent.end(), part.begin(), part.end());
        EXPECT_NE(rx.arrived.wait(seen, 2000), seen);
        const Bytes now = drain(sent.size() - got.size());
        got.insert(got.end(), now.begin(), now.end());
    }
    EXPECT_EQ(got, sent);

    rx.transfers = 0;
    EXPECT_TRUE(eventually([&] {
        const PortTimeouts t = sim.timeouts(1);
        return t.ReadTotalTimeoutConstant == std::uint32_t(port_settings.port_rx_to) &&
               t.ReadTotalTimeoutMultiplier == std::uint32_t(port_settings.port_rx_mult);
    }));
    rx.transfers = 1;
    sim.vanish(1);
    EXPECT_TRUE(eventually([&] { return link.threads().rx_port_lost(); }, 2000));
    const auto t0 = Clock::now();
    link.com_disconnect();
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1000));
    rx.transfers = 0;
    expect_closed();
}

// While a transfer runs a protocol's 1 KiB block with its header and check goes
// out in one write; otherwise the transmit thread cuts it at 1024 bytes.
TEST_F(WorkerThreadTest, TransferModeWritesAWholeFrameAtOnce)
{
    port_settings.port_baud = 921600;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    for (const int transfers : {1, 0}) {
        SCOPED_TRACE(transfers);
        link.tx_side().transfers = transfers;
        const Bytes frame = random_bytes(1029, 40 + transfers);
        const int before = sim.call_count(SimPortDriver::Call::write);
        ASSERT_EQ(link.tx_put(frame.data(), static_cast<std::int32_t>(frame.size())), 0);
        EXPECT_EQ(peer_collect(1, frame.size()), frame);
        EXPECT_EQ(sim.call_count(SimPortDriver::Call::write) - before, transfers ? 1 : 2);
    }
}
