// The product's port catalogue under Wine: the pty links of scripts/test are
// hand-made, so only the trial open finds them; a link to a missing device is
// not listed. What each source answered is printed for the record.
#include <gtest/gtest.h>

#include <cstdio>

#include "link/win32_port_catalogue.h"
#include "tests/link/wine_peer.h"

TEST(PortCatalogueWine, HandMadeLinksAreFoundByTheTrialOpen)
{
    const int a = env_port("OLVEX_COM_A"), b = env_port("OLVEX_COM_B"), missing = env_port("OLVEX_COM_MISSING");
    if (a == 0 || b == 0) GTEST_SKIP() << "needs the pty pair of scripts/test (OLVEX_COM_A, OLVEX_COM_B)";
    const PortSources s = Win32PortCatalogue::read_sources();
    std::printf("SERIALCOMM %u, SetupAPI %u, QueryDosDevice %u\n", unsigned(s.serialcomm.size()),
                unsigned(s.devices.size()), unsigned(s.dos_devices.size()));
    for (const std::string& n : s.serialcomm) std::printf("  SERIALCOMM %s\n", n.c_str());
    for (const PortDevice& d : s.devices) std::printf("  SetupAPI %s %s\n", d.port_name.c_str(), d.instance_id.c_str());
    for (const std::string& n : s.dos_devices) std::printf("  QueryDosDevice %s\n", n.c_str());

    Win32PortCatalogue catalogue;
    const std::vector<PortInfo> ports = catalogue.ports();
    ASSERT_NE(find_port(ports, a), nullptr);
    ASSERT_NE(find_port(ports, b), nullptr);
    if (missing) {
        EXPECT_EQ(find_port(ports, missing), nullptr);
    }
    for (std::size_t i = 1; i < ports.size(); ++i) EXPECT_LT(ports[i - 1].number, ports[i].number);
    // Without trial opens only what the system reports is there.
    const std::vector<PortInfo> reported = catalogue.devices();
    EXPECT_EQ(find_port(reported, a), nullptr);
    for (const PortInfo& p : reported) EXPECT_NE(find_port(ports, p.number), nullptr) << p.number;
    // Every port the probe opened is closed again: the pair opens exclusively now.
    RawPeer peer(a);
    EXPECT_TRUE(peer.is_open());
}
