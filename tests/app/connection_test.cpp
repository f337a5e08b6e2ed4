// The main window's start, connection control, status bar, rate meter and
// store failure path, on the headless backend with a simulated COM1.
#include <cstdlib>
#include <cstring>

#include "main_window_fixture.h"
#include "tx/keyboard_send.h"

using ui::headless::MessageBoxCall;

namespace {

bool transmit_pairs_enabled(TMForm& m, bool on)
{
    const std::pair<ui::MenuItem*, ui::ToolButton*> pairs[] = {
        {&m.menu.MMtxfile, &m.tools.BtnTxfile},     {&m.menu.MMtxint, &m.tools.BtnTxInt},
        {&m.menu.MMtxstr, &m.tools.BtnTxStr},       {&m.menu.MMtxTab, &m.tools.BtnTxTab},
        {&m.menu.MMtxEOL, &m.tools.BtnTxEOL},       {&m.menu.MMtxEOF, &m.tools.BtnTxEOF},
        {&m.menu.MMkeyboard, &m.tools.BtnKeyboard},
    };
    for (auto [item, button] : pairs)
        if (item->enabled() != on || button->enabled() != on) return false;
    return true;
}

}  // namespace

TEST_F(MainWindowTest, StartsWithTheWindowsInOrderAndTheMainWindowDisconnected)
{
    const char* order[] = {"MForm", "CSForm",  "TXFForm",  "TXIForm", "RXSForm",
                           "AForm", "TXSForm", "FindForm", "XferForm"};
    ASSERT_EQ(ui::app().forms().size(), 9u);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ui::app().forms()[i]->name(), order[i]);
    EXPECT_EQ(ui::app().main_form(), m);
    for (int i = 1; i < 9; ++i) EXPECT_FALSE(ui::app().forms()[i]->visible()) << order[i];

    EXPECT_EQ(m->caption(), "Olvex terminal");
    EXPECT_TRUE(m->key_preview());
    EXPECT_EQ(m->PCd.active_page_index(), 1);
    EXPECT_EQ(m->hex.DGhex.row_count(), 2);
    EXPECT_EQ(m->hex.DGhex.col_width(0), 90);
    EXPECT_EQ(m->hex.DGhex.col_width(16), 20);
    EXPECT_EQ(m->hex.DGhex.col_width(17), 14);
    EXPECT_TRUE(m->Timer1.enabled());
    EXPECT_TRUE(m->Timer2.enabled());
    EXPECT_TRUE(m->menu.MMcon.enabled());
    EXPECT_FALSE(m->menu.MMdiscon.enabled());
    EXPECT_TRUE(transmit_pairs_enabled(*m, false));
    EXPECT_TRUE(m->menu.MMas.checked());
    EXPECT_TRUE(m->menu.MMlnCR.checked());
    EXPECT_FALSE(m->menu.MMwwrap.checked());
    EXPECT_EQ(m->menu.MMkeyboard.image_index(), 10);
    const char* panels[] = {"disconnected", " Rx: 0B", "FIFO", " rx: 0B", " tx: 0B"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(m->SB.panel(i).text, panels[i]);
    // Block of the settings record: the store exists, empty.
    const RxStore* s = nullptr;
    EXPECT_EQ(link().rx_store_info(&s), 1);
    EXPECT_EQ(s->block_size, 131072);
}

TEST_F(MainWindowTest, ConnectAndDisconnectSwitchEveryControl)
{
    connect();
    EXPECT_FALSE(m->menu.MMcon.enabled());
    EXPECT_TRUE(m->menu.MMdiscon.enabled());
    EXPECT_EQ(m->SB.panel(0).text, "connected");
    EXPECT_TRUE(transmit_pairs_enabled(*m, true));
    EXPECT_EQ(m->tools.BtnCon.caption(), "Disconnect");
    EXPECT_EQ(m->tools.BtnCon.image_index(), 1);
    EXPECT_TRUE(sim.is_open(1));

    // Connect again does nothing (the item is disabled; its handler guards too).
    m->MMconClick();
    EXPECT_EQ(sim.open_handles(), 1);

    user.click(m->tools.BtnCon);
    EXPECT_FALSE(link().connected());
    EXPECT_FALSE(sim.is_open(1));
    EXPECT_TRUE(m->menu.MMcon.enabled());
    EXPECT_FALSE(m->menu.MMdiscon.enabled());
    EXPECT_EQ(m->SB.panel(0).text, "disconnected");
    EXPECT_TRUE(transmit_pairs_enabled(*m, false));
    EXPECT_EQ(m->tools.BtnCon.caption(), "Connect");
    EXPECT_EQ(m->tools.BtnCon.image_index(), 0);
    m->MMdisconClick();  // disconnected already: nothing
    EXPECT_TRUE(boxes().empty());
}

