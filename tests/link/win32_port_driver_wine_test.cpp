// Win32PortDriver against a real tty under Wine: COM_A is the port under test,
// COM_B the raw peer at the other end of the pty pair, COM_MISSING names no device.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

#include "link/win32_port_driver.h"
#include "wine_peer.h"

namespace {

std::string device_name(int port)
{
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
    return name;
}

class Win32PortDriverWine : public ::testing::Test {
 protected:
    void SetUp() override
    {
        a_ = env_port("OLVEX_COM_A");
        b_ = env_port("OLVEX_COM_B");
        if (a_ == 0 || b_ == 0) GTEST_SKIP() << "OLVEX_COM_A/OLVEX_COM_B not set (needs Wine and a pty pair)";
        h_ = drv_.open(device_name(a_).c_str(), true);
        ASSERT_NE(h_, nullptr) << "open COM" << a_ << " failed: " << GetLastError();
        peer_ = std::make_unique<RawPeer>(b_);
        ASSERT_TRUE(peer_->is_open());
        ASSERT_TRUE(drv_.set_timeouts(h_, PortTimeouts{0, 1, 50, 0, 0}));
    }
    void TearDown() override
    {
        if (h_) {
            drv_.purge(h_, PORT_PURGE_TXABORT | PORT_PURGE_TXCLEAR | PORT_PURGE_RXCLEAR);
            drv_.close(h_);
        }
        // Whatever a test left in the pty must not reach the next one.
        if (peer_ && peer_->is_open()) {
            EXPECT_TRUE(peer_->discard_pending(200)) << "the peer could not be drained: " << GetLastError();
        }
    }

    // Waits until the driver reports at least n received bytes.
    std::uint32_t wait_rx(std::uint32_t n)
    {
        PortComStat st;
        for (int i = 0; i < 2000; ++i) {
            if (!drv_.clear_error(h_, nullptr, &st)) return 0;
            if (st.cbInQue >= n) break;
            Sleep(1);
        }
        return st.cbInQue;
    }

    Win32PortDriver drv_;
    PortHandle h_ = nullptr;
    int a_ = 0, b_ = 0;
    std::unique_ptr<RawPeer> peer_;
};

TEST(Win32PortDriverOpen, MissingDeviceAndBadNamesFail)
{
    const int missing = env_port("OLVEX_COM_MISSING");
    if (missing == 0) GTEST_SKIP() << "OLVEX_COM_MISSING not set";
    Win32PortDriver drv;
    for (const std::string& name : {device_name(missing), std::string("\\\\.\\COM0"), std::string("")}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(drv.open(name.c_str(), true), nullptr);
        EXPECT_EQ(drv.open(name.c_str(), false), nullptr);
    }
}

TEST(Win32PortDriverOpen, ReportsAModernWindowsVersion)
{
    EXPECT_GE(Win32PortDriver().os_major_version(), 5u);
}

// Each line setting written through the driver reads back unchanged, and the
// fields the terminal never sets keep what the device reported. (A pty forces
// 8 data bits and no parity, so those two are checked only for a write that
// the device accepts.)
TEST_F(Win32PortDriverWine, LineSettingsRoundTrip)
{
    struct Case {
        std::uint32_t baud;
        std::uint8_t bits, parity, stop;
        std::uint32_t cts;
    };
    const Case cases[] = {
        {115200, 8, PORT_NOPARITY, PORT_ONESTOPBIT, 0},    {9600, 7, PORT_EVENPARITY, PORT_TWOSTOPBITS, 1},
        {57600, 6, PORT_ODDPARITY, PORT_ONESTOPBIT, 0},    {1200, 5, PORT_MARKPARITY, PORT_TWOSTOPBITS, 1},
        {230400, 8, PORT_SPACEPARITY, PORT_ONESTOPBIT, 0},
    };
    PortDcb before;
    ASSERT_TRUE(drv_.get_state(h_, &before));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.baud << " " << int(c.bits) << " parity " << int(c.parity) << " stop "
                                        << int(c.stop));
        PortDcb want = before;
        want.BaudRate = c.baud;
        want.ByteSize = c.bits;
        want.Parity = c.parity;
        want.StopBits = c.stop;
        want.fBinary = 1;
        want.fOutxCtsFlow = c.cts;
        ASSERT_TRUE(drv_.set_state(h_, want));
        PortDcb got;
        ASSERT_TRUE(drv_.get_state(h_, &got));
        EXPECT_EQ(got.BaudRate, c.baud);
        EXPECT_EQ(got.StopBits, c.stop);
        EXPECT_EQ(got.fBinary, 1u);
        EXPECT_EQ(got.fOutxCtsFlow, c.cts);
        EXPECT_EQ(got.XonChar, before.XonChar);
        EXPECT_EQ(got.XoffChar, before.XoffChar);
        EXPECT_EQ(got.fOutX, before.fOutX);
        EXPECT_EQ(got.fInX, before.fInX);
    }
}

// The seam's fields land in the COMMTIMEOUTS members of the same name.
TEST_F(Win32PortDriverWine, TimeoutsLandInTheirPlaces)
{
    ASSERT_TRUE(drv_.set_timeouts(h_, PortTimeouts{7, 3, 250, 11, 13}));
    COMMTIMEOUTS t{};
    ASSERT_TRUE(GetCommTimeouts(static_cast<HANDLE>(h_), &t));
    EXPECT_EQ(t.ReadIntervalTimeout, 7u);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 3u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 250u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 11u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 13u);
}

