// The Info page on the headless backend over a simulated COM1 that is
// connected but with its worker threads held, so the driver's receive queue
// holds exactly what the peer sent: settings and frame fields, signals,
// buffers, the RTS rule between the limits, freezing while disconnected and a
// failed snapshot.
#include <gtest/gtest.h>

#include "link/port_settings.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "tests/link/refusing_resources.h"
#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/page_control.h"
#include "views/info/info_page.h"

namespace {

class InfoPageTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        sim.add_port(1);
        sim.set_paced(false);
        resources.hold_threads = true;
        port_settings.settings_loaded = 1;
        pages.set_active_page_index(1);
    }

    // Connected, with nothing polling the port.
    void open_port() { ASSERT_EQ(link.com_connect(port_settings), 0); }
    void close_port() { link.com_disconnect(); }
    void peer_sends(std::size_t n)
    {
        const std::string bytes(n, 'x');
        sim.peer_write(1, bytes.data(), bytes.size());
    }

    SimPortDriver sim;
    RefusingResources resources;
    SerialLink link{sim, resources};
    PortSettings port_settings;
    ui::headless::User user;
    ui::Form form{"InfoForm"};
    ui::PageControl pages{&form, "PCd"};
    ui::TabSheet first{pages, "TabSheet1", "Text"};
    ui::TabSheet sheet{pages, "TSinfo", "Info"};
    InfoPage page{sheet, link, port_settings};
};

TEST_F(InfoPageTest, ConnectedAt115200EightNoneOne)
{
    open_port();
    sim.set_modem(1, true, false, true, false);
    peer_sends(300);
    page.refresh();
    const std::pair<ui::StaticText*, const char*> fields[] = {
        {&page.STipn, " COM1"},
        {&page.STibdr, " 115.200 kbd/s"},
        {&page.STistp, " 1.0"},
        {&page.STipar, " no"},
        {&page.STidbit, " 8"},
        {&page.STifctrl, " none"},
        {&page.STfifrm, " 10.0 bit"},
        {&page.STfibitr, " 90.000 kbit/s"},
        {&page.STfibyter, " 11.250 kB/s"},
        {&page.STfiusg, " 80.0 %"},
        {&page.STcsCTS, " on"},
        {&page.STcsDSR, " off"},
        {&page.STcsRI, " on"},
        {&page.STcsCD, " off"},
        {&page.STcsRTS, " on"},
        {&page.STcsDTR, " on"},
        {&page.STcrxb, " 300"},
        {&page.STctxb, " 0"},
        {&page.STcrxbs, " 8192 B"},
        {&page.STctxbs, " 8192 B"},
        {&page.STleFrm, " 0"},
    };
    for (auto [field, text] : fields) EXPECT_EQ(field->caption(), text) << field->name();
}

TEST_F(InfoPageTest, NothingBeforeTheSettingsAreLoadedOrWhileAnotherPageShows)
{
    port_settings.settings_loaded = 0;
    page.refresh();
    EXPECT_EQ(page.STipn.caption(), "");
    EXPECT_EQ(page.STfifrm.caption(), "");
    port_settings.settings_loaded = 1;
    pages.set_active_page_index(0);
    page.refresh();
    EXPECT_EQ(page.STipn.caption(), "");
    pages.set_active_page_index(1);
    page.refresh();
    EXPECT_EQ(page.STipn.caption(), " none");
}

TEST_F(InfoPageTest, DisconnectedTheSettingsFollowAndTheSignalsFreeze)
{
    port_settings.port_rx_handshake = 2;
    open_port();
    peer_sends(100);
    page.refresh();
    EXPECT_EQ(page.STcrxb.caption(), " 100");
    EXPECT_EQ(page.STcsDTR.caption(), " on");
    close_port();

    port_settings.port_baud = 9600;
    port_settings.port_bit = 7;
    port_settings.port_parity = 2;
    port_settings.port_stop = 20;
    port_settings.port_tx_handshake = 1;
    page.refresh();
    EXPECT_EQ(page.STipn.caption(), " none");
    EXPECT_EQ(page.STibdr.caption(), " 9.600 kbd/s");
    EXPECT_EQ(page.STipar.caption(), " even");
    EXPECT_EQ(page.STistp.caption(), " 2.0");
    EXPECT_EQ(page.STidbit.caption(), " 7");
    EXPECT_EQ(page.STifctrl.caption(), " CTS, DTR");
    EXPECT_EQ(page.STfifrm.caption(), " 11.0 bit");
    EXPECT_EQ(page.STcrxb.caption(), " 100");  // frozen
    EXPECT_EQ(page.STcsDTR.caption(), " on");

    // A parity code outside 0..4 leaves its field alone.
    port_settings.port_parity = 9;
    page.refresh();
    EXPECT_EQ(page.STipar.caption(), " even");
}

