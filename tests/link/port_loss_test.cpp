// A port that goes away under the worker threads: the receive thread reports
// the loss only after every byte it read is in the FIFO, then stops calling
// the driver; brief failures are no loss; line error masks are counted.
#include <thread>
#include <vector>

#include "link/line_errors.h"
#include "link/usart.h"
#include "sim_fixture.h"

namespace {

using Call = SimPortDriver::Call;
using Bytes = std::vector<unsigned char>;

class PortLossTest : public SimLinkTest {
 protected:
    void SetUp() override
    {
        SimLinkTest::SetUp();
        port_settings.port_rxth_size = 65536;
        link.line_errors_reset();
    }
    Bytes take_fifo()
    {
        Bytes got(static_cast<std::size_t>(link.rx_fill()));
        if (!got.empty()) {
            EXPECT_EQ(link.rx_get(got.data(), std::int32_t(got.size())), 0);
        }
        return got;
    }
    static void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

TEST_F(PortLossTest, LossIsReportedAfterTheLastByteAndTheDriverIsLeftAlone)
{
    port_settings.port_baud = 921600;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(30000, 1);
    sim.peer_write(1, data.data(), data.size());
    ASSERT_TRUE(eventually([&] { return link.rx_fill() > 2000; }));
    sim.vanish(1);
    ASSERT_TRUE(eventually([&] { return link.rx_port_lost(); }, 2000));
    const Bytes got = take_fifo();
    ASSERT_GT(got.size(), 2000u);
    ASSERT_LT(got.size(), data.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));

    // No more calls on the dead handle from the receive thread.
    const int counts = sim.call_count(Call::clear_error), reads = sim.call_count(Call::read);
    pause(200);
    EXPECT_EQ(sim.call_count(Call::clear_error), counts);
    EXPECT_EQ(sim.call_count(Call::read), reads);
    EXPECT_EQ(link.com_disconnect(), 0);
    expect_closed();
    // The next connection starts without the flag.
    sim.reappear(1);
    ASSERT_EQ(link.com_connect(port_settings), 0);
    EXPECT_FALSE(link.rx_port_lost());
}

TEST_F(PortLossTest, BytesHeldByAFullFifoAreDeliveredBeforeTheLoss)
{
    // Paced with RTS flow control, so the driver's queue never overruns.
    port_settings.port_baud = 3000000;
    port_settings.port_rx_handshake = 1;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(80000, 2);
    sim.peer_write(1, data.data(), data.size());
    // Nobody drains: the FIFO fills and the thread holds one read.
    ASSERT_TRUE(eventually([&] { return link.rx_fill() > 60000; }));
    pause(30);
    sim.vanish(1);
    pause(400);
    EXPECT_FALSE(link.rx_port_lost()) << "reported while a read was still held back";
    Bytes got = take_fifo();
    ASSERT_TRUE(eventually([&] { return link.rx_port_lost(); }, 2000));
    const Bytes rest = take_fifo();
    EXPECT_GT(rest.size(), 0u);
    got.insert(got.end(), rest.begin(), rest.end());
    ASSERT_LE(got.size(), data.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
}

TEST_F(PortLossTest, BriefDriverFailuresAreNoLoss)
{
    sim.set_paced(false);
    ASSERT_EQ(link.com_connect(port_settings), 0);
    sim.fail(Call::clear_error, 5);
    pause(60);
    sim.fail(Call::read, SimPortDriver::always);
    const Bytes data = random_bytes(3000, 3);
    sim.peer_write(1, data.data(), data.size());
    pause(100);
    sim.heal();
    ASSERT_TRUE(eventually([&] { return link.rx_fill() == std::int32_t(data.size()); }));
    EXPECT_FALSE(link.rx_port_lost());
    EXPECT_EQ(take_fifo(), data);
}

TEST_F(PortLossTest, LineErrorsOfEveryKindAreCountedAndCostNoData)
{
    port_settings.port_baud = 921600;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const Bytes data = random_bytes(20000, 4);
    sim.peer_write(1, data.data(), data.size());
    // Masks arrive while the receive thread polls; each is noted exactly once.
    const std::uint32_t masks[] = {PORT_CE_FRAME, PORT_CE_OVERRUN | PORT_CE_RXPARITY, PORT_CE_BREAK, PORT_CE_FRAME};
    std::uint32_t framing = 0;
    for (std::uint32_t mask : masks) {
        framing += (mask & PORT_CE_FRAME) ? 1 : 0;
        sim.inject_errors(1, mask);
        ASSERT_TRUE(eventually([&] { return link.line_errors_read().framing == framing; }));
    }
    ASSERT_TRUE(eventually([&] { return link.rx_fill() == std::int32_t(data.size()); }));
    const LineErrorCounts c = link.line_errors_read();
    EXPECT_EQ(c.framing, 2u);
    EXPECT_EQ(c.overrun, 1u);
    EXPECT_EQ(c.parity, 1u);
    EXPECT_EQ(c.breaks, 1u);
    EXPECT_EQ(c.rx_overflow, 0u);
    EXPECT_EQ(take_fifo(), data);
    EXPECT_EQ(sim.bytes_lost(1), 0u);
}

}  // namespace
