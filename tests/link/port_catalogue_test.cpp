// The port catalogue's merge of its sources, the device instance ID reader,
// and the catalogue of trial opens over the simulated driver.
#include "link/port_catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "link/sim_port_driver.h"

namespace {

struct IdCase {
    const char* what;
    const char* id;
    const char* parent;
    UsbIdentity expected;
};

const IdCase id_cases[] = {
    {"CH340, no serial of its own", "USB\\VID_1A86&PID_7523\\5&2A3B4C5D&0&2", "", {0x1A86, 0x7523, ""}},
    {"CP210x with serial", "USB\\VID_10C4&PID_EA60\\0001", "", {0x10C4, 0xEA60, "0001"}},
    {"lower-case hex", "usb\\vid_2341&pid_0043\\85736323838351F0E1C1", "", {0x2341, 0x0043, "85736323838351F0E1C1"}},
    {"FTDI bus", "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", "", {0x0403, 0x6001, "A50285BIA"}},
    {"composite interface: parent's serial",
     "USB\\VID_2341&PID_8036&MI_00\\6&3A0B4E1&0&0000",
     "USB\\VID_2341&PID_8036\\HIDPC1234",
     {0x2341, 0x8036, "HIDPC1234"}},
    {"composite with a made-up parent serial",
     "USB\\VID_0483&PID_5740&MI_01\\7&1&0&0001",
     "USB\\VID_0483&PID_5740\\6&2F&0&3",
     {0x0483, 0x5740, ""}},
    {"composite whose parent is another device",
     "USB\\VID_2341&PID_8036&MI_00\\6&1&0&0000",
     "USB\\VID_05E3&PID_0608\\5&1&0&1",
     {0x2341, 0x8036, ""}},
    {"composite without a parent (Wine)", "USB\\VID_2341&PID_8036&MI_00\\6&1&0&0000", "", {0x2341, 0x8036, ""}},
    {"on-board port", "ACPI\\PNP0501\\1", "", {}},
    {"Bluetooth", "BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002\\7&1&0&000000000000_00000000", "", {}},
    {"short hex", "USB\\VID_1A8&PID_7523\\1", "", {}},
    {"empty", "", "", {}},
};

TEST(PortCatalogueIds, UsbCompositeAndOtherInstanceIds)
{
    for (const IdCase& c : id_cases) {
        SCOPED_TRACE(c.what);
        const UsbIdentity id = usb_identity_of(c.id, c.parent);
        EXPECT_EQ(id.vid, c.expected.vid);
        EXPECT_EQ(id.pid, c.expected.pid);
        EXPECT_EQ(id.serial, c.expected.serial);
    }
}

TEST(PortCatalogueIds, PortNamesAndSuffixes)
{
    const std::pair<const char*, int> names[] = {{"COM1", 1}, {"com255", 255}, {"COM256", 0}, {"COM0", 0},
                                                 {"COM", 0},  {"COM1a", 0},    {"LPT1", 0},   {"COM0007", 0}};
    for (auto [name, n] : names) EXPECT_EQ(port_number_of(name), n) << name;
    EXPECT_EQ(port_name_without_suffix("USB-SERIAL CH340 (COM7)", 7), "USB-SERIAL CH340");
    EXPECT_EQ(port_name_without_suffix("USB-SERIAL CH340 (COM7)", 17), "USB-SERIAL CH340 (COM7)");
    EXPECT_EQ(port_name_without_suffix("Communications Port", 1), "Communications Port");

    PortInfo p;
    p.name = "USB-SERIAL CH340";
    p.usb = {0x1A86, 0x7523, ""};
    EXPECT_EQ(port_description(p), "USB-SERIAL CH340 - VID 1A86 PID 7523");
    p.usb.serial = "A5";
    EXPECT_EQ(port_description(p), "USB-SERIAL CH340 - VID 1A86 PID 7523 serial A5");
    p.usb = {};
    EXPECT_EQ(port_description(p), "USB-SERIAL CH340");
    EXPECT_EQ(port_description(PortInfo{}), "");
}

class PortCatalogueMerge : public ::testing::Test {
 protected:
    // Ports a trial open finds, and those another program holds.
    std::set<int> openable, busy;
    std::vector<int> probed;

