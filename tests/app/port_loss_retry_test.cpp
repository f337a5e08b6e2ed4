// The retry schedule of a lost port over the simulated driver, without a window:
// one attempt per period, none while not allowed, none once the user ended it,
// and right across the tick count's wrap.
#include "app/port_loss.h"
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

TEST_F(PortLossRetryTest, OneMessageBoxAtATime)
{
    EXPECT_TRUE(loss.take_box());
    EXPECT_FALSE(loss.take_box());  // a second loss while the first box is up
    loss.box_done();
    EXPECT_TRUE(loss.take_box());
}

}  // namespace
