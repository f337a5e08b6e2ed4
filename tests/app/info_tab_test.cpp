// The Info tab inside the main window: Timer2 fills it only while it is the
// page shown, within one period of switching to it, and Connect and "Clear rx
// data" start the line error counts afresh.
#include "link/line_errors.h"
#include "main_window_fixture.h"

TEST_F(MainWindowTest, InfoPageIsRefreshedOnlyWhileShown)
{
    port_settings().settings_loaded = 1;  // as a settings file would (the fixture has none)
    InfoPage& info = m->info_page;
    user.wait(1000);
    EXPECT_EQ(info.STipn.caption(), "") << "refreshed while the HEX page shows";
    user.select_tab(m->PCd, 2);
    EXPECT_EQ(m->PCd.active_page_index(), 2);
    user.wait(500);
    EXPECT_EQ(info.STipn.caption(), " none");
    EXPECT_EQ(info.STfiusg.caption(), " 80.0 %");

    connect();
    user.wait(500);
    EXPECT_EQ(info.STipn.caption(), " COM1");
    EXPECT_EQ(info.STcsCTS.caption(), " on");
    EXPECT_EQ(info.STctxbs.caption(), " 8192 B");

    // Hidden again: stale values stay.
    user.select_tab(m->PCd, 0);
    user.click(m->tools.BtnCon);
    user.wait(1000);
    EXPECT_EQ(info.STipn.caption(), " COM1");
}

TEST_F(MainWindowTest, ConnectAndClearRxDataResetTheLineErrorCounts)
{
    port_settings().settings_loaded = 1;
    connect();
    sim.inject_errors(1, PORT_CE_FRAME | PORT_CE_BREAK);
    user.select_tab(m->PCd, 2);
    user.wait(500);
    EXPECT_EQ(m->info_page.STleFrm.caption(), " 1");
    EXPECT_EQ(m->info_page.STleBrk.caption(), " 1");
    user.choose(m->menu.MMclrrx);
    user.wait(500);
    EXPECT_EQ(m->info_page.STleFrm.caption(), " 0");

    sim.inject_errors(1, PORT_CE_OVERRUN);
    user.wait(500);
    EXPECT_EQ(m->info_page.STleOvr.caption(), " 1");
    user.click(m->tools.BtnCon);  // disconnect: the counts stay for reading
    user.wait(500);
    EXPECT_EQ(m->info_page.STleOvr.caption(), " 1");
    connect();
    user.wait(500);
    EXPECT_EQ(m->info_page.STleOvr.caption(), " 0");
}
