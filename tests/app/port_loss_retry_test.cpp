// The retry schedule of a lost port over the simulated driver, without a window:
// one attempt per period, none while not allowed, none once the user ended it,
// and right across the tick count's wrap.
#include "app/port_loss.h"
#include "tests/link/fake_port_catalogue.h"
#include "tests/link/sim_fixture.h"

namespace {

using Call = SimPortDriver::Call;

class PortLossRetryTest : public SimLinkTest {
 protected:
    int opens() { return sim.call_count(Call::open); }
    PortLoss loss;
};

TEST_F(PortLossRetryTest, ReopensOncePerPeriodWhenAllowedAndThePortIsBack)
{
    const std::uint32_t t0 = 0xFFFFFE00u;  // the schedule crosses the wrap
    sim.vanish(1);
    loss.lost(t0);
    const struct {
        std::uint32_t after_ms;
        bool allowed, port_back;
        bool attempted, reopened;
    } steps[] = {
        {999, true, false, false, false},   // not a period yet
        {1000, true, false, true, false},   // attempt, port still missing
        {1999, true, true, false, false},   // a period since that attempt not yet over
        {3000, false, true, false, false},  // the menu item off or a dialog open
        {3001, true, true, true, true},     // back
        {9000, true, true, false, false},   // retrying is over
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.after_ms);
        if (s.port_back) sim.reappear(1);
        const int before = opens();
        EXPECT_EQ(loss.retry(link, port_settings, s.allowed, t0 + s.after_ms), s.reopened);
        EXPECT_EQ(opens() > before, s.attempted);
        EXPECT_EQ(link.connected(), s.reopened || (s.after_ms > 3001));
    }
    EXPECT_FALSE(loss.retrying());
}

TEST_F(PortLossRetryTest, TheUsersConnectOrDisconectEndsTheRetrying)
{
    loss.lost(0);
    EXPECT_TRUE(loss.end());
    EXPECT_FALSE(loss.end());  // the window shows itself disconnected once
    EXPECT_FALSE(loss.retry(link, port_settings, true, 5000));
    EXPECT_EQ(opens(), 0);
}

// The device on COM7, lost; what the catalogue now says, and where the retry lands.
TEST_F(PortLossRetryTest, FollowsTheSameUsbDeviceToAnotherNumber)
{
    const UsbIdentity ours{0x0403, 0x6001, "A50285BI"};
    const PortInfo ours_on_9 = FakePortCatalogue::usb(9, "FT232R", 0x0403, 0x6001, "A50285BI");
    const struct Case {
        const char* what;
        UsbIdentity device;
        bool seven_back;
        std::vector<PortInfo> present;
        bool reconnected;
        int port, moved_from, opens;
    } cases[] = {
        {"its own number back",
         ours,
         true,
         {FakePortCatalogue::usb(7, "FT232R", 0x0403, 0x6001, "A50285BI")},
         true,
         7,
         0,
         1},
        {"back as COM9", ours, false, {ours_on_9}, true, 9, 7, 2},
        {"COM7 went to another adapter",
         ours,
         true,
         {FakePortCatalogue::usb(7, "CH340", 0x1A86, 0x7523), ours_on_9},
         true,
         9,
         7,
         1},
        {"a device without serial is not followed",
         {0x1A86, 0x7523, ""},
         false,
         {FakePortCatalogue::usb(9, "CH340", 0x1A86, 0x7523)},
         false,
         7,
         0,
         1},
        {"another serial is another device",
         ours,
         false,
         {FakePortCatalogue::usb(9, "FT232R", 0x0403, 0x6001, "OTHER")},
         false,
         7,
         0,
         1},
        {"no identity (Wine): the number only", {}, false, {}, false, 7, 0, 1},
    };
    sim.add_port(7);
    sim.add_port(9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.seven_back)
            sim.reappear(7);
        else
            sim.vanish(7);
        port_settings.port_num = 7;
        PortLoss lost;
        lost.connected_to(c.device);
        lost.lost(0);
        const int before = opens();
        EXPECT_EQ(lost.retry(link, port_settings, true, 1000, c.present), c.reconnected);
        EXPECT_EQ(link.connected(), c.reconnected);
        EXPECT_EQ(port_settings.port_num, c.port);
        EXPECT_EQ(lost.moved_from(), c.moved_from);
        EXPECT_EQ(opens() - before, c.opens);
        EXPECT_EQ(sim.is_open(c.port), c.reconnected);
        link.com_disconnect();
    }
}

TEST_F(PortLossRetryTest, OneMessageBoxAtATime)
{
    EXPECT_TRUE(loss.take_box());
    EXPECT_FALSE(loss.take_box());  // a second loss while the first box is up
    loss.box_done();
    EXPECT_TRUE(loss.take_box());
}

}  // namespace