TEST_F(Win32PortDriverWine, ReadsWhatThePeerWroteInOrder)
{
    const auto data = random_bytes(3000, 1);
    ASSERT_TRUE(peer_->write_all(data.data(), data.size(), 5000));
    ASSERT_EQ(wait_rx(3000), 3000u);
    std::vector<std::uint8_t> got(4000);
    std::uint32_t n1 = 0, n2 = 0;
    ASSERT_TRUE(drv_.read(h_, got.data(), 1000, &n1));
    ASSERT_EQ(n1, 1000u);
    ASSERT_TRUE(drv_.read(h_, got.data() + 1000, 2000, &n2));
    ASSERT_EQ(n2, 2000u);
    got.resize(3000);
    EXPECT_EQ(got, data);
}

TEST_F(Win32PortDriverWine, ReadOfAnEmptyQueueEndsByTheTimeouts)
{
    std::uint8_t b[16];
    std::uint32_t n = 99;
    const DWORD t0 = GetTickCount();
    const bool ok = drv_.read(h_, b, sizeof b, &n);
    EXPECT_TRUE(ok) << GetLastError();
    EXPECT_EQ(n, 0u);
    EXPECT_LT(GetTickCount() - t0, 2000u);
}

// The waiting read a file transfer's receive thread uses: one byte under a
// total time-out alone ends by that constant when nothing comes, and within a
// few milliseconds of a byte written meanwhile.
TEST_F(Win32PortDriverWine, WaitingReadEndsAtItsConstantOrAtTheFirstByte)
{
    ASSERT_TRUE(drv_.set_timeouts(h_, PortTimeouts{0, 0, 40, 0, 0}));
    std::uint8_t b[1];
    std::uint32_t n = 99;
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    EXPECT_TRUE(drv_.read(h_, b, 1, &n)) << GetLastError();
    QueryPerformanceCounter(&t1);
    EXPECT_EQ(n, 0u);
    const double idle_ms = double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(f.QuadPart);
    EXPECT_GE(idle_ms, 30.0);
    EXPECT_LT(idle_ms, 500.0);

    double worst_ms = 0;
    for (std::uint8_t i = 0; i < 20; ++i) {
        std::thread writer([&] {
            Sleep(5);
            QueryPerformanceCounter(&t0);
            peer_->write_all(&i, 1, 1000);
        });
        n = 0;
        EXPECT_TRUE(drv_.read(h_, b, 1, &n)) << GetLastError();
        QueryPerformanceCounter(&t1);
        writer.join();
        ASSERT_EQ(n, 1u);
        EXPECT_EQ(b[0], i);
        worst_ms = std::max(worst_ms, double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(f.QuadPart));
    }
    std::printf("waiting read: idle end %.1f ms, worst wake after a byte %.2f ms\n", idle_ms, worst_ms);
    EXPECT_LT(worst_ms, 10.0);
}

TEST_F(Win32PortDriverWine, PurgeDropsReceivedBytes)
{
    const auto data = random_bytes(500, 2);
    ASSERT_TRUE(peer_->write_all(data.data(), data.size(), 5000));
    ASSERT_EQ(wait_rx(500), 500u);
    ASSERT_TRUE(drv_.purge(h_, PORT_PURGE_RXCLEAR));
    PortComStat st;
    ASSERT_TRUE(drv_.clear_error(h_, nullptr, &st));
    EXPECT_EQ(st.cbInQue, 0u);
}

// A write the peer reads completes with its whole count, bytes in order.
TEST_F(Win32PortDriverWine, WriteReachesThePeer)
{
    const auto data = random_bytes(20000, 3);
    PortWriteRecord rec;
    PortIo io = drv_.write(h_, data.data(), std::uint32_t(data.size()), rec);
    ASSERT_NE(io, PortIo::failed);
    const auto got = peer_->read_up_to(data.size(), 3000);
    std::uint32_t sent = 0;
    for (int i = 0; i < 300 && io == PortIo::pending; ++i) {
        io = drv_.write_result(h_, rec, &sent);
        if (io == PortIo::pending) Sleep(10);
    }
    ASSERT_EQ(io, PortIo::done);
    if (sent == 0) sent = std::uint32_t(data.size());  // finished at once: count not reported
    EXPECT_EQ(sent, data.size());
    EXPECT_EQ(got, data);
}

// With the peer not reading, a large write stays pending; only cancelling ends
// it, and the record reports the end as a failure.
TEST_F(Win32PortDriverWine, PendingWriteEndsOnlyWhenCancelled)
{
    const auto data = random_bytes(512 * 1024, 4);
    PortWriteRecord rec;
    ASSERT_EQ(drv_.write(h_, data.data(), std::uint32_t(data.size()), rec), PortIo::pending);
    Sleep(200);
    std::uint32_t sent = 1;
    EXPECT_EQ(drv_.write_result(h_, rec, &sent), PortIo::pending);
    EXPECT_EQ(sent, 0u);
    ASSERT_TRUE(drv_.cancel_io(h_));
    PortIo io = PortIo::pending;
    for (int i = 0; i < 200 && io == PortIo::pending; ++i) {
        io = drv_.write_result(h_, rec, &sent);
        if (io == PortIo::pending) Sleep(10);
    }
    EXPECT_EQ(io, PortIo::failed);
    // What did get out is a prefix of the data.
    const auto got = peer_->read_up_to(data.size(), 500);
    ASSERT_LT(got.size(), data.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
}

TEST_F(Win32PortDriverWine, ClearErrorTakesMissingOutArguments)
{
    EXPECT_TRUE(drv_.clear_error(h_, nullptr, nullptr));
    std::uint32_t errors = 0xffff;
    EXPECT_TRUE(drv_.clear_error(h_, &errors, nullptr));
    EXPECT_EQ(errors, 0u);
    PortDcb dcb;
    EXPECT_FALSE(drv_.get_state(h_, nullptr));
    EXPECT_TRUE(drv_.get_state(h_, &dcb));
}

}  // namespace
