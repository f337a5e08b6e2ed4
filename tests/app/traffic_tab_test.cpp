// The Traffic page in the main window: the fifth tab, fed by the real worker
// threads over the simulated port, a sent command and its reply as two rows.
#include "tests/app/main_window_fixture.h"

TEST_F(MainWindowTest, TrafficIsTheFifthPageAndShowsBothDirections)
{
    ASSERT_EQ(m->PCd.page_count(), 5);
    EXPECT_EQ(m->PCd.page(3)->caption(), "Plot");
    EXPECT_EQ(m->PCd.page(4)->caption(), "Traffic");
    connect();
    user.select_tab(m->PCd, 4);
    ASSERT_EQ(link().tx_put("PING\r", 5), 0);
    peer_got(5);
    sim.peer_write(1, "PONG\r", 5);
    for (int i = 0; i < 3000 && m->traffic.frames().size() < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        user.wait(10);
    }
    ASSERT_EQ(m->traffic.frames().size(), 2u);
    EXPECT_EQ(m->traffic.frames()[0].dir, TrafficDir::tx);
    EXPECT_NE(m->traffic.row_text(1).find("\tRX\t"), std::string::npos);
    EXPECT_GE(m->traffic.frames().reply_us(1), 0);
    EXPECT_EQ(m->traffic.row_text(1).substr(m->traffic.row_text(1).rfind('\t')), "\tPONG<CR>");
    // "Clear rx data" empties the page with the store.
    user.click(m->tools.BtnClr);
    user.wait(200);
    EXPECT_EQ(m->traffic.frames().size(), 0u);
}