TEST_F(InfoPageTest, RtsKeepsItsTextBetweenTheLimits)
{
    // The simulated driver reports XonLim 2048 and XoffLim 512.
    port_settings.port_rx_handshake = 1;
    open_port();
    peer_sends(1000);
    page.refresh();
    EXPECT_EQ(page.STcsRTS.caption(), "") << "never filled, so it stays empty";
    EXPECT_EQ(page.STcsDTR.caption(), " on");
    peer_sends(1048);  // 2048: at XonLim
    page.refresh();
    EXPECT_EQ(page.STcsRTS.caption(), " off");
    char buffer[1600];
    ASSERT_EQ(link.usart().usart_read(link.com_port(), buffer, 1000), 1000);  // 1048: between again
    page.refresh();
    EXPECT_EQ(page.STcsRTS.caption(), " off");
    EXPECT_EQ(page.STcrxb.caption(), " 1048");
    ASSERT_EQ(link.usart().usart_read(link.com_port(), buffer, 1000), 1000);  // 48: below XoffLim
    page.refresh();
    EXPECT_EQ(page.STcsRTS.caption(), " on");
}

// A failed snapshot skips the signals and buffers for one tick, except a port
// without modem lines (a pty under Wine): its queue counts and DTR/RTS still
// show, and the four modem lines read " n/a".
TEST_F(InfoPageTest, AFailedSnapshotSkipsTheSignalsForOneTick)
{
    open_port();
    peer_sends(30);
    sim.set_modem(1, true, true, true, true);
    ui::StaticText* const modem_lines[] = {&page.STcsCTS, &page.STcsDSR, &page.STcsRI, &page.STcsCD};
    ui::StaticText* const port_fields[] = {&page.STcsCTS, &page.STcsDSR, &page.STcsRI, &page.STcsCD,
                                           &page.STcsRTS, &page.STcsDTR, &page.STcrxb, &page.STctxb};
    const struct {
        SimPortDriver::Call call;
        bool shown;
    } cases[] = {
        {SimPortDriver::Call::clear_error, false},
        {SimPortDriver::Call::get_state, false},
        {SimPortDriver::Call::modem_status, true},
    };
    for (const auto& c : cases) {
        for (ui::StaticText* f : port_fields) f->set_caption("");
        sim.fail(c.call, 1);
        port_settings.port_baud = 57600;
        page.refresh();
        EXPECT_EQ(page.STibdr.caption(), " 57.600 kbd/s");
        port_settings.port_baud = 115200;
        EXPECT_EQ(page.STcrxb.caption(), c.shown ? " 30" : "");
        EXPECT_EQ(page.STctxb.caption(), c.shown ? " 0" : "");
        EXPECT_EQ(page.STcsRTS.caption(), c.shown ? " on" : "");
        EXPECT_EQ(page.STcsDTR.caption(), c.shown ? " on" : "");
        for (ui::StaticText* f : modem_lines) EXPECT_EQ(f->caption(), c.shown ? " n/a" : "") << f->name();
    }
    sim.set_modem(1, false, false, false, false);
    page.refresh();
    for (ui::StaticText* f : modem_lines) EXPECT_EQ(f->caption(), " off") << f->name();
}

TEST_F(InfoPageTest, LineErrorsCountedByKindWithoutLosingAByte)
{
    open_port();
    const std::uint32_t kinds[] = {PORT_CE_FRAME, PORT_CE_OVERRUN, PORT_CE_RXPARITY, PORT_CE_BREAK, PORT_CE_RXOVER};
    // Kind k is reported k + 1 times, each time with some bytes on the line.
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i <= k; ++i) {
            sim.inject_errors(1, kinds[k] | (i == 0 && k == 0 ? PORT_CE_BREAK : 0u));
            peer_sends(7);
            page.refresh();
        }
    EXPECT_EQ(page.STleFrm.caption(), " 1");
    EXPECT_EQ(page.STleOvr.caption(), " 2");
    EXPECT_EQ(page.STlePar.caption(), " 3");
    EXPECT_EQ(page.STleBrk.caption(), " 5");  // four alone and one with a framing error
    EXPECT_EQ(page.STleRxo.caption(), " 5");
    EXPECT_EQ(page.STcrxb.caption(), " 105");
    // A mask taken by the receive path counts the same.
    sim.inject_errors(1, PORT_CE_FRAME);
    std::int32_t count = 0;
    ASSERT_EQ(link.usart().usart_rx_count(link.com_port(), &count), 0);
    EXPECT_EQ(count, 105);
    EXPECT_EQ(link.line_errors_read().framing, 2u);
    link.line_errors_reset();
    page.refresh();
    EXPECT_EQ(page.STleFrm.caption(), " 0");
}

}  // namespace