TEST_F(MainWindowTest, EveryConnectFailureShowsItsMessageAndChangesNothing)
{
    PortHandle held = nullptr;  // another program holding the port
    struct Case {
        std::function<void()> arrange;
        const char* text;
    } cases[] = {
        {[&] { sim.fail(SimPortDriver::Call::open); },
         "COM1 opening failed!\nCreateFileA could not open \\\\.\\COM1: A device attached to the system is not "
         "functioning."},
        {[&] { port_settings().port_num = 7; },
         "COM7 opening failed!\nCreateFileA could not open \\\\.\\COM7: The system cannot find the file "
         "specified."},
        {[&] {
             port_settings().port_baud = 9600;
             port_settings().port_bit = 5;
             port_settings().port_parity = 2;
             port_settings().port_stop = 20;
         },
         "COM1 opening failed!\nSetCommState refused 9600 baud, 5 data bits, even parity, 2 stop bits: The parameter "
         "is incorrect."},
        {[&] { port_settings().port_baud = 3000001; },
         "COM1 opening failed!\nbaud rate 3000001 is outside 1 to 3000000"},
        {[&] { sim.fail(SimPortDriver::Call::get_state); },
         "COM1 opening failed!\nGetCommState failed: A device attached to the system is not functioning."},
        {[&] { sim.fail(SimPortDriver::Call::set_timeouts); },
         "COM1 opening failed!\nSetCommTimeouts refused a read time-out of 50 ms and 1 ms a byte: A device attached to "
         "the system is not functioning."},
        {[&] { sim.fail(SimPortDriver::Call::purge); },
         "COM1 opening failed!\nPurgeComm failed on the receive side: A device attached to the system is not "
         "functioning."},
        {[&] { port_settings().port_rxth_size = 65535; }, "COM port rx FIFO creation failed!"},
        {[&] { resources.fail_next_create(true, false); }, "COM port rx thread creation failed!"},
        {[&] { port_settings().port_txth_size = 8388609; }, "COM port tx FIFO creation failed!"},
        {[&] { resources.fail_next_create(false, true); }, "COM port tx thread creation failed!"},
        {[&] { held = sim.open("\\\\.\\COM1", false); },
         "COM1 opening failed!\nCreateFileA could not open \\\\.\\COM1: Access is denied."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        port_settings() = PortSettings{};
        c.arrange();
        user.answer_message_box(ui::mr::Ok);
        user.choose(m->menu.MMcon);
        ASSERT_FALSE(boxes().empty());
        const MessageBoxCall& box = boxes().back();
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, ui::MsgIcon::Error);
        EXPECT_FALSE(link().connected());
        EXPECT_TRUE(m->menu.MMcon.enabled());
        EXPECT_EQ(m->SB.panel(0).text, "disconnected");
        EXPECT_TRUE(transmit_pairs_enabled(*m, false));
        sim.heal();
        resources.fail_next_create(false, false);
    }
    ASSERT_NE(held, nullptr);
    sim.close(held);
}

TEST_F(MainWindowTest, SettingsReconnectsAConnectedPortWhateverTheDialogSays)
{
    connect();
    bool shown = false;
    user.in_modal("CSForm", [&](ui::Form& f) {
        shown = true;
        EXPECT_FALSE(link().connected());  // disconnected while the dialog shows
        f.set_modal_result(ui::mr::Cancel);
    });
    user.choose(m->menu.MMcomset);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(link().connected());
    EXPECT_EQ(m->SB.panel(0).text, "connected");

    // A reconnect that fails shows its message and stays disconnected.
    user.in_modal("CSForm", [&](ui::Form& f) {
        port_settings().port_num = 9;
        f.set_modal_result(ui::mr::Ok);
    });
    user.answer_message_box(ui::mr::Ok);
    user.choose(m->menu.MMcomset);
    EXPECT_FALSE(link().connected());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_THAT(boxes()[0].text, testing::StartsWith("COM9 opening failed!\nCreateFileA could not open "));

    // Disconnected: the dialog shows and nothing connects.
    user.in_modal("CSForm", [&](ui::Form& f) { f.set_modal_result(ui::mr::Ok); });
    user.choose(m->menu.MMcomset);
    EXPECT_FALSE(link().connected());
}

