// com_connect with Win32PortDriver under Wine: the receive and transmit threads
// move real bytes through a pty pair; COM_B is a raw peer at the other end.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "link/serial_link.h"
#include "link/win32_port_driver.h"
#include "wine_peer.h"

namespace {

class ComConnectWine : public ::testing::Test {
 protected:
    void SetUp() override
    {
        a_ = env_port("OLVEX_COM_A");
        b_ = env_port("OLVEX_COM_B");
        if (a_ == 0 || b_ == 0) GTEST_SKIP() << "OLVEX_COM_A/OLVEX_COM_B not set (needs Wine and a pty pair)";
        port_settings.port_num = a_;
        peer_ = std::make_unique<RawPeer>(b_);
        ASSERT_TRUE(peer_->is_open());
    }
    void TearDown() override
    {
        link.com_disconnect();
        // Whatever a test left in the pty must not reach the next one.
        if (peer_ && peer_->is_open()) {
            EXPECT_TRUE(peer_->discard_pending(200)) << "the peer could not be drained: " << GetLastError();
        }
    }

    // Drains the receive FIFO like the main window's timer, every `period_ms`,
    // until n bytes have come or nothing came for idle_ms.
    std::vector<std::uint8_t> drain(std::size_t n, DWORD period_ms, DWORD idle_ms)
    {
        std::vector<std::uint8_t> out;
        out.reserve(n);
        DWORD last = GetTickCount();
        while (out.size() < n && GetTickCount() - last < idle_ms) {
            const std::int32_t fill = link.rx_fill();
            if (fill > 0) {
                const std::size_t at = out.size();
                out.resize(at + std::size_t(fill));
                EXPECT_EQ(link.rx_get(out.data() + at, fill), 0);
                last = GetTickCount();
            }
            Sleep(period_ms);
        }
        return out;
    }

