// Connect and disconnect over the simulated device: transmit queue sizing,
// the result code of a failure at each step and what it leaves behind, and
// the port status snapshot.
#include "link/usart.h"
#include "sim_fixture.h"

namespace {

using Call = SimPortDriver::Call;
using Bytes = std::vector<unsigned char>;

TEST(TxQueueSizing, ExamplesOfOneAndAHalfSecondsOfSending)
{
    struct Case {
        int baud, bits, parity, stop, size, limit, queue, block;
    } cases[] = {
        {9600, 8, 0, 10, 8192, 1, 1440, 1024},   {300, 8, 0, 10, 8192, 1, 128, 128},  // 45 raised to the floor
        {115200, 8, 0, 10, 8192, 1, 8192, 1024},                                      // already below 1.5 s
        {9600, 7, 2, 10, 8192, 1, 1309, 1024},                                        // data bits always count as 8
        {9600, 5, 0, 20, 8192, 1, 1309, 1024},  // 2 stop bits weigh like parity + 1
        {300, 8, 0, 10, 8192, 0, 8192, 1024},   // limit off: the size as given
        {300, 8, 0, 10, 100, 0, 100, 100},      // limit off: no floor either
        {1200, 8, 1, 15, 8192, 1, 156, 156},    // 1200 / 11.5 * 1.5 = 156.5
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.baud << " baud, parity " << c.parity << ", limit " << c.limit);
        LinkSettings s;
        s.port.port_baud = c.baud;
        s.port.port_bit = c.bits;
        s.port.port_parity = c.parity;
        s.port.port_stop = c.stop;
        s.port.port_tx_size = c.size;
        s.port.port_tx_size_lim = c.limit;
        com_size_tx_queue(s);
        EXPECT_EQ(s.tx_queue_size, c.queue);
        EXPECT_EQ(s.tx_block_limit, c.block);
    }
}

class ComTest : public SimLinkTest {};

TEST_F(ComTest, ConnectSetsUpPortFifosAndThreadsAndDisconnectUndoesIt)
{
    port_settings.port_baud = 9600;
    port_settings.port_rx_size = 4096;
    port_settings.port_rx_to = 30;
    port_settings.port_rx_mult = 2;
    port_settings.port_rxth_size = 65536;
    port_settings.port_txth_size = 131072;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    EXPECT_TRUE(link.connected());
    EXPECT_TRUE(sim.is_open(1));
    EXPECT_TRUE(link.threads().rx_thread_exists());
    EXPECT_TRUE(link.threads().tx_thread_exists());
    EXPECT_EQ(link.rx_side().fifo.capacity, 65536);
    EXPECT_EQ(link.tx_side().fifo.capacity, 131072);
    EXPECT_EQ(link.settings().tx_queue_size, 1440);
    EXPECT_EQ(sim.dcb(1).BaudRate, 9600u);
    EXPECT_EQ(sim.in_queue_size(1), 4096u);
    EXPECT_EQ(sim.out_queue_size(1), 1440u);
    const PortTimeouts t = sim.timeouts(1);
    EXPECT_EQ(t.ReadIntervalTimeout, 0u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 30u);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 0u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 0u);
    ASSERT_FALSE(sim.purges(1).empty());
    EXPECT_EQ(sim.purges(1)[0], PORT_PURGE_RXCLEAR);

    EXPECT_EQ(link.com_disconnect(), 0);
    expect_closed();
    EXPECT_EQ(sim.purges(1).back(), PORT_PURGE_TXABORT | PORT_PURGE_TXCLEAR);
    EXPECT_EQ(link.com_disconnect(), 0);  // again: nothing left to undo
}

