// Port layer result codes and the values it hands to the driver, checked
// against the simulated device with fault injection.
#include <cstring>

#include "link/usart.h"
#include "sim_fixture.h"

namespace {

using Call = SimPortDriver::Call;

bool same_dcb(const PortDcb& a, const PortDcb& b)
{
    return a.BaudRate == b.BaudRate && a.ByteSize == b.ByteSize && a.Parity == b.Parity && a.StopBits == b.StopBits &&
           a.fBinary == b.fBinary && a.fOutxCtsFlow == b.fOutxCtsFlow && a.fRtsControl == b.fRtsControl &&
           a.fDtrControl == b.fDtrControl;
}

class UsartTest : public SimLinkTest {
 protected:
    PortHandle open1()
    {
        PortHandle h = nullptr;
        EXPECT_EQ(link.usart().usart_open(&h, 1), 0);
        return h;
    }
    void TearDown() override
    {
        link.usart().usart_close(&h_);
        SimLinkTest::TearDown();
    }
    PortHandle h_ = nullptr;
};

TEST_F(UsartTest, DeviceNameFollowsWindowsVersion)
{
    char name[32];
    sim.set_os_major_version(4);
    link.usart().usart_device_name(12, name, sizeof name);
    EXPECT_STREQ(name, "COM12");
    sim.set_os_major_version(5);
    link.usart().usart_device_name(12, name, sizeof name);
    EXPECT_STREQ(name, "\\\\.\\COM12");
}

TEST_F(UsartTest, OpenResultCodes)
{
    EXPECT_EQ(link.usart().usart_open(nullptr, 1), 1);
    struct Case {
        int n;
        int result;
    } cases[] = {{0, 2}, {257, 2}, {-1, 2}, {3, 3}, {256, 0}, {1, 0}};
    for (const auto& c : cases) {
        PortHandle h = reinterpret_cast<PortHandle>(1);
        EXPECT_EQ(link.usart().usart_open(&h, c.n), c.result) << c.n;
        if (c.result == 3) {
            EXPECT_EQ(h, nullptr);
        }
        if (c.result == 0) {
            EXPECT_NE(h, nullptr);
            EXPECT_EQ(link.usart().usart_close(&h), 0);
        }
    }
}

TEST_F(UsartTest, OpenIsExclusiveAndProbeClosesAgain)
{
    EXPECT_EQ(link.usart().usart_probe(0), 1);
    EXPECT_EQ(link.usart().usart_probe(257), 1);
    EXPECT_EQ(link.usart().usart_probe(3), 1);
    EXPECT_EQ(link.usart().usart_probe(1), 0);
    EXPECT_FALSE(sim.is_open(1));
    h_ = open1();
    EXPECT_EQ(link.usart().usart_probe(1), 1);
    PortHandle second = nullptr;
    EXPECT_EQ(link.usart().usart_open(&second, 1), 3);
    sim.fail(Call::open);
    EXPECT_EQ(link.usart().usart_probe(2), 1);
}

TEST_F(UsartTest, ClosePurgesTransmitSideAndNullsSlot)
{
    EXPECT_EQ(link.usart().usart_close(nullptr), 1);
    PortHandle none = nullptr;
    EXPECT_EQ(link.usart().usart_close(&none), 0);
    PortHandle h = open1();
    EXPECT_EQ(link.usart().usart_close(&h), 0);
    EXPECT_EQ(h, nullptr);
    EXPECT_FALSE(sim.is_open(1));
    ASSERT_EQ(sim.purges(1).size(), 1u);
    EXPECT_EQ(sim.purges(1)[0], PORT_PURGE_TXABORT | PORT_PURGE_TXCLEAR);
}

TEST_F(UsartTest, ConfigureResultCodesInCheckOrder)
{
    h_ = open1();
    struct Case {
        const char* what;
        int baud, stop, parity, bits;
        Call fault;
        int result;
    } cases[] = {
        {"baud 0", 0, 10, 0, 8, Call::count_, 1},
        {"baud above 3000000", 3000001, 10, 0, 8, Call::count_, 1},
        {"baud checked before bits", 0, 10, 0, 4, Call::count_, 1},
        {"bits 4", 9600, 10, 0, 4, Call::count_, 4},
        {"bits 9", 9600, 10, 0, 9, Call::count_, 4},
        {"bits checked before state", 9600, 10, 0, 9, Call::get_state, 4},
        {"GetCommState fails", 9600, 10, 0, 8, Call::get_state, 256},
        {"state read before stop check", 9600, 12, 0, 8, Call::get_state, 256},
        {"stop 12", 9600, 12, 0, 8, Call::count_, 2},
        {"stop checked before parity", 9600, 12, 5, 8, Call::count_, 2},
        {"parity 5", 9600, 10, 5, 8, Call::count_, 3},
        {"parity -1", 9600, 10, -1, 8, Call::count_, 3},
        {"SetCommState fails", 9600, 10, 0, 8, Call::set_state, 257},
        {"1.5 stop bits with 8 bits refused by the driver", 9600, 15, 0, 8, Call::count_, 257},
        {"1.5 stop bits with 5 bits", 9600, 15, 0, 5, Call::count_, 0},
        {"3000000", 3000000, 20, 2, 7, Call::count_, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PortDcb before = sim.dcb(1);
        if (c.fault != Call::count_) sim.fail(c.fault);
        EXPECT_EQ(link.usart().usart_configure(h_, c.baud, c.stop, c.parity, c.bits, 0, 0), c.result);
        sim.heal();
        if (c.result != 0) {
            EXPECT_TRUE(same_dcb(before, sim.dcb(1))) << "nothing written to the port";
        }
    }
}

TEST_F(UsartTest, ConfigureMapsSettingsToDcbAndKeepsOtherFields)
{
    h_ = open1();
    struct Case {
        int stop, parity, rx_hs, tx_hs;
        std::uint8_t stop_bits, parity_value;
        std::uint32_t cts, dsr, rts, dtr;
    } cases[] = {
        {10, 0, 0, 0, PORT_ONESTOPBIT, PORT_NOPARITY, 0, 0, PORT_RTS_CONTROL_ENABLE, PORT_DTR_CONTROL_ENABLE},
        {20, 1, 1, 1, PORT_TWOSTOPBITS, PORT_ODDPARITY, 1, 0, PORT_RTS_CONTROL_HANDSHAKE, PORT_DTR_CONTROL_ENABLE},
        {10, 2, 2, 2, PORT_ONESTOPBIT, PORT_EVENPARITY, 0, 1, PORT_RTS_CONTROL_ENABLE, PORT_DTR_CONTROL_HANDSHAKE},
        {10, 3, 0, 0, PORT_ONESTOPBIT, PORT_SPACEPARITY, 0, 0, PORT_RTS_CONTROL_ENABLE, PORT_DTR_CONTROL_ENABLE},
        {10, 4, 0, 0, PORT_ONESTOPBIT, PORT_MARKPARITY, 0, 0, PORT_RTS_CONTROL_ENABLE, PORT_DTR_CONTROL_ENABLE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "parity " << c.parity << " stop " << c.stop);
        ASSERT_EQ(link.usart().usart_configure(h_, 19200, c.stop, c.parity, 7, c.rx_hs, c.tx_hs), 0);
        const PortDcb d = sim.dcb(1);
        EXPECT_EQ(d.BaudRate, 19200u);
        EXPECT_EQ(d.ByteSize, 7);
        EXPECT_EQ(d.StopBits, c.stop_bits);
        EXPECT_EQ(d.Parity, c.parity_value);
        EXPECT_EQ(d.fOutxCtsFlow, c.cts);
        EXPECT_EQ(d.fOutxDsrFlow, c.dsr);
        EXPECT_EQ(d.fRtsControl, c.rts);
        EXPECT_EQ(d.fDtrControl, c.dtr);
        EXPECT_EQ(d.fBinary, 1u);
        EXPECT_EQ(d.fAbortOnError, 0u);
        EXPECT_EQ(d.fNull, 0u);
        // What the driver reported stays.
        EXPECT_EQ(d.XonChar, 0x11);
        EXPECT_EQ(d.XoffChar, 0x13);
        EXPECT_EQ(d.XonLim, 2048);
        EXPECT_EQ(d.fTXContinueOnXoff, 1u);
    }
}

TEST_F(UsartTest, QueuesTimeoutsAndPurges)
{
    h_ = open1();
    EXPECT_EQ(link.usart().usart_set_queues(h_, 4096, 1440), 0);
    EXPECT_EQ(sim.in_queue_size(1), 4096u);
    EXPECT_EQ(sim.out_queue_size(1), 1440u);
    EXPECT_EQ(link.usart().usart_set_timeouts(h_, 3, 50, 7, 11, 13), 0);
    const PortTimeouts t = sim.timeouts(1);
    EXPECT_EQ(t.ReadIntervalTimeout, 3u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 50u);  // the constant comes before the multiplier
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 7u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 11u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 13u);
    EXPECT_EQ(link.usart().usart_purge_rx(h_), 0);
    EXPECT_EQ(link.usart().usart_purge_tx(h_), 0);
    ASSERT_EQ(sim.purges(1).size(), 2u);
    EXPECT_EQ(sim.purges(1)[0], PORT_PURGE_RXCLEAR);
    EXPECT_EQ(sim.purges(1)[1], PORT_PURGE_TXABORT | PORT_PURGE_TXCLEAR);

    struct Case {
        Call call;
        std::function<int()> run;
    } cases[] = {
        {Call::setup_queues, [&] { return link.usart().usart_set_queues(h_, 4096, 4096); }},
        {Call::set_timeouts, [&] { return link.usart().usart_set_timeouts(h_, 0, 50, 1, 0, 0); }},
        {Call::purge, [&] { return link.usart().usart_purge_rx(h_); }},
        {Call::purge, [&] { return link.usart().usart_purge_tx(h_); }},
    };
    for (auto& c : cases) {
        sim.fail(c.call);
        EXPECT_EQ(c.run(), 1);
    }
}

TEST_F(UsartTest, QueueCountsAndReads)
{
    h_ = open1();
    sim.set_paced(false);
    std::int32_t count = -7;
    EXPECT_EQ(link.usart().usart_rx_count(h_, nullptr), 1);
    EXPECT_EQ(link.usart().usart_tx_count(h_, nullptr), 1);
    sim.fail(Call::clear_error);
    EXPECT_EQ(link.usart().usart_rx_count(h_, &count), 2);
    EXPECT_EQ(count, -7);  // untouched
    sim.fail(Call::clear_error);
    EXPECT_EQ(link.usart().usart_tx_count(h_, &count), 2);
    EXPECT_EQ(count, -7);

    const unsigned char hello[5] = {'h', 'e', 'l', 'l', 'o'};
    sim.peer_write(1, hello, 5);
    EXPECT_EQ(link.usart().usart_rx_count(h_, &count), 0);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(link.usart().usart_tx_count(h_, &count), 0);
    EXPECT_EQ(count, 0);

    unsigned char buf[8] = {};
    sim.fail(Call::read);
    EXPECT_EQ(link.usart().usart_read(h_, buf, 5), -1);
    EXPECT_EQ(link.usart().usart_read(h_, nullptr, 5), -1);
    EXPECT_EQ(link.usart().usart_read(h_, buf, 3), 3);
    EXPECT_EQ(std::memcmp(buf, "hel", 3), 0);
    EXPECT_EQ(link.usart().usart_read(h_, buf, 2), 2);
    EXPECT_EQ(std::memcmp(buf, "lo", 2), 0);
}

}  // namespace