    int a_ = 0, b_ = 0;
    std::unique_ptr<RawPeer> peer_;
    Win32PortDriver driver;
    SerialLink link{driver};
    PortSettings port_settings;
};

// 1 MB from the peer reaches the receive FIFO complete and in order, whether the
// consumer keeps up or lets a small FIFO fill (the thread then holds its read).
TEST_F(ComConnectWine, PeerBytesArriveCompleteAndInOrder)
{
    struct Case {
        std::int32_t fifo;
        DWORD drain_period_ms;
    };
    for (const Case c : {Case{1048576, 1}, Case{65536, 100}}) {
        SCOPED_TRACE(testing::Message() << "fifo " << c.fifo << ", drained every " << c.drain_period_ms << " ms");
        port_settings.port_rxth_size = c.fifo;
        ASSERT_EQ(link.com_connect(port_settings), 0);
        ASSERT_TRUE(link.connected());
        const auto data = random_bytes(1 << 20, 7 + c.fifo);
        std::atomic<bool> written{false};
        std::thread writer([&] { written = peer_->write_all(data.data(), data.size(), 60000); });
        const auto got = drain(data.size(), c.drain_period_ms, 5000);
        writer.join();
        EXPECT_TRUE(written);
        ASSERT_EQ(got.size(), data.size());
        EXPECT_TRUE(got == data) << "first difference at "
                                 << (std::mismatch(got.begin(), got.end(), data.begin()).first - got.begin());
        EXPECT_EQ(link.com_disconnect(), 0);
        EXPECT_FALSE(link.connected());
    }
}

// Bytes put with tx_put reach the peer complete and in order, put in pieces of
// many sizes as the transmit FIFO has room.
TEST_F(ComConnectWine, PutBytesReachThePeerCompleteAndInOrder)
{
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const auto data = random_bytes(300000, 11);
    std::vector<std::uint8_t> got;
    std::thread reader([&] { got = peer_->read_up_to(data.size(), 5000); });
    std::size_t at = 0, piece = 1;
    const DWORD start = GetTickCount();
    while (at < data.size() && GetTickCount() - start < 30000) {
        const std::size_t n = std::min({piece, data.size() - at, std::size_t(link.tx_free())});
        if (n > 0 && link.tx_put(data.data() + at, std::int32_t(n)) == 0) {
            at += n;
            piece = piece * 3 % 5000 + 1;
        } else {
            Sleep(1);
        }
    }
    reader.join();
    EXPECT_EQ(at, data.size());
    ASSERT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
    EXPECT_EQ(link.tx_timeout_flag(), 0);
}

// Wine accepts only about 32 KB while the far end does not read, and the rest
// of a write stays pending. A peer that starts reading within the time-out then
// gets every byte, uncorrupted by the blocks queued behind the pending write.
TEST_F(ComConnectWine, PendingWriteKeepsItsBytesUntilThePeerReads)
{
    ASSERT_EQ(link.com_connect(port_settings), 0);
    link.tx_timeout_reset();
    const auto data = random_bytes(200000, 13);
    ASSERT_EQ(link.tx_put(data.data(), std::int32_t(data.size())), 0);
    Sleep(600);
    EXPECT_GT(link.tx_fill(), 0) << "the far end is not reading, so the FIFO cannot have emptied";
    const auto got = peer_->read_up_to(data.size(), 3000);
    ASSERT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
    EXPECT_EQ(link.tx_timeout_flag(), 0);
}

// A far end that never reads: after the two-second time-out the FIFO is empty,
// the flag is up, the pending write is ended, and the link works on: new bytes
// follow what the pty had already taken, which is a prefix of the old data.
TEST_F(ComConnectWine, FarEndThatNeverReadsTimesOutAndTheLinkRecovers)
{
    ASSERT_EQ(link.com_connect(port_settings), 0);
    link.tx_timeout_reset();
    const auto old_data = random_bytes(300000, 17);
    ASSERT_EQ(link.tx_put(old_data.data(), std::int32_t(old_data.size())), 0);
    const DWORD start = GetTickCount();
    while (link.tx_timeout_flag() == 0 && GetTickCount() - start < 10000) Sleep(50);
    ASSERT_EQ(link.tx_timeout_flag(), 1);
    EXPECT_GE(GetTickCount() - start, 2000u);
    EXPECT_EQ(link.tx_fill(), 0);

    link.tx_timeout_reset();
    const auto new_data = random_bytes(5000, 19);
    ASSERT_EQ(link.tx_put(new_data.data(), std::int32_t(new_data.size())), 0);
    const auto got = peer_->read_up_to(old_data.size() + new_data.size(), 3000);
    ASSERT_GE(got.size(), new_data.size());
    const std::size_t old_part = got.size() - new_data.size();
    EXPECT_LT(old_part, old_data.size());
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + old_part, old_data.begin())) << "old bytes corrupted";
    EXPECT_TRUE(std::equal(got.begin() + old_part, got.end(), new_data.begin())) << "new bytes corrupted";
    EXPECT_EQ(link.tx_timeout_flag(), 0);
}

// Disconnecting while a write is pending neither hangs nor leaves anything open.
TEST_F(ComConnectWine, DisconnectEndsAPendingWrite)
{
    ASSERT_EQ(link.com_connect(port_settings), 0);
    const auto data = random_bytes(200000, 23);
    ASSERT_EQ(link.tx_put(data.data(), std::int32_t(data.size())), 0);
    Sleep(300);
    const DWORD start = GetTickCount();
    EXPECT_EQ(link.com_disconnect(), 0);
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_EQ(link.com_port(), nullptr);
    EXPECT_FALSE(link.connected());
    // The port is free again.
    ASSERT_EQ(link.com_connect(port_settings), 0);
}

TEST_F(ComConnectWine, MissingDeviceFailsWithCode1AndLeavesNothingOpen)
{
    const int missing = env_port("OLVEX_COM_MISSING");
    if (missing == 0) GTEST_SKIP() << "OLVEX_COM_MISSING not set";
    port_settings.port_num = missing;
    EXPECT_EQ(link.com_connect(port_settings), 1);
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(link.com_port(), nullptr);
    EXPECT_EQ(link.tx_put("x", 1), 2);
}

// The probe of the port settings dialog opens without the overlapped flag and
// closes again at once: the pair's end is found, the missing device is not,
// and a probed port can be connected right after.
TEST_F(ComConnectWine, ProbeFindsThePortAndNotTheMissingOne)
{
    const int missing = env_port("OLVEX_COM_MISSING");
    EXPECT_EQ(link.usart_probe(a_), 0);
    if (missing != 0) {
        EXPECT_EQ(link.usart_probe(missing), 1);
    }
    EXPECT_EQ(link.com_connect(port_settings), 0);
}

}  // namespace