    std::vector<PortInfo> merge(const PortSources& s)
    {
        return merge_ports(s, [this](int n) {
            probed.push_back(n);
            if (busy.count(n)) return PortProbe::in_use;
            return openable.count(n) ? PortProbe::free : PortProbe::absent;
        });
    }
    static std::vector<int> numbers(const std::vector<PortInfo>& ports)
    {
        std::vector<int> out;
        for (const PortInfo& p : ports) out.push_back(p.number);
        return out;
    }
};

TEST_F(PortCatalogueMerge, EverySourceOncePortsAbove32AndAscending)
{
    openable = {1, 5, 40};  // COM5 a hand-made link; COM40 opens but no trial reaches it
    PortSources s;
    s.serialcomm = {"COM40", "COM3", "COM3", "bogus", "COM300"};
    s.devices = {{"COM60", "USB-SERIAL CH340 (COM60)", "USB\\VID_1A86&PID_7523\\5&1&0&2", ""},
                 {"COM3", "Communications Port (COM3)", "ACPI\\PNP0501\\1", ""},
                 {"COM3", "Second say (COM3)", "ACPI\\PNP0501\\2", ""}};
    s.dos_devices = {"COM1", "COM40", "COM200"};
    const auto ports = merge(s);
    EXPECT_EQ(numbers(ports), (std::vector<int>{1, 3, 5, 40, 60, 200}));
    EXPECT_EQ(find_port(ports, 3)->name, "Communications Port") << "the first device naming a port names it";
    EXPECT_EQ(find_port(ports, 60)->name, "USB-SERIAL CH340");
    EXPECT_EQ(find_port(ports, 60)->usb, (UsbIdentity{0x1A86, 0x7523, ""}));
    EXPECT_EQ(find_port(ports, 60)->instance_id, "USB\\VID_1A86&PID_7523\\5&1&0&2");
    EXPECT_EQ(find_port(ports, 5)->name, "") << "found by the trial open only";
    // Each port is opened at most once; above 32 only the reported ones.
    EXPECT_EQ(std::set<int>(probed.begin(), probed.end()).size(), probed.size());
    for (int n : probed) EXPECT_TRUE(n <= 32 || n == 40 || n == 60 || n == 200) << n;
}

TEST_F(PortCatalogueMerge, APortInUseIsListedAndSaidToBe)
{
    openable = {2};
    busy = {4, 50};
    PortSources s;
    s.serialcomm = {"COM50"};
    const auto ports = merge(s);
    EXPECT_EQ(numbers(ports), (std::vector<int>{2, 4, 50}));
    EXPECT_FALSE(find_port(ports, 2)->in_use);
    EXPECT_TRUE(find_port(ports, 4)->in_use);
    EXPECT_TRUE(find_port(ports, 50)->in_use);
}

TEST_F(PortCatalogueMerge, NothingAnywhereIsAnEmptyList)
{
    EXPECT_TRUE(merge({}).empty());
    EXPECT_EQ(probed.size(), 32u);
}

TEST_F(PortCatalogueMerge, WithoutAProbeOnlyTheReportedPortsAllFree)
{
    PortSources s;
    s.serialcomm = {"COM9"};
    s.devices = {{"COM4", "USB Serial Device (COM4)", "USB\\VID_2E8A&PID_000A\\E660583883", ""}};
    const auto ports = merge_ports(s, nullptr, 0);
    EXPECT_EQ(numbers(ports), (std::vector<int>{4, 9}));
    EXPECT_FALSE(ports[0].in_use);
    EXPECT_EQ(ports[0].usb.serial, "E660583883");
}

TEST(PortCatalogueFind, TheSameDeviceNeedsItsOwnSerial)
{
    const std::vector<PortInfo> ports = {
        {3, "", "", {}, false},
        {7, "CH340", "", {0x1A86, 0x7523, ""}, false},
        {9, "FT232R", "", {0x0403, 0x6001, "A50285BI"}, false},
    };
    EXPECT_EQ(find_same_device(ports, {0x0403, 0x6001, "A50285BI"})->number, 9);
    EXPECT_EQ(find_same_device(ports, {0x0403, 0x6001, "OTHER"}), nullptr);
    EXPECT_EQ(find_same_device(ports, {0x1A86, 0x7523, ""}), nullptr) << "two CH340s cannot be told apart";
    EXPECT_EQ(find_same_device(ports, {}), nullptr);
}

TEST(DriverPortCatalogue, TrialOpensOfThePortsASimulatedDriverHas)
{
    SimPortDriver sim;
    for (int n : {2, 9, 33}) sim.add_port(n);
    DriverPortCatalogue catalogue(sim);
    const auto ports = catalogue.ports();
    ASSERT_EQ(ports.size(), 2u) << "COM33 lies beyond the trial opens";
    EXPECT_EQ(ports[0].number, 2);
    EXPECT_EQ(ports[1].number, 9);
    EXPECT_EQ(sim.open_handles(), 0) << "every port opened is closed again at once";
}

}  // namespace