// The record belongs to the window thread: what it does to it after the
// connect reaches neither the running link nor its threads.
TEST_F(ComTest, ConnectRunsOnASnapshotOfTheRecord)
{
    sim.set_paced(false);
    port_settings.port_baud = 9600;
    port_settings.port_rx_handshake = 1;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    port_settings.port_baud = 300;
    port_settings.port_rx_handshake = 0;
    port_settings.port_tx_size_lim = 0;
    EXPECT_EQ(link.settings().port.port_baud, 9600);
    EXPECT_EQ(link.settings().tx_queue_size, 1440);
    EXPECT_EQ(link.com_set_rts(false), 2) << "still driven by the connection's flow control";
    const Bytes data = random_bytes(3000, 3);
    ASSERT_EQ(link.tx_put(data.data(), 3000), 0);
    EXPECT_TRUE(eventually([&] { return sim.peer_available(1) == 3000; }));
    EXPECT_EQ(sim.peer_read(1), data);

    // The next connect takes the record as it is then.
    link.com_disconnect();
    EXPECT_EQ(link.settings().port.port_baud, 9600) << "kept until the next connect";
    ASSERT_EQ(link.com_connect(port_settings), 0);
    EXPECT_EQ(link.settings().port.port_baud, 300);
    EXPECT_EQ(link.settings().tx_queue_size, 8192);
    EXPECT_EQ(link.com_set_rts(false), 0);
}

TEST_F(ComTest, FailureAtEachStepReportsItsCodeAndLeavesNothingBehind)
{
    struct Case {
        const char* step;
        std::function<void(SimPortDriver&)> arrange;
        int result;
    } cases[] = {
        {"open", [&](SimPortDriver& s) { s.fail(Call::open); }, 1},
        {"port number 0", [&](SimPortDriver&) { port_settings.port_num = 0; }, 1},
        {"port number 257", [&](SimPortDriver&) { port_settings.port_num = 257; }, 1},
        {"no such device", [&](SimPortDriver&) { port_settings.port_num = 9; }, 1},
        {"GetCommState", [&](SimPortDriver& s) { s.fail(Call::get_state); }, 1},
        {"SetCommState", [&](SimPortDriver& s) { s.fail(Call::set_state); }, 1},
        {"bad stop bits", [&](SimPortDriver&) { port_settings.port_stop = 11; }, 1},
        {"SetupComm", [&](SimPortDriver& s) { s.fail(Call::setup_queues); }, 1},
        {"SetCommTimeouts", [&](SimPortDriver& s) { s.fail(Call::set_timeouts); }, 1},
        {"receive purge", [&](SimPortDriver& s) { s.fail(Call::purge); }, 1},
        {"receive FIFO", [&](SimPortDriver&) { port_settings.port_rxth_size = 65535; }, 2},
        {"transmit FIFO", [&](SimPortDriver&) { port_settings.port_txth_size = 8388609; }, 4},
        {"receive thread", [&](SimPortDriver&) { resources.fail_next_create(true, false); }, 3},
        {"transmit thread", [&](SimPortDriver&) { resources.fail_next_create(false, true); }, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        port_settings = PortSettings{};
        c.arrange(sim);
        EXPECT_EQ(link.com_connect(port_settings), c.result);
        sim.heal();
        resources.fail_next_create(false, false);
        expect_closed();
        // The link is usable again at once.
        port_settings = PortSettings{};
        EXPECT_EQ(link.com_connect(port_settings), 0);
        EXPECT_EQ(link.com_disconnect(), 0);
    }
}

TEST_F(ComTest, PortHeldByAnotherProgramFailsWithOne)
{
    PortHandle other = sim.open("\\\\.\\COM1", false);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(link.com_connect(port_settings), 1);
    EXPECT_FALSE(link.threads().rx_thread_exists());
    EXPECT_EQ(link.com_port(), nullptr);
    sim.close(other);
    EXPECT_EQ(link.com_connect(port_settings), 0);
}

TEST_F(ComTest, PortNumber256IsAccepted)
{
    port_settings.port_num = 256;
    EXPECT_EQ(link.com_connect(port_settings), 0);
    EXPECT_TRUE(sim.is_open(256));
}

TEST_F(ComTest, PortStatusSnapshot)
{
    PortDcb dcb;
    PortComStat stat;
    std::uint32_t modem = 0;
    EXPECT_EQ(link.port_status(&dcb, &stat, &modem), 1);  // no port
    port_settings.port_baud = 57600;
    port_settings.port_rx_size = 4096;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    EXPECT_EQ(link.port_status(&dcb, nullptr, &modem), 1);
    EXPECT_EQ(link.port_status(&dcb, &stat, nullptr), 1);
    EXPECT_EQ(link.port_status(nullptr, &stat, &modem), 1);

    // A failed modem status (a port without modem lines) still reads the comm state.
    struct Case {
        Call fault;
        int result;
        bool state_read;
    } cases[] = {
        {Call::clear_error, 2, false},
        {Call::modem_status, 3, true},
        {Call::get_state, 4, false},
    };
    for (const auto& c : cases) {
        // The receive thread calls ClearCommError too: fail it for good so
        // the snapshot is sure to meet the failure, then heal.
        sim.fail(c.fault, SimPortDriver::always);
        dcb = PortDcb{};
        EXPECT_EQ(link.port_status(&dcb, &stat, &modem), c.result);
        EXPECT_EQ(dcb.BaudRate == 57600u, c.state_read) << c.result;
        sim.heal();
    }
    sim.set_modem(1, false, true, true, false);
    ASSERT_EQ(link.port_status(&dcb, &stat, &modem), 0);
    EXPECT_EQ(modem, PORT_MS_DSR_ON | PORT_MS_RING_ON);
    EXPECT_EQ(dcb.BaudRate, 57600u);
    EXPECT_EQ(stat.cbInQue, 0u);
}

}  // namespace

