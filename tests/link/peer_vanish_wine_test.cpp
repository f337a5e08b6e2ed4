// The far end of the line vanishing under a connected port: the worker threads
// must neither crash, store garbage nor spin, and disconnect must end at once.
// Needs its own pty pair, since the pair's relay has to be killed: the test
// starts one through a Unix shell (Wine runs Unix programs) and maps it to two
// COM numbers of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "link/serial_link.h"
#include "link/win32_port_driver.h"
#include "own_pty_pair.h"
#include "wine_peer.h"

namespace {

ULONGLONG process_cpu_ms()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto ms = [](FILETIME f) { return ((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

TEST(PeerVanishWine, ThreadsNeitherCrashNorSpinAndDisconnectEnds)
{
    const int base_a = env_port("OLVEX_COM_A"), base_b = env_port("OLVEX_COM_B");
    if (base_a == 0 || base_b == 0) GTEST_SKIP() << "OLVEX_COM_A/OLVEX_COM_B not set (needs Wine and a pty pair)";
    if (!under_wine() || (!std::getenv("OLVEX_DOSDEVICES") && !std::getenv("WINEPREFIX")))
        GTEST_SKIP() << "needs Wine and its COM links (OLVEX_DOSDEVICES or WINEPREFIX)";
    const int a = base_a + 10, b = base_b + 10;
    OwnPtyPair pair(a, b);
    ASSERT_TRUE(pair.ok()) << "could not start a pty pair through /bin/sh";

    Win32PortDriver driver;
    SerialLink link(driver);
    PortSettings port_settings;
    port_settings.port_num = a;
    ASSERT_EQ(link.com_connect(port_settings), 0);
    {
        RawPeer peer(b);
        ASSERT_TRUE(peer.is_open());
        const auto data = random_bytes(10000, 29);
        ASSERT_TRUE(peer.write_all(data.data(), data.size(), 5000));
        std::vector<std::uint8_t> got(data.size());
        std::size_t at = 0;
        for (int i = 0; i < 500 && at < data.size(); ++i) {
            const std::int32_t n = std::min<std::int32_t>(link.rx_fill(), std::int32_t(data.size() - at));
            if (n > 0 && link.rx_get(got.data() + at, n) == 0) at += std::size_t(n);
            Sleep(10);
        }
        ASSERT_EQ(at, data.size());
        EXPECT_TRUE(got == data);
        // Something for the transmit thread to be busy with when the line goes.
        const auto more = random_bytes(100000, 31);
        ASSERT_EQ(link.tx_put(more.data(), std::int32_t(more.size())), 0);
        Sleep(100);
        ASSERT_TRUE(pair.vanish());
    }
    Sleep(500);
    PortDcb dcb;
    PortComStat stat;
    std::uint32_t modem = 0;
    ASSERT_EQ(link.port_status(&dcb, &stat, &modem), 2) << "the port should report its far end gone";
    const ULONGLONG cpu0 = process_cpu_ms();
    const DWORD t0 = GetTickCount();
    Sleep(2000);
    const ULONGLONG cpu = process_cpu_ms() - cpu0;
    const DWORD wall = GetTickCount() - t0;
    EXPECT_LT(cpu, wall / 2) << "the worker threads spin on a vanished port";
    EXPECT_EQ(link.rx_fill(), 0) << "a failed read was stored as data";

    const DWORD start = GetTickCount();
    EXPECT_EQ(link.com_disconnect(), 0);
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_EQ(link.com_port(), nullptr);
    EXPECT_FALSE(link.connected());
}

}  // namespace