TEST_F(MainWindowTest, StatusBarRateIsZeroOnFirstTickAndAfterAClear)
{
    connect();
    arrive(std::string(1000, 'x'));
    tick();
    EXPECT_EQ(m->SB.panel(1).text, " Rx: 1000B (0.000 kB/s)");  // first tick ever
    arrive(std::string(2048, 'y'));
    tick();
    // 2048 bytes in 100 ms: 20480 B/s = 20.000 kB/s, and the interval steps up.
    EXPECT_EQ(m->SB.panel(1).text, " Rx: 3048B (20.000 kB/s)");
    EXPECT_EQ(m->Timer1.interval(), 1000);
    user.click(m->tools.BtnClr);
    tick();
    EXPECT_EQ(m->SB.panel(1).text, " Rx: 0B (0.000 kB/s)");
    EXPECT_EQ(m->Timer1.interval(), 100);
    EXPECT_EQ(m->SB.panel(3).text, " rx: 0B");
    EXPECT_EQ(m->SB.panel(4).text, " tx: 0B");

    // Disconnected ticks show the count alone and freeze the other panels.
    arrive("abc");
    tick();
    user.click(m->tools.BtnCon);
    tick();
    EXPECT_EQ(m->SB.panel(1).text, " Rx: 3B");
}

TEST_F(MainWindowTest, FifoLevelsAreThoseSeenBeforeTheDrain)
{
    connect();
    link().tx_hold(1);  // keeps typed bytes in the transmit FIFO
    user.click(m->tools.BtnTxTab);
    user.click(m->tools.BtnTxEOF);
    arrive("hello");
    tick();
    EXPECT_EQ(m->SB.panel(3).text, " rx: 5B");
    EXPECT_EQ(m->SB.panel(4).text, " tx: 2B");
    link().tx_hold(0);
}

TEST_F(MainWindowTest, StoreGrowthFailureDisconnectsKeepsTheDataThenTells)
{
    connect();
    arrive("first\r");
    tick();
    resources.growth_check = [](std::size_t) { return false; };
    arrive(std::string(200000, 'z'));  // more than the first block holds
    user.answer_message_box(ui::mr::Ok);
    tick();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              "Recieved data memory allocation failed! Probably not enough memory.\n"
              "Port was disconnected, recieved data were kept.");
    EXPECT_EQ(boxes()[0].caption, "Error");
    EXPECT_FALSE(link().connected());
    EXPECT_EQ(m->SB.panel(0).text, "disconnected");
    const RxStore* s = nullptr;
    ASSERT_EQ(link().rx_store_info(&s), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s->data), std::size_t(s->length)), "first\r");
    EXPECT_EQ(m->text_page.Mtxt.text_prefix(5), "first");
}

TEST_F(MainWindowTest, ResizeGivesPanelOneTheRest)
{
    for (int w : {716, 1000, 708}) {
        user.resize(*m, w, 504);
        EXPECT_EQ(m->SB.panel(1).width, m->SB.width() - 285) << w;
        EXPECT_EQ(m->SB.panel(0).width, 80);
        EXPECT_EQ(m->SB.panel(2).width, 35);
        EXPECT_EQ(m->SB.panel(3).width, 80);
        EXPECT_EQ(m->SB.panel(4).width, 90);
    }
}

TEST_F(MainWindowTest, AutoConnectAtFirstShowing)
{
    // A second start whose settings ask for auto-connect on a missing port.
    stop();
    put("[PORT]\r\nport_num=3\r\nport_open=1\r\n");
    user.answer_message_box(ui::mr::Ok);
    start();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_THAT(boxes()[0].text, testing::StartsWith("COM3 opening failed!\nCreateFileA could not open "));
    EXPECT_FALSE(link().connected());
}

TEST_F(MainWindowTest, CloseDisconnectsAndReleasesTheStore)
{
    connect();
    arrive("data");
    tick();
    m->close();
    EXPECT_FALSE(link().connected());
    EXPECT_FALSE(sim.is_open(1));
    const RxStore* s = nullptr;
    EXPECT_EQ(link().rx_store_info(&s), 1);
    EXPECT_TRUE(ui::app().terminated());
}