TEST_F(ComTest, OutputLinesAndBreakGoThroughTheDriverWhereFlowControlAllows)
{
    EXPECT_EQ(link.com_set_dtr(false), 1);  // no port open
    EXPECT_EQ(link.com_break(true), 1);
    const struct {
        int rx_handshake;
        int dtr_result, rts_result;
    } cases[] = {{0, 0, 0}, {1, 0, 2}, {2, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rx_handshake);
        port_settings.port_rx_handshake = c.rx_handshake;
        ASSERT_EQ(link.com_connect(port_settings), 0);
        EXPECT_TRUE(sim.dtr(1) && sim.rts(1));  // on from the connect
        EXPECT_TRUE(link.com_lines().dtr && link.com_lines().rts && !link.com_lines().in_break);
        EXPECT_EQ(link.com_set_dtr(false), c.dtr_result);
        EXPECT_EQ(link.com_set_rts(false), c.rts_result);
        EXPECT_EQ(sim.dtr(1), c.dtr_result != 0);
        EXPECT_EQ(sim.rts(1), c.rts_result != 0);
        EXPECT_EQ(link.com_lines().dtr, c.dtr_result != 0);
        EXPECT_EQ(link.com_lines().rts, c.rts_result != 0);
        // The driver itself refuses a line that its handshake drives.
        EXPECT_EQ(link.usart().usart_set_rts(link.com_port(), false), c.rx_handshake == 1 ? 1 : 0);
        EXPECT_EQ(link.usart().usart_set_dtr(link.com_port(), true), c.rx_handshake == 2 ? 1 : 0);

        EXPECT_EQ(link.com_break(true), 0);
        EXPECT_TRUE(sim.in_break(1) && link.com_lines().in_break);
        EXPECT_EQ(link.com_break(false), 0);
        EXPECT_FALSE(sim.in_break(1));
        link.com_disconnect();
    }
    EXPECT_EQ(sim.break_log(1), (std::vector<bool>{true, false, true, false, true, false}));

    // A refusing driver leaves the recorded state as it was.
    port_settings.port_rx_handshake = 0;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    sim.fail(SimPortDriver::Call::escape);
    EXPECT_EQ(link.com_set_dtr(false), 3);
    EXPECT_TRUE(link.com_lines().dtr && sim.dtr(1));
    sim.fail(SimPortDriver::Call::set_break);
    EXPECT_EQ(link.com_break(true), 3);
    EXPECT_FALSE(link.com_lines().in_break || sim.in_break(1));
    // Closing the port ends a break in progress.
    EXPECT_EQ(link.com_break(true), 0);
    link.com_disconnect();
    EXPECT_FALSE(link.com_lines().in_break);
}
