// The main window follows its device: the system's device announcements are
// read once they settle, and a lost USB adapter that comes back under another
// number is reconnected there and said so in the status bar.
#include "main_window_fixture.h"
#include "tests/link/fake_port_catalogue.h"

namespace {

class PortFollowTest : public ProgramStartTest {
 protected:
    void SetUp() override
    {
        ProgramStartTest::SetUp();
        sim.add_port(7);
        sim.add_port(9);
        put("[PORT]\r\nport_num=7\r\nport_reconnect=1\r\n");
        catalogue.list = {adapter(7)};
        settings_file_open();
        windows = std::make_unique<WindowSet>(sim, resources, catalogue);
        m = MForm;
        m->show();
    }
    static PortInfo adapter(int n) { return FakePortCatalogue::usb(n, "FT232R USB UART", 0x0403, 0x6001, "A50285BI"); }
    static bool eventually(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return done();
    }
    FakePortCatalogue catalogue;
};

TEST_F(PortFollowTest, AnnouncementsAreReadOnceTheySettle)
{
    const int before = catalogue.calls;
    ui::app().devices_changed();
    user.wait(200);
    ui::app().devices_changed();  // a burst: the wait starts again
    user.wait(299);
    EXPECT_EQ(catalogue.calls, before);
    user.wait(2);
    EXPECT_EQ(catalogue.calls, before + 1) << "one read for the whole burst";
    user.wait(1000);
    EXPECT_EQ(catalogue.calls, before + 1) << "no polling";
    EXPECT_EQ(m->port_watch.ports(), catalogue.list);
}

TEST_F(PortFollowTest, ALostAdapterBackUnderAnotherNumberIsReconnectedThere)
{
    connect();
    ASSERT_TRUE(sim.is_open(7));
    sim.vanish(7);
    ASSERT_TRUE(eventually([&] { return link().rx_port_lost(); }));
    user.answer_message_box(ui::mr::Ok);
    tick();
    ASSERT_FALSE(link().connected());
    EXPECT_EQ(m->SB.panel(0).text, "COM7 lost");
    user.wait(2500);  // retries while nothing is there
    EXPECT_FALSE(link().connected());

    catalogue.list = {adapter(9)};
    ui::app().devices_changed();
    user.wait(1500);
    ASSERT_TRUE(link().connected());
    EXPECT_TRUE(sim.is_open(9));
    EXPECT_EQ(port_settings().port_num, 9);
    EXPECT_EQ(m->SB.panel(0).text, "COM7 is back as COM9");
    EXPECT_FALSE(m->menu.MMcon.enabled());
}

}  // namespace
